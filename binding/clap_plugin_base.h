// The CLAP face of a plug-in instance: the clap_plugin record the host holds, the host's
// extensions, the lifecycle flags, the table that answers get_extension, the main-thread work
// queue and the host log. Every CLAP callback lands in one virtual here, which IClapBinding
// overrides. Callbacks come on the threads CLAP assigns; the queue is safe from any thread.
#pragma once

#include "binding/clap_abi.h"
#include "framework/fixed_text.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string_view>

namespace kit
{

// The host record and the host extensions this plug-in uses; null when the host has none.
struct HostLink
{
  const clap_host* host = nullptr;
  const clap_host_log* log = nullptr;
  const clap_host_thread_check* threadCheck = nullptr;
  const clap_host_timer_support* timerSupport = nullptr;
  const clap_host_posix_fd_support* posixFdSupport = nullptr;
  const clap_host_latency* latency = nullptr;
  const clap_host_gui* gui = nullptr;
  const clap_host_params* params = nullptr;
  const clap_host_track_info* trackInfo = nullptr;
  const clap_host_state* state = nullptr;
};

class ClapPluginBase
{
public:
  ClapPluginBase(const clap_plugin_descriptor* descriptor, const clap_host* host);
  ClapPluginBase(const ClapPluginBase&) = delete;
  ClapPluginBase& operator=(const ClapPluginBase&) = delete;

  // The record handed to the host; its plugin_data points back at this base.
  [[nodiscard]] const clap_plugin* PluginRecord() const noexcept { return &plugin; }

  // Virtual operations, in their fixed order; each extension group opens with the predicate
  // that decides whether get_extension offers it.

  virtual ~ClapPluginBase();
  [[nodiscard]] virtual bool Init();
  [[nodiscard]] virtual bool Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
  virtual void Deactivate();
  // Audio thread.
  [[nodiscard]] virtual bool StartProcessing();
  // Audio thread.
  virtual void StopProcessing();
  // Audio thread.
  [[nodiscard]] virtual clap_process_status Process(const clap_process* process) noexcept;
  // Audio thread.
  virtual void Reset();
  virtual void OnMainThread();
  [[nodiscard]] virtual const void* PluginSpecificExtension(std::string_view id);
  [[nodiscard]] virtual bool DraftExtensionsEnabled() const;
  [[nodiscard]] virtual bool ImplementsLatency() const;
  [[nodiscard]] virtual std::uint32_t LatencyGet();
  [[nodiscard]] virtual bool ImplementsTail() const;
  [[nodiscard]] virtual std::uint32_t TailGet();
  [[nodiscard]] virtual bool ImplementsRender() const;
  [[nodiscard]] virtual bool RenderHasHardRealtimeRequirement();
  [[nodiscard]] virtual bool RenderSetMode(clap_plugin_render_mode mode);
  [[nodiscard]] virtual bool ImplementsState() const;
  [[nodiscard]] virtual bool StateSave(const clap_ostream* stream);
  [[nodiscard]] virtual bool StateLoad(const clap_istream* stream);
  [[nodiscard]] virtual bool ImplementsAudioPorts() const;
  [[nodiscard]] virtual std::uint32_t AudioPortsCount(bool isInput);
  [[nodiscard]] virtual bool AudioPortsGet(std::uint32_t index, bool isInput, clap_audio_port_info* info);
  [[nodiscard]] virtual bool ImplementsAudioPortsConfig() const;
  [[nodiscard]] virtual std::uint32_t AudioPortsConfigCount();
  [[nodiscard]] virtual bool AudioPortsConfigGet(std::uint32_t index, clap_audio_ports_config* config);
  [[nodiscard]] virtual bool AudioPortsConfigSelect(clap_id configId);
  [[nodiscard]] virtual bool ImplementsParams() const;
  [[nodiscard]] virtual std::uint32_t ParamsCount();
  [[nodiscard]] virtual bool ParamsInfo(std::uint32_t index, clap_param_info* info);
  [[nodiscard]] virtual bool ParamsValue(clap_id id, double* value);
  [[nodiscard]] virtual bool ParamsValueToText(clap_id id, double value, char* text, std::uint32_t capacity);
  [[nodiscard]] virtual bool ParamsTextToValue(clap_id id, const char* text, double* value);
  // Audio thread while processing, main thread otherwise.
  virtual void ParamsFlush(const clap_input_events* in, const clap_output_events* out) noexcept;
  [[nodiscard]] virtual bool IsValidParamId(clap_id id);
  [[nodiscard]] virtual bool ImplementsNotePorts() const;
  [[nodiscard]] virtual std::uint32_t NotePortsCount(bool isInput);
  [[nodiscard]] virtual bool NotePortsGet(std::uint32_t index, bool isInput, clap_note_port_info* info);
  [[nodiscard]] virtual bool ImplementsTimerSupport() const;
  virtual void OnTimer(clap_id timerId);
  [[nodiscard]] virtual bool ImplementsPosixFdSupport() const;
  virtual void OnPosixFd(int fd, clap_posix_fd_flags_t flags);
  [[nodiscard]] virtual bool ImplementsGui() const;
  [[nodiscard]] virtual bool GuiIsApiSupported(const char* api, bool isFloating);
  [[nodiscard]] virtual bool GuiGetPreferredApi(const char** api, bool* isFloating);
  [[nodiscard]] virtual bool GuiCreate(const char* api, bool isFloating);
  virtual void GuiDestroy();
  [[nodiscard]] virtual bool GuiSetScale(double scale);
  [[nodiscard]] virtual bool GuiShow();
  [[nodiscard]] virtual bool GuiHide();
  [[nodiscard]] virtual bool GuiGetSize(std::uint32_t* width, std::uint32_t* height);
  [[nodiscard]] virtual bool GuiCanResize();
  [[nodiscard]] virtual bool GuiGetResizeHints(clap_gui_resize_hints* hints);
  [[nodiscard]] virtual bool GuiAdjustSize(std::uint32_t* width, std::uint32_t* height);
  [[nodiscard]] virtual bool GuiSetSize(std::uint32_t width, std::uint32_t height);
  virtual void GuiSuggestTitle(const char* title);
  [[nodiscard]] virtual bool GuiSetParent(const clap_window* window);
  [[nodiscard]] virtual bool GuiSetTransient(const clap_window* window);
  // The host broke a rule of the standard; message says which.
  virtual void OnMisbehaviour(clap_log_severity severity, std::string_view message);
  // The first step of destroy, before anything is torn down: stops whatever could still call
  // into the instance (its timers, its watched descriptor).
  virtual void OnDestroying();
  // The last step of destroy before the object is deleted: an editor still alive goes while
  // the plug-in its controls show is whole.
  virtual void ReleaseEditor();

  // Any thread. Runs work on the host's main thread: at once when the caller is on it,
  // otherwise queued and the host asked for a callback.
  void PostToMainThread(std::function<void()> work);
  // True only when the host offers a complete thread check and it answers that the calling
  // thread is not the main thread; without one nothing is known and nothing is refused.
  [[nodiscard]] bool HostSaysNotMainThread() const;
  // Main thread. Runs queued work until the queue is empty, without holding its lock.
  void DrainMainThreadQueue();
  // Main thread. To the host's log, or one line on the standard error stream.
  void HostLog(clap_log_severity severity, std::string_view text) const;

protected:
  // Main thread, at init: queries the host's extensions in a fixed order.
  void FindHostExtensions();

  HostLink hostLink;
  clap_plugin plugin {};
  bool initialised = false;
  // Lifecycle flags written by the host's serialised lifecycle calls and read from other
  // threads (queued work, the timer, the editor's parameter route).
  std::atomic<bool> active { false };
  bool activating = false;
  std::atomic<bool> processing { false };
  std::atomic<bool> destroying { false };
  double activeSampleRate = 0.0; // of the current activation; 0 when inactive
  FixedText<32> guiApi;          // the window API the host created the gui for
  bool guiCreated = false;
  bool guiFloating = false;
  bool guiParented = false;

private:
  friend struct ClapCallbacks;

  // The get_extension table: the plug-in's own lookup first, then each offered extension.
  [[nodiscard]] const void* ExtensionFor(std::string_view id);
  // The gui's destroy and the flags that go with it.
  void DestroyGui();

  std::mutex mainThreadQueueMutex;
  std::deque<std::function<void()>> mainThreadQueue;
};

} // namespace kit
