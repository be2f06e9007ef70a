// One plug-in instance driven in CLAP's call order: create and init, activate, start and stop
// processing, process, params flush, and the main-thread idle that serves callbacks, timers and
// restarts; destruction undoes whatever is still on. Out-of-order requests are refused without
// calling the plug-in; a test that wants to misbehave uses Plugin() directly. The library and
// the host must outlive the instance.
#pragma once

#include "binding/clap_abi.h"
#include "tools/host/event_lists.h"
#include "tools/host/host.h"
#include "tools/host/plugin_library.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>

namespace kit::host
{

class PluginInstance
{
public:
  // create_plugin with the factory's first descriptor id, then init. Null with a reason.
  [[nodiscard]] static std::unique_ptr<PluginInstance> Create(PluginLibrary& library, Host& host, std::string& error);
  // The same with the given plug-in id.
  [[nodiscard]] static std::unique_ptr<PluginInstance> Create(PluginLibrary& library, Host& host,
                                                              const std::string& pluginId, std::string& error);
  // Stops processing and deactivates as needed, then destroys. Main thread.
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  [[nodiscard]] const clap_plugin* Plugin() const noexcept { return plugin; }
  [[nodiscard]] bool IsActive() const noexcept { return active; }
  [[nodiscard]] bool IsProcessing() const noexcept { return processing.load(std::memory_order_acquire); }
  // The plug-in's extension record, null when it offers none.
  template <class Record>
  [[nodiscard]] const Record* Extension(const char* id) const noexcept
  {
    return static_cast<const Record*>(plugin->get_extension(plugin, id));
  }

  // Main thread.
  // False without calling the plug-in when already active.
  [[nodiscard]] bool Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
  // Stops processing first when needed; nothing when inactive.
  void Deactivate();
  // params flush with one CLAP_EVENT_PARAM_VALUE per (id, value), in order, output events
  // discarded. On the calling thread, which counts as the audio thread while processing.
  void FlushParams(std::span<const std::pair<clap_id, double>> values);
  // params flush with the given lists; nothing when the plug-in has no params flush.
  void FlushParams(const InputEventList& in, OutputEventList& out);
  // Serves what the plug-in asked for: on_main_thread after a callback request, on_timer for
  // every registered timer (each once per call, whatever its period), then a restart
  // (deactivate and activate again with the last settings, processing resumed) after a
  // restart request.
  void Idle();

  // Audio thread: each call runs inside an AudioThreadScope on the calling thread.
  // False without calling the plug-in unless active and not processing.
  [[nodiscard]] bool StartProcessing() noexcept;
  // Nothing unless processing.
  void StopProcessing() noexcept;
  // Nothing unless active.
  void Reset() noexcept;
  // One process call with one input and one output port of channels channels in 64-bit
  // buffers, no transport, empty input events; output events collected in ProcessOutputs.
  // CLAP_PROCESS_ERROR without calling the plug-in unless processing.
  [[nodiscard]] clap_process_status Process64(double* const* inputs, double* const* outputs, std::uint32_t channels,
                                              std::uint32_t frames) noexcept;
  // The given process record as it is. CLAP_PROCESS_ERROR without calling unless processing.
  [[nodiscard]] clap_process_status Process(const clap_process& process) noexcept;
  // The events the last Process64 collected, kept until the next one.
  [[nodiscard]] const OutputEventList& ProcessOutputs() const noexcept { return processOutputs; }

private:
  PluginInstance(Host& host, const clap_plugin* plugin);

  Host& host;
  const clap_plugin* plugin;
  const clap_plugin_params* params = nullptr;
  const clap_plugin_timer_support* timerSupport = nullptr;
  bool active = false;
  // Written by start/stop processing, read by process and flush, which a test may run on
  // another thread than the one that started processing.
  std::atomic<bool> processing { false };
  double sampleRate = 0.0;
  std::uint32_t minFrames = 0;
  std::uint32_t maxFrames = 0;
  std::int64_t steadyTime = 0; // frames processed through Process64
  InputEventList noEvents { 0 };
  OutputEventList processOutputs;
  OutputEventList flushOutputs;
};

} // namespace kit::host
