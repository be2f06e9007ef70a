// The plain functions the host calls through the plug-in record and the extension records:
// each finds the instance through plugin_data, calls its virtual, and lets nothing but a
// result escape into the host.
#include "binding/clap_callbacks.h"

#include "binding/clap_plugin_base.h"

namespace kit
{

// A friend of the CLAP base, so that the callbacks keep its lifecycle flags as they call in.
struct ClapCallbacks
{
  static ClapPluginBase* From(const clap_plugin* plugin) noexcept
  {
    return plugin ? static_cast<ClapPluginBase*>(plugin->plugin_data) : nullptr;
  }

  template <class Result, class Call>
  static Result Guarded(const clap_plugin* plugin, Result failure, Call call) noexcept
  {
    ClapPluginBase* self = From(plugin);
    if (!self) return failure;
    try
    {
      return call(*self);
    }
    catch (...)
    {
      return failure;
    }
  }

  template <class Call>
  static void Guarded(const clap_plugin* plugin, Call call) noexcept
  {
    ClapPluginBase* self = From(plugin);
    if (!self) return;
    try
    {
      call(*self);
    }
    catch (...)
    {
    }
  }

  // The editor's window and the queues its ticks empty belong to the main thread: a call the
  // host's own thread check places elsewhere would race the main thread's, and is refused.
  template <class Result, class Call>
  static Result MainThreadOnly(const clap_plugin* plugin, Result failure, Call call) noexcept
  {
    return Guarded(plugin, failure,
                   [&](ClapPluginBase& self) { return self.HostSaysNotMainThread() ? failure : call(self); });
  }

  template <class Call>
  static void MainThreadOnly(const clap_plugin* plugin, Call call) noexcept
  {
    Guarded(plugin,
            [&](ClapPluginBase& self)
            {
              if (!self.HostSaysNotMainThread()) call(self);
            });
  }

  static bool Init(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, false,
                   [](ClapPluginBase& self)
                   {
                     self.initialised = true;
                     self.FindHostExtensions();
                     return self.Init();
                   });
  }

  static void Destroy(const clap_plugin* plugin) noexcept
  {
    ClapPluginBase* self = From(plugin);
    if (!self) return;
    try
    {
      self->destroying.store(true, std::memory_order_release);
      self->OnDestroying();
      if (self->guiCreated) self->DestroyGui();
      if (self->active.load(std::memory_order_acquire))
      {
        self->Deactivate();
        self->active.store(false, std::memory_order_release);
        self->activeSampleRate = 0.0;
      }
      self->DrainMainThreadQueue();
      self->ReleaseEditor();
    }
    catch (...)
    {
    }
    delete self;
  }

  static bool Activate(const clap_plugin* plugin, double sampleRate, uint32_t minFrames, uint32_t maxFrames) noexcept
  {
    return Guarded(plugin, false,
                   [&](ClapPluginBase& self)
                   {
                     self.activating = true;
                     bool activated = false;
                     try
                     {
                       activated = self.Activate(sampleRate, minFrames, maxFrames);
                     }
                     catch (...)
                     {
                       self.activating = false;
                       throw;
                     }
                     self.activating = false;
                     if (activated)
                     {
                       self.active.store(true, std::memory_order_release);
                       self.activeSampleRate = sampleRate;
                     }
                     return activated;
                   });
  }

  static void Deactivate(const clap_plugin* plugin) noexcept
  {
    Guarded(plugin,
            [](ClapPluginBase& self)
            {
              self.Deactivate();
              self.active.store(false, std::memory_order_release);
              self.activeSampleRate = 0.0;
            });
  }

  static bool StartProcessing(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, false,
                   [](ClapPluginBase& self)
                   {
                     const bool started = self.StartProcessing();
                     self.processing.store(started, std::memory_order_release);
                     return started;
                   });
  }

  static void StopProcessing(const clap_plugin* plugin) noexcept
  {
    Guarded(plugin,
            [](ClapPluginBase& self)
            {
              self.StopProcessing();
              self.processing.store(false, std::memory_order_release);
            });
  }

  static void Reset(const clap_plugin* plugin) noexcept
  {
    Guarded(plugin, [](ClapPluginBase& self) { self.Reset(); });
  }

  static clap_process_status Process(const clap_plugin* plugin, const clap_process* process) noexcept
  {
    ClapPluginBase* self = From(plugin);
    return self ? self->Process(process) : CLAP_PROCESS_ERROR;
  }

  static const void* GetExtension(const clap_plugin* plugin, const char* id) noexcept
  {
    if (!id) return nullptr;
    return Guarded(plugin, static_cast<const void*>(nullptr),
                   [id](ClapPluginBase& self) { return self.ExtensionFor(id); });
  }

  static void OnMainThread(const clap_plugin* plugin) noexcept
  {
    Guarded(plugin,
            [](ClapPluginBase& self)
            {
              self.DrainMainThreadQueue();
              self.OnMainThread();
            });
  }

  // Latency, tail, render.
  static uint32_t LatencyGet(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, uint32_t(0), [](ClapPluginBase& self) { return self.LatencyGet(); });
  }
  static uint32_t TailGet(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, uint32_t(0), [](ClapPluginBase& self) { return self.TailGet(); });
  }
  static bool RenderHasHardRealtimeRequirement(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, false, [](ClapPluginBase& self) { return self.RenderHasHardRealtimeRequirement(); });
  }
  static bool RenderSet(const clap_plugin* plugin, clap_plugin_render_mode mode) noexcept
  {
    return Guarded(plugin, false, [mode](ClapPluginBase& self) { return self.RenderSetMode(mode); });
  }

  // State.
  static bool StateSave(const clap_plugin* plugin, const clap_ostream* stream) noexcept
  {
    return Guarded(plugin, false, [stream](ClapPluginBase& self) { return self.StateSave(stream); });
  }
  static bool StateLoad(const clap_plugin* plugin, const clap_istream* stream) noexcept
  {
    return Guarded(plugin, false, [stream](ClapPluginBase& self) { return self.StateLoad(stream); });
  }

  // Audio ports and their configurations.
  static uint32_t AudioPortsCount(const clap_plugin* plugin, bool isInput) noexcept
  {
    return Guarded(plugin, uint32_t(0), [isInput](ClapPluginBase& self) { return self.AudioPortsCount(isInput); });
  }
  static bool AudioPortsGet(const clap_plugin* plugin, uint32_t index, bool isInput,
                            clap_audio_port_info* info) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.AudioPortsGet(index, isInput, info); });
  }
  static uint32_t AudioPortsConfigCount(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, uint32_t(0), [](ClapPluginBase& self) { return self.AudioPortsConfigCount(); });
  }
  static bool AudioPortsConfigGet(const clap_plugin* plugin, uint32_t index, clap_audio_ports_config* config) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.AudioPortsConfigGet(index, config); });
  }
  static bool AudioPortsConfigSelect(const clap_plugin* plugin, clap_id configId) noexcept
  {
    return Guarded(plugin, false, [configId](ClapPluginBase& self) { return self.AudioPortsConfigSelect(configId); });
  }

  // Parameters.
  static uint32_t ParamsCount(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, uint32_t(0), [](ClapPluginBase& self) { return self.ParamsCount(); });
  }
  static bool ParamsInfo(const clap_plugin* plugin, uint32_t index, clap_param_info* info) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.ParamsInfo(index, info); });
  }
  static bool ParamsValue(const clap_plugin* plugin, clap_id id, double* value) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.ParamsValue(id, value); });
  }
  static bool ParamsValueToText(const clap_plugin* plugin, clap_id id, double value, char* text,
                                uint32_t capacity) noexcept
  {
    return Guarded(plugin, false,
                   [&](ClapPluginBase& self) { return self.ParamsValueToText(id, value, text, capacity); });
  }
  static bool ParamsTextToValue(const clap_plugin* plugin, clap_id id, const char* text, double* value) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.ParamsTextToValue(id, text, value); });
  }
  static void ParamsFlush(const clap_plugin* plugin, const clap_input_events* in,
                          const clap_output_events* out) noexcept
  {
    ClapPluginBase* self = From(plugin);
    if (self) self->ParamsFlush(in, out);
  }

  // Note ports.
  static uint32_t NotePortsCount(const clap_plugin* plugin, bool isInput) noexcept
  {
    return Guarded(plugin, uint32_t(0), [isInput](ClapPluginBase& self) { return self.NotePortsCount(isInput); });
  }
  static bool NotePortsGet(const clap_plugin* plugin, uint32_t index, bool isInput, clap_note_port_info* info) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.NotePortsGet(index, isInput, info); });
  }

  // The editor's window.
  static bool GuiIsApiSupported(const clap_plugin* plugin, const char* api, bool isFloating) noexcept
  {
    return MainThreadOnly(plugin, false, [&](ClapPluginBase& self) { return self.GuiIsApiSupported(api, isFloating); });
  }
  static bool GuiGetPreferredApi(const clap_plugin* plugin, const char** api, bool* isFloating) noexcept
  {
    return MainThreadOnly(plugin, false,
                          [&](ClapPluginBase& self) { return self.GuiGetPreferredApi(api, isFloating); });
  }
  static bool GuiCreate(const clap_plugin* plugin, const char* api, bool isFloating) noexcept
  {
    return MainThreadOnly(plugin, false,
                          [&](ClapPluginBase& self)
                          {
                            self.guiApi.Set(api ? api : "");
                            self.guiFloating = isFloating;
                            self.guiParented = false;
                            const bool created = self.GuiCreate(api, isFloating);
                            if (created) self.guiCreated = true;
                            return created;
                          });
  }
  static void GuiDestroy(const clap_plugin* plugin) noexcept
  {
    MainThreadOnly(plugin, [](ClapPluginBase& self) { self.DestroyGui(); });
  }
  static bool GuiSetScale(const clap_plugin* plugin, double scale) noexcept
  {
    return MainThreadOnly(plugin, false, [scale](ClapPluginBase& self) { return self.GuiSetScale(scale); });
  }
  static bool GuiGetSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) noexcept
  {
    return MainThreadOnly(plugin, false, [&](ClapPluginBase& self) { return self.GuiGetSize(width, height); });
  }
  static bool GuiCanResize(const clap_plugin* plugin) noexcept
  {
    return MainThreadOnly(plugin, false, [](ClapPluginBase& self) { return self.GuiCanResize(); });
  }
  static bool GuiGetResizeHints(const clap_plugin* plugin, clap_gui_resize_hints* hints) noexcept
  {
    return MainThreadOnly(plugin, false, [hints](ClapPluginBase& self) { return self.GuiGetResizeHints(hints); });
  }
  static bool GuiAdjustSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) noexcept
  {
    return MainThreadOnly(plugin, false, [&](ClapPluginBase& self) { return self.GuiAdjustSize(width, height); });
  }
  static bool GuiSetSize(const clap_plugin* plugin, uint32_t width, uint32_t height) noexcept
  {
    return MainThreadOnly(plugin, false, [&](ClapPluginBase& self) { return self.GuiSetSize(width, height); });
  }
  static bool GuiSetParent(const clap_plugin* plugin, const clap_window* window) noexcept
  {
    return MainThreadOnly(plugin, false,
                          [window](ClapPluginBase& self)
                          {
                            // A window opened before create would outlive the editor's own life.
                            if (!self.guiCreated) return false;
                            const bool parented = self.GuiSetParent(window);
                            if (parented) self.guiParented = true;
                            return parented;
                          });
  }
  static bool GuiSetTransient(const clap_plugin* plugin, const clap_window* window) noexcept
  {
    return MainThreadOnly(plugin, false, [window](ClapPluginBase& self) { return self.GuiSetTransient(window); });
  }
  static void GuiSuggestTitle(const clap_plugin* plugin, const char* title) noexcept
  {
    MainThreadOnly(plugin, [title](ClapPluginBase& self) { self.GuiSuggestTitle(title); });
  }
  static bool GuiShow(const clap_plugin* plugin) noexcept
  {
    return MainThreadOnly(plugin, false, [](ClapPluginBase& self) { return self.GuiShow(); });
  }
  static bool GuiHide(const clap_plugin* plugin) noexcept
  {
    return MainThreadOnly(plugin, false, [](ClapPluginBase& self) { return self.GuiHide(); });
  }

  // Timer support.
  static void OnTimer(const clap_plugin* plugin, clap_id timerId) noexcept
  {
    MainThreadOnly(plugin, [timerId](ClapPluginBase& self) { self.OnTimer(timerId); });
  }

  // Posix fd support.
  static void OnFd(const clap_plugin* plugin, int fd, clap_posix_fd_flags_t flags) noexcept
  {
    MainThreadOnly(plugin, [fd, flags](ClapPluginBase& self) { self.OnPosixFd(fd, flags); });
  }
};

namespace
{

constexpr clap_plugin_latency kLatencyExtension { ClapCallbacks::LatencyGet };
constexpr clap_plugin_tail kTailExtension { ClapCallbacks::TailGet };
constexpr clap_plugin_render kRenderExtension { ClapCallbacks::RenderHasHardRealtimeRequirement,
                                                ClapCallbacks::RenderSet };
constexpr clap_plugin_state kStateExtension { ClapCallbacks::StateSave, ClapCallbacks::StateLoad };
constexpr clap_plugin_audio_ports kAudioPortsExtension { ClapCallbacks::AudioPortsCount, ClapCallbacks::AudioPortsGet };
constexpr clap_plugin_audio_ports_config kAudioPortsConfigExtension { ClapCallbacks::AudioPortsConfigCount,
                                                                      ClapCallbacks::AudioPortsConfigGet,
                                                                      ClapCallbacks::AudioPortsConfigSelect };
constexpr clap_plugin_params kParamsExtension { ClapCallbacks::ParamsCount,       ClapCallbacks::ParamsInfo,
                                                ClapCallbacks::ParamsValue,       ClapCallbacks::ParamsValueToText,
                                                ClapCallbacks::ParamsTextToValue, ClapCallbacks::ParamsFlush };
constexpr clap_plugin_note_ports kNotePortsExtension { ClapCallbacks::NotePortsCount, ClapCallbacks::NotePortsGet };
constexpr clap_plugin_timer_support kTimerSupportExtension { ClapCallbacks::OnTimer };
constexpr clap_plugin_posix_fd_support kPosixFdSupportExtension { ClapCallbacks::OnFd };
constexpr clap_plugin_gui kGuiExtension {
  ClapCallbacks::GuiIsApiSupported, ClapCallbacks::GuiGetPreferredApi,
  ClapCallbacks::GuiCreate,         ClapCallbacks::GuiDestroy,
  ClapCallbacks::GuiSetScale,       ClapCallbacks::GuiGetSize,
  ClapCallbacks::GuiCanResize,      ClapCallbacks::GuiGetResizeHints,
  ClapCallbacks::GuiAdjustSize,     ClapCallbacks::GuiSetSize,
  ClapCallbacks::GuiSetParent,      ClapCallbacks::GuiSetTransient,
  ClapCallbacks::GuiSuggestTitle,   ClapCallbacks::GuiShow,
  ClapCallbacks::GuiHide,
};

} // namespace

void InstallPluginCallbacks(clap_plugin& record) noexcept
{
  record.init = ClapCallbacks::Init;
  record.destroy = ClapCallbacks::Destroy;
  record.activate = ClapCallbacks::Activate;
  record.deactivate = ClapCallbacks::Deactivate;
  record.start_processing = ClapCallbacks::StartProcessing;
  record.stop_processing = ClapCallbacks::StopProcessing;
  record.reset = ClapCallbacks::Reset;
  record.process = ClapCallbacks::Process;
  record.get_extension = ClapCallbacks::GetExtension;
  record.on_main_thread = ClapCallbacks::OnMainThread;
}

const void* ClapPluginBase::ExtensionFor(std::string_view id)
{
  if (const void* own = PluginSpecificExtension(id)) return own;
  if (id == CLAP_EXT_STATE && ImplementsState()) return &kStateExtension;
  if (id == CLAP_EXT_RENDER && ImplementsRender()) return &kRenderExtension;
  if (id == CLAP_EXT_LATENCY && ImplementsLatency()) return &kLatencyExtension;
  if (id == CLAP_EXT_AUDIO_PORTS && ImplementsAudioPorts()) return &kAudioPortsExtension;
  if (id == CLAP_EXT_AUDIO_PORTS_CONFIG && ImplementsAudioPortsConfig()) return &kAudioPortsConfigExtension;
  if (id == CLAP_EXT_PARAMS && ImplementsParams()) return &kParamsExtension;
  if (id == CLAP_EXT_NOTE_PORTS && ImplementsNotePorts()) return &kNotePortsExtension;
  if (id == CLAP_EXT_TIMER_SUPPORT && ImplementsTimerSupport()) return &kTimerSupportExtension;
  if (id == CLAP_EXT_POSIX_FD_SUPPORT && ImplementsPosixFdSupport()) return &kPosixFdSupportExtension;
  if (id == CLAP_EXT_GUI && ImplementsGui()) return &kGuiExtension;
  if (id == CLAP_EXT_TAIL && ImplementsTail()) return &kTailExtension;
  return nullptr;
}

} // namespace kit
