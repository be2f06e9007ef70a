// Cost of one forward transform of the editor's FFT, as picked for this machine and as its SSE2
// variant, at 1024, 4096 (the spectrum graphs' size) and 32768 points, next to FFTW's
// single-precision in-place transform planned with FFTW_MEASURE. The buffer is transformed over
// and over: its values overflow to infinity after a few rounds, which costs the vector units
// nothing, and there are never denormal numbers.

#include "editor/fft.h"
#include "editor/fft_variants.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <bit>
#include <cmath>
#include <vector>

namespace
{

void FillChirp(float* buffer, int n)
{
  for (int t = 0; t < n; ++t)
  {
    buffer[2 * t] = static_cast<float>(std::cos(0.001 * t * t));
    buffer[2 * t + 1] = static_cast<float>(std::sin(0.002 * t));
  }
}

void OmbrixFft(benchmark::State& state)
{
  const int n = static_cast<int>(state.range(0));
  kit::ui::BuildFftTables();
  std::vector<float> buffer(static_cast<std::size_t>(2 * n));
  FillChirp(buffer.data(), n);
  for (auto _ : state)
  {
    kit::ui::Fft(buffer.data(), n, false);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// The baseline variant that machines without AVX run.
void OmbrixFftSse2(benchmark::State& state)
{
  const int n = static_cast<int>(state.range(0));
  kit::ui::BuildFftTables();
  std::vector<float> buffer(static_cast<std::size_t>(2 * n));
  FillChirp(buffer.data(), n);
  const int level = std::countr_zero(static_cast<unsigned>(n)) - 1;
  for (auto _ : state)
  {
    kit::ui::fft::TransformSse2(buffer.data(), level, false);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void Fftw(benchmark::State& state)
{
  const int n = static_cast<int>(state.range(0));
  auto* data = static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * static_cast<std::size_t>(n)));
  // Planning with FFTW_MEASURE overwrites the array, so the input is written afterwards.
  fftwf_plan plan = fftwf_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_MEASURE);
  FillChirp(reinterpret_cast<float*>(data), n);
  for (auto _ : state)
  {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(data);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
  fftwf_destroy_plan(plan);
  fftwf_free(data);
}

} // namespace

BENCHMARK(OmbrixFft)->Arg(1024)->Arg(4096)->Arg(32768);
BENCHMARK(OmbrixFftSse2)->Arg(1024)->Arg(4096)->Arg(32768);
BENCHMARK(Fftw)->Arg(1024)->Arg(4096)->Arg(32768);

BENCHMARK_MAIN();
