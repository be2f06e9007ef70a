#pragma once
// The dither engine owned by the plug-in: clips each sample, feeds the requantisation
// error back through the noise-shaping filter, adds level-adaptive triangular dither,
// rounds to the target grid, and feeds the spectrum and meter senders.
// RenderBlock runs on the audio thread; designs and resets on the main thread, or on the
// audio thread between blocks when the host resets the plug-in.

#include "engine/analysis_senders.h"
#include "engine/mersenne_twister.h"
#include "engine/requantise_kernel.h"
#include "engine/shaping_design.h"
#include "engine/weighting_curve.h"
#include "framework/param.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

namespace kit
{

class DitherProcessor
{
public:
  static constexpr int kTagSignalGraph = 1;
  static constexpr int kTagNoiseGraph = 2;
  static constexpr int kTagMeter = 3;
  static constexpr int kMaxChannels = 2;
  using BufferSender = IBufferSender<1, 64, 4096>;
  using PeakSender = IPeakSender<1, 64>;

  // Main thread

  // power and targetBits are the "Psychoacoustic Power" and "Target Bits" parameters the
  // design reads. The random engine is seeded once, from the platform's non-deterministic
  // source; never again, not even by a reset.
  DitherProcessor(const IParam& power, const IParam& targetBits);
  // The same with a fixed seed, so that tests reproduce the output bit for bit.
  DitherProcessor(const IParam& power, const IParam& targetBits, uint32_t seed);

  // Also on the audio thread between blocks (host reset). Sizes every buffer for
  // maxBlockSize frames (allocating only when that grows), clears the channel states and
  // the filter records, and ends with a fresh design for sampleRate.
  void ResetProcessing(double sampleRate, int maxBlockSize);

  // Designs the inactive filter record from the current parameter values, switches the
  // audio thread over to it and renews the grid scale. Waits at most for the audio block
  // that may still read that record; never allocates.
  void DesignShapingFilter() noexcept;

  // Designs afresh when the active record was made for another power or sample rate than
  // the current ones, as after a power change that never reached the editor side; otherwise
  // puts a grid left behind by such a design back on "Target Bits". Skips when a design or
  // reset is running. Whether it designed.
  bool RedesignIfStale() noexcept;

  // Drains the three senders' rings to delegate.SendPacketToControl.
  template <class Delegate>
  void TransmitPackets(Delegate& delegate)
  {
    signalSender.TransmitPackets(delegate);
    noiseSender.TransmitPackets(delegate);
    peakSender.TransmitPackets(delegate);
  }

  // Any thread

  // The "Dither" switch, read afresh by every frame.
  void SetDitherOn(bool on) noexcept { ditherOn.exchange(on, std::memory_order_acq_rel); }
  // The grid for a "Target Bits" value, so that host automation moves the grid from the next
  // block on, without waiting for a design.
  void SetTargetBits(double bits) noexcept;

  // Audio thread

  // connectedInputs is the number of connected input channels; at most two are processed.
  // Never allocates, locks or waits.
  void RenderBlock(double** inputs, double** outputs, int frames, int connectedInputs) noexcept;

  // Observers for the plug-in and tests; call them from the thread that owns the state.
  [[nodiscard]] double QuantScale() const noexcept { return quantScale.load(std::memory_order_acquire); }
  [[nodiscard]] double AdjustLevel() const noexcept { return adjustLevel; }
  [[nodiscard]] const ChannelDitherState& ChannelState(int channel) const
  {
    return channelStates.at(std::size_t(channel));
  }
  [[nodiscard]] const ShapingFilter& ActiveShapingFilter() const noexcept
  {
    return shapingFilters[std::size_t(activeFilter.load(std::memory_order_acquire))];
  }

private:
  // Audio thread
  // A uniform in [0, 1) from the next two engine words drawn into words, which it advances.
  static double NextUniform(const uint32_t*& words) noexcept
  {
    // 53 random bits: the second word supplies the high 32, the first the low 21.
    const uint64_t bits = (uint64_t(words[1]) << 21) + (words[0] >> 11);
    words += 2;
    return double(int64_t(bits)) * 0x1p-53; // below 2^53: exact as a signed value
  }
  int TakeUpActiveFilter() noexcept;
  void DrawDither(int channel, int begin, int end, bool shaped, double* dither) noexcept;
  // Under the design exclusion
  void DesignLocked() noexcept;

  const IParam& powerParam;
  const IParam& targetBitsParam;

  // Written by designs (main thread, or audio thread during a host reset), read once at
  // the start of each block.
  std::atomic<double> quantScale { 65536.0 };
  double designRate = 44100.0; // only touched under the design exclusion
  std::atomic<bool> ditherOn { false };
  MersenneTwister randomEngine;

  std::vector<ChannelDitherState> channelStates;
  std::array<ShapingFilter, 2> shapingFilters;
  // The hand-over: a design writes only the record that is neither active nor being read
  // by a block. activeFilter: written by designs, read at block start. readingFilter:
  // written by the audio thread (the record its block uses, -1 between blocks), read by
  // designs. designing: lets one design or reset run at a time.
  std::atomic<int32_t> activeFilter { 0 };
  std::atomic<int32_t> readingFilter { -1 };
  std::atomic_flag designing;

  WeightingCurve weightingCurve;
  DesignScratch designScratch;

  std::vector<double> signalSum;
  std::vector<double> noiseSum;
  std::vector<double> ditherValues;  // per channel, one block's dither in draw order
  std::vector<uint32_t> randomWords; // the engine words one channel's block may draw
  int ditherCapacity = 0;            // frames of ditherValues per channel
  bool hardwareRounding;
  double adjustLevel = 0.0;
  double* peakInput[1] = { nullptr };

  BufferSender signalSender { -90.0, 4096 };
  BufferSender noiseSender { -90.0, 4096 };
  PeakSender peakSender;
};

} // namespace kit
