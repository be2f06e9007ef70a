#pragma once
// Analysis senders: gather spectrum buffers and meter levels on the audio thread, pack them
// into fixed-size packets addressed to an editor control tag, and queue them in a lock-free
// ring that the main thread drains on every timer tick. Owned by the dither engine.

#include "framework/spsc_ring.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace kit
{

// One message for an editor control: three little-endian int32 and one Payload per
// channel, with no padding, so the bytes handed to the control match that layout.
template <int MaxChannels, class Payload>
struct ISenderPacket
{
  int32_t controlTag = -1;
  int32_t channelCount = 1;
  int32_t channelOffset = 0;
  std::array<Payload, static_cast<std::size_t>(MaxChannels)> payload {};
};

namespace detail
{
using MeterPacketLayout = ISenderPacket<1, float>;
using SpectrumPacketLayout = ISenderPacket<1, std::array<float, 4096>>;
static_assert(std::endian::native == std::endian::little, "packets are handed to the editor as little-endian bytes");
static_assert(sizeof(MeterPacketLayout) == 16 && offsetof(MeterPacketLayout, payload) == 12);
static_assert(sizeof(SpectrumPacketLayout) == 16396 && offsetof(SpectrumPacketLayout, payload) == 12);
} // namespace detail

// Owns the packet ring of a sender: QueueSize packets wait at most, the ring keeps one
// more slot that always stays empty.
template <int MaxChannels, int QueueSize, class Payload>
class ISender
{
  static_assert(MaxChannels >= 1 && QueueSize >= 1);

public:
  using Packet = ISenderPacket<MaxChannels, Payload>;

  ISender() = default;
  ISender(const ISender&) = delete;
  ISender& operator=(const ISender&) = delete;

  // Main thread
  // Hands every waiting packet, oldest first, to
  // delegate.SendPacketToControl(controlTag, 0, packet size in bytes, packet bytes).
  template <class Delegate>
  void TransmitPackets(Delegate& delegate)
  {
    while (queue.Pop(outgoing))
      delegate.SendPacketToControl(outgoing.controlTag, 0, static_cast<int>(sizeof(Packet)), &outgoing);
  }

protected:
  // Audio thread
  // A full ring drops the packet; the editor simply misses one frame of data.
  void EnqueuePacket(const Packet& packet) noexcept { static_cast<void>(queue.Push(packet)); }

  // True when there are frames to read and channels offset … offset + count - 1 exist
  // both in the packet and in inputs.
  [[nodiscard]] static bool BlockValid(double** inputs, int frames, int channelCount, int channelOffset) noexcept
  {
    if (inputs == nullptr || frames <= 0 || channelCount < 1 || channelOffset < 0 ||
        channelOffset > MaxChannels - channelCount)
      return false;
    for (int c = channelOffset; c < channelOffset + channelCount; ++c)
      if (inputs[c] == nullptr) return false;
    return true;
  }

private:
  SpscRing<Packet, static_cast<std::size_t>(QueueSize) + 1> queue;
  Packet outgoing {}; // main thread only: the packet being delivered
};

// Sends blocks of BufferLength consecutive samples per channel, for the spectrum graphs.
// A buffer goes out while it or the buffer before it is louder than the threshold, so
// quiet input stops the packets after one more quiet buffer.
template <int MaxChannels, int QueueSize, int BufferLength>
class IBufferSender : public ISender<MaxChannels, QueueSize, std::array<float, static_cast<std::size_t>(BufferLength)>>
{
  static_assert(BufferLength >= 1);
  using Base = ISender<MaxChannels, QueueSize, std::array<float, static_cast<std::size_t>(BufferLength)>>;

public:
  // Main thread
  // thresholdDb is compared with the sum of |sample| over one buffer; -100 dB or lower
  // sends every buffer. A length outside 1 … BufferLength means BufferLength.
  IBufferSender(double thresholdDb, int length)
      : bufferLength(length >= 1 && length <= BufferLength ? length : BufferLength)
      , threshold(thresholdDb > -100.0 ? static_cast<float>(std::exp(thresholdDb * kNepersPerDb)) : -1.0f)
  {
  }

  [[nodiscard]] float Threshold() const noexcept { return threshold; }
  [[nodiscard]] int BufferFrames() const noexcept { return bufferLength; }

  // Audio thread
  // inputs[channelOffset + k][s] is sample s of channel k. A completed buffer is pushed
  // with the first frame after it, possibly in a later call. Nothing happens when the
  // block is empty or the channel range does not fit MaxChannels or inputs.
  void AddBlock(double** inputs, int frames, int controlTag, int channelCount, int channelOffset) noexcept
  {
    if (!Base::BlockValid(inputs, frames, channelCount, channelOffset)) return;
    const int channelEnd = channelOffset + channelCount;
    for (int s = 0; s < frames;)
    {
      if (fillPosition == bufferLength)
      {
        float sum = 0.0f;
        for (int c = channelOffset; c < channelEnd; ++c)
        {
          sum += channelSums[Index(c)];
          channelSums[Index(c)] = 0.0f;
        }
        if (sum > threshold || previousSum > threshold)
        {
          packet.controlTag = controlTag;
          packet.channelCount = channelCount;
          packet.channelOffset = channelOffset;
          Base::EnqueuePacket(packet);
        }
        previousSum = sum;
        fillPosition = 0;
      }
      // The frames up to the end of the buffer or of the block, channel by channel; each
      // channel's sum still adds its samples in time order.
      const int run = std::min(frames - s, bufferLength - fillPosition);
      for (int c = channelOffset; c < channelEnd; ++c)
      {
        const double* source = inputs[c] + s;
        float* destination = packet.payload[Index(c)].data() + fillPosition;
        float channelSum = channelSums[Index(c)];
        for (int i = 0; i < run; ++i)
        {
          const float value = static_cast<float>(source[i]);
          destination[i] = value;
          channelSum += std::fabs(value);
        }
        channelSums[Index(c)] = channelSum;
      }
      fillPosition += run;
      s += run;
    }
  }

private:
  // ln(10) / 20: amplitude = e^(dB x this).
  static constexpr double kNepersPerDb = 0.1151292546497;

  static constexpr std::size_t Index(int i) noexcept { return static_cast<std::size_t>(i); }

  // Audio thread state
  typename Base::Packet packet {}; // the buffer being filled
  int32_t fillPosition = 0;        // frames of the current buffer already filled
  int32_t bufferLength;
  std::array<float, static_cast<std::size_t>(MaxChannels)> channelSums {}; // sum of |sample| of the current buffer
  float previousSum = 1.0f;                                                // so that the first buffer always goes out
  float threshold;
};

// Sends the mean of |sample| per channel over a window of 5 ms worth of frames, for the
// meter. Like the buffer sender it goes quiet after one more window below the threshold.
template <int MaxChannels, int QueueSize>
class IPeakSender : public ISender<MaxChannels, QueueSize, float>
{
  using Base = ISender<MaxChannels, QueueSize, float>;

public:
  // Main thread
  IPeakSender() = default;

  // While no audio block runs: at construction or activation, or on the audio thread
  // between blocks when the host resets the plug-in. Window = whole frames in windowMs at sampleRate, at least one;
  // clears the sums but keeps the window position.
  void SetSampleRate(double sampleRate) noexcept
  {
    const double frames = static_cast<double>(windowMs) * 0.001 * sampleRate;
    if (!(frames >= 1.0))
      windowFrames = 1; // also NaN: a zero window would divide by zero
    else if (frames >= static_cast<double>(kMaxWindowFrames))
      windowFrames = kMaxWindowFrames;
    else
      windowFrames = static_cast<int32_t>(frames);
    channelSums.fill(0.0f);
  }

  [[nodiscard]] float Threshold() const noexcept { return threshold; }
  [[nodiscard]] int WindowFrames() const noexcept { return windowFrames; }

  // Audio thread
  // inputs[channelOffset + k][s] is sample s of channel k. Each window's packet is pushed
  // at the frame that starts the next window. Nothing happens when the block is empty or
  // the channel range does not fit MaxChannels or inputs.
  void AddBlock(double** inputs, int frames, int controlTag, int channelCount, int channelOffset) noexcept
  {
    if (!Base::BlockValid(inputs, frames, channelCount, channelOffset)) return;
    const int channelEnd = channelOffset + channelCount;
    for (int s = 0; s < frames; ++s)
    {
      if (windowPosition == 0)
      {
        typename Base::Packet packet {};
        packet.controlTag = controlTag;
        packet.channelCount = channelCount;
        packet.channelOffset = channelOffset;
        float sum = 0.0f;
        for (int c = channelOffset; c < channelEnd; ++c)
        {
          packet.payload[Index(c)] = channelSums[Index(c)] / static_cast<float>(windowFrames);
          channelSums[Index(c)] = 0.0f;
          sum += packet.payload[Index(c)];
        }
        if (sum > threshold || previousSum > threshold) Base::EnqueuePacket(packet);
        previousSum = sum;
      }
      for (int c = channelOffset; c < channelEnd; ++c)
        channelSums[Index(c)] += std::fabs(static_cast<float>(inputs[c][s]));
      windowPosition = (windowPosition + 1) % windowFrames;
    }
  }

private:
  // Keeps the window a finite int for any rate a host might pass.
  static constexpr int32_t kMaxWindowFrames = std::numeric_limits<int32_t>::max() / 2;

  static constexpr std::size_t Index(int i) noexcept { return static_cast<std::size_t>(i); }

  // Audio thread state, except during SetSampleRate
  float previousSum = 1.0f;                                            // so that the first window always goes out
  float threshold = static_cast<float>(std::exp(-10.361632918473001)); // -90 dB
  float windowMs = 5.0f;
  int32_t windowFrames = 32; // until a sample rate is given
  int32_t windowPosition = 0;
  std::array<float, static_cast<std::size_t>(MaxChannels)> channelSums {}; // sum of |sample| of the current window
};

} // namespace kit
