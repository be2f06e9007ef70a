#pragma once
// A plug-in compiled into the test program: an entry, a factory with one descriptor and an
// instance that logs every call it receives (with the role the host's thread-check gives the
// calling thread) and does to the host what the settings ask. One instance at a time.

#include "binding/clap_abi.h"

#include <cstring>
#include <string>
#include <vector>

namespace kit::host::test
{

inline constexpr char kFakeId[] = "org.example.fake";

struct FakeSettings
{
  bool entryInitResult = true;
  bool offerFactory = true;
  bool initResult = true;
  bool activateResult = true;
  bool startResult = true;
  std::uint32_t timerPeriodMs = 0;  // above 0: register a timer in init, unregister it in destroy
  bool restartOnMainThread = false; // on_main_thread asks the host for a restart
};

struct ProcessSeen
{
  std::int64_t steadyTime = 0;
  std::uint32_t frames = 0;
  std::uint32_t inputCount = 0;
  std::uint32_t outputCount = 0;
  std::uint32_t inputChannels = 0;
  bool inputIs64 = false;
  bool outputIs64 = false;
  bool hasTransport = true;
  std::uint32_t inputEvents = 0;
};

struct FakeState
{
  FakeSettings settings;
  std::vector<std::string> calls;
  int entryDeinits = 0;
  std::string initPath;
  const clap_host* host = nullptr;
  clap_id timerId = CLAP_INVALID_ID;
  std::vector<clap_id> timersFired;
  ProcessSeen lastProcess;
  std::vector<clap_event_param_value> flushedValues;
  std::vector<clap_event_param_value> processedValues;
};

inline FakeState fake;

namespace fake_detail
{

inline const char* const kFeatures[] = { CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, nullptr };
inline const clap_plugin_descriptor kDescriptor = { CLAP_VERSION, kFakeId, "Fake", "Tests", "",
                                                    "",           "",      "1.0",  "",      kFeatures };

inline std::string Role()
{
  const auto* check =
      static_cast<const clap_host_thread_check*>(fake.host->get_extension(fake.host, CLAP_EXT_THREAD_CHECK));
  if (!check) return "?";
  if (check->is_audio_thread(fake.host)) return "audio";
  return check->is_main_thread(fake.host) ? "main" : "other";
}

inline void Log(const std::string& call)
{
  fake.calls.push_back(call + ":" + Role());
}

inline const clap_host_timer_support* HostTimers()
{
  return static_cast<const clap_host_timer_support*>(fake.host->get_extension(fake.host, CLAP_EXT_TIMER_SUPPORT));
}

inline void CollectParamValues(const clap_input_events* in, std::vector<clap_event_param_value>& into)
{
  for (std::uint32_t i = 0; i < in->size(in); ++i)
  {
    const clap_event_header* header = in->get(in, i);
    if (header->type == CLAP_EVENT_PARAM_VALUE && header->size == sizeof(clap_event_param_value))
      into.push_back(*reinterpret_cast<const clap_event_param_value*>(header));
  }
}

inline void Flush(const clap_plugin*, const clap_input_events* in, const clap_output_events*)
{
  Log("flush");
  CollectParamValues(in, fake.flushedValues);
}

inline void OnTimer(const clap_plugin*, clap_id id)
{
  fake.timersFired.push_back(id);
}

inline const clap_plugin_params kParams = { nullptr, nullptr, nullptr, nullptr, nullptr, &Flush };
inline const clap_plugin_timer_support kTimerSupport = { &OnTimer };

inline bool Init(const clap_plugin*)
{
  Log("init");
  if (fake.settings.timerPeriodMs > 0)
    (void)HostTimers()->register_timer(fake.host, fake.settings.timerPeriodMs, &fake.timerId);
  return fake.settings.initResult;
}

inline void Destroy(const clap_plugin*)
{
  Log("destroy");
  if (fake.timerId != CLAP_INVALID_ID) (void)HostTimers()->unregister_timer(fake.host, fake.timerId);
}

inline bool Activate(const clap_plugin*, double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames)
{
  Log("activate " + std::to_string(int(sampleRate)) + " " + std::to_string(minFrames) + " " +
      std::to_string(maxFrames));
  return fake.settings.activateResult;
}

inline void Deactivate(const clap_plugin*)
{
  Log("deactivate");
}

inline bool StartProcessing(const clap_plugin*)
{
  Log("start_processing");
  return fake.settings.startResult;
}

inline void StopProcessing(const clap_plugin*)
{
  Log("stop_processing");
}

inline void Reset(const clap_plugin*)
{
  Log("reset");
}

// Doubles every input sample into the output channel of the same index.
inline clap_process_status Process(const clap_plugin*, const clap_process* process)
{
  Log("process");
  ProcessSeen& seen = fake.lastProcess;
  seen.steadyTime = process->steady_time;
  seen.frames = process->frames_count;
  seen.inputCount = process->audio_inputs_count;
  seen.outputCount = process->audio_outputs_count;
  seen.hasTransport = process->transport != nullptr;
  seen.inputEvents = process->in_events->size(process->in_events);
  CollectParamValues(process->in_events, fake.processedValues);
  if (seen.inputCount == 0 || seen.outputCount == 0) return CLAP_PROCESS_CONTINUE;
  const clap_audio_buffer& input = process->audio_inputs[0];
  const clap_audio_buffer& output = process->audio_outputs[0];
  seen.inputChannels = input.channel_count;
  seen.inputIs64 = input.data64 && !input.data32;
  seen.outputIs64 = output.data64 && !output.data32;
  if (seen.inputIs64 && seen.outputIs64)
  {
    for (std::uint32_t channel = 0; channel < input.channel_count; ++channel)
      for (std::uint32_t frame = 0; frame < process->frames_count; ++frame)
        output.data64[channel][frame] = 2.0 * input.data64[channel][frame];
  }
  const clap_event_param_value echo = {
    { sizeof(clap_event_param_value), 0, 0, CLAP_EVENT_PARAM_VALUE, 0 }, 7, nullptr, -1, -1, -1, -1, 0.5
  };
  (void)process->out_events->try_push(process->out_events, &echo.header);
  return CLAP_PROCESS_CONTINUE;
}

inline const void* GetExtension(const clap_plugin*, const char* id)
{
  if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &kParams;
  if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &kTimerSupport;
  return nullptr;
}

inline void OnMainThread(const clap_plugin*)
{
  Log("on_main_thread");
  if (fake.settings.restartOnMainThread) fake.host->request_restart(fake.host);
}

inline clap_plugin plugin = { &kDescriptor,     nullptr,         &Init,  &Destroy, &Activate,     &Deactivate,
                              &StartProcessing, &StopProcessing, &Reset, &Process, &GetExtension, &OnMainThread };

inline std::uint32_t PluginCount(const clap_plugin_factory*)
{
  return 1;
}

inline const clap_plugin_descriptor* Descriptor(const clap_plugin_factory*, std::uint32_t index)
{
  return index == 0 ? &kDescriptor : nullptr;
}

inline const clap_plugin* CreatePlugin(const clap_plugin_factory*, const clap_host* host, const char* id)
{
  if (std::strcmp(id, kFakeId) != 0) return nullptr;
  fake.host = host;
  return &plugin;
}

inline const clap_plugin_factory kFactory = { &PluginCount, &Descriptor, &CreatePlugin };

inline bool EntryInit(const char* path)
{
  fake.initPath = path;
  return fake.settings.entryInitResult;
}

inline void EntryDeinit()
{
  ++fake.entryDeinits;
}

inline const void* GetFactory(const char* id)
{
  return fake.settings.offerFactory && std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0 ? &kFactory : nullptr;
}

} // namespace fake_detail

inline const clap_plugin_entry kFakeEntry = { CLAP_VERSION, &fake_detail::EntryInit, &fake_detail::EntryDeinit,
                                              &fake_detail::GetFactory };

// Forgets everything the previous test left and applies new settings.
inline void ResetFake(const FakeSettings& settings = {})
{
  fake = FakeState {};
  fake.settings = settings;
}

} // namespace kit::host::test
