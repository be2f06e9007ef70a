#include "tools/render/noise_report.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kit::render
{

namespace
{

constexpr std::size_t kFftSize = 8192;
// Enough frames for band levels steady to a fraction of a decibel, however long the run.
constexpr std::int64_t kMaxSegmentsPerChannel = 32;
// A full-scale sine has a mean square of 1/2: AES17 levels add 3.01 dB to RMS re 1.0.
constexpr double kSineMeanSquare = 0.5;

double Dbfs(double meanSquare)
{
  return meanSquare > 0.0 ? 10.0 * std::log10(meanSquare / kSineMeanSquare) : -300.0;
}

// In-place radix-2 transform of re + i·im; size is a power of two and cosine holds
// cos(2πk/size) for k < size. Plain arithmetic: std::complex's product checks for infinities.
void Fft(std::vector<double>& re, std::vector<double>& im, const std::vector<double>& cosine)
{
  const std::size_t n = re.size();
  for (std::size_t i = 1, j = 0; i < n; ++i)
  {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j)
    {
      std::swap(re[i], re[j]);
      std::swap(im[i], im[j]);
    }
  }
  for (std::size_t length = 2; length <= n; length <<= 1)
  {
    const std::size_t half = length / 2;
    const std::size_t stride = n / length;
    for (std::size_t start = 0; start < n; start += length)
      for (std::size_t k = 0; k < half; ++k)
      {
        // e^(-2πik/length): the sine is the cosine a quarter turn on.
        const double wr = cosine[k * stride];
        const double wi = -cosine[(k * stride + 3 * n / 4) % n];
        const std::size_t a = start + k;
        const std::size_t b = a + half;
        const double br = re[b] * wr - im[b] * wi;
        const double bi = re[b] * wi + im[b] * wr;
        re[b] = re[a] - br;
        im[b] = im[a] - bi;
        re[a] += br;
        im[a] += bi;
      }
  }
}

} // namespace

NoiseMeter::NoiseMeter(int channelCount, double rate, int depth, std::int64_t totalFrames)
    : channels(std::max(channelCount, 1))
    , sampleRate(rate)
    , bits(depth)
    , recent(std::size_t(channels), std::vector<double>(kFftSize, 0.0))
    , window(kFftSize)
    , cosine(kFftSize)
    , power(kFftSize / 2 + 1, 0.0)
{
  for (std::size_t i = 0; i < kFftSize; ++i)
  {
    window[i] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / double(kFftSize));
    cosine[i] = std::cos(2.0 * std::numbers::pi * double(i) / double(kFftSize));
  }
  const auto size = std::int64_t(kFftSize);
  if (totalFrames < size) return;
  const std::int64_t available = (totalFrames - size) / (size / 2) + 1;
  const std::int64_t used = std::min(available, kMaxSegmentsPerChannel);
  for (std::int64_t s = 0; s < used; ++s)
  {
    const std::int64_t index = used == 1 ? 0 : s * (available - 1) / (used - 1);
    segmentEnds.push_back(index * (size / 2) + size);
  }
}

void NoiseMeter::Add(const double* input, const double* output, std::int64_t frames)
{
  const auto size = std::int64_t(kFftSize);
  for (std::int64_t done = 0; done < frames;)
  {
    // A run that neither wraps the ring nor passes the end of the next segment.
    const std::int64_t slot = framesSeen % size;
    std::int64_t run = std::min(frames - done, size - slot);
    const bool segmentPending = nextSegment < segmentEnds.size();
    if (segmentPending) run = std::min(run, segmentEnds[nextSegment] - framesSeen);
    for (int c = 0; c < channels; ++c)
    {
      double* history = recent[std::size_t(c)].data() + slot;
      const double* in = input + done * channels + c;
      const double* out = output + done * channels + c;
      double sum = 0.0;
      for (std::int64_t i = 0; i < run; ++i)
      {
        // What the plug-in added: the output against the input it could represent. A NaN or
        // infinite input has no such value; it is counted instead of poisoning the sums.
        const double sample = in[i * channels];
        const bool finite = std::isfinite(sample);
        if (!finite) ++nonFiniteInputs;
        const double difference = finite ? out[i * channels] - std::clamp(sample, -1.0, 1.0) : 0.0;
        sum += difference * difference;
        history[i] = difference;
      }
      sumSquares += sum;
    }
    framesSeen += run;
    done += run;
    if (segmentPending && framesSeen == segmentEnds[nextSegment])
    {
      AnalyseSegment();
      ++nextSegment;
    }
  }
}

void NoiseMeter::AnalyseSegment()
{
  std::vector<double> re(kFftSize);
  std::vector<double> im(kFftSize, 0.0);
  // The ring's oldest frame sits where the next one will go.
  const auto oldest = std::size_t(framesSeen % std::int64_t(kFftSize));
  for (const std::vector<double>& history : recent)
  {
    for (std::size_t i = 0; i < kFftSize; ++i) re[i] = history[(oldest + i) % kFftSize] * window[i];
    std::fill(im.begin(), im.end(), 0.0);
    Fft(re, im, cosine);
    for (std::size_t k = 0; k < power.size(); ++k) power[k] += re[k] * re[k] + im[k] * im[k];
    ++segments;
  }
}

NoiseReport NoiseMeter::Report() const
{
  NoiseReport report;
  const double count = double(framesSeen) * channels - double(nonFiniteInputs);
  const double meanSquare = count > 0 ? sumSquares / count : 0.0;
  report.rms = std::sqrt(meanSquare);
  report.rmsDbfs = Dbfs(meanSquare);
  report.rmsLsb = report.rms * std::ldexp(1.0, bits - 1);
  report.nonFiniteInputs = nonFiniteInputs;

  report.bandsMeasured = segments > 0;
  // Welch: each band's share of the mean square is its bins' share of the averaged spectrum,
  // corrected for the window's own power (Parseval).
  double windowPower = 0.0;
  for (const double w : window) windowPower += w * w;
  const double binHz = sampleRate / double(kFftSize);
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
