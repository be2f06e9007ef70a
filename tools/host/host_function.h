// Names for what a plug-in can call on the test host and for where the instance's life stood
// at the time, so a test can tell which host call came when. Plain values, any thread.
#pragma once

#include <cstddef>

namespace kit::host
{

// Every host function the test host offers: the core record first, then each extension.
enum class HostFunction
{
  GetExtension,
  RequestRestart,
  RequestProcess,
  RequestCallback,
  Log,
  IsMainThread,
  IsAudioThread,
  ParamsRescan,
  ParamsClear,
  ParamsRequestFlush,
  LatencyChanged,
  StateMarkDirty,
  RegisterTimer,
  UnregisterTimer,
  TrackInfoGet,
  GuiResizeHintsChanged,
  GuiRequestResize,
  GuiRequestShow,
  GuiRequestHide,
  GuiClosed,
  PosixFdRegister,
  PosixFdModify,
  PosixFdUnregister
};
inline constexpr std::size_t kHostFunctionCount = std::size_t(HostFunction::PosixFdUnregister) + 1;

// The C name of the function, as "clap_host_params.rescan".
[[nodiscard]] const char* HostFunctionName(HostFunction function) noexcept;

// Where the instance's life stands, as the instance driver moves it.
enum class InstancePhase
{
  NoInstance,   // before create_plugin
  Creating,     // inside create_plugin
  Created,      // create_plugin returned, init not called yet
  Initialising, // inside init
  Inactive,     // init succeeded; not active
  Activating,   // inside activate
  Active,       // activated, not processing (also inside start/stop processing and deactivate)
  Processing,   // start_processing succeeded
  Destroying,   // inside destroy
  Destroyed     // destroy returned
};

[[nodiscard]] const char* InstancePhaseName(InstancePhase phase) noexcept;

// True from the start of init until destroy begins: the window in which a plug-in may call
// its host freely.
[[nodiscard]] constexpr bool IsBetweenInitAndDestroy(InstancePhase phase) noexcept
{
  return phase >= InstancePhase::Initialising && phase <= InstancePhase::Processing;
}

} // namespace kit::host
