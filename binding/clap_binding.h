// The CLAP binding of a plug-in instance: lifecycle, audio processing, audio ports, latency,
// tail, render mode, parameters and state, joined to the delegate chain and the processor.
// The host calls in on its main and audio threads as the standard assigns them; the
// audio-thread paths never allocate (except an output list that has to grow), lock or wait.
#pragma once

#include "binding/clap_abi.h"
#include "binding/clap_plugin_base.h"
#include "binding/host_base.h"
#include "binding/tick_requests.h"
#include "framework/processor.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kit
{

// What the factory hands to a new instance.
struct PluginCreateInfo
{
  const clap_plugin_descriptor* descriptor = nullptr;
  const clap_host* host = nullptr;
};

// An editor change waiting for the host.
struct HostParamEntry
{
  enum Kind : std::int32_t
  {
    kGestureBegin = 0,
    kValue = 1,
    kGestureEnd = 2,
  };
  std::int32_t kind = kValue;
  std::int32_t index = 0;
  double value = 0.0; // normalised for continuous parameters, real otherwise
};

class IClapBinding : public IHostBase, public IProcessor, public ClapPluginBase
{
public:
  using HostParamQueue = SpscRing<HostParamEntry, 513>;
  static constexpr int kOutputListStep = 512;
  // Largest state accepted from a host stream; ours is 32 bytes.
  static constexpr int kMaxStateBytes = 1 << 20;

  IClapBinding(const PluginConfig& config, const PluginCreateInfo& info);
  ~IClapBinding() override;

  // Lifecycle (main thread unless noted).
  [[nodiscard]] bool Init() override;
  [[nodiscard]] bool Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames) override;
  void Deactivate() override;
  // Audio thread.
  [[nodiscard]] bool StartProcessing() override;
  // Audio thread.
  void StopProcessing() override;
  // Audio thread.
  [[nodiscard]] clap_process_status Process(const clap_process* process) noexcept override;
  // Audio thread.
  void Reset() override;
  void OnMainThread() override;
  [[nodiscard]] const void* PluginSpecificExtension(std::string_view id) override;
  [[nodiscard]] bool DraftExtensionsEnabled() const override;

  // Latency, tail, render.
  [[nodiscard]] bool ImplementsLatency() const override;
  [[nodiscard]] std::uint32_t LatencyGet() override;
  [[nodiscard]] bool ImplementsTail() const override;
  [[nodiscard]] std::uint32_t TailGet() override;
  [[nodiscard]] bool ImplementsRender() const override;
  [[nodiscard]] bool RenderHasHardRealtimeRequirement() override;
  [[nodiscard]] bool RenderSetMode(clap_plugin_render_mode mode) override;

  // State.
  [[nodiscard]] bool ImplementsState() const override;
  [[nodiscard]] bool StateSave(const clap_ostream* stream) override;
  [[nodiscard]] bool StateLoad(const clap_istream* stream) override;

  // Audio ports, their configurations, note ports.
  [[nodiscard]] bool ImplementsAudioPorts() const override;
  [[nodiscard]] std::uint32_t AudioPortsCount(bool isInput) override;
  [[nodiscard]] bool AudioPortsGet(std::uint32_t index, bool isInput, clap_audio_port_info* info) override;
  [[nodiscard]] bool ImplementsAudioPortsConfig() const override;
  [[nodiscard]] std::uint32_t AudioPortsConfigCount() override;
  [[nodiscard]] bool AudioPortsConfigGet(std::uint32_t index, clap_audio_ports_config* config) override;
  [[nodiscard]] bool AudioPortsConfigSelect(clap_id configId) override;
  [[nodiscard]] bool ImplementsNotePorts() const override;
  [[nodiscard]] std::uint32_t NotePortsCount(bool isInput) override;
  [[nodiscard]] bool NotePortsGet(std::uint32_t index, bool isInput, clap_note_port_info* info) override;

  // Parameters.
  [[nodiscard]] bool ImplementsParams() const override;
  [[nodiscard]] std::uint32_t ParamsCount() override;
  [[nodiscard]] bool ParamsInfo(std::uint32_t index, clap_param_info* info) override;
  [[nodiscard]] bool ParamsValue(clap_id id, double* value) override;
  [[nodiscard]] bool ParamsValueToText(clap_id id, double value, char* text, std::uint32_t capacity) override;
  [[nodiscard]] bool ParamsTextToValue(clap_id id, const char* text, double* value) override;
  // Audio thread while processing, main thread otherwise.
  void ParamsFlush(const clap_input_events* in, const clap_output_events* out) noexcept override;
  [[nodiscard]] bool IsValidParamId(clap_id id) override;

  // The editor's window, embedded in a window of the host.
  [[nodiscard]] bool ImplementsGui() const override;
  [[nodiscard]] bool GuiIsApiSupported(const char* api, bool isFloating) override;
  [[nodiscard]] bool GuiGetPreferredApi(const char** api, bool* isFloating) override;
  [[nodiscard]] bool GuiCreate(const char* api, bool isFloating) override;
  void GuiDestroy() override;
  [[nodiscard]] bool GuiSetScale(double scale) override;
  [[nodiscard]] bool GuiShow() override;
  [[nodiscard]] bool GuiHide() override;
  [[nodiscard]] bool GuiGetSize(std::uint32_t* width, std::uint32_t* height) override;
  [[nodiscard]] bool GuiCanResize() override;
  [[nodiscard]] bool GuiGetResizeHints(clap_gui_resize_hints* hints) override;
  [[nodiscard]] bool GuiAdjustSize(std::uint32_t* width, std::uint32_t* height) override;
  [[nodiscard]] bool GuiSetSize(std::uint32_t width, std::uint32_t height) override;
  void GuiSuggestTitle(const char* title) override;
  [[nodiscard]] bool GuiSetParent(const clap_window* window) override;
  [[nodiscard]] bool GuiSetTransient(const clap_window* window) override;
  // Asks the host for a new editor size in pixels.
  [[nodiscard]] bool RequestEditorResize(int widthPixels, int heightPixels) override;
  // Opens the editor in the host's window; false without an editor or a window.
  [[nodiscard]] virtual bool AttachEditorToParent(clap_xwnd window);

  // Timer and descriptor support: the 20 ms tick, the open editor's display tick and its
  // watched descriptor, all run on the host's main thread.
  [[nodiscard]] bool ImplementsTimerSupport() const override;
  void OnTimer(clap_id timerId) override;
  // Offered when the host can watch descriptors for us.
  [[nodiscard]] bool ImplementsPosixFdSupport() const override;
  void OnPosixFd(int fd, clap_posix_fd_flags_t flags) override;
  void OnDestroying() override;
  void ReleaseEditor() override;

  // The open editor window's services (main thread). The display tick comes from a host timer
  // when the host runs timers, else from a ticker thread asking for main-thread callbacks; the
  // descriptor is watched only by a host with descriptor support. A second start or watch
  // replaces the first.
  [[nodiscard]] bool StartDisplayTick(std::uint32_t intervalMs, std::function<void()> tick) override;
  // Joins the ticker: the tick never runs after it returns.
  void StopDisplayTick() override;
  [[nodiscard]] bool WatchDescriptor(int fd, std::function<void()> onReadable) override;
  void UnwatchDescriptor() override;
  void LogEditorProblem(std::string_view text) override;

  // Processor overrides: outgoing MIDI and SysEx wait in the output lists for the host;
  // latency and tail changes reach the host.
  // Audio thread.
  [[nodiscard]] bool SendMidiMessage(const MidiMessage& message) noexcept override;
  // Audio thread.
  bool SendSysEx(const SysExMessage& message) noexcept override;
  void UpdateLatency(int frames) override;
  void UpdateTailLength(int frames) override;

  // Editor changes towards the host: queued, delivered by the next process or flush.
  void QueueHostGestureBegin(int index) override;
  void QueueHostGestureEnd(int index) override;
  void QueueHostParamValue(int index, double normalized) override;

  // Chooses the first layout whose first output bus has channelCount channels (and whose
  // first input bus matches too, unless the plug-in is an instrument). Whether one did.
  [[nodiscard]] bool SelectChannelConfig(int channelCount);
  [[nodiscard]] int SelectedConfig() const noexcept { return selectedConfig; }

private:
  // Audio thread, or the main thread in a flush outside processing.
  void ConvertInputEvents(const clap_input_events* in) noexcept;
  void PushParamEventsToHost(const clap_output_events* out) noexcept;
  // Audio thread.
  void WriteOutputEvents(const clap_output_events* out, std::uint32_t frames) noexcept;
  void ApplyParamEvent(const clap_event_param_value& event) noexcept;
  void ReceiveMidi(const MidiMessage& message) noexcept;
  [[nodiscard]] int ConnectAndAttach(ERoute direction, const clap_audio_buffer* ports, std::uint32_t portCount,
                                     bool wide, std::uint32_t frames) noexcept;

  [[nodiscard]] int BusChannelCount(ERoute direction, int busIndex, int layoutIndex) const noexcept;
  [[nodiscard]] int BusCount(ERoute direction, int layoutIndex) const noexcept;
  // Asks the host to flush, from its main thread, unless a process call will deliver.
  void RequestParamFlush();
  // Starts the 20 ms tick with what the host offers.
  void StartTimer();
  // Ticker thread: marks its tick due and asks the host for one main-thread callback, unless
  // one is pending already for either tick.
  void RequestTick(TickRequests::Tick tick);
  void RunDisplayTick();
  void ReportPartialHostExtension(std::string_view text) const;

  std::int32_t selectedConfig = 0;
  std::int32_t silentFrames = 0; // audio thread
  bool hostTailUsable = false;
  bool tailChanged = false;
  bool latencyPending = false;
  bool restartRequested = false;
  std::int32_t pendingLatency = 0;
  clap_id timerId = CLAP_INVALID_ID; // the host timer, when the host runs it
  // Marked by the ticker threads, taken by on_main_thread.
  TickRequests tickRequests;

  // The open editor's display tick and watched descriptor (main thread). The handlers are
  // shared so that one that stops or unwatches itself outlives its own run.
  std::unique_ptr<Timer> displayTimer;
  clap_id displayTimerId = CLAP_INVALID_ID; // when the host runs the display tick
  std::shared_ptr<const std::function<void()>> displayTick;
  int watchedFd = -1;
  std::shared_ptr<const std::function<void()>> onWatchedReadable;

  clap_xwnd parentWindow = 0; // from the last successful set_parent
  bool editorOpen = false;    // the editor's window exists in the parent

  // Producer: the editor (main thread); consumer: process or flush.
  HostParamQueue hostParamQueue;

  // Audio thread: outgoing MIDI and SysEx, ascending by offset; entries before the read
  // positions have been sent.
  std::vector<MidiMessage> midiOutList;
  std::size_t midiOutCount = 0;
  std::size_t midiOutRead = 0;
  std::vector<SysExRecord> sysExOutList;
  std::size_t sysExOutCount = 0;
  std::size_t sysExOutRead = 0;

  // Audio thread: the host's channel pointers of the current block.
  std::vector<float*> pointers32;
  std::vector<double*> pointers64;
};

} // namespace kit
