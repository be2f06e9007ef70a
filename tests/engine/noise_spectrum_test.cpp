// Statistics of the shaped noise with a fixed seed: silence in, the output is the total
// error (requantisation plus high-pass triangular dither) filtered by 1 - C(z). Its power
// per octave band must follow |1 - C(e^jw)|^2 times the spectrum of that error.

#include "engine_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace kit::test
{
namespace
{

using Complex = std::complex<double>;

// In-place iterative radix-2 FFT, forward.
void Fft(std::vector<Complex>& data)
{
  const std::size_t n = data.size();
  for (std::size_t i = 1, j = 0; i < n; ++i)
  {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(data[i], data[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1)
  {
    const Complex root = std::polar(1.0, -2.0 * std::numbers::pi / double(length));
    for (std::size_t start = 0; start < n; start += length)
    {
      Complex w = 1.0;
      for (std::size_t k = 0; k < length / 2; ++k, w *= root)
      {
        const Complex even = data[start + k];
        const Complex odd = data[start + k + length / 2] * w;
        data[start + k] = even + odd;
        data[start + k + length / 2] = even - odd;
      }
    }
  }
}

// Welch estimate with Hann windows of `size` samples, half overlapping; bin k is k/size of
// the sample rate. A white sequence of variance s2 reads s2 in every bin.
std::vector<double> PowerSpectrum(const std::vector<double>& samples, std::size_t size)
{
  std::vector<double> window(size);
  double windowPower = 0.0;
  for (std::size_t i = 0; i < size; ++i)
  {
    window[i] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / double(size));
    windowPower += window[i] * window[i];
  }
  std::vector<double> power(size / 2 + 1, 0.0);
  int segments = 0;
  for (std::size_t start = 0; start + size <= samples.size(); start += size / 2, ++segments)
  {
    std::vector<Complex> data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = samples[start + i] * window[i];
    Fft(data);
    for (std::size_t k = 0; k < power.size(); ++k) power[k] += std::norm(data[k]) / windowPower;
  }
  for (double& p : power) p /= segments;
  return power;
}

TEST(NoiseSpectrum, SilenceThroughPowerNineFollowsTheShapingFilter)
{
  const double rate = 44100.0;
  const int frames = 1 << 18;
  const std::size_t segment = 4096;
  Engine engine(rate, frames);
  engine.SetParam(kParamPsychoacousticPower, 9);
  engine.SetParam(kParamDither, 1.0);
  const std::span<const double> c = engine.Coefficients();
  ASSERT_EQ(c.size(), 9u);
  const double scale = engine.dither->QuantScale();

  std::vector<std::vector<double>> in { std::vector<double>(std::size_t(frames), 0.0) };
  std::vector<std::vector<double>> out;
  engine.Render(in, out, frames);
  std::vector<double> steps(out[0].size());
  for (std::size_t i = 0; i < steps.size(); ++i) steps[i] = out[0][i] * scale;
  const std::vector<double> measured = PowerSpectrum(steps, segment);

  for (double low = 200.0; low < rate / 2.0; low *= 2.0)
  {
    const double high = std::min(2.0 * low, rate / 2.0);
    double measuredSum = 0.0;
    double expectedSum = 0.0;
    for (std::size_t k = 0; k < measured.size(); ++k)
    {
      const double hz = double(k) * rate / double(segment);
      if (hz < low || hz >= high) continue;
      const double w = 2.0 * std::numbers::pi * hz / rate;
      Complex shaping = 1.0;
      for (std::size_t i = 0; i < c.size(); ++i) shaping -= c[i] * std::polar(1.0, -w * double(i + 1));
      // Total error of first-difference TPDF dither: variance 1/4 step^2, lag-one
      // covariance -1/12, so its spectrum is (3 - 2 cos w) / 12.
      const double errorSpectrum = (3.0 - 2.0 * std::cos(w)) / 12.0;
      measuredSum += measured[k];
      expectedSum += std::norm(shaping) * errorSpectrum;
    }
    const double differenceDb = 10.0 * std::log10(measuredSum / expectedSum);
    EXPECT_LT(std::fabs(differenceDb), 1.0) << "octave from " << low << " Hz: " << differenceDb << " dB";
  }
}

} // namespace
} // namespace kit::test
