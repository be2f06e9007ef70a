// The two ways the 20 ms tick reaches the host's main thread on Linux: a timer the host runs
// through its timer-support extension, or a small ticker thread that asks the host for a
// main-thread callback. Made, stopped and destroyed on the main thread.
#pragma once

#include "binding/clap_abi.h"
#include "binding/timer.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kit
{

// A timer registered with the host; the host calls the plug-in's on_timer with its id.
class HostTimer final : public Timer
{
public:
  // Null when the host refuses the timer or there is no memory for it.
  [[nodiscard]] static std::unique_ptr<HostTimer> Start(const clap_host* host, const clap_host_timer_support* support,
                                                        std::uint32_t intervalMs);
  ~HostTimer() override;
  void Stop() override;

  [[nodiscard]] clap_id Id() const noexcept { return id; }

private:
  HostTimer(const clap_host* host, const clap_host_timer_support* support, clap_id id);

  const clap_host* host;
  const clap_host_timer_support* support;
  clap_id id; // CLAP_INVALID_ID once stopped
};

// A thread that calls request every intervalMs until stopped; request asks the host for a
// main-thread callback, where the tick then runs.
class TickerTimer final : public Timer
{
public:
  // Null when no thread can be started or there is no memory for it.
  [[nodiscard]] static std::unique_ptr<TickerTimer> Start(std::function<void()> request, std::uint32_t intervalMs);
  ~TickerTimer() override;
  // Wakes and joins the thread: no request is made after Stop returns.
  void Stop() override;

private:
  TickerTimer(std::function<void()> request, std::uint32_t intervalMs);
  void Run();

  std::function<void()> request;
  std::uint32_t intervalMs;
  std::mutex stopMutex;
  std::condition_variable stopSignal;
  bool stopping = false; // guarded by stopMutex, which is held while request runs
  std::thread thread;
};

} // namespace kit
