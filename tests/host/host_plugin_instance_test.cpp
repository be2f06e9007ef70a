#include "tools/host/plugin_instance.h"

#include "host/fake_plugin.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kit::host
{
namespace
{

using test::fake;
using test::FakeSettings;
using test::kFakeEntry;
using test::ResetFake;
using Calls = std::vector<std::string>;

// A library over the fake entry, a host and an instance, made in that order.
struct Rig
{
  explicit Rig(const FakeSettings& settings = {}, HostConfig config = {})
      : host(std::move(config))
  {
    ResetFake(settings);
    std::string error;
    library = PluginLibrary::FromEntry(kFakeEntry, "/fake/Fake.clap", error);
    EXPECT_NE(library, nullptr) << error;
    if (library) instance = PluginInstance::Create(*library, host, error);
    EXPECT_NE(instance, nullptr) << error;
    fake.calls.clear();
  }

  Host host;
  std::unique_ptr<PluginLibrary> library;
  std::unique_ptr<PluginInstance> instance;
};

TEST(PluginInstance, CreateInitialisesOnTheMainThreadAndDestroyUndoesEverythingInOrder)
{
  Host host;
  ResetFake();
  std::string error;
  auto library = PluginLibrary::FromEntry(kFakeEntry, "/fake/Fake.clap", error);
  ASSERT_NE(library, nullptr) << error;
  auto instance = PluginInstance::Create(*library, host, error);
  ASSERT_NE(instance, nullptr) << error;
  EXPECT_EQ(fake.calls, (Calls { "init:main" }));
  EXPECT_EQ(host.Phase(), InstancePhase::Inactive);

  ASSERT_TRUE(instance->Activate(48000.0, 32, 512));
  ASSERT_TRUE(instance->StartProcessing());
  EXPECT_EQ(host.Phase(), InstancePhase::Processing);
  instance.reset();
  EXPECT_EQ(fake.calls, (Calls { "init:main", "activate 48000 32 512:main", "start_processing:audio",
                                 "stop_processing:audio", "deactivate:main", "destroy:main" }));
  EXPECT_EQ(host.Phase(), InstancePhase::Destroyed);
  library.reset();
  EXPECT_EQ(fake.entryDeinits, 1);
}

TEST(PluginInstance, FailuresOfCreationNameTheirCause)
{
  struct Case
  {
    const char* name;
    FakeSettings settings;
    std::string pluginId;
    std::string expectedError;
    Calls expectedCalls;
  };
  FakeSettings failingInit;
  failingInit.initResult = false;
  const Case cases[] = {
    { "unknown id", {}, "org.example.other", "create_plugin failed for org.example.other", {} },
    { "init refused", failingInit, test::kFakeId, "init failed for org.example.fake", { "init:main", "destroy:main" } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    ResetFake(c.settings);
    Host host;
    std::string error;
    auto library = PluginLibrary::FromEntry(kFakeEntry, "/fake/Fake.clap", error);
    ASSERT_NE(library, nullptr) << error;
    EXPECT_EQ(PluginInstance::Create(*library, host, c.pluginId, error), nullptr);
    EXPECT_EQ(error, c.expectedError);
    EXPECT_EQ(fake.calls, c.expectedCalls);
  }
}

TEST(PluginInstance, RequestsOutOfCallOrderAreRefusedWithoutCallingThePlugin)
{
  Rig rig;
  PluginInstance& instance = *rig.instance;
  EXPECT_FALSE(instance.StartProcessing()); // not active
  EXPECT_EQ(instance.Process64(nullptr, nullptr, 0, 16), CLAP_PROCESS_ERROR);
  instance.StopProcessing();
  instance.Deactivate();
  instance.Reset();
  EXPECT_TRUE(fake.calls.empty());

  ASSERT_TRUE(instance.Activate(44100.0, 1, 64));
  EXPECT_FALSE(instance.Activate(44100.0, 1, 64)); // already active
  ASSERT_TRUE(instance.StartProcessing());
  EXPECT_FALSE(instance.StartProcessing()); // already processing
  instance.Deactivate();                    // stops processing first
  EXPECT_EQ(fake.calls, (Calls { "activate 44100 1 64:main", "start_processing:audio", "stop_processing:audio",
                                 "deactivate:main" }));
  EXPECT_FALSE(instance.IsActive());
}

TEST(PluginInstance, RefusedActivationAndStartLeaveTheInstanceWhereItWas)
{
  {
    FakeSettings settings;
    settings.activateResult = false;
    Rig rig(settings);
    EXPECT_FALSE(rig.instance->Activate(48000.0, 1, 128));
    EXPECT_FALSE(rig.instance->IsActive());
    EXPECT_EQ(rig.host.Phase(), InstancePhase::Inactive);
  }
  {
    FakeSettings settings;
    settings.startResult = false;
    Rig rig(settings);
    ASSERT_TRUE(rig.instance->Activate(48000.0, 1, 128));
    EXPECT_FALSE(rig.instance->StartProcessing());
    EXPECT_FALSE(rig.instance->IsProcessing());
    EXPECT_EQ(rig.host.Phase(), InstancePhase::Active);
  }
}

TEST(PluginInstance, Process64HandsOnePortEachWayIn64BitsWithoutTransportOrEvents)
{
  Rig rig;
  ASSERT_TRUE(rig.instance->Activate(48000.0, 1, 8));
  ASSERT_TRUE(rig.instance->StartProcessing());
  std::array<double, 4> left { 1.0, -2.0, 0.25, 0.0 };
  std::array<double, 4> right { 0.5, 0.5, -1.0, 3.0 };
  std::array<double, 4> outLeft {};
  std::array<double, 4> outRight {};
  const std::array<double*, 2> inputs { left.data(), right.data() };
  const std::array<double*, 2> outputs { outLeft.data(), outRight.data() };

  ASSERT_EQ(rig.instance->Process64(inputs.data(), outputs.data(), 2, 4), CLAP_PROCESS_CONTINUE);
  const test::ProcessSeen first = fake.lastProcess;
  EXPECT_EQ(first.frames, 4u);
  EXPECT_EQ(first.inputCount, 1u);
  EXPECT_EQ(first.outputCount, 1u);
  EXPECT_EQ(first.inputChannels, 2u);
  EXPECT_TRUE(first.inputIs64);
  EXPECT_TRUE(first.outputIs64);
  EXPECT_FALSE(first.hasTransport);
  EXPECT_EQ(first.inputEvents, 0u);
  EXPECT_EQ(first.steadyTime, 0);
  EXPECT_EQ(outLeft, (std::array<double, 4> { 2.0, -4.0, 0.5, 0.0 }));
  EXPECT_EQ(outRight, (std::array<double, 4> { 1.0, 1.0, -2.0, 6.0 }));

  ASSERT_EQ(rig.instance->Process64(inputs.data(), outputs.data(), 2, 3), CLAP_PROCESS_CONTINUE);
  EXPECT_EQ(fake.lastProcess.steadyTime, 4); // the sample clock counts the frames before
  EXPECT_EQ(fake.calls.back(), "process:audio");
}

TEST(PluginInstance, ProcessFromAnotherThreadCountsAsTheAudioThread)
{
  Rig rig;
  ASSERT_TRUE(rig.instance->Activate(48000.0, 1, 8));
  ASSERT_TRUE(rig.instance->StartProcessing());
  std::array<double, 8> samples {};
  const std::array<double*, 1> channels { samples.data() };
  std::thread audio([&] { (void)rig.instance->Process64(channels.data(), channels.data(), 1, 8); });
  audio.join();
  EXPECT_EQ(fake.calls.back(), "process:audio");
}

TEST(PluginInstance, FlushParamsSendsOneValueEventPerPairOnTheRightThread)
{
  Rig rig;
  const std::array<std::pair<clap_id, double>, 3> values { { { 2, 24.0 }, { 0, 1.0 }, { 2, 16.0 } } };
  rig.instance->FlushParams(values);
  ASSERT_EQ(fake.flushedValues.size(), 3u);
  for (std::size_t i = 0; i < values.size(); ++i)
  {
    SCOPED_TRACE(i);
    const clap_event_param_value& event = fake.flushedValues[i];
    EXPECT_EQ(event.param_id, values[i].first);
    EXPECT_EQ(event.value, values[i].second);
    EXPECT_EQ(event.header.space_id, CLAP_CORE_EVENT_SPACE_ID);
    EXPECT_EQ(event.header.time, 0u);
    EXPECT_EQ(event.note_id, -1);
  }
  EXPECT_EQ(fake.calls, (Calls { "flush:main" }));

  // While processing, CLAP runs the flush on the audio thread.
  ASSERT_TRUE(rig.instance->Activate(48000.0, 1, 8));
  ASSERT_TRUE(rig.instance->StartProcessing());
  rig.instance->FlushParams(values);
  EXPECT_EQ(fake.calls.back(), "flush:audio");
}

TEST(PluginInstance, IdleServesCallbackRequestsOnceAndFiresRegisteredTimers)
{
  FakeSettings settings;
  settings.timerPeriodMs = 20;
  Rig rig(settings);
  ASSERT_NE(fake.timerId, CLAP_INVALID_ID);

  rig.instance->Idle();
  EXPECT_EQ(fake.calls, Calls {}); // no callback was asked for
  EXPECT_EQ(fake.timersFired, (std::vector<clap_id> { fake.timerId }));

  rig.host.Record()->request_callback(rig.host.Record());
  rig.instance->Idle();
  rig.instance->Idle();
  EXPECT_EQ(fake.calls, (Calls { "on_main_thread:main" }));
  EXPECT_EQ(fake.timersFired.size(), 3u);
}

TEST(PluginInstance, RestartRequestDeactivatesAndReactivatesWithTheSameSettings)
{
  FakeSettings settings;
  settings.restartOnMainThread = true;
  Rig rig(settings);
  ASSERT_TRUE(rig.instance->Activate(96000.0, 16, 256));
  ASSERT_TRUE(rig.instance->StartProcessing());
  fake.calls.clear();

  rig.host.Record()->request_callback(rig.host.Record());
  rig.instance->Idle();
  EXPECT_EQ(fake.calls, (Calls { "on_main_thread:main", "stop_processing:audio", "deactivate:main",
                                 "activate 96000 16 256:main", "start_processing:audio" }));
  EXPECT_TRUE(rig.instance->IsProcessing());
}

TEST(PluginInstance, HostCallsCarryTheInstancePhaseTheyCameIn)
{
  FakeSettings settings;
  settings.timerPeriodMs = 15;
  Rig rig(settings);
  // Everything so far came from init: thread-role queries and the timer registration.
  const auto initCalls = rig.host.Journal().Calls();
  ASSERT_FALSE(initCalls.empty());
  for (const HostCall& call : initCalls)
  {
    EXPECT_EQ(call.phase, InstancePhase::Initialising) << HostFunctionName(call.function);
    EXPECT_EQ(call.role, ThreadRole::Main) << HostFunctionName(call.function);
  }
  EXPECT_TRUE(rig.host.Journal().CallsOutsideInstanceLife().empty());
  rig.host.Journal().Clear();
  rig.instance.reset();

  // The fake unregisters its timer and asks for the thread role while being destroyed.
  const auto outside = rig.host.Journal().CallsOutsideInstanceLife();
  ASSERT_FALSE(outside.empty());
  bool unregisteredInDestroy = false;
  for (const HostCall& call : outside)
  {
    EXPECT_EQ(call.phase, InstancePhase::Destroying) << HostFunctionName(call.function);
    unregisteredInDestroy |= call.function == HostFunction::UnregisterTimer;
  }
  EXPECT_TRUE(unregisteredInDestroy);
  EXPECT_TRUE(rig.host.ActiveTimers().empty());
}

} // namespace
} // namespace kit::host
