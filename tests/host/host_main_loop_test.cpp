// The host's main-thread loop in real time: each timer at its own period, readable registered
// descriptors to on_fd, added descriptors to their handlers, callback requests to
// on_main_thread, on a small plug-in record that counts what reaches it.
#include "tools/host/main_loop.h"

#include "tests/support/pipe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string_view>
#include <thread>
#include <vector>

namespace kit::host::test
{
namespace
{

using namespace std::chrono_literals;
using kit::test::Pipe;

// A plug-in record offering timer and descriptor support, counting the calls.
struct CountingPlugin
{
  CountingPlugin()
  {
    record.plugin_data = this;
    record.get_extension = &Extension;
    record.on_main_thread = [](const clap_plugin* plugin) { From(plugin).mainThreadCalls++; };
  }
  CountingPlugin(const CountingPlugin&) = delete;
  CountingPlugin& operator=(const CountingPlugin&) = delete;

  static CountingPlugin& From(const clap_plugin* plugin) { return *static_cast<CountingPlugin*>(plugin->plugin_data); }
  static const void* Extension(const clap_plugin*, const char* id);
  [[nodiscard]] int Fired(clap_id id) const { return int(std::count(timersFired.begin(), timersFired.end(), id)); }

  clap_plugin record {};
  std::vector<clap_id> timersFired;
  std::vector<DescriptorRegistration> fdCalls;
  int mainThreadCalls = 0;
};

const clap_plugin_timer_support kTimers { [](const clap_plugin* plugin, clap_id id)
                                          { CountingPlugin::From(plugin).timersFired.push_back(id); } };
const clap_plugin_posix_fd_support kFds { [](const clap_plugin* plugin, int fd, clap_posix_fd_flags_t flags) {
  CountingPlugin::From(plugin).fdCalls.push_back({ fd, flags });
} };

const void* CountingPlugin::Extension(const clap_plugin*, const char* id)
{
  if (std::string_view(id) == CLAP_EXT_TIMER_SUPPORT) return &kTimers;
  if (std::string_view(id) == CLAP_EXT_POSIX_FD_SUPPORT) return &kFds;
  return nullptr;
}

HostConfig WithDescriptors()
{
  HostConfig config;
  config.offered.posixFdSupport = true;
  return config;
}

template <class Extension>
const Extension& HostExtension(const Host& host, const char* id)
{
  const clap_host* record = host.Record();
  return *static_cast<const Extension*>(record->get_extension(record, id));
}

// Each timer fires once per elapsed period of its own: over 200 ms at most 13 times for 15 ms
// and 10 times for 20 ms, and, on a busy machine, at least a few times each.
TEST(MainLoop, EachTimerFiresAtItsOwnPeriod)
{
  Host host;
  CountingPlugin plugin;
  const auto& timers = HostExtension<clap_host_timer_support>(host, CLAP_EXT_TIMER_SUPPORT);
  clap_id fast = CLAP_INVALID_ID;
  clap_id slow = CLAP_INVALID_ID;
  ASSERT_TRUE(timers.register_timer(host.Record(), 15, &fast));
  ASSERT_TRUE(timers.register_timer(host.Record(), 20, &slow));
  MainLoop loop(host, &plugin.record);
  loop.RunFor(200ms);
  EXPECT_LE(plugin.Fired(fast), 13);
  EXPECT_GE(plugin.Fired(fast), 4);
  EXPECT_LE(plugin.Fired(slow), 10);
  EXPECT_GE(plugin.Fired(slow), 3);
  EXPECT_EQ(plugin.timersFired.size(), std::size_t(plugin.Fired(fast) + plugin.Fired(slow)));

  // An unregistered timer fires no more; the other goes on.
  ASSERT_TRUE(timers.unregister_timer(host.Record(), fast));
  const int fastBefore = plugin.Fired(fast);
  const int slowBefore = plugin.Fired(slow);
  loop.RunFor(60ms);
  EXPECT_EQ(plugin.Fired(fast), fastBefore);
  EXPECT_GT(plugin.Fired(slow), slowBefore);
  EXPECT_EQ(plugin.mainThreadCalls, 0);
}

TEST(MainLoop, AReadableRegisteredDescriptorReachesOnFdUntilUnregistered)
{
  Host host(WithDescriptors());
  CountingPlugin plugin;
  const auto& fds = HostExtension<clap_host_posix_fd_support>(host, CLAP_EXT_POSIX_FD_SUPPORT);
  Pipe pipe;
  ASSERT_TRUE(fds.register_fd(host.Record(), pipe.ends[0], clap_posix_fd_flags_t(CLAP_POSIX_FD_READ)));
  MainLoop loop(host, &plugin.record);
  loop.RunOnce(20ms); // nothing to read yet
  EXPECT_TRUE(plugin.fdCalls.empty());

  pipe.Put();
  ASSERT_TRUE(loop.RunUntil([&] { return !plugin.fdCalls.empty(); }, 5s));
  EXPECT_EQ(plugin.fdCalls[0].fd, pipe.ends[0]);
  EXPECT_TRUE(plugin.fdCalls[0].flags & clap_posix_fd_flags_t(CLAP_POSIX_FD_READ));
  pipe.Take();

  ASSERT_TRUE(fds.unregister_fd(host.Record(), pipe.ends[0]));
  pipe.Put();
  const std::size_t calls = plugin.fdCalls.size();
  loop.RunOnce(20ms);
  EXPECT_EQ(plugin.fdCalls.size(), calls);
}

TEST(MainLoop, AnAddedDescriptorRunsItsHandlerWhenReadable)
{
  Host host;
  CountingPlugin plugin;
  Pipe pipe;
  int runs = 0;
  MainLoop loop(host, &plugin.record);
  loop.AddDescriptor(pipe.ends[0],
                     [&]
                     {
                       ++runs;
                       pipe.Take();
                     });
  loop.RunOnce(10ms);
  EXPECT_EQ(runs, 0);
  pipe.Put();
  ASSERT_TRUE(loop.RunUntil([&] { return runs > 0; }, 5s));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(plugin.fdCalls.empty());
}

// A request from another thread wakes a pass that could otherwise wait a minute, and that pass
// serves it, once.
TEST(MainLoop, ACallbackRequestWakesThePassAndReachesOnMainThreadOnce)
{
  Host host;
  CountingPlugin plugin;
  MainLoop loop(host, &plugin.record);
  std::thread requester([&host] { host.Record()->request_callback(host.Record()); });
  const auto start = std::chrono::steady_clock::now();
  loop.RunOnce(60s);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
  requester.join();
  EXPECT_EQ(plugin.mainThreadCalls, 1);
  loop.RunOnce(10ms);
  EXPECT_EQ(plugin.mainThreadCalls, 1);
}

TEST(MainLoop, RunUntilAnswersWhetherTheConditionHeldInTime)
{
  Host host;
  CountingPlugin plugin;
  MainLoop loop(host, &plugin.record);
  EXPECT_TRUE(loop.RunUntil([] { return true; }, 60s));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(loop.RunUntil([] { return false; }, 30ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}

} // namespace
} // namespace kit::host::test
