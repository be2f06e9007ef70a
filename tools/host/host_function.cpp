#include "tools/host/host_function.h"

namespace kit::host
{

const char* HostFunctionName(HostFunction function) noexcept
{
  switch (function)
  {
  case HostFunction::GetExtension:
    return "clap_host.get_extension";
  case HostFunction::RequestRestart:
    return "clap_host.request_restart";
  case HostFunction::RequestProcess:
    return "clap_host.request_process";
  case HostFunction::RequestCallback:
    return "clap_host.request_callback";
  case HostFunction::Log:
    return "clap_host_log.log";
  case HostFunction::IsMainThread:
    return "clap_host_thread_check.is_main_thread";
  case HostFunction::IsAudioThread:
    return "clap_host_thread_check.is_audio_thread";
  case HostFunction::ParamsRescan:
    return "clap_host_params.rescan";
  case HostFunction::ParamsClear:
    return "clap_host_params.clear";
  case HostFunction::ParamsRequestFlush:
    return "clap_host_params.request_flush";
  case HostFunction::LatencyChanged:
    return "clap_host_latency.changed";
  case HostFunction::StateMarkDirty:
    return "clap_host_state.mark_dirty";
  case HostFunction::RegisterTimer:
    return "clap_host_timer_support.register_timer";
  case HostFunction::UnregisterTimer:
    return "clap_host_timer_support.unregister_timer";
  case HostFunction::TrackInfoGet:
    return "clap_host_track_info.get";
  case HostFunction::GuiResizeHintsChanged:
    return "clap_host_gui.resize_hints_changed";
  case HostFunction::GuiRequestResize:
    return "clap_host_gui.request_resize";
  case HostFunction::GuiRequestShow:
    return "clap_host_gui.request_show";
  case HostFunction::GuiRequestHide:
    return "clap_host_gui.request_hide";
  case HostFunction::GuiClosed:
    return "clap_host_gui.closed";
  case HostFunction::PosixFdRegister:
    return "clap_host_posix_fd_support.register_fd";
  case HostFunction::PosixFdModify:
    return "clap_host_posix_fd_support.modify_fd";
  case HostFunction::PosixFdUnregister:
    return "clap_host_posix_fd_support.unregister_fd";
  }
  return "?";
}

const char* InstancePhaseName(InstancePhase phase) noexcept
{
  switch (phase)
  {
  case InstancePhase::NoInstance:
    return "no instance";
  case InstancePhase::Creating:
    return "creating";
  case InstancePhase::Created:
    return "created";
  case InstancePhase::Initialising:
    return "initialising";
  case InstancePhase::Inactive:
    return "inactive";
  case InstancePhase::Activating:
    return "activating";
  case InstancePhase::Active:
    return "active";
  case InstancePhase::Processing:
    return "processing";
  case InstancePhase::Destroying:
    return "destroying";
  case InstancePhase::Destroyed:
    return "destroyed";
  }
  return "?";
}

} // namespace kit::host
