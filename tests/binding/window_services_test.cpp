// What the open editor window gets from the host through the binding: the display tick from a
// host timer beside the 20 ms one, or from the ticker sharing one callback request with it;
// the watch on a descriptor through the host's descriptor support; and the problem log.
#include "binding/hosted_plugin.h"
#include "tests/support/pipe.h"
#include "tests/support/preference_folder.h"
#include "tests/support/wait_until.h"
#include "tools/host/main_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <unistd.h>

namespace kit::test
{
namespace
{

using host::HostFunction;

host::HostConfig WithoutTimers()
{
  host::HostConfig config;
  config.offered.timerSupport = false;
  return config;
}

host::HostConfig WithDescriptors()
{
  host::HostConfig config;
  config.offered.posixFdSupport = true;
  return config;
}

// The registered timer of the period, or CLAP_INVALID_ID.
clap_id TimerOf(const host::Host& host, std::uint32_t periodMs)
{
  for (const host::TimerRegistration& timer : host.ActiveTimers())
    if (timer.periodMs == periodMs) return timer.id;
  return CLAP_INVALID_ID;
}

// A display tick that counts its runs and notes any run off the thread that made it.
struct CountingTick
{
  [[nodiscard]] std::function<void()> Tick()
  {
    return [this]
    {
      ++ticks;
      offMain = offMain || std::this_thread::get_id() != mainThread;
    };
  }

  std::thread::id mainThread = std::this_thread::get_id();
  int ticks = 0;
  bool offMain = false;
};

TEST(WindowServices, WithHostTimersTheDisplayTickIsA15MsTimerBesideThe20MsOne)
{
  HostedPlugin p;
  ASSERT_NE(p.instance, nullptr);
  const auto* timers = p.instance->Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT);
  ASSERT_NE(timers, nullptr);
  int ticks = 0;
  ASSERT_TRUE(p.Ombrix().StartDisplayTick(15, [&ticks] { ++ticks; }));
  const clap_id tick20 = TimerOf(p.host, 20);
  const clap_id tick15 = TimerOf(p.host, 15);
  ASSERT_NE(tick20, CLAP_INVALID_ID);
  ASSERT_NE(tick15, CLAP_INVALID_ID);
  EXPECT_EQ(p.host.ActiveTimers().size(), 2u);

  timers->on_timer(p.instance->Plugin(), tick15);
  EXPECT_EQ(ticks, 1);
  timers->on_timer(p.instance->Plugin(), tick20);
  timers->on_timer(p.instance->Plugin(), tick15 + tick20);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(p.Count(HostFunction::RequestCallback), 0u);

  p.Ombrix().StopDisplayTick();
  EXPECT_FALSE(p.host.HasTimer(tick15));
  EXPECT_TRUE(p.host.HasTimer(tick20));
  timers->on_timer(p.instance->Plugin(), tick15);
  EXPECT_EQ(ticks, 1);
}

// A second start replaces the first: one display timer, running the new tick.
TEST(WindowServices, ASecondStartReplacesTheFirstTick)
{
  for (const bool hostTimers : { true, false })
  {
    SCOPED_TRACE(hostTimers ? "host timers" : "ticker");
    HostedPlugin p(hostTimers ? host::HostConfig {} : WithoutTimers());
    ASSERT_NE(p.instance, nullptr);
    int first = 0;
    int second = 0;
    ASSERT_TRUE(p.Ombrix().StartDisplayTick(15, [&first] { ++first; }));
    ASSERT_TRUE(p.Ombrix().StartDisplayTick(30, [&second] { ++second; }));
    if (hostTimers)
    {
      EXPECT_EQ(TimerOf(p.host, 15), CLAP_INVALID_ID);
      const clap_id tick30 = TimerOf(p.host, 30);
      ASSERT_NE(tick30, CLAP_INVALID_ID);
      p.instance->Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT)->on_timer(p.instance->Plugin(), tick30);
    }
    else
    {
      // Served until the new tick ran: the 20 ms ticker may take the first requests.
      ASSERT_TRUE(WaitUntil(
          [&]
          {
            p.instance->Idle();
            return second > 0;
          }));
    }
    EXPECT_EQ(first, 0);
    EXPECT_GE(second, 1);
    p.Ombrix().StopDisplayTick();
  }
}

// Without host timers both ticks come through on_main_thread, and the host holds one request
// for both at a time: the next comes only after on_main_thread served the last.
TEST(WindowServices, WithoutHostTimersBothTicksShareOneCallbackRequest)
{
  HostedPlugin p(WithoutTimers());
  ASSERT_NE(p.instance, nullptr);
  CountingTick tick;
  ASSERT_TRUE(p.Ombrix().StartDisplayTick(15, tick.Tick()));
  EXPECT_TRUE(p.host.ActiveTimers().empty());
  const auto requests = [&] { return p.Count(HostFunction::RequestCallback); };
  std::size_t served = 0;
  while (tick.ticks < 5)
  {
    ASSERT_TRUE(WaitUntil([&] { return requests() > served; }));
    EXPECT_EQ(requests(), served + 1);
    ASSERT_TRUE(p.host.TakeCallbackRequest());
    p.instance->Plugin()->on_main_thread(p.instance->Plugin());
    ++served;
  }
  EXPECT_FALSE(tick.offMain);
  EXPECT_LE(std::size_t(tick.ticks), served);
  p.Ombrix().StopDisplayTick();
}

// Once StopDisplayTick returns, the tick does not run, not even for a request made before.
TEST(WindowServices, AStoppedTickNeverRunsAgain)
{
  HostedPlugin p(WithoutTimers());
  ASSERT_NE(p.instance, nullptr);
  int ticks = 0;
  ASSERT_TRUE(p.Ombrix().StartDisplayTick(15, [&ticks] { ++ticks; }));
  ASSERT_TRUE(WaitUntil([&] { return p.Count(HostFunction::RequestCallback) > 0; }));
  p.Ombrix().StopDisplayTick();
  const int ticksAtStop = ticks;
  for (std::size_t served = 0; served < 3; ++served)
  {
    ASSERT_TRUE(WaitUntil([&] { return p.host.CallbackRequested(); })); // the 20 ms ticker goes on
    p.instance->Idle();
  }
  EXPECT_EQ(ticks, ticksAtStop);
}

// A tick that stops itself, as a window does when its connection is lost, finishes its run.
TEST(WindowServices, ATickMayStopItself)
{
  HostedPlugin p;
  ASSERT_NE(p.instance, nullptr);
  int ticks = 0;
  ui::Ombrix& plugin = p.Ombrix();
  ASSERT_TRUE(plugin.StartDisplayTick(15,
                                      [&]
                                      {
                                        plugin.StopDisplayTick();
                                        ++ticks;
                                      }));
  const clap_id tick15 = TimerOf(p.host, 15);
  const auto* timers = p.instance->Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT);
  timers->on_timer(p.instance->Plugin(), tick15);
  timers->on_timer(p.instance->Plugin(), tick15);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(p.host.HasTimer(tick15));
}

// Destroying the instance with the display tick running: the ticker is joined first and asks
// the host for nothing once destroy began; the host timer goes with the 20 ms one.
TEST(WindowServices, DestroyStopsTheDisplayTickFirst)
{
  for (const bool hostTimers : { true, false })
  {
    SCOPED_TRACE(hostTimers ? "host timers" : "ticker");
    HostedPlugin p(hostTimers ? host::HostConfig {} : WithoutTimers());
    ASSERT_NE(p.instance, nullptr);
    int ticks = 0;
    ASSERT_TRUE(p.Ombrix().StartDisplayTick(15, [&ticks] { ++ticks; }));
    if (!hostTimers)
    {
      ASSERT_TRUE(WaitUntil([&] { return p.Count(HostFunction::RequestCallback) > 0; }));
    }
    const int ticksBefore = ticks;
    p.instance.reset();
    EXPECT_EQ(ticks, ticksBefore);
    EXPECT_TRUE(p.host.ActiveTimers().empty());
    for (const host::HostCall& call : p.host.Journal().CallsOutsideInstanceLife())
      EXPECT_NE(call.function, HostFunction::RequestCallback);
  }
}

TEST(WindowServices, PosixFdSupportIsOfferedOnlyToAHostThatWatchesDescriptors)
{
  struct Case
  {
    const char* name;
    host::HostConfig config;
    bool offered;
  };
  host::HostConfig partial = WithDescriptors();
  partial.nullFunctions = { HostFunction::PosixFdModify };
  const Case cases[] = {
    { "host with descriptor support", WithDescriptors(), true },
    { "host without", {}, false },
    { "host with a partial record", partial, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    HostedPlugin p(c.config);
    ASSERT_NE(p.instance, nullptr);
    const auto* record = p.instance->Extension<clap_plugin_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
    EXPECT_EQ(record != nullptr, c.offered);
    if (record)
    {
      EXPECT_NE(record->on_fd, nullptr);
    }
    Pipe pipe;
    EXPECT_EQ(p.Ombrix().WatchDescriptor(pipe.ends[0], [] {}), c.offered);
    EXPECT_EQ(p.host.RegisteredDescriptors().size(), c.offered ? 1u : 0u);
    p.Ombrix().UnwatchDescriptor();
  }
}

TEST(WindowServices, AWatchedDescriptorRunsItsHandlerInOnFdUntilUnwatched)
{
  HostedPlugin p(WithDescriptors());
  ASSERT_NE(p.instance, nullptr);
  const auto* fds = p.instance->Extension<clap_plugin_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
  ASSERT_NE(fds, nullptr);
  Pipe pipe;
  Pipe other;
  const int fd = pipe.ends[0];
  int runs = 0;
  ASSERT_TRUE(p.Ombrix().WatchDescriptor(fd, [&runs] { ++runs; }));
  const auto registered = p.host.RegisteredDescriptors();
  ASSERT_EQ(registered.size(), 1u);
  EXPECT_EQ(registered[0].fd, fd);
  EXPECT_EQ(registered[0].flags, clap_posix_fd_flags_t(CLAP_POSIX_FD_READ));

  const clap_plugin* plugin = p.instance->Plugin();
  fds->on_fd(plugin, fd, CLAP_POSIX_FD_READ);
  EXPECT_EQ(runs, 1);
  fds->on_fd(plugin, fd, CLAP_POSIX_FD_ERROR);
  EXPECT_EQ(runs, 2);
  fds->on_fd(plugin, other.ends[0], CLAP_POSIX_FD_READ);
  fds->on_fd(plugin, -1, CLAP_POSIX_FD_READ);
  EXPECT_EQ(runs, 2);

  p.Ombrix().UnwatchDescriptor();
  EXPECT_TRUE(p.host.RegisteredDescriptors().empty());
  EXPECT_EQ(p.host.Journal().DescriptorUnregistrations(), (std::vector<int> { fd }));
  fds->on_fd(plugin, fd, CLAP_POSIX_FD_READ);
  EXPECT_EQ(runs, 2);
  p.Ombrix().UnwatchDescriptor(); // nothing left to unwatch
  EXPECT_EQ(p.Count(HostFunction::PosixFdUnregister), 1u);
}

// A second watch replaces the first; a refused registration leaves nothing watched.
TEST(WindowServices, WatchingReplacesTheLastWatchAndARefusalWatchesNothing)
{
  HostedPlugin p(WithDescriptors());
  ASSERT_NE(p.instance, nullptr);
  const auto* fds = p.instance->Extension<clap_plugin_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
  ASSERT_NE(fds, nullptr);
  Pipe first;
  Pipe second;
  int firstRuns = 0;
  int secondRuns = 0;
  ASSERT_TRUE(p.Ombrix().WatchDescriptor(first.ends[0], [&firstRuns] { ++firstRuns; }));
  ASSERT_TRUE(p.Ombrix().WatchDescriptor(second.ends[0], [&secondRuns] { ++secondRuns; }));
  const auto registered = p.host.RegisteredDescriptors();
  ASSERT_EQ(registered.size(), 1u);
  EXPECT_EQ(registered[0].fd, second.ends[0]);
  fds->on_fd(p.instance->Plugin(), first.ends[0], CLAP_POSIX_FD_READ);
  fds->on_fd(p.instance->Plugin(), second.ends[0], CLAP_POSIX_FD_READ);
  EXPECT_EQ(firstRuns, 0);
  EXPECT_EQ(secondRuns, 1);
  EXPECT_FALSE(p.Ombrix().WatchDescriptor(-1, [] {}));
  EXPECT_TRUE(p.host.RegisteredDescriptors().empty());

  host::HostConfig refusing = WithDescriptors();
  refusing.descriptorRegistrationSucceeds = false;
  HostedPlugin q(refusing);
  ASSERT_NE(q.instance, nullptr);
  int runs = 0;
  EXPECT_FALSE(q.Ombrix().WatchDescriptor(first.ends[0], [&runs] { ++runs; }));
  q.instance->Extension<clap_plugin_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT)
      ->on_fd(q.instance->Plugin(), first.ends[0], CLAP_POSIX_FD_READ);
  EXPECT_EQ(runs, 0);
  q.Ombrix().UnwatchDescriptor();
  EXPECT_EQ(q.Count(HostFunction::PosixFdUnregister), 0u);
}

TEST(WindowServices, DestroyUnwatchesTheDescriptor)
{
  HostedPlugin p(WithDescriptors());
  ASSERT_NE(p.instance, nullptr);
  Pipe pipe;
  ASSERT_TRUE(p.Ombrix().WatchDescriptor(pipe.ends[0], [] {}));
  p.instance.reset();
  EXPECT_TRUE(p.host.RegisteredDescriptors().empty());
  EXPECT_EQ(p.host.Journal().DescriptorUnregistrations(), (std::vector<int> { pipe.ends[0] }));
}

// In a host's real-time loop, for each way the tick can come, the display tick runs on the main
// thread; at 15 ms it cannot run more than 13 times in 200 ms.
TEST(WindowServices, TheDisplayTickRunsInTheHostsLoopInEitherMode)
{
  using namespace std::chrono_literals;
  for (const bool hostTimers : { true, false })
  {
    SCOPED_TRACE(hostTimers ? "host timers" : "ticker");
    HostedPlugin p(hostTimers ? host::HostConfig {} : WithoutTimers());
    ASSERT_NE(p.instance, nullptr);
    CountingTick tick;
    ASSERT_TRUE(p.Ombrix().StartDisplayTick(15, tick.Tick()));
    host::MainLoop loop(p.host, p.instance->Plugin());
    loop.RunFor(200ms);
    EXPECT_GE(tick.ticks, 3);
    EXPECT_LE(tick.ticks, 13);
    EXPECT_FALSE(tick.offMain);
    p.Ombrix().StopDisplayTick();
  }
}

TEST(WindowServices, AWatchedDescriptorWakesTheHostsLoop)
{
  using namespace std::chrono_literals;
  HostedPlugin p(WithDescriptors());
  ASSERT_NE(p.instance, nullptr);
  Pipe pipe;
  int runs = 0;
  ASSERT_TRUE(p.Ombrix().WatchDescriptor(pipe.ends[0],
                                         [&]
                                         {
                                           pipe.Take();
                                           ++runs;
                                         }));
  host::MainLoop loop(p.host, p.instance->Plugin());
  ASSERT_EQ(::write(pipe.ends[1], "x", 1), 1);
  EXPECT_TRUE(loop.RunUntil([&] { return runs > 0; }, 5s));
  EXPECT_EQ(runs, 1);
  p.Ombrix().UnwatchDescriptor();
}

TEST(WindowServices, AnEditorProblemIsOneErrorLineInTheHostLog)
{
  HostedPlugin p;
  ASSERT_NE(p.instance, nullptr);
  p.host.Journal().Clear();
  p.Ombrix().LogEditorProblem("the editor's window could not be made");
  const auto logs = p.host.Journal().Logs();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].severity, CLAP_LOG_ERROR);
  EXPECT_EQ(logs[0].text, "the editor's window could not be made");
}

TEST(WindowServices, AWindowLostForGoodClosesTheEditorAtTheNextTickNotInsideTheWindowsCall)
{
  const PreferenceFolder preferences;
  HostedPlugin p;
  ASSERT_NE(p.instance, nullptr);
  ASSERT_NE(p.Ombrix().OpenEditorWindow(nullptr), nullptr);
  p.Ombrix().OnEditorWindowLost();
  // The window that reported it is still there to return into.
  EXPECT_NE(p.Ombrix().EditorGraphics(), nullptr);
  const clap_id hostTick = TimerOf(p.host, 20);
  ASSERT_NE(hostTick, CLAP_INVALID_ID);
  const auto& timers = *p.instance->Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT);
  timers.on_timer(p.instance->Plugin(), hostTick);
  EXPECT_EQ(p.Ombrix().EditorGraphics(), nullptr);
  // Closed as any editor closes: the zoom is saved.
  EXPECT_EQ(preferences.Content(), "1.0000\n");
}

} // namespace
} // namespace kit::test
