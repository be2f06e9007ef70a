#include "tools/host/plugin_instance.h"

#include "tools/host/event_builders.h"
#include "tools/host/thread_roles.h"

#include <optional>

namespace kit::host
{
namespace
{

[[nodiscard]] bool IsComplete(const clap_plugin& plugin)
{
  return plugin.init && plugin.destroy && plugin.activate && plugin.deactivate && plugin.start_processing &&
         plugin.stop_processing && plugin.reset && plugin.process && plugin.get_extension && plugin.on_main_thread;
}

} // namespace

std::unique_ptr<PluginInstance> PluginInstance::Create(PluginLibrary& library, Host& host, std::string& error)
{
  const auto descriptors = library.Descriptors();
  if (descriptors.empty() || !descriptors.front()->id)
  {
    error = library.Path() + " offers no plug-in";
    return nullptr;
  }
  return Create(library, host, descriptors.front()->id, error);
}

std::unique_ptr<PluginInstance> PluginInstance::Create(PluginLibrary& library, Host& host, const std::string& pluginId,
                                                       std::string& error)
{
  const clap_plugin_factory* factory = library.Factory();
  host.SetPhase(InstancePhase::Creating);
  const clap_plugin* plugin = factory->create_plugin(factory, host.Record(), pluginId.c_str());
  if (!plugin)
  {
    host.SetPhase(InstancePhase::NoInstance);
    error = "create_plugin failed for " + pluginId;
    return nullptr;
  }
  host.SetPhase(InstancePhase::Created);
  if (!IsComplete(*plugin))
  {
    // Without its full record the plug-in cannot be driven, nor always destroyed.
    if (plugin->destroy) plugin->destroy(plugin);
    host.SetPhase(InstancePhase::Destroyed);
    error = "the plug-in record of " + pluginId + " has a null function";
    return nullptr;
  }
  host.SetPhase(InstancePhase::Initialising);
  if (!plugin->init(plugin))
  {
    host.SetPhase(InstancePhase::Destroying);
    plugin->destroy(plugin);
    host.SetPhase(InstancePhase::Destroyed);
    error = "init failed for " + pluginId;
    return nullptr;
  }
  host.SetPhase(InstancePhase::Inactive);
  std::unique_ptr<PluginInstance> instance(new PluginInstance(host, plugin));
  instance->params = instance->Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  instance->timerSupport = instance->Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT);
  return instance;
}

PluginInstance::PluginInstance(Host& instanceHost, const clap_plugin* pluginRecord)
    : host(instanceHost)
    , plugin(pluginRecord)
{
}

PluginInstance::~PluginInstance()
{
  StopProcessing();
  Deactivate();
  host.SetPhase(InstancePhase::Destroying);
  plugin->destroy(plugin);
  host.SetPhase(InstancePhase::Destroyed);
}

bool PluginInstance::Activate(double rate, std::uint32_t minimumFrames, std::uint32_t maximumFrames)
{
  if (active) return false;
  host.SetPhase(InstancePhase::Activating);
  active = plugin->activate(plugin, rate, minimumFrames, maximumFrames);
  host.SetPhase(active ? InstancePhase::Active : InstancePhase::Inactive);
  if (active)
  {
    sampleRate = rate;
    minFrames = minimumFrames;
    maxFrames = maximumFrames;
  }
  return active;
}

void PluginInstance::Deactivate()
{
  StopProcessing();
  if (!active) return;
  plugin->deactivate(plugin);
  active = false;
  host.SetPhase(InstancePhase::Inactive);
}

void PluginInstance::FlushParams(std::span<const std::pair<clap_id, double>> values)
{
  InputEventList in(values.size() * sizeof(clap_event_param_value));
  for (const auto& [id, value] : values) (void)in.Add(ParamValueEvent(id, value));
  flushOutputs.Clear();
  FlushParams(in, flushOutputs);
}

void PluginInstance::FlushParams(const InputEventList& in, OutputEventList& out)
{
  if (!params || !params->flush) return;
  // CLAP runs a flush on the audio thread while processing, on the main thread otherwise.
  std::optional<AudioThreadScope> audioScope;
  if (IsProcessing()) audioScope.emplace();
  params->flush(plugin, in.Record(), out.Record());
}

void PluginInstance::Idle()
{
  if (host.TakeCallbackRequest()) plugin->on_main_thread(plugin);
  if (timerSupport && timerSupport->on_timer)
  {
    for (const TimerRegistration& timer : host.ActiveTimers())
    {
      // An earlier handler in this pass may have unregistered it.
      if (host.HasTimer(timer.id)) timerSupport->on_timer(plugin, timer.id);
    }
  }
  if (host.TakeRestartRequest() && active)
  {
    const bool wasProcessing = IsProcessing();
    Deactivate();
    if (Activate(sampleRate, minFrames, maxFrames) && wasProcessing) (void)StartProcessing();
  }
}

bool PluginInstance::StartProcessing() noexcept
{
  if (!active || IsProcessing()) return false;
  const AudioThreadScope audioScope;
  const bool started = plugin->start_processing(plugin);
  if (started) host.SetPhase(InstancePhase::Processing);
  processing.store(started, std::memory_order_release);
  return started;
}

void PluginInstance::StopProcessing() noexcept
{
  if (!IsProcessing()) return;
  const AudioThreadScope audioScope;
  plugin->stop_processing(plugin);
  processing.store(false, std::memory_order_release);
  host.SetPhase(InstancePhase::Active);
}

void PluginInstance::Reset() noexcept
{
  if (!active) return;
  const AudioThreadScope audioScope;
  plugin->reset(plugin);
}

clap_process_status PluginInstance::Process64(double* const* inputs, double* const* outputs, std::uint32_t channels,
                                              std::uint32_t frames) noexcept
{
  // The plug-in reads these pointer arrays and writes only the samples they point at.
  clap_audio_buffer input { nullptr, const_cast<double**>(inputs), channels, 0, 0 };
  clap_audio_buffer output { nullptr, const_cast<double**>(outputs), channels, 0, 0 };
  processOutputs.Clear();
  clap_process process {};
  process.steady_time = steadyTime;
  process.frames_count = frames;
  process.audio_inputs = &input;
  process.audio_outputs = &output;
  process.audio_inputs_count = 1;
  process.audio_outputs_count = 1;
  process.in_events = noEvents.Record();
  process.out_events = processOutputs.Record();
  const clap_process_status status = Process(process);
  steadyTime += frames;
  return status;
}

clap_process_status PluginInstance::Process(const clap_process& process) noexcept
{
  if (!IsProcessing()) return CLAP_PROCESS_ERROR;
  const AudioThreadScope audioScope;
  return plugin->process(plugin, &process);
}

} // namespace kit::host
