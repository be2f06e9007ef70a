// The cost of a whole CLAP process call on the plug-in: events, buffer hand-over (64-bit
// directly, 32-bit converted both ways), the dither engine and the output events. Per sample
// and channel, for comparison with the engine's own figure.
#include "binding/clap_abi.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

extern "C" const clap_plugin_entry clap_entry;

namespace
{

void BM_ProcessBlock(benchmark::State& state)
{
  const bool wide = state.range(0) != 0;
  const double power = double(state.range(1));
  constexpr std::uint32_t kFrames = 512;

  clap_host host {};
  host.clap_version = { 1, 2, 10 };
  host.name = "bench";
  host.vendor = "";
  host.url = "";
  host.version = "1.0.0";
  host.get_extension = [](const clap_host*, const char*) -> const void* { return nullptr; };
  host.request_restart = [](const clap_host*) {};
  host.request_process = [](const clap_host*) {};
  host.request_callback = [](const clap_host*) {};
  (void)clap_entry.init("/bench/Ombrix.clap");
  const auto* factory = static_cast<const clap_plugin_factory*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
  const clap_plugin* plugin = factory->create_plugin(factory, &host, factory->get_plugin_descriptor(factory, 0)->id);
  (void)plugin->init(plugin);

  // Settings as a host restores them: dither on, the power under test, 16 bits.
  std::vector<clap_event_param_value> settings(2);
  for (std::size_t i = 0; i < settings.size(); ++i)
  {
    settings[i].header = { sizeof(clap_event_param_value), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0 };
    settings[i].param_id = clap_id(i);
    settings[i].note_id = -1;
    settings[i].port_index = -1;
    settings[i].channel = -1;
    settings[i].key = -1;
    settings[i].value = i == 0 ? 1.0 : power;
  }
  clap_input_events in {};
  in.ctx = &settings;
  in.size = [](const clap_input_events* list)
  { return std::uint32_t(static_cast<std::vector<clap_event_param_value>*>(list->ctx)->size()); };
  in.get = [](const clap_input_events* list, std::uint32_t index) -> const clap_event_header*
  { return &(*static_cast<std::vector<clap_event_param_value>*>(list->ctx))[index].header; };
  const auto* params = static_cast<const clap_plugin_params*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
  params->flush(plugin, &in, nullptr);
  (void)plugin->activate(plugin, 48000.0, 1, kFrames);
  (void)plugin->start_processing(plugin);

  std::vector<std::vector<double>> in64(2, std::vector<double>(kFrames));
  std::vector<std::vector<double>> out64(2, std::vector<double>(kFrames));
  std::vector<std::vector<float>> in32(2, std::vector<float>(kFrames));
  std::vector<std::vector<float>> out32(2, std::vector<float>(kFrames));
  for (std::size_t i = 0; i < kFrames; ++i)
    for (std::size_t c = 0; c < 2; ++c)
    {
      in64[c][i] = 0.5 * std::sin(0.01 * double(i) + double(c));
      in32[c][i] = float(in64[c][i]);
    }
  double* in64p[2] = { in64[0].data(), in64[1].data() };
  double* out64p[2] = { out64[0].data(), out64[1].data() };
  float* in32p[2] = { in32[0].data(), in32[1].data() };
  float* out32p[2] = { out32[0].data(), out32[1].data() };
  clap_audio_buffer input { wide ? nullptr : in32p, wide ? in64p : nullptr, 2, 0, 0 };
  clap_audio_buffer output { wide ? nullptr : out32p, wide ? out64p : nullptr, 2, 0, 0 };
  clap_process process {};
  process.steady_time = -1;
  process.frames_count = kFrames;
  process.audio_inputs = &input;
  process.audio_outputs = &output;
  process.audio_inputs_count = 1;
  process.audio_outputs_count = 1;

  for (auto _ : state)
  {
    benchmark::DoNotOptimize(plugin->process(plugin, &process));
    benchmark::ClobberMemory();
  }
  state.counters["ns_per_sample_channel"] = benchmark::Counter(
      double(state.iterations()) * kFrames * 2, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);

  plugin->stop_processing(plugin);
  plugin->deactivate(plugin);
  plugin->destroy(plugin);
  clap_entry.deinit();
}

BENCHMARK(BM_ProcessBlock)->ArgNames({ "wide", "power" })->ArgsProduct({ { 1, 0 }, { 9, 0 } });

} // namespace

BENCHMARK_MAIN();
