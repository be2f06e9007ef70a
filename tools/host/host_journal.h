// Everything a plug-in asked of the test host, in arrival order: each call with its phase and
// thread role, plus the arguments tests inspect (log lines, rescan flags, timers, descriptors,
// resize requests, extension ids). Written from any thread under one mutex; readers get copies.
#pragma once

#include "binding/clap_abi.h"
#include "tools/host/host_function.h"
#include "tools/host/thread_roles.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace kit::host
{

struct HostCall
{
  HostFunction function;
  InstancePhase phase;
  ThreadRole role;
};

struct LogEntry
{
  clap_log_severity severity;
  std::string text; // empty when the plug-in passed null
};

struct TimerRegistration
{
  clap_id id;
  std::uint32_t periodMs;
};

struct ParamClear
{
  clap_id paramId;
  clap_param_clear_flags flags;
};

struct DescriptorRegistration
{
  int fd;
  clap_posix_fd_flags_t flags;
  friend bool operator==(const DescriptorRegistration&, const DescriptorRegistration&) = default;
};

struct ResizeRequest
{
  std::uint32_t width;
  std::uint32_t height;
};

class HostJournal
{
public:
  // Any thread: called by the host's callbacks.
  void AddCall(const HostCall& call);
  void AddExtensionQuery(const char* id);
  void AddLog(clap_log_severity severity, const char* text);
  void AddParamRescan(clap_param_rescan_flags flags);
  void AddParamClear(const ParamClear& clear);
  void AddTimerRegistration(const TimerRegistration& registration);
  void AddTimerUnregistration(clap_id id);
  // register_fd and modify_fd calls, as asked, whatever the answer.
  void AddDescriptorRegistration(const DescriptorRegistration& registration);
  void AddDescriptorModification(const DescriptorRegistration& modification);
  void AddDescriptorUnregistration(int fd);
  void AddResizeRequest(const ResizeRequest& request);
  void AddGuiClosed(bool wasDestroyed);

  // Any thread: snapshots.
  [[nodiscard]] std::size_t Count(HostFunction function) const;
  [[nodiscard]] std::vector<HostCall> Calls() const;
  [[nodiscard]] std::vector<std::string> ExtensionQueries() const; // "(null)" for a null id
  [[nodiscard]] std::vector<LogEntry> Logs() const;
  [[nodiscard]] std::vector<clap_param_rescan_flags> ParamRescans() const;
  [[nodiscard]] std::vector<ParamClear> ParamClears() const;
  [[nodiscard]] std::vector<TimerRegistration> TimerRegistrations() const;
  [[nodiscard]] std::vector<clap_id> TimerUnregistrations() const;
  [[nodiscard]] std::vector<DescriptorRegistration> DescriptorRegistrations() const;
  [[nodiscard]] std::vector<DescriptorRegistration> DescriptorModifications() const;
  [[nodiscard]] std::vector<int> DescriptorUnregistrations() const;
  [[nodiscard]] std::vector<ResizeRequest> ResizeRequests() const;
  [[nodiscard]] std::vector<bool> GuiClosures() const;
  // The calls that came before init or after destroy began, in order.
  [[nodiscard]] std::vector<HostCall> CallsOutsideInstanceLife() const;

  // Forgets everything recorded so far.
  void Clear();

private:
  mutable std::mutex mutex; // guards every member below
  std::array<std::size_t, kHostFunctionCount> counts {};
  std::vector<HostCall> calls;
  std::vector<std::string> extensionQueries;
  std::vector<LogEntry> logs;
  std::vector<clap_param_rescan_flags> paramRescans;
  std::vector<ParamClear> paramClears;
  std::vector<TimerRegistration> timerRegistrations;
  std::vector<clap_id> timerUnregistrations;
  std::vector<DescriptorRegistration> descriptorRegistrations;
  std::vector<DescriptorRegistration> descriptorModifications;
  std::vector<int> descriptorUnregistrations;
  std::vector<ResizeRequest> resizeRequests;
  std::vector<bool> guiClosures;
};

} // namespace kit::host
