#include "tools/render/noise_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace kit::render
{
namespace
{

// output = input + noise, where noise is the given function of the frame.
template <class Noise>
std::pair<AudioData, AudioData> WithNoise(int frames, Noise noise)
{
  AudioData input;
  input.channels = 1;
  input.sampleRate = 48000.0;
  AudioData output = input;
  for (int i = 0; i < frames; ++i)
  {
    const double x = 0.3 * std::sin(0.001 * i);
    input.samples.push_back(x);
    output.samples.push_back(x + noise(i));
  }
  return { input, output };
}

std::size_t BandOf(double hz)
{
  for (std::size_t b = 0; b < kOctaveCentresHz.size(); ++b)
    if (hz >= kOctaveCentresHz[b] / std::numbers::sqrt2 && hz < kOctaveCentresHz[b] * std::numbers::sqrt2) return b;
  return kOctaveCentresHz.size();
}

TEST(NoiseReport, ASineOfKnownAmplitudeReadsItsAes17LevelInItsBand)
{
  // Amplitude 2^-7 at 16 bits: -42.14 dBFS (20 log10 2^-7), RMS 2^-7/sqrt 2 = 181.02 LSB.
  const double amplitude = std::ldexp(1.0, -7);
  const double hz = 1000.0;
  const auto [input, output] =
      WithNoise(48000, [&](int i) { return amplitude * std::sin(2.0 * std::numbers::pi * hz * i / 48000.0); });
  const NoiseReport report = MeasureNoise(input, output, 16);
  EXPECT_NEAR(report.rmsDbfs, 20.0 * std::log10(amplitude), 0.01);
  EXPECT_NEAR(report.rmsLsb, amplitude / std::numbers::sqrt2 * 32768.0, 0.05);
  const std::size_t band = BandOf(hz);
  EXPECT_NEAR(report.bandDbfs[band], report.rmsDbfs, 0.1);
  for (std::size_t b = 0; b < kOctaveCentresHz.size(); ++b)
    if (b != band)
    {
      EXPECT_LT(report.bandDbfs[b], report.rmsDbfs - 60.0) << kOctaveCentresHz[b];
    }
}

TEST(NoiseReport, WhiteNoiseRisesThreeDecibelsPerOctaveAndAddsUp)
{
  std::mt19937 engine(7);
  std::uniform_real_distribution<double> uniform(-1e-3, 1e-3);
  const auto [input, output] = WithNoise(48000 * 8, [&](int) { return uniform(engine); });
  const NoiseReport report = MeasureNoise(input, output, 24);
  // Uniform in ±a has a mean square of a²/3.
  EXPECT_NEAR(report.rmsDbfs, 10.0 * std::log10((1e-6 / 3.0) / 0.5), 0.05);
  double bandsTotal = 0.0;
  for (std::size_t b = 1; b < kOctaveCentresHz.size(); ++b)
    EXPECT_NEAR(report.bandDbfs[b] - report.bandDbfs[b - 1], 10.0 * std::log10(2.0), 0.5) << kOctaveCentresHz[b];
  for (const double level : report.bandDbfs) bandsTotal += std::pow(10.0, level / 10.0);
  // The nine octaves cover 44.5 Hz to 22.6 kHz, nearly the whole 24 kHz band.
  EXPECT_NEAR(10.0 * std::log10(bandsTotal), report.rmsDbfs, 0.5);
}

TEST(NoiseReport, InputBeyondFullScaleIsClippedFirst)
{
  AudioData input;
  input.channels = 2;
  input.sampleRate = 44100.0;
  input.samples = { 1.5, -2.0, 0.5, 0.25 };
  AudioData output = input;
  output.samples = { 1.0, -1.0, 0.5, 0.25 };
  EXPECT_EQ(MeasureNoise(input, output, 16).rms, 0.0);
}

} // namespace
} // namespace kit::render
