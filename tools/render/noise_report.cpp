#include "tools/render/noise_report.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace kit::render
{

namespace
{

constexpr std::size_t kFftSize = 8192;
// A full-scale sine has a mean square of 1/2: AES17 levels add 3.01 dB to RMS re 1.0.
constexpr double kSineMeanSquare = 0.5;

double Dbfs(double meanSquare)
{
  return meanSquare > 0.0 ? 10.0 * std::log10(meanSquare / kSineMeanSquare) : -300.0;
}

// In-place radix-2 transform; size is a power of two.
void Fft(std::vector<std::complex<double>>& x)
{
  const std::size_t n = x.size();
  for (std::size_t i = 1, j = 0; i < n; ++i)
  {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1)
  {
    const double angle = -2.0 * std::numbers::pi / double(length);
    const std::complex<double> step(std::cos(angle), std::sin(angle));
    for (std::size_t start = 0; start < n; start += length)
    {
      std::complex<double> w(1.0, 0.0);
      for (std::size_t k = 0; k < length / 2; ++k)
      {
        const std::complex<double> even = x[start + k];
        const std::complex<double> odd = x[start + k + length / 2] * w;
        x[start + k] = even + odd;
        x[start + k + length / 2] = even - odd;
        w *= step;
      }
    }
  }
}

} // namespace

NoiseReport MeasureNoise(const AudioData& input, const AudioData& output, int bits)
{
  NoiseReport report;
  const int channels = std::max(input.channels, 1);
  const std::size_t frames = std::min(input.samples.size(), output.samples.size()) / std::size_t(channels);
  std::vector<std::vector<double>> noise(std::size_t(channels), std::vector<double>(frames, 0.0));
  double sumSquares = 0.0;
  for (std::size_t f = 0; f < frames; ++f)
    for (std::size_t c = 0; c < std::size_t(channels); ++c)
    {
      const std::size_t i = f * std::size_t(channels) + c;
      const double difference = output.samples[i] - std::clamp(input.samples[i], -1.0, 1.0);
      noise[c][f] = difference;
      sumSquares += difference * difference;
    }
  const double count = double(frames) * channels;
  const double meanSquare = count > 0 ? sumSquares / count : 0.0;
  report.rms = std::sqrt(meanSquare);
  report.rmsDbfs = Dbfs(meanSquare);
  report.rmsLsb = report.rms * std::ldexp(1.0, bits - 1);

  // Welch: Hann-windowed frames, half overlapped, powers averaged. Each band's share of the
  // mean square is its bins' share of the spectrum, corrected for the window's own power.
  std::vector<double> window(kFftSize);
  double windowPower = 0.0;
  for (std::size_t i = 0; i < kFftSize; ++i)
  {
    window[i] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / double(kFftSize));
    windowPower += window[i] * window[i];
  }
  std::vector<double> power(kFftSize / 2 + 1, 0.0);
  std::size_t segments = 0;
  std::vector<std::complex<double>> spectrum(kFftSize);
  for (const auto& channel : noise)
    for (std::size_t start = 0; start + kFftSize <= channel.size(); start += kFftSize / 2)
    {
      for (std::size_t i = 0; i < kFftSize; ++i) spectrum[i] = channel[start + i] * window[i];
      Fft(spectrum);
      for (std::size_t k = 0; k < power.size(); ++k) power[k] += std::norm(spectrum[k]);
      ++segments;
    }
  const double binHz = output.sampleRate / double(kFftSize);
  for (std::size_t b = 0; b < kOctaveCentresHz.size(); ++b)
  {
    const double low = kOctaveCentresHz[b] / std::numbers::sqrt2;
    const double high = kOctaveCentresHz[b] * std::numbers::sqrt2;
    double bandPower = 0.0;
    for (std::size_t k = 1; k < power.size(); ++k)
    {
      const double hz = double(k) * binHz;
      // One-sided: every bin but Nyquist stands for its negative twin too.
      if (hz >= low && hz < high) bandPower += (k == kFftSize / 2 ? 1.0 : 2.0) * power[k];
    }
    const double bandMeanSquare = segments > 0 ? bandPower / (double(segments) * double(kFftSize) * windowPower) : 0.0;
    report.bandDbfs[b] = Dbfs(bandMeanSquare);
  }
  return report;
}

} // namespace kit::render
