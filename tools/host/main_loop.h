// The test host's main-thread loop, in real time: it polls the descriptors the plug-in
// registered (and any the caller adds, such as a test's own X connection) until the next timer
// is due, then runs on_fd for the readable ones, on_timer for every timer whose own period has
// elapsed, and on_main_thread when a callback was requested. Restarts stay with the instance
// driver. Main thread only; the host and the plug-in must outlive the loop.
#pragma once

#include "binding/clap_abi.h"
#include "tools/host/host.h"

#include <chrono>
#include <functional>
#include <map>
#include <vector>

namespace kit::host
{

class MainLoop
{
public:
  MainLoop(Host& host, const clap_plugin* plugin);
  MainLoop(const MainLoop&) = delete;
  MainLoop& operator=(const MainLoop&) = delete;

  // Also polls fd, running onReadable whenever it has input or an error.
  void AddDescriptor(int fd, std::function<void()> onReadable);

  // One pass: waits at most maxWait, less when a timer falls due or something is readable.
  void RunOnce(std::chrono::milliseconds maxWait);
  // Passes until duration has gone by.
  void RunFor(std::chrono::milliseconds duration);
  // Passes until done answers true, checked before the first pass and after each; false when
  // timeout went by first.
  [[nodiscard]] bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
  using Clock = std::chrono::steady_clock;

  struct ExtraDescriptor
  {
    int fd;
    std::function<void()> onReadable;
  };
  struct TrackedTimer
  {
    std::chrono::milliseconds period;
    Clock::time_point due;
  };

  // Follows the host's timer list: a new timer is first due one period after it is seen.
  void TrackTimers(Clock::time_point now);
  // How long the pass may wait: maxWait, or less up to the next due timer; 0 when a callback
  // waits already.
  [[nodiscard]] std::chrono::milliseconds WaitBefore(Clock::time_point now, std::chrono::milliseconds maxWait) const;
  void RunDueTimers();

  Host& host;
  const clap_plugin* plugin;
  std::vector<ExtraDescriptor> extras;
  std::map<clap_id, TrackedTimer> nextDue; // per registered timer
};

} // namespace kit::host
