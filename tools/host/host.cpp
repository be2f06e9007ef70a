#include "tools/host/host.h"

#include <cstring>
#include <string_view>
#include <utility>

#include <sys/eventfd.h>
#include <unistd.h>

namespace kit::host
{

// The plain functions behind the records. Each notes the call, then answers as configured.
struct HostCallbacks
{
  static const void* GetExtension(const clap_host* record, const char* id) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::GetExtension);
    host.journal.AddExtensionQuery(id);
    return host.Extension(id);
  }

  static void RequestRestart(const clap_host* record) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::RequestRestart);
    host.restartRequested.store(true, std::memory_order_release);
  }

  static void RequestProcess(const clap_host* record) noexcept
  {
    Host::From(record).Note(HostFunction::RequestProcess);
  }

  static void RequestCallback(const clap_host* record) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::RequestCallback);
    host.callbackRequested.store(true, std::memory_order_release);
    if (host.callbackWake >= 0)
    {
      const std::uint64_t one = 1;
      // Only a counter at its limit refuses, and then the loop is awake already.
      [[maybe_unused]] const ssize_t written = ::write(host.callbackWake, &one, sizeof one);
    }
  }

  static void Log(const clap_host* record, clap_log_severity severity, const char* text) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::Log);
    host.journal.AddLog(severity, text);
  }

  static bool IsMainThread(const clap_host* record) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::IsMainThread);
    switch (host.config.threadCheck)
    {
    case ThreadCheckAnswer::ByRole:
      return host.RoleOfCallingThread() == ThreadRole::Main;
    case ThreadCheckAnswer::AlwaysMain:
      return true;
    case ThreadCheckAnswer::NeverMain:
      return false;
    }
    return false;
  }

  static bool IsAudioThread(const clap_host* record) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::IsAudioThread);
    return host.config.threadCheck == ThreadCheckAnswer::ByRole && host.RoleOfCallingThread() == ThreadRole::Audio;
  }

  static void ParamsRescan(const clap_host* record, clap_param_rescan_flags flags) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::ParamsRescan);
    host.journal.AddParamRescan(flags);
  }

  static void ParamsClear(const clap_host* record, clap_id paramId, clap_param_clear_flags flags) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::ParamsClear);
    host.journal.AddParamClear({ paramId, flags });
  }

  static void ParamsRequestFlush(const clap_host* record) noexcept
  {
    Host::From(record).Note(HostFunction::ParamsRequestFlush);
  }

  static void LatencyChanged(const clap_host* record) noexcept
  {
    Host::From(record).Note(HostFunction::LatencyChanged);
  }

  static void StateMarkDirty(const clap_host* record) noexcept
  {
    Host::From(record).Note(HostFunction::StateMarkDirty);
  }

  static bool RegisterTimer(const clap_host* record, std::uint32_t periodMs, clap_id* timerId) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::RegisterTimer);
    if (!timerId || !host.config.timerRegistrationSucceeds) return false;
    clap_id id = CLAP_INVALID_ID;
    {
      const std::lock_guard lock(host.timerMutex);
      id = host.nextTimerId++;
      host.timers[id] = periodMs;
    }
    host.journal.AddTimerRegistration({ id, periodMs });
    *timerId = id;
    return true;
  }

  static bool UnregisterTimer(const clap_host* record, clap_id timerId) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::UnregisterTimer);
    host.journal.AddTimerUnregistration(timerId);
    const std::lock_guard lock(host.timerMutex);
    return host.timers.erase(timerId) == 1;
  }

  static bool TrackInfoGet(const clap_host* record, clap_track_info* info) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::TrackInfoGet);
    if (!info || !host.config.trackInfoSucceeds) return false;
    *info = {};
    info->flags = CLAP_TRACK_INFO_HAS_TRACK_NAME | CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL;
    std::strncpy(info->name, "Track 1", sizeof info->name - 1);
    info->audio_channel_count = host.config.trackChannelCount;
    info->audio_port_type = host.config.trackChannelCount == 1   ? CLAP_PORT_MONO
                            : host.config.trackChannelCount == 2 ? CLAP_PORT_STEREO
                                                                 : nullptr;
    return true;
  }

  static void GuiResizeHintsChanged(const clap_host* record) noexcept
  {
    Host::From(record).Note(HostFunction::GuiResizeHintsChanged);
  }

  static bool GuiRequestResize(const clap_host* record, std::uint32_t width, std::uint32_t height) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::GuiRequestResize);
    host.journal.AddResizeRequest({ width, height });
    std::function<bool(std::uint32_t, std::uint32_t)> handler;
    {
      const std::lock_guard lock(host.resizeMutex);
      handler = host.resizeHandler;
    }
    if (!handler) return host.config.resizeRequestSucceeds;
    try
    {
      return handler(width, height);
    }
    catch (...)
    {
      return false;
    }
  }

  static bool GuiRequestShow(const clap_host* record) noexcept
  {
    Host::From(record).Note(HostFunction::GuiRequestShow);
    return true;
  }

  static bool GuiRequestHide(const clap_host* record) noexcept
  {
    Host::From(record).Note(HostFunction::GuiRequestHide);
    return true;
  }

  static void GuiClosed(const clap_host* record, bool wasDestroyed) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::GuiClosed);
    host.journal.AddGuiClosed(wasDestroyed);
  }

  static bool PosixFdRegister(const clap_host* record, int fd, clap_posix_fd_flags_t flags) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::PosixFdRegister);
    host.journal.AddDescriptorRegistration({ fd, flags });
    if (fd < 0 || !host.config.descriptorRegistrationSucceeds) return false;
    const std::lock_guard lock(host.descriptorMutex);
    return host.descriptors.emplace(fd, flags).second;
  }

  static bool PosixFdModify(const clap_host* record, int fd, clap_posix_fd_flags_t flags) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::PosixFdModify);
    host.journal.AddDescriptorModification({ fd, flags });
    const std::lock_guard lock(host.descriptorMutex);
    const auto found = host.descriptors.find(fd);
    if (found == host.descriptors.end()) return false;
    found->second = flags;
    return true;
  }

  static bool PosixFdUnregister(const clap_host* record, int fd) noexcept
  {
    Host& host = Host::From(record);
    host.Note(HostFunction::PosixFdUnregister);
    host.journal.AddDescriptorUnregistration(fd);
    const std::lock_guard lock(host.descriptorMutex);
    return host.descriptors.erase(fd) == 1;
  }
};

namespace
{

// The function itself, or null when the configuration leaves it out.
template <class Function>
Function Offer(const HostConfig& config, HostFunction which, Function function)
{
  return config.nullFunctions.count(which) ? nullptr : function;
}

const char* OptionalText(const std::optional<std::string>& text)
{
  return text ? text->c_str() : nullptr;
}

} // namespace

Host::Host(HostConfig hostConfig)
    : config(std::move(hostConfig))
    , mainThread(std::this_thread::get_id())
{
  using F = HostFunction;
  using C = HostCallbacks;
  record.clap_version = CLAP_VERSION;
  record.host_data = this;
  record.name = OptionalText(config.name);
  record.vendor = "Ombrix";
  record.url = "";
  record.version = OptionalText(config.version);
  record.get_extension = Offer(config, F::GetExtension, &C::GetExtension);
  record.request_restart = Offer(config, F::RequestRestart, &C::RequestRestart);
  record.request_process = Offer(config, F::RequestProcess, &C::RequestProcess);
  record.request_callback = Offer(config, F::RequestCallback, &C::RequestCallback);

  log.log = Offer(config, F::Log, &C::Log);
  threadCheck.is_main_thread = Offer(config, F::IsMainThread, &C::IsMainThread);
  threadCheck.is_audio_thread = Offer(config, F::IsAudioThread, &C::IsAudioThread);
  params.rescan = Offer(config, F::ParamsRescan, &C::ParamsRescan);
  params.clear = Offer(config, F::ParamsClear, &C::ParamsClear);
  params.request_flush = Offer(config, F::ParamsRequestFlush, &C::ParamsRequestFlush);
  latency.changed = Offer(config, F::LatencyChanged, &C::LatencyChanged);
  state.mark_dirty = Offer(config, F::StateMarkDirty, &C::StateMarkDirty);
  timerSupport.register_timer = Offer(config, F::RegisterTimer, &C::RegisterTimer);
  timerSupport.unregister_timer = Offer(config, F::UnregisterTimer, &C::UnregisterTimer);
  trackInfo.get = Offer(config, F::TrackInfoGet, &C::TrackInfoGet);
  gui.resize_hints_changed = Offer(config, F::GuiResizeHintsChanged, &C::GuiResizeHintsChanged);
  gui.request_resize = Offer(config, F::GuiRequestResize, &C::GuiRequestResize);
  gui.request_show = Offer(config, F::GuiRequestShow, &C::GuiRequestShow);
  gui.request_hide = Offer(config, F::GuiRequestHide, &C::GuiRequestHide);
  gui.closed = Offer(config, F::GuiClosed, &C::GuiClosed);
  posixFdSupport.register_fd = Offer(config, F::PosixFdRegister, &C::PosixFdRegister);
  posixFdSupport.modify_fd = Offer(config, F::PosixFdModify, &C::PosixFdModify);
  posixFdSupport.unregister_fd = Offer(config, F::PosixFdUnregister, &C::PosixFdUnregister);
  callbackWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

Host::~Host()
{
  if (callbackWake >= 0) ::close(callbackWake);
}

const clap_host* Host::Record() const noexcept
{
  return &record;
}

ThreadRole Host::RoleOfCallingThread() const noexcept
{
  return kit::host::RoleOfCallingThread(mainThread);
}

InstancePhase Host::Phase() const noexcept
{
  return phase.load(std::memory_order_acquire);
}

void Host::SetPhase(InstancePhase newPhase) noexcept
{
  phase.store(newPhase, std::memory_order_release);
}

bool Host::TakeCallbackRequest() noexcept
{
  return callbackRequested.exchange(false, std::memory_order_acq_rel);
}

bool Host::TakeRestartRequest() noexcept
{
  return restartRequested.exchange(false, std::memory_order_acq_rel);
}

bool Host::CallbackRequested() const noexcept
{
  return callbackRequested.load(std::memory_order_acquire);
}

void Host::DrainCallbackWake() noexcept
{
  if (callbackWake < 0) return;
  std::uint64_t count = 0;
  // Nothing to read (EAGAIN) is as good as a drained counter.
  [[maybe_unused]] const ssize_t taken = ::read(callbackWake, &count, sizeof count);
}

std::vector<TimerRegistration> Host::ActiveTimers() const
{
  const std::lock_guard lock(timerMutex);
  std::vector<TimerRegistration> active;
  for (const auto& [id, periodMs] : timers) active.push_back({ id, periodMs });
  return active;
}

bool Host::HasTimer(clap_id id) const
{
  const std::lock_guard lock(timerMutex);
  return timers.count(id) == 1;
}

std::vector<DescriptorRegistration> Host::RegisteredDescriptors() const
{
  const std::lock_guard lock(descriptorMutex);
  std::vector<DescriptorRegistration> registered;
  for (const auto& [fd, flags] : descriptors) registered.push_back({ fd, flags });
  return registered;
}

bool Host::HasDescriptor(int fd) const
{
  const std::lock_guard lock(descriptorMutex);
  return descriptors.count(fd) == 1;
}

void Host::SetResizeHandler(std::function<bool(std::uint32_t, std::uint32_t)> handler)
{
  const std::lock_guard lock(resizeMutex);
  resizeHandler = std::move(handler);
}

Host& Host::From(const clap_host* hostRecord) noexcept
{
  return *static_cast<Host*>(hostRecord->host_data);
}

void Host::Note(HostFunction function)
{
  journal.AddCall({ function, Phase(), RoleOfCallingThread() });
}

const void* Host::Extension(const char* id) const noexcept
{
  if (!id) return nullptr;
  const std::string_view wanted = id;
  const OfferedExtensions& offer = config.offered;
  if (offer.log && wanted == CLAP_EXT_LOG) return &log;
  if (offer.threadCheck && wanted == CLAP_EXT_THREAD_CHECK) return &threadCheck;
  if (offer.params && wanted == CLAP_EXT_PARAMS) return &params;
  if (offer.latency && wanted == CLAP_EXT_LATENCY) return &latency;
  if (offer.state && wanted == CLAP_EXT_STATE) return &state;
  if (offer.timerSupport && wanted == CLAP_EXT_TIMER_SUPPORT) return &timerSupport;
  if (offer.trackInfo && wanted == config.trackInfoId) return &trackInfo;
  if (offer.gui && wanted == CLAP_EXT_GUI) return &gui;
  if (offer.posixFdSupport && wanted == CLAP_EXT_POSIX_FD_SUPPORT) return &posixFdSupport;
  return nullptr;
}

} // namespace kit::host
