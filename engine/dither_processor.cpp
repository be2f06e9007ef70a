#include "engine/dither_processor.h"

#include "engine/flush_denormals.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <thread>

namespace kit
{

namespace
{

// One design or reset at a time. The holder runs for at most one design, so a waiting
// host reset on the audio thread is held up only that long.
class DesignExclusion
{
public:
  explicit DesignExclusion(std::atomic_flag& flagToHold) noexcept
      : flag(flagToHold)
  {
    while (flag.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  }
  ~DesignExclusion() { flag.clear(std::memory_order_release); }
  DesignExclusion(const DesignExclusion&) = delete;
  DesignExclusion& operator=(const DesignExclusion&) = delete;

private:
  std::atomic_flag& flag;
};

// Parameter value truncated to an integer inside [lo, hi]; NaN reads as lo.
int TruncatedInRange(double value, int lo, int hi) noexcept
{
  if (!(value >= lo)) return lo;
  if (value >= hi) return hi;
  return static_cast<int>(value);
}

} // namespace

DitherProcessor::DitherProcessor(const IParam& power, const IParam& targetBits)
    : DitherProcessor(power, targetBits, std::random_device {}())
{
}

DitherProcessor::DitherProcessor(const IParam& power, const IParam& targetBits, uint32_t seed)
    : powerParam(power)
    , targetBitsParam(targetBits)
    , randomEngine(seed)
    , hardwareRounding(HasHardwareRounding())
{
  // Capacity for every later design up front: no design allocates, wherever it runs.
  for (ShapingFilter& record : shapingFilters)
  {
    record.coefficients.reserve(kMaxShapingTaps);
    record.targetCurve.reserve(kShapingGridSize / 2);
  }
  peakSender.SetSampleRate(48000.0);
}

void DitherProcessor::ResetProcessing(double sampleRate, int maxBlockSize)
{
  DesignExclusion exclusion(designing);
  const std::size_t frames = std::size_t(std::max(maxBlockSize, 0));

  designRate = sampleRate;
  for (ShapingFilter& record : shapingFilters) ResizeFilter(record, kMaxShapingTaps, kShapingGridSize);

  channelStates.resize(kMaxChannels);
  for (ChannelDitherState& state : channelStates)
  {
    state.historyPos = 0;
    state.previousUniform = 0.0;
    state.ditherGain = 1.0;
    state.errorHistory.assign(kMaxShapingTaps, 0.0);
  }

  signalSum.resize(frames);
  noiseSum.resize(frames);
  ditherCapacity = std::max(maxBlockSize, 1);
  ditherValues.resize(std::size_t(ditherCapacity) * kMaxChannels);
  randomWords.resize(std::size_t(ditherCapacity) * 4);

  peakInput[0] = &adjustLevel;
  peakSender.SetSampleRate(sampleRate);

  DesignLocked();
}

void DitherProcessor::DesignShapingFilter() noexcept
{
  DesignExclusion exclusion(designing);
  DesignLocked();
}

bool DitherProcessor::RedesignIfStale() noexcept
{
  if (designing.test_and_set(std::memory_order_acquire)) return false;
  const ShapingFilter& active = shapingFilters[std::size_t(activeFilter.load(std::memory_order_relaxed))];
  const int power = TruncatedInRange(powerParam.Value(), 0, kMaxShapingTaps);
  // Bitwise, so that a rate that is not a number matches itself.
  const bool stale =
      active.power != power || std::bit_cast<uint64_t>(active.sampleRate) != std::bit_cast<uint64_t>(designRate);
  if (stale)
    DesignLocked();
  else
  {
    // A design that read "Target Bits" just before host automation moved it stores the old
    // grid after the automation's own: put the grid back on the parameter, unless the audio
    // thread moved it again meanwhile.
    double current = quantScale.load(std::memory_order_acquire);
    const double wanted = std::ldexp(1.0, TruncatedInRange(targetBitsParam.Value(), 6, 32) - 1);
    if (current != wanted) (void)quantScale.compare_exchange_strong(current, wanted, std::memory_order_acq_rel);
  }
  designing.clear(std::memory_order_release);
  return stale;
}

void DitherProcessor::SetTargetBits(double bits) noexcept
{
  quantScale.store(std::ldexp(1.0, TruncatedInRange(bits, 6, 32) - 1), std::memory_order_release);
}

void DitherProcessor::DesignLocked() noexcept
{
  const double sampleRate = designRate;
  const int power = TruncatedInRange(powerParam.Value(), 0, kMaxShapingTaps);
  const int targetBits = TruncatedInRange(targetBitsParam.Value(), 6, 32);

  // Only designs write activeFilter, and they run one at a time.
  const int32_t target = 1 - activeFilter.load(std::memory_order_relaxed);
  // A block that took up this record before the last switch may still be reading it;
  // it lets go when it ends, within one block.
  while (readingFilter.load(std::memory_order_seq_cst) == target) std::this_thread::yield();

  ShapingFilter& record = shapingFilters[std::size_t(target)];
  // Above 96 kHz shaping is always off; a rate that is not a positive number cannot be
  // designed for either.
  const bool designable = sampleRate > 0.0 && sampleRate <= 96000.0;
  const int taps = designable ? power : 0;
  ResizeFilter(record, taps > 0 ? taps : kMaxShapingTaps, kShapingGridSize);
  record.tapCount = taps;
  record.power = power;
  record.sampleRate = sampleRate;
  if (taps > 0) ComputeCoefficients(record, sampleRate, weightingCurve, designScratch);

  activeFilter.store(target, std::memory_order_seq_cst);
  quantScale.store(std::ldexp(1.0, targetBits - 1), std::memory_order_release);
}

int DitherProcessor::TakeUpActiveFilter() noexcept
{
  // Announce the record before trusting it: a design that switched in between is seen
  // by the second read, and the announcement of the newer record is made in turn.
  int32_t index = activeFilter.load(std::memory_order_seq_cst);
  for (;;)
  {
    readingFilter.store(index, std::memory_order_seq_cst);
    const int32_t now = activeFilter.load(std::memory_order_seq_cst);
    if (now == index) return index;
    index = now;
  }
}

void DitherProcessor::DrawDither(int channel, int begin, int end, bool shaped, double* dither) noexcept
{
  // The switch is read afresh for every frame, in the order the frames are dithered; the
  // engine words for the dithered frames are then drawn in one run, in that same order.
  const int frames = end - begin;
  std::size_t dithered = 0;
  for (int i = 0; i < frames; ++i)
  {
    const bool on = ditherOn.load(std::memory_order_relaxed);
    dither[i] = on ? 1.0 : 0.0;
    dithered += on ? 1 : 0;
  }
  if (dithered == 0) return;

  const std::size_t wordsPerFrame = shaped ? 2 : 4;
  randomEngine.Generate(randomWords.data(), dithered * wordsPerFrame);
  const uint32_t* words = randomWords.data();
  ChannelDitherState& state = channelStates[std::size_t(channel)];
  const double gain = state.ditherGain;
  double previous = state.previousUniform;
  for (int i = 0; i < frames; ++i)
  {
    if (dither[i] == 0.0) continue;
    double d;
    if (shaped)
    {
      // First difference of uniforms: triangular dither with a high-pass spectrum.
      const double u = NextUniform(words);
      d = previous - u;
      previous = u;
    }
    else
    {
      const double u1 = NextUniform(words);
      const double u2 = NextUniform(words);
      d = u1 + u2 - 1.0;
    }
    dither[i] = d * gain;
  }
  state.previousUniform = previous;
}

void DitherProcessor::RenderBlock(double** inputs, double** outputs, int frames, int connectedInputs) noexcept
{
  ScopedFlushDenormals flushDenormals;

  const int channelCount = std::min({ connectedInputs, kMaxChannels, int(channelStates.size()) });
  const ShapingFilter& filter = shapingFilters[std::size_t(TakeUpActiveFilter())];
  const int taps = filter.tapCount;
  const bool shaped = taps > 0;
  const double scale = quantScale.load(std::memory_order_acquire);

  // Only the first frames entries are ever read back or sent, so only they are cleared.
  const std::size_t sumFrames = std::min(signalSum.size(), std::size_t(std::max(frames, 0)));
  std::fill_n(signalSum.begin(), sumFrames, 0.0);
  std::fill_n(noiseSum.begin(), sumFrames, 0.0);
  double maxLevel = 0.0;

  // A lower tap count than the last block's keeps the ring but not a position beyond it.
  if (shaped)
    for (int c = 0; c < channelCount; ++c) channelStates[std::size_t(c)].historyPos %= taps;

  const auto block = [&](int firstFrame, int lastFrame)
  {
    return KernelBlock { lastFrame - firstFrame,
                         filter.coefficients.data(),
                         taps,
                         scale,
                         signalSum.data(),
                         noiseSum.data(),
                         int(sumFrames),
                         firstFrame };
  };
  const auto lane = [&](int channel, int firstFrame, const double* dither)
  {
    return KernelLane { inputs[channel] + firstFrame, outputs[channel] + firstFrame, dither,
                        &channelStates[std::size_t(channel)], 0.0 };
  };

  double sumSquares[kMaxChannels] = { 0.0, 0.0 };
  bool ditheredAtEnd[kMaxChannels] = { false, false };
  double* ditherOf[kMaxChannels] = { ditherValues.data(), ditherValues.data() + ditherCapacity };

  if (channelCount == kMaxChannels && frames <= ditherCapacity)
  {
    // Random numbers are drawn channel after channel, as a channel-by-channel loop would
    // draw them; the two recursions then run side by side.
    for (int c = 0; c < channelCount; ++c)
    {
      DrawDither(c, 0, frames, shaped, ditherOf[c]);
      ditheredAtEnd[c] = ditherOn.load(std::memory_order_relaxed);
    }
    KernelLane lanes[2] = { lane(0, 0, ditherOf[0]), lane(1, 0, ditherOf[1]) };
    RunRequantiseKernel(lanes, block(0, frames), hardwareRounding);
    sumSquares[0] = lanes[0].sumSquares;
    sumSquares[1] = lanes[1].sumSquares;
  }
  else
  {
    // One channel, or a block longer than the buffers: channel after channel, in runs.
    for (int c = 0; c < channelCount; ++c)
    {
      for (int begin = 0; begin < frames; begin += ditherCapacity)
      {
        const int end = std::min(frames, begin + ditherCapacity);
        DrawDither(c, begin, end, shaped, ditherOf[0]);
        KernelLane lanes[1] = { lane(c, begin, ditherOf[0]) };
        lanes[0].sumSquares = sumSquares[c];
        RunRequantiseKernel(lanes, block(begin, end), hardwareRounding);
        sumSquares[c] = lanes[0].sumSquares;
      }
      ditheredAtEnd[c] = ditherOn.load(std::memory_order_relaxed);
    }
  }

  // A block without frames has no level: gains and meter keep their values.
  if (frames > 0)
  {
    for (int c = 0; c < channelCount; ++c)
    {
      if (!ditheredAtEnd[c]) continue;
      ChannelDitherState& state = channelStates[std::size_t(c)];
      const double level = std::sqrt(sumSquares[c] / frames);
      state.ditherGain = 1.0 - 0.6 * level;
      if (level > maxLevel) maxLevel = level;
    }
  }

  if (channelCount > 0)
  {
    const double meanFactor = 1.0 / channelCount;
    for (std::size_t s = 0; s < sumFrames; ++s)
    {
      signalSum[s] *= meanFactor;
      noiseSum[s] *= meanFactor;
    }
    if (frames <= int(signalSum.size()))
    {
      double* signal[1] = { signalSum.data() };
      double* noise[1] = { noiseSum.data() };
      signalSender.AddBlock(signal, frames, kTagSignalGraph, 1, 0);
      noiseSender.AddBlock(noise, frames, kTagNoiseGraph, 1, 0);
    }
  }

  if (frames > 0 && ditherOn.load(std::memory_order_relaxed) && peakInput[0] != nullptr)
  {
    adjustLevel = maxLevel;
    peakSender.AddBlock(peakInput, 1, kTagMeter, 1, 0);
  }

  readingFilter.store(-1, std::memory_order_release);
}

} // namespace kit
