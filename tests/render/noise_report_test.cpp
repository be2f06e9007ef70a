#include "tools/render/noise_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace kit::render
{
namespace
{

// The report of a mono run whose output is the input plus noise(frame), fed in blocks of 1000.
template <class Noise>
NoiseReport Measure(int frames, int bits, Noise noise)
{
  NoiseMeter meter(1, 48000.0, bits, frames);
  std::vector<double> input(1000);
  std::vector<double> output(1000);
  for (int start = 0; start < frames; start += 1000)
  {
    const int count = std::min(1000, frames - start);
    for (int i = 0; i < count; ++i)
    {
      input[std::size_t(i)] = 0.3 * std::sin(0.001 * (start + i));
      output[std::size_t(i)] = input[std::size_t(i)] + noise(start + i);
    }
    meter.Add(input.data(), output.data(), count);
  }
  return meter.Report();
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
  const NoiseReport report =
      Measure(48000, 16, [&](int i) { return amplitude * std::sin(2.0 * std::numbers::pi * hz * i / 48000.0); });
  EXPECT_NEAR(report.rmsDbfs, 20.0 * std::log10(amplitude), 0.01);
  EXPECT_NEAR(report.rmsLsb, amplitude / std::numbers::sqrt2 * 32768.0, 0.05);
  ASSERT_TRUE(report.bandsMeasured);
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
  const NoiseReport report = Measure(48000 * 8, 24, [&](int) { return uniform(engine); });
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
  NoiseMeter meter(2, 44100.0, 16, 2);
  const double input[] = { 1.5, -2.0, 0.5, 0.25 };
  const double output[] = { 1.0, -1.0, 0.5, 0.25 };
  meter.Add(input, output, 2);
  EXPECT_EQ(meter.Report().rms, 0.0);
}

TEST(NoiseReport, ARunTooShortForTheSpectrumHasOnlyItsTotal)
{
  // Every frame 3 steps off at 16 bits: 3 LSB RMS however short the run.
  const NoiseReport report = Measure(800, 16, [](int) { return 3.0 / 32768.0; });
  EXPECT_FALSE(report.bandsMeasured);
  EXPECT_NEAR(report.rmsLsb, 3.0, 1e-9);
}

} // namespace
} // namespace kit::render
