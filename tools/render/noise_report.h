// What ombrix-render says about a run: the added noise (output minus the clipped input) as a
// whole and in octave bands, so that the shaping can be read off.
#pragma once

#include "tools/render/audio_file.h"

#include <array>
#include <string>

namespace kit::render
{

inline constexpr std::array<double, 9> kOctaveCentresHz { 63.0,   125.0,  250.0,  500.0,  1000.0,
                                                          2000.0, 4000.0, 8000.0, 16000.0 };

struct NoiseReport
{
  double rms = 0.0;                                        // of output - clip(input), all channels
  double rmsDbfs = -300.0;                                 // AES17: a full-scale sine reads 0 dB
  double rmsLsb = 0.0;                                     // in steps of the target grid
  std::array<double, kOctaveCentresHz.size()> bandDbfs {}; // octave bands, same reference
};

// input and output have the same channels and frames; bits is the target depth.
[[nodiscard]] NoiseReport MeasureNoise(const AudioData& input, const AudioData& output, int bits);

} // namespace kit::render
