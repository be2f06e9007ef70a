// One Ombrix instance for a whole fuzzing run, made through the library's own entry inside the
// fuzzer with a host that offers no extensions, and the checks every target makes on it:
// parameter values inside their ranges, a saved state of 32 bytes, output on the grid.
#pragma once

#include "binding/clap_abi.h"
#include "binding/clap_plugin_base.h"
#include "engine/ombrix.h"
#include "tests/fuzz/fuzz_input.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" const clap_plugin_entry clap_entry;

namespace kit::fuzz
{

inline constexpr std::uint32_t kParamCount = 4;
inline constexpr std::uint32_t kMaxFrames = 1024;

// Collects a state as the plug-in writes it.
struct CollectingStream
{
  CollectingStream()
  {
    record.ctx = this;
    record.write = [](const clap_ostream* stream, const void* buffer, std::uint64_t size) -> std::int64_t
    {
      auto& self = *static_cast<CollectingStream*>(stream->ctx);
      const auto* first = static_cast<const std::uint8_t*>(buffer);
      self.bytes.insert(self.bytes.end(), first, first + size);
      return std::int64_t(size);
    };
  }
  CollectingStream(const CollectingStream&) = delete;
  CollectingStream& operator=(const CollectingStream&) = delete;

  clap_ostream record {};
  std::vector<std::uint8_t> bytes;
};

// Serves fixed bytes whole.
struct WholeStream
{
  explicit WholeStream(std::vector<std::uint8_t> state)
      : bytes(std::move(state))
  {
    record.ctx = this;
    record.read = [](const clap_istream* stream, void* buffer, std::uint64_t size) -> std::int64_t
    {
      auto& self = *static_cast<WholeStream*>(stream->ctx);
      const std::uint64_t count = std::min<std::uint64_t>(size, self.bytes.size() - self.position);
      std::memcpy(buffer, self.bytes.data() + self.position, count);
      self.position += count;
      return std::int64_t(count);
    };
  }
  WholeStream(const WholeStream&) = delete;
  WholeStream& operator=(const WholeStream&) = delete;

  clap_istream record {};
  std::vector<std::uint8_t> bytes;
  std::size_t position = 0;
};

class FuzzPlugin
{
public:
  // The instance every input of the run uses, active at 48 kHz for blocks of up to kMaxFrames
  // and processing. Made once: building and activating an instance costs more than an input.
  static FuzzPlugin& Shared()
  {
    static FuzzPlugin shared;
    return shared;
  }

  [[nodiscard]] const clap_plugin* Plugin() const noexcept { return plugin; }
  [[nodiscard]] const clap_plugin_params& Params() const noexcept { return *params; }
  [[nodiscard]] const clap_plugin_state& State() const noexcept { return *state; }
  [[nodiscard]] const ui::Ombrix& Ombrix() const
  {
    return dynamic_cast<const ui::Ombrix&>(*static_cast<const ClapPluginBase*>(plugin->plugin_data));
  }

  // Puts every parameter back to its default through a state load, so that each input starts
  // from the same values; skipped when they are there already, as a load designs the filter.
  void LoadDefaults() const
  {
    if (SaveState() == defaults) return;
    WholeStream stream(defaults);
    Require(state->load(plugin, &stream.record), "the default state loads");
  }

  // The default value of a parameter, as its info gives it.
  [[nodiscard]] double DefaultValue(clap_id id) const
  {
    clap_param_info info {};
    Require(params->get_info(plugin, id, &info), "get_info answers for every parameter");
    return info.default_value;
  }

  // Every parameter's value lies inside the range its info gives.
  void CheckValuesInRange() const
  {
    for (std::uint32_t id = 0; id < kParamCount; ++id)
    {
      clap_param_info info {};
      double value = 0.0;
      Require(params->get_info(plugin, id, &info), "get_info answers for every parameter");
      Require(params->get_value(plugin, id, &value), "get_value answers for every parameter");
      Require(std::isfinite(value) && value >= info.min_value && value <= info.max_value,
              "a parameter value inside its range");
    }
  }

  [[nodiscard]] std::vector<std::uint8_t> SaveState() const
  {
    CollectingStream stream;
    Require(state->save(plugin, &stream.record), "state save succeeds");
    Require(stream.bytes.size() == 8 * kParamCount, "a saved state is 32 bytes");
    return stream.bytes;
  }

  // One stereo 64-bit block of frames frames (at most kMaxFrames) over the given input, with
  // the given events; checks that every output sample is finite and a code of the grid.
  void ProcessAndCheck(const std::vector<double>& left, const std::vector<double>& right, std::uint32_t frames,
                       const clap_input_events* events)
  {
    std::copy_n(left.begin(), frames, inLeft.begin());
    std::copy_n(right.begin(), frames, inRight.begin());
    double* inputs[] = { inLeft.data(), inRight.data() };
    double* outputs[] = { outLeft.data(), outRight.data() };
    clap_audio_buffer inPort { nullptr, inputs, 2, 0, 0 };
    clap_audio_buffer outPort { nullptr, outputs, 2, 0, 0 };
    clap_process process {};
    process.steady_time = -1;
    process.frames_count = frames;
    process.audio_inputs = &inPort;
    process.audio_outputs = &outPort;
    process.audio_inputs_count = 1;
    process.audio_outputs_count = 1;
    process.in_events = events;
    process.out_events = &discard;
    Require(plugin->process(plugin, &process) != CLAP_PROCESS_ERROR, "a well-formed block is processed");
    const double scale = Ombrix().Processor().QuantScale();
    for (const std::vector<double>* channel : { &outLeft, &outRight })
      for (std::uint32_t i = 0; i < frames; ++i)
      {
        const double code = (*channel)[i] * scale;
        Require(std::isfinite(code), "every output sample is finite");
        Require(code == std::trunc(code), "every output sample is a code of the grid");
      }
  }

private:
  FuzzPlugin()
  {
    host.clap_version = CLAP_VERSION;
    host.name = "Ombrix fuzzer";
    host.vendor = "Ombrix";
    host.url = "";
    host.version = "1.0.0";
    host.get_extension = [](const clap_host*, const char*) -> const void* { return nullptr; };
    host.request_restart = [](const clap_host*) {};
    host.request_process = [](const clap_host*) {};
    host.request_callback = [](const clap_host*) {};
    discard.try_push = [](const clap_output_events*, const clap_event_header*) { return true; };
    Require(clap_entry.init("/fuzz/Ombrix.clap"), "the entry initialises");
    const auto* factory = static_cast<const clap_plugin_factory*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    plugin = factory->create_plugin(factory, &host, factory->get_plugin_descriptor(factory, 0)->id);
    Require(plugin && plugin->init(plugin), "an instance is made");
    params = static_cast<const clap_plugin_params*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    state = static_cast<const clap_plugin_state*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
    Require(params && state, "params and state are offered");
    defaults = SaveState();
    Require(plugin->activate(plugin, 48000.0, 1, kMaxFrames) && plugin->start_processing(plugin), "it activates");
  }

  clap_host host {};
  const clap_plugin* plugin = nullptr;
  const clap_plugin_params* params = nullptr;
  const clap_plugin_state* state = nullptr;
  clap_output_events discard {};
  std::vector<std::uint8_t> defaults;
  std::vector<double> inLeft = std::vector<double>(kMaxFrames);
  std::vector<double> inRight = std::vector<double>(kMaxFrames);
  std::vector<double> outLeft = std::vector<double>(kMaxFrames);
  std::vector<double> outRight = std::vector<double>(kMaxFrames);
};

// Input samples for a block: fuzzed doubles, or a quiet constant when the input has run out.
inline void TakeSamples(FuzzInput& input, std::vector<double>& channel, std::uint32_t frames)
{
  for (std::uint32_t i = 0; i < frames; ++i) channel[i] = input.Empty() ? 0.125 : input.Take<double>();
}

} // namespace kit::fuzz
