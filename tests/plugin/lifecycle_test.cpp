// An instance's life as hosts drive it, in order and out of it: destroy at every stage, no
// host call before init or after destroy begins (but the timer's unregistration), repeated
// activation, processing before activation.
#include "tests/plugin/plugin_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kit::test
{
namespace
{

using host::HostFunction;
using host::InstancePhase;

// The calls the plug-in made outside init..destroy, by name, for a readable failure.
std::vector<std::string> CallsOutsideLife(const host::Host& host)
{
  std::vector<std::string> names;
  for (const host::HostCall& call : host.Journal().CallsOutsideInstanceLife())
    names.push_back(std::string(host::HostFunctionName(call.function)) + " in " + host::InstancePhaseName(call.phase));
  return names;
}

TEST(Lifecycle, DestroyRightAfterCreateCallsNothingOnTheHost)
{
  for (const bool timerSupport : { true, false })
  {
    SCOPED_TRACE(timerSupport ? "host with timers" : "host without timers");
    host::HostConfig config;
    config.offered.timerSupport = timerSupport;
    host::Host host(config);
    auto library = LoadOmbrix();
    ASSERT_NE(library, nullptr);
    RawInstance raw(host, *library);
    ASSERT_NE(raw.Plugin(), nullptr);
    raw.Destroy();
    EXPECT_TRUE(host.Journal().Calls().empty()) << testing::PrintToString(CallsOutsideLife(host));
  }
}

// Whatever stage destroy comes at, it undoes what is on (processing, activation) by itself
// and leaves only the timer's unregistration to happen after it began.
TEST(Lifecycle, DestroyAtEveryStageCallsTheHostOnlyToUnregisterItsTimer)
{
  enum class Stage
  {
    Initialised,
    Active,
    Processing
  };
  struct Case
  {
    const char* name;
    Stage stage;
  };
  const Case cases[] = {
    { "initialised", Stage::Initialised },
    { "active", Stage::Active },
    { "processing", Stage::Processing },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    host::Host host;
    auto library = LoadOmbrix();
    ASSERT_NE(library, nullptr);
    RawInstance raw(host, *library);
    ASSERT_NE(raw.Plugin(), nullptr);
    ASSERT_TRUE(raw.Init());
    if (c.stage != Stage::Initialised)
    {
      ASSERT_TRUE(raw.Activate());
    }
    if (c.stage == Stage::Processing)
    {
      ASSERT_TRUE(raw.StartProcessing());
    }
    raw.Destroy();

    const auto outside = host.Journal().CallsOutsideInstanceLife();
    ASSERT_EQ(outside.size(), 1u) << testing::PrintToString(CallsOutsideLife(host));
    EXPECT_EQ(outside[0].function, HostFunction::UnregisterTimer);
    EXPECT_EQ(outside[0].phase, InstancePhase::Destroying);
    EXPECT_TRUE(host.ActiveTimers().empty());
  }
}

TEST(Lifecycle, ActivatingAgainWithoutALatencyChangeLeavesTheHostLatencyAlone)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  ASSERT_TRUE(p.instance->Activate(48000.0, 1, 512));
  p.instance->Deactivate();
  ASSERT_TRUE(p.instance->Activate(44100.0, 32, 1024));
  p.instance->Deactivate();
  ASSERT_TRUE(p.instance->Activate(96000.0, 1, 64));
  EXPECT_EQ(p.host.Journal().Count(HostFunction::LatencyChanged), 0u);
  EXPECT_EQ(p.host.Journal().Count(HostFunction::RequestRestart), 0u);
  EXPECT_EQ(p.Extension<clap_plugin_latency>(CLAP_EXT_LATENCY).get(p.Plugin()), 0u);
}

// A host that processes before activating (or beyond what it activated for) gets an error,
// and its output buffers are left as they were.
TEST(Lifecycle, ProcessBeforeActivationOrBeyondTheActivatedBlockSizeIsAnError)
{
  host::Host host;
  auto library = LoadOmbrix();
  ASSERT_NE(library, nullptr);
  RawInstance raw(host, *library);
  ASSERT_NE(raw.Plugin(), nullptr);
  ASSERT_TRUE(raw.Init());

  host::AudioBuffers inputs(host::SampleWidth::Float64, { 2 }, 64);
  host::AudioBuffers outputs(host::SampleWidth::Float64, { 2 }, 64);
  inputs.Channel64(0, 0)[0] = 0.5;
  outputs.Channel64(0, 0)[0] = 7.0;
  host::ProcessPieces pieces;
  pieces.inputs = &inputs;
  pieces.outputs = &outputs;
  pieces.frames = 64;
  clap_process process = host::ProcessRecord(pieces);
  {
    const host::AudioThreadScope audio;
    EXPECT_EQ(raw.Plugin()->process(raw.Plugin(), &process), CLAP_PROCESS_ERROR);
  }
  EXPECT_EQ(outputs.Channel64(0, 0)[0], 7.0);

  ASSERT_TRUE(raw.Activate(32));
  ASSERT_TRUE(raw.StartProcessing());
  const host::AudioThreadScope audio;
  EXPECT_EQ(raw.Plugin()->process(raw.Plugin(), &process), CLAP_PROCESS_ERROR);
  EXPECT_EQ(outputs.Channel64(0, 0)[0], 7.0);
  process.frames_count = 32;
  EXPECT_EQ(raw.Plugin()->process(raw.Plugin(), &process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_NE(outputs.Channel64(0, 0)[0], 7.0);
}

TEST(Lifecycle, ResetAndRestartedProcessingKeepProducingOutput)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  ASSERT_TRUE(p.Start(256));
  std::vector<double> left(256, 0.25), right(256, -0.25), outLeft(256, 9.0), outRight(256, 9.0);
  double* in[] = { left.data(), right.data() };
  double* out[] = { outLeft.data(), outRight.data() };
  EXPECT_EQ(p.instance->Process64(in, out, 2, 256), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  p.instance->StopProcessing();
  p.instance->Reset();
  ASSERT_TRUE(p.instance->StartProcessing());
  outLeft.assign(256, 9.0);
  EXPECT_EQ(p.instance->Process64(in, out, 2, 256), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  // The default 16-bit grid with its shaped error keeps the output within a few steps.
  for (std::size_t i = 0; i < 256; ++i) EXPECT_NEAR(outLeft[i], 0.25, 0.01) << i;
}

} // namespace
} // namespace kit::test
