#include "binding/clap_plugin_base.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace kit
{

// The plain functions stored in the records the host holds. Each finds the instance through
// plugin_data and calls its virtual; nothing escapes into the host but a result.
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
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.GuiIsApiSupported(api, isFloating); });
  }
  static bool GuiGetPreferredApi(const clap_plugin* plugin, const char** api, bool* isFloating) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.GuiGetPreferredApi(api, isFloating); });
  }
  static bool GuiCreate(const clap_plugin* plugin, const char* api, bool isFloating) noexcept
  {
    return Guarded(plugin, false,
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
    Guarded(plugin, [](ClapPluginBase& self) { self.DestroyGui(); });
  }
  static bool GuiSetScale(const clap_plugin* plugin, double scale) noexcept
  {
    return Guarded(plugin, false, [scale](ClapPluginBase& self) { return self.GuiSetScale(scale); });
  }
  static bool GuiGetSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.GuiGetSize(width, height); });
  }
  static bool GuiCanResize(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, false, [](ClapPluginBase& self) { return self.GuiCanResize(); });
  }
  static bool GuiGetResizeHints(const clap_plugin* plugin, clap_gui_resize_hints* hints) noexcept
  {
    return Guarded(plugin, false, [hints](ClapPluginBase& self) { return self.GuiGetResizeHints(hints); });
  }
  static bool GuiAdjustSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.GuiAdjustSize(width, height); });
  }
  static bool GuiSetSize(const clap_plugin* plugin, uint32_t width, uint32_t height) noexcept
  {
    return Guarded(plugin, false, [&](ClapPluginBase& self) { return self.GuiSetSize(width, height); });
  }
  static bool GuiSetParent(const clap_plugin* plugin, const clap_window* window) noexcept
  {
    return Guarded(plugin, false,
                   [window](ClapPluginBase& self)
                   {
                     const bool parented = self.GuiSetParent(window);
                     if (parented) self.guiParented = true;
                     return parented;
                   });
  }
  static bool GuiSetTransient(const clap_plugin* plugin, const clap_window* window) noexcept
  {
    return Guarded(plugin, false, [window](ClapPluginBase& self) { return self.GuiSetTransient(window); });
  }
  static void GuiSuggestTitle(const clap_plugin* plugin, const char* title) noexcept
  {
    Guarded(plugin, [title](ClapPluginBase& self) { self.GuiSuggestTitle(title); });
  }
  static bool GuiShow(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, false, [](ClapPluginBase& self) { return self.GuiShow(); });
  }
  static bool GuiHide(const clap_plugin* plugin) noexcept
  {
    return Guarded(plugin, false, [](ClapPluginBase& self) { return self.GuiHide(); });
  }

  // Timer support.
  static void OnTimer(const clap_plugin* plugin, clap_id timerId) noexcept
  {
    Guarded(plugin, [timerId](ClapPluginBase& self) { self.OnTimer(timerId); });
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
  plugin.init = ClapCallbacks::Init;
  plugin.destroy = ClapCallbacks::Destroy;
  plugin.activate = ClapCallbacks::Activate;
  plugin.deactivate = ClapCallbacks::Deactivate;
  plugin.start_processing = ClapCallbacks::StartProcessing;
  plugin.stop_processing = ClapCallbacks::StopProcessing;
  plugin.reset = ClapCallbacks::Reset;
  plugin.process = ClapCallbacks::Process;
  plugin.get_extension = ClapCallbacks::GetExtension;
  plugin.on_main_thread = ClapCallbacks::OnMainThread;
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
  if (id == CLAP_EXT_GUI && ImplementsGui()) return &kGuiExtension;
  if (id == CLAP_EXT_TAIL && ImplementsTail()) return &kTailExtension;
  return nullptr;
}

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
  hostLink.latency = QueryHost<clap_host_latency>(host, CLAP_EXT_LATENCY);
  hostLink.gui = QueryHost<clap_host_gui>(host, CLAP_EXT_GUI);
  hostLink.params = QueryHost<clap_host_params>(host, CLAP_EXT_PARAMS);
  hostLink.trackInfo = QueryHost<clap_host_track_info>(host, CLAP_EXT_TRACK_INFO);
  if (!hostLink.trackInfo) hostLink.trackInfo = QueryHost<clap_host_track_info>(host, CLAP_EXT_TRACK_INFO_COMPAT);
  hostLink.state = QueryHost<clap_host_state>(host, CLAP_EXT_STATE);
}

} // namespace kit
