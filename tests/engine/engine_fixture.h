#pragma once
// A dither processor with its four parameters, and helpers to run blocks from vectors.

#include "engine/dither_processor.h"
#include "engine/ombrix_params.h"

#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <vector>

namespace kit::test
{

inline constexpr uint32_t kTestSeed = 20261210;

struct Engine
{
  explicit Engine(double sampleRate = 48000.0, int maxBlockSize = 512, uint32_t seed = kTestSeed)
  {
    SetupOmbrixParams(params[kParamDither], params[kParamPsychoacousticPower], params[kParamTargetBits],
                      params[kParamShowGraph]);
    dither = std::make_unique<DitherProcessor>(params[kParamPsychoacousticPower], params[kParamTargetBits], seed);
    dither->ResetProcessing(sampleRate, maxBlockSize);
  }

  // Sets a parameter as the host would and runs the plug-in's reaction to it.
  void SetParam(int index, double value)
  {
    IParam& param = params[std::size_t(index)];
    param.Set(param.Conform(value));
    React(index);
  }

  // The plug-in's reaction to a new value of parameter index.
  void React(int index)
  {
    const IParam& param = params[std::size_t(index)];
    if (index == kParamDither) dither->SetDitherOn(param.Value() >= 0.5);
    if (index == kParamPsychoacousticPower || index == kParamTargetBits) dither->DesignShapingFilter();
  }

  // Runs one block; outputs are resized to the inputs' length and start as a marker value
  // so that unwritten samples show.
  void Render(std::vector<std::vector<double>>& in, std::vector<std::vector<double>>& out, int frames,
              int connected = -1)
  {
    const int channels = int(in.size());
    out.resize(in.size());
    std::vector<double*> inputs;
    std::vector<double*> outputs;
    for (int c = 0; c < channels; ++c)
    {
      out[std::size_t(c)].assign(std::size_t(frames), kUnwritten);
      inputs.push_back(in[std::size_t(c)].data());
      outputs.push_back(out[std::size_t(c)].data());
    }
    dither->RenderBlock(inputs.data(), outputs.data(), frames, connected < 0 ? channels : connected);
  }

  std::span<const double> Coefficients() const
  {
    const ShapingFilter& filter = dither->ActiveShapingFilter();
    return { filter.coefficients.data(), std::size_t(filter.tapCount) };
  }

  static constexpr double kUnwritten = -12345.0;
  std::array<IParam, kOmbrixParamCount> params;
  std::unique_ptr<DitherProcessor> dither;
};

inline std::vector<double> Sine(int frames, double amplitude, double cyclesPerFrame, double phase = 0.0)
{
  std::vector<double> samples(static_cast<std::size_t>(frames));
  for (int s = 0; s < frames; ++s)
    samples[std::size_t(s)] = amplitude * std::sin(2.0 * 3.141592653589793 * cyclesPerFrame * s + phase);
  return samples;
}

} // namespace kit::test
