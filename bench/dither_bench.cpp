// Cost of the dither engine: RenderBlock on 512-frame stereo blocks at 48 kHz, reported as
// time per sample per channel, and one filter design at the highest power.

#include "engine/dither_processor.h"
#include "engine/ombrix_params.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace
{

using namespace kit;

constexpr int kFrames = 512;
constexpr int kChannels = 2;

struct BenchEngine
{
  BenchEngine(int power, bool ditherOn)
  {
    SetupOmbrixParams(params[0], params[1], params[2], params[3]);
    params[kParamPsychoacousticPower].Set(power);
    dither = std::make_unique<DitherProcessor>(params[kParamPsychoacousticPower], params[kParamTargetBits], 1u);
    dither->ResetProcessing(48000.0, kFrames);
    dither->SetDitherOn(ditherOn);
    for (int c = 0; c < kChannels; ++c)
    {
      in[std::size_t(c)].resize(kFrames);
      out[std::size_t(c)].resize(kFrames);
      for (int s = 0; s < kFrames; ++s) in[std::size_t(c)][std::size_t(s)] = 0.5 * std::sin(0.031 * s + c);
      inputs[std::size_t(c)] = in[std::size_t(c)].data();
      outputs[std::size_t(c)] = out[std::size_t(c)].data();
    }
  }

  std::array<IParam, kOmbrixParamCount> params;
  std::unique_ptr<DitherProcessor> dither;
  std::array<std::vector<double>, kChannels> in;
  std::array<std::vector<double>, kChannels> out;
  std::array<double*, kChannels> inputs {};
  std::array<double*, kChannels> outputs {};
};

// Arguments: power, dither on (1) or off (0).
void BM_RenderBlock(benchmark::State& state)
{
  BenchEngine engine(int(state.range(0)), state.range(1) != 0);
  for (auto _ : state)
  {
    engine.dither->RenderBlock(engine.inputs.data(), engine.outputs.data(), kFrames, kChannels);
    benchmark::DoNotOptimize(engine.out[0].data());
    benchmark::ClobberMemory();
  }
  const double samples = double(state.iterations()) * kFrames * kChannels;
  state.counters["ns_per_sample_channel"] =
      benchmark::Counter(samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetItemsProcessed(int64_t(samples));
}
BENCHMARK(BM_RenderBlock)
    ->ArgNames({ "power", "dither" })
    ->Args({ 9, 1 })
    ->Args({ 12, 1 })
    ->Args({ 0, 1 })
    ->Args({ 0, 0 })
    ->Args({ 9, 0 });

void BM_DesignShapingFilter(benchmark::State& state)
{
  BenchEngine engine(int(state.range(0)), false);
  for (auto _ : state) engine.dither->DesignShapingFilter();
  state.SetLabel("one design");
}
BENCHMARK(BM_DesignShapingFilter)->ArgName("power")->Arg(12)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
