// The 20 ms main-thread tick: a host timer when the host offers timer support, otherwise a
// ticker thread asking for main-thread callbacks; started at init, gone when destroy returns,
// and never a host call before init or after destroy began but the timer's unregistration.
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/event_builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace kit::test
{
namespace
{

using host::HostFunction;
using host::InstancePhase;
using host::ThreadRole;

host::HostConfig WithoutTimers()
{
  host::HostConfig config;
  config.offered.timerSupport = false;
  return config;
}

std::vector<std::string> Names(const std::vector<host::HostCall>& calls)
{
  std::vector<std::string> names;
  for (const host::HostCall& call : calls)
    names.push_back(std::string(host::HostFunctionName(call.function)) + " in " + host::InstancePhaseName(call.phase));
  return names;
}

TEST(Timers, AHostTimerOf20MsIsRegisteredAtInitAndUnregisteredFirstInDestroy)
{
  host::Host host;
  auto library = LoadOmbrix();
  ASSERT_NE(library, nullptr);
  RawInstance raw(host, *library);
  ASSERT_NE(raw.Plugin(), nullptr);
  EXPECT_TRUE(host.Journal().Calls().empty()); // nothing between create_plugin and init
  ASSERT_TRUE(raw.Init());

  const auto registrations = host.Journal().TimerRegistrations();
  ASSERT_EQ(registrations.size(), 1u);
  EXPECT_EQ(registrations[0].periodMs, 20u);
  for (const host::HostCall& call : host.Journal().Calls())
    if (call.function == HostFunction::RegisterTimer)
    {
      EXPECT_EQ(call.phase, InstancePhase::Initialising);
      EXPECT_EQ(call.role, ThreadRole::Main);
    }
  EXPECT_NE(raw.Plugin()->get_extension(raw.Plugin(), CLAP_EXT_TIMER_SUPPORT), nullptr);

  ASSERT_TRUE(raw.Activate());
  raw.Destroy();
  std::vector<host::HostCall> inDestroy;
  for (const host::HostCall& call : host.Journal().Calls())
    if (call.phase == InstancePhase::Destroying) inDestroy.push_back(call);
  ASSERT_FALSE(inDestroy.empty());
  EXPECT_EQ(inDestroy.front().function, HostFunction::UnregisterTimer) << testing::PrintToString(Names(inDestroy));
  EXPECT_EQ(host.Journal().TimerUnregistrations(), (std::vector<clap_id> { registrations[0].id }));
  EXPECT_TRUE(host.ActiveTimers().empty());
}

// A host's power change reaches the shaping design on the tick. Until then a block of a
// slow sine at 8 bits, dither off, still comes out as plain rounding to the grid.
class ShapingAfterTheTick
{
public:
  explicit ShapingAfterTheTick(LoadedPlugin& plugin)
      : p(plugin)
  {
    const std::pair<clap_id, double> settings[] = { { kDither, 0.0 }, { kPower, 0.0 }, { kTargetBits, 8.0 } };
    p.instance->FlushParams(settings);
    EXPECT_TRUE(p.Start(kFrames));
    for (std::uint32_t c = 0; c < 2; ++c)
      for (std::uint32_t i = 0; i < kFrames; ++i) inputs.Channel64(0, c)[i] = 0.7 * std::sin(0.01 * double(i + c));
    host::InputEventList powerUp;
    EXPECT_TRUE(powerUp.Add(host::ParamValueEvent(kPower, 12.0)));
    EXPECT_TRUE(RoundsPlainly(powerUp));
  }

  // Runs one block; whether every output is the input rounded half up to the 8-bit grid.
  [[nodiscard]] bool RoundsPlainly(const host::InputEventList& in = host::InputEventList { 0 })
  {
    host::OutputEventList out;
    EXPECT_EQ(p.RunBlock(inputs, outputs, in, out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
    for (std::uint32_t c = 0; c < 2; ++c)
      for (std::uint32_t i = 0; i < kFrames; ++i)
        if (outputs.Channel64(0, c)[i] != std::floor(inputs.Channel64(0, c)[i] * 128.0 + 0.5) / 128.0) return false;
    return true;
  }

private:
  static constexpr std::uint32_t kFrames = 256;
  LoadedPlugin& p;
  host::AudioBuffers inputs { host::SampleWidth::Float64, { 2 }, kFrames };
  host::AudioBuffers outputs { host::SampleWidth::Float64, { 2 }, kFrames };
};

TEST(Timers, OnlyTheOwnTimerIdRunsTheTick)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  ShapingAfterTheTick shaping(p);
  const auto& timers = p.Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT);
  const clap_id own = p.host.Journal().TimerRegistrations().at(0).id;
  for (const clap_id id : { own + 1, clap_id(0), CLAP_INVALID_ID })
  {
    SCOPED_TRACE(id);
    timers.on_timer(p.Plugin(), id);
    EXPECT_TRUE(shaping.RoundsPlainly());
  }
  timers.on_timer(p.Plugin(), own);
  EXPECT_FALSE(shaping.RoundsPlainly());
}

TEST(Timers, WithoutHostTimersTheTickRunsInOnMainThread)
{
  LoadedPlugin p(WithoutTimers());
  ASSERT_TRUE(p.Ready());
  ShapingAfterTheTick shaping(p);
  ASSERT_TRUE(WaitUntil([&] { return p.host.Journal().Count(HostFunction::RequestCallback) > 0; }));
  p.instance->Idle();
  EXPECT_FALSE(shaping.RoundsPlainly());
}

// A host that refuses the timer still gets the tick, through main-thread callbacks.
TEST(Timers, ARefusedHostTimerFallsBackToTheTicker)
{
  host::HostConfig config;
  config.timerRegistrationSucceeds = false;
  LoadedPlugin p(config);
  ASSERT_TRUE(p.Ready());
  EXPECT_EQ(p.host.Journal().Count(HostFunction::RegisterTimer), 1u);
  EXPECT_TRUE(WaitUntil([&] { return p.host.Journal().Count(HostFunction::RequestCallback) > 0; }));
  p.instance.reset();
  EXPECT_EQ(p.host.Journal().Count(HostFunction::UnregisterTimer), 0u);
}

// Without host timers a ticker thread asks for callbacks, one at a time: the next request
// comes only after on_main_thread served the last.
TEST(Timers, WithoutHostTimersTheTickerAsksForMainThreadCallbacks)
{
  LoadedPlugin p(WithoutTimers());
  ASSERT_TRUE(p.Ready());
  EXPECT_EQ(p.Plugin()->get_extension(p.Plugin(), CLAP_EXT_TIMER_SUPPORT), nullptr);
  const auto requests = [&] { return p.host.Journal().Count(HostFunction::RequestCallback); };
  for (std::size_t served = 0; served < 3; ++served)
  {
    ASSERT_TRUE(WaitUntil([&] { return requests() > served; }));
    EXPECT_EQ(requests(), served + 1); // coalesced until served
    p.instance->Idle();
  }
  for (const host::HostCall& call : p.host.Journal().Calls())
    if (call.function == HostFunction::RequestCallback)
    {
      EXPECT_EQ(call.role, ThreadRole::Other);
    }
  p.instance.reset();
  EXPECT_TRUE(p.host.Journal().CallsOutsideInstanceLife().empty())
      << testing::PrintToString(Names(p.host.Journal().CallsOutsideInstanceLife()));
}

// The whole host journal of short lives: no host call before init, none after destroy
// began except the host timer's unregistration.
TEST(Timers, ShortLivesCallTheHostOnlyBetweenInitAndDestroy)
{
  enum class Life
  {
    CreateDestroy,
    InitDestroy,
    DestroyWithATickPending
  };
  struct Case
  {
    const char* name;
    bool hostTimers;
    Life life;
  };
  const Case cases[] = {
    { "create, destroy; host timers", true, Life::CreateDestroy },
    { "create, destroy; ticker", false, Life::CreateDestroy },
    { "init, destroy; host timers", true, Life::InitDestroy },
    { "init, destroy; ticker", false, Life::InitDestroy },
    { "destroy with a tick pending", false, Life::DestroyWithATickPending },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    host::HostConfig config;
    config.offered.timerSupport = c.hostTimers;
    host::Host host(config);
    auto library = LoadOmbrix();
    ASSERT_NE(library, nullptr);
    RawInstance raw(host, *library);
    ASSERT_NE(raw.Plugin(), nullptr);
    if (c.life != Life::CreateDestroy)
    {
      ASSERT_TRUE(raw.Init());
    }
    if (c.life == Life::DestroyWithATickPending)
    {
      ASSERT_TRUE(WaitUntil([&] { return host.Journal().Count(HostFunction::RequestCallback) > 0; }));
    }
    raw.Destroy();

    const auto outside = host.Journal().CallsOutsideInstanceLife();
    const bool unregisters = c.hostTimers && c.life != Life::CreateDestroy;
    ASSERT_EQ(outside.size(), unregisters ? 1u : 0u) << testing::PrintToString(Names(outside));
    if (unregisters)
    {
      EXPECT_EQ(outside[0].function, HostFunction::UnregisterTimer);
    }
  }
}

} // namespace
} // namespace kit::test
