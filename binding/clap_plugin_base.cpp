#include "binding/clap_plugin_base.h"

#include "binding/clap_callbacks.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace kit
{

namespace
{

template <class Extension>
const Extension* QueryHost(const clap_host* host, const char* id) noexcept
{
  if (!host || !host->get_extension) return nullptr;
  return static_cast<const Extension*>(host->get_extension(host, id));
}

} // namespace

ClapPluginBase::ClapPluginBase(const clap_plugin_descriptor* descriptor, const clap_host* host)
{
  hostLink.host = host;
  plugin.desc = descriptor;
  plugin.plugin_data = this;
  InstallPluginCallbacks(plugin);
}

ClapPluginBase::~ClapPluginBase() = default;

bool ClapPluginBase::Init()
{
  return true;
}
bool ClapPluginBase::Activate(double, std::uint32_t, std::uint32_t)
{
  return true;
}
void ClapPluginBase::Deactivate() {}
bool ClapPluginBase::StartProcessing()
{
  return true;
}
void ClapPluginBase::StopProcessing() {}
clap_process_status ClapPluginBase::Process(const clap_process*) noexcept
{
  return CLAP_PROCESS_SLEEP;
}
void ClapPluginBase::Reset() {}
void ClapPluginBase::OnMainThread() {}
const void* ClapPluginBase::PluginSpecificExtension(std::string_view)
{
  return nullptr;
}
bool ClapPluginBase::DraftExtensionsEnabled() const
{
  return false;
}
bool ClapPluginBase::ImplementsLatency() const
{
  return false;
}
std::uint32_t ClapPluginBase::LatencyGet()
{
  return 0;
}
bool ClapPluginBase::ImplementsTail() const
{
  return false;
}
std::uint32_t ClapPluginBase::TailGet()
{
  return 0;
}
bool ClapPluginBase::ImplementsRender() const
{
  return false;
}
bool ClapPluginBase::RenderHasHardRealtimeRequirement()
{
  return false;
}
bool ClapPluginBase::RenderSetMode(clap_plugin_render_mode)
{
  return false;
}
bool ClapPluginBase::ImplementsState() const
{
  return false;
}
bool ClapPluginBase::StateSave(const clap_ostream*)
{
  return false;
}
bool ClapPluginBase::StateLoad(const clap_istream*)
{
  return false;
}
bool ClapPluginBase::ImplementsAudioPorts() const
{
  return false;
}
std::uint32_t ClapPluginBase::AudioPortsCount(bool)
{
  return 0;
}
bool ClapPluginBase::AudioPortsGet(std::uint32_t, bool, clap_audio_port_info*)
{
  return false;
}
bool ClapPluginBase::ImplementsAudioPortsConfig() const
{
  return false;
}
std::uint32_t ClapPluginBase::AudioPortsConfigCount()
{
  return 0;
}
bool ClapPluginBase::AudioPortsConfigGet(std::uint32_t, clap_audio_ports_config*)
{
  return false;
}
bool ClapPluginBase::AudioPortsConfigSelect(clap_id)
{
  return false;
}
bool ClapPluginBase::ImplementsParams() const
{
  return false;
}
std::uint32_t ClapPluginBase::ParamsCount()
{
  return 0;
}
bool ClapPluginBase::ParamsInfo(std::uint32_t, clap_param_info*)
{
  return false;
}
bool ClapPluginBase::ParamsValue(clap_id, double*)
{
  return false;
}
bool ClapPluginBase::ParamsValueToText(clap_id, double, char*, std::uint32_t)
{
  return false;
}
bool ClapPluginBase::ParamsTextToValue(clap_id, const char*, double*)
{
  return false;
}
void ClapPluginBase::ParamsFlush(const clap_input_events*, const clap_output_events*) noexcept {}
bool ClapPluginBase::IsValidParamId(clap_id id)
{
  const std::uint32_t count = ParamsCount();
  clap_param_info info {};
  for (std::uint32_t i = 0; i < count; ++i)
    if (ParamsInfo(i, &info) && info.id == id) return true;
  return false;
}
bool ClapPluginBase::ImplementsNotePorts() const
{
  return false;
}
std::uint32_t ClapPluginBase::NotePortsCount(bool)
{
  return 0;
}
bool ClapPluginBase::NotePortsGet(std::uint32_t, bool, clap_note_port_info*)
{
  return false;
}
bool ClapPluginBase::ImplementsTimerSupport() const
{
  return false;
}
void ClapPluginBase::OnTimer(clap_id) {}
bool ClapPluginBase::ImplementsPosixFdSupport() const
{
  return false;
}
void ClapPluginBase::OnPosixFd(int, clap_posix_fd_flags_t) {}
bool ClapPluginBase::ImplementsGui() const
{
  return false;
}
bool ClapPluginBase::GuiIsApiSupported(const char*, bool)
{
  return false;
}
bool ClapPluginBase::GuiGetPreferredApi(const char**, bool*)
{
  return false;
}
bool ClapPluginBase::GuiCreate(const char*, bool)
{
  return false;
}
void ClapPluginBase::GuiDestroy() {}
bool ClapPluginBase::GuiSetScale(double)
{
  return false;
}
bool ClapPluginBase::GuiShow()
{
  return false;
}
bool ClapPluginBase::GuiHide()
{
  return false;
}
bool ClapPluginBase::GuiGetSize(std::uint32_t*, std::uint32_t*)
{
  return false;
}
bool ClapPluginBase::GuiCanResize()
{
  return false;
}
bool ClapPluginBase::GuiGetResizeHints(clap_gui_resize_hints*)
{
  return false;
}
bool ClapPluginBase::GuiAdjustSize(std::uint32_t*, std::uint32_t*)
{
  return false;
}
bool ClapPluginBase::GuiSetSize(std::uint32_t, std::uint32_t)
{
  return false;
}
void ClapPluginBase::GuiSuggestTitle(const char*) {}
bool ClapPluginBase::GuiSetParent(const clap_window*)
{
  return false;
}
bool ClapPluginBase::GuiSetTransient(const clap_window*)
{
  return false;
}
void ClapPluginBase::OnMisbehaviour(clap_log_severity, std::string_view) {}
void ClapPluginBase::OnDestroying() {}

void ClapPluginBase::ReleaseEditor() {}

void ClapPluginBase::DestroyGui()
{
  GuiDestroy();
  guiCreated = false;
  guiFloating = false;
  guiParented = false;
}

void ClapPluginBase::PostToMainThread(std::function<void()> work)
{
  const clap_host_thread_check* check = hostLink.threadCheck;
  const clap_host* host = hostLink.host;
  if (check && check->is_main_thread && check->is_audio_thread && check->is_main_thread(host))
  {
    work();
    return;
  }
  {
    std::lock_guard lock(mainThreadQueueMutex);
    mainThreadQueue.push_back(std::move(work));
  }
  // Outside the lock: a host may call on_main_thread from inside request_callback.
  if (host && host->request_callback) host->request_callback(host);
}

bool ClapPluginBase::HostSaysNotMainThread() const
{
  const clap_host_thread_check* check = hostLink.threadCheck;
  return check && check->is_main_thread && check->is_audio_thread && !check->is_main_thread(hostLink.host);
}

void ClapPluginBase::DrainMainThreadQueue()
{
  std::unique_lock lock(mainThreadQueueMutex);
  while (!mainThreadQueue.empty())
  {
    std::function<void()> work = std::move(mainThreadQueue.front());
    mainThreadQueue.pop_front();
    lock.unlock();
    work();
    lock.lock();
  }
}

void ClapPluginBase::HostLog(clap_log_severity severity, std::string_view text) const
{
  const clap_host_log* log = hostLink.log;
  if (log && log->log)
  {
    // The host wants a terminated string; text views may not be.
    std::string line(text);
    log->log(hostLink.host, severity, line.c_str());
    return;
  }
  // One line on the error stream, flushed at once whatever the severity: the process may
  // end before a buffer would be written.
  std::fprintf(stderr, "%.*s\n", int(text.size()), text.data());
  std::fflush(stderr);
}

void ClapPluginBase::FindHostExtensions()
{
  const clap_host* host = hostLink.host;
  hostLink.log = QueryHost<clap_host_log>(host, CLAP_EXT_LOG);
  hostLink.threadCheck = QueryHost<clap_host_thread_check>(host, CLAP_EXT_THREAD_CHECK);
  hostLink.timerSupport = QueryHost<clap_host_timer_support>(host, CLAP_EXT_TIMER_SUPPORT);
  hostLink.posixFdSupport = QueryHost<clap_host_posix_fd_support>(host, CLAP_EXT_POSIX_FD_SUPPORT);
  hostLink.latency = QueryHost<clap_host_latency>(host, CLAP_EXT_LATENCY);
  hostLink.gui = QueryHost<clap_host_gui>(host, CLAP_EXT_GUI);
  hostLink.params = QueryHost<clap_host_params>(host, CLAP_EXT_PARAMS);
  hostLink.trackInfo = QueryHost<clap_host_track_info>(host, CLAP_EXT_TRACK_INFO);
  if (!hostLink.trackInfo) hostLink.trackInfo = QueryHost<clap_host_track_info>(host, CLAP_EXT_TRACK_INFO_COMPAT);
  hostLink.state = QueryHost<clap_host_state>(host, CLAP_EXT_STATE);
}

} // namespace kit
