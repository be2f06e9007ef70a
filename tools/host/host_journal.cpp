#include "tools/host/host_journal.h"

#include <algorithm>
#include <iterator>

namespace kit::host
{

void HostJournal::AddCall(const HostCall& call)
{
  const std::lock_guard lock(mutex);
  ++counts[std::size_t(call.function)];
  calls.push_back(call);
}

void HostJournal::AddExtensionQuery(const char* id)
{
  const std::lock_guard lock(mutex);
  extensionQueries.emplace_back(id ? id : "(null)");
}

void HostJournal::AddLog(clap_log_severity severity, const char* text)
{
  const std::lock_guard lock(mutex);
  logs.push_back({ severity, text ? text : "" });
}

void HostJournal::AddParamRescan(clap_param_rescan_flags flags)
{
  const std::lock_guard lock(mutex);
  paramRescans.push_back(flags);
}

void HostJournal::AddParamClear(const ParamClear& clear)
{
  const std::lock_guard lock(mutex);
  paramClears.push_back(clear);
}

void HostJournal::AddTimerRegistration(const TimerRegistration& registration)
{
  const std::lock_guard lock(mutex);
  timerRegistrations.push_back(registration);
}

void HostJournal::AddTimerUnregistration(clap_id id)
{
  const std::lock_guard lock(mutex);
  timerUnregistrations.push_back(id);
}

void HostJournal::AddDescriptorRegistration(const DescriptorRegistration& registration)
{
  const std::lock_guard lock(mutex);
  descriptorRegistrations.push_back(registration);
}

void HostJournal::AddDescriptorModification(const DescriptorRegistration& modification)
{
  const std::lock_guard lock(mutex);
  descriptorModifications.push_back(modification);
}

void HostJournal::AddDescriptorUnregistration(int fd)
{
  const std::lock_guard lock(mutex);
  descriptorUnregistrations.push_back(fd);
}

void HostJournal::AddResizeRequest(const ResizeRequest& request)
{
  const std::lock_guard lock(mutex);
  resizeRequests.push_back(request);
}

void HostJournal::AddGuiClosed(bool wasDestroyed)
{
  const std::lock_guard lock(mutex);
  guiClosures.push_back(wasDestroyed);
}

std::size_t HostJournal::Count(HostFunction function) const
{
  const std::lock_guard lock(mutex);
  return counts[std::size_t(function)];
}

std::vector<HostCall> HostJournal::Calls() const
{
  const std::lock_guard lock(mutex);
  return calls;
}

std::vector<std::string> HostJournal::ExtensionQueries() const
{
  const std::lock_guard lock(mutex);
  return extensionQueries;
}

std::vector<LogEntry> HostJournal::Logs() const
{
  const std::lock_guard lock(mutex);
  return logs;
}

std::vector<clap_param_rescan_flags> HostJournal::ParamRescans() const
{
  const std::lock_guard lock(mutex);
  return paramRescans;
}

std::vector<ParamClear> HostJournal::ParamClears() const
{
  const std::lock_guard lock(mutex);
  return paramClears;
}

std::vector<TimerRegistration> HostJournal::TimerRegistrations() const
{
  const std::lock_guard lock(mutex);
  return timerRegistrations;
}

std::vector<clap_id> HostJournal::TimerUnregistrations() const
{
  const std::lock_guard lock(mutex);
  return timerUnregistrations;
}

std::vector<DescriptorRegistration> HostJournal::DescriptorRegistrations() const
{
  const std::lock_guard lock(mutex);
  return descriptorRegistrations;
}

std::vector<DescriptorRegistration> HostJournal::DescriptorModifications() const
{
  const std::lock_guard lock(mutex);
  return descriptorModifications;
}

std::vector<int> HostJournal::DescriptorUnregistrations() const
{
  const std::lock_guard lock(mutex);
  return descriptorUnregistrations;
}

std::vector<ResizeRequest> HostJournal::ResizeRequests() const
{
  const std::lock_guard lock(mutex);
  return resizeRequests;
}

std::vector<bool> HostJournal::GuiClosures() const
{
  const std::lock_guard lock(mutex);
  return guiClosures;
}

std::vector<HostCall> HostJournal::CallsOutsideInstanceLife() const
{
  const std::lock_guard lock(mutex);
  std::vector<HostCall> outside;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(outside),
               [](const HostCall& call) { return !IsBetweenInitAndDestroy(call.phase); });
  return outside;
}

void HostJournal::Clear()
{
  const std::lock_guard lock(mutex);
  counts = {};
  calls.clear();
  extensionQueries.clear();
  logs.clear();
  paramRescans.clear();
  paramClears.clear();
  timerRegistrations.clear();
  timerUnregistrations.clear();
  descriptorRegistrations.clear();
  descriptorModifications.clear();
  descriptorUnregistrations.clear();
  resizeRequests.clear();
  guiClosures.clear();
}

} // namespace kit::host
