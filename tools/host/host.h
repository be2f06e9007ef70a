// The test host: the clap_host record a plug-in is created with, its host extensions as set
// by HostConfig, and the journal of every call the plug-in makes on it. One Host serves one
// plug-in instance at a time. The constructing thread is the main thread; the plug-in may call
// in from any thread.
#pragma once

#include "binding/clap_abi.h"
#include "tools/host/host_config.h"
#include "tools/host/host_journal.h"
#include "tools/host/thread_roles.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kit::host
{

class Host
{
public:
  explicit Host(HostConfig config = {});
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  [[nodiscard]] const clap_host* Record() const noexcept;
  [[nodiscard]] const HostConfig& Config() const noexcept { return config; }
  [[nodiscard]] HostJournal& Journal() noexcept { return journal; }
  [[nodiscard]] const HostJournal& Journal() const noexcept { return journal; }

  // Any thread.
  [[nodiscard]] ThreadRole RoleOfCallingThread() const noexcept;
  [[nodiscard]] InstancePhase Phase() const noexcept;
  // The instance driver moves the phase; a test driving the raw plug-in may too.
  void SetPhase(InstancePhase phase) noexcept;

  // Main thread: requests the plug-in made, each taken once.
  [[nodiscard]] bool TakeCallbackRequest() noexcept;
  [[nodiscard]] bool TakeRestartRequest() noexcept;
  // Whether a callback request waits, without taking it.
  [[nodiscard]] bool CallbackRequested() const noexcept;
  // Readable whenever a callback request waits, for a loop that polls: -1 when none could be
  // made. The loop drains it with DrainCallbackWake before taking the request.
  [[nodiscard]] int CallbackWakeDescriptor() const noexcept { return callbackWake; }
  void DrainCallbackWake() noexcept;
  // Timers registered and not yet unregistered, in id order.
  [[nodiscard]] std::vector<TimerRegistration> ActiveTimers() const;
  [[nodiscard]] bool HasTimer(clap_id id) const;
  // Descriptors registered and not yet unregistered, in descriptor order, with their flags.
  [[nodiscard]] std::vector<DescriptorRegistration> RegisteredDescriptors() const;
  [[nodiscard]] bool HasDescriptor(int fd) const;

  // From now on request_resize is answered by handler (an empty one restores the configured
  // answer). It runs on the thread that asks, without the host's locks held.
  void SetResizeHandler(std::function<bool(std::uint32_t width, std::uint32_t height)> handler);

private:
  friend struct HostCallbacks;

  // The host whose record the plug-in passed back.
  [[nodiscard]] static Host& From(const clap_host* record) noexcept;
  void Note(HostFunction function);
  [[nodiscard]] const void* Extension(const char* id) const noexcept;

  HostConfig config;
  std::thread::id mainThread;
  HostJournal journal;
  clap_host record {};
  clap_host_log log {};
  clap_host_thread_check threadCheck {};
  clap_host_params params {};
  clap_host_latency latency {};
  clap_host_state state {};
  clap_host_timer_support timerSupport {};
  clap_host_track_info trackInfo {};
  clap_host_gui gui {};
  clap_host_posix_fd_support posixFdSupport {};

  std::atomic<InstancePhase> phase { InstancePhase::NoInstance };
  std::atomic<bool> callbackRequested { false }; // written by any thread, taken by the main thread
  std::atomic<bool> restartRequested { false };  // same
  mutable std::mutex timerMutex;                 // guards the two members below
  std::map<clap_id, std::uint32_t> timers;       // id -> period in ms
  clap_id nextTimerId = 1;
  mutable std::mutex descriptorMutex;               // guards the member below
  std::map<int, clap_posix_fd_flags_t> descriptors; // fd -> flags
  mutable std::mutex resizeMutex;                   // guards the member below
  std::function<bool(std::uint32_t, std::uint32_t)> resizeHandler;
  int callbackWake = -1; // an eventfd, counted up by every callback request
};

} // namespace kit::host
