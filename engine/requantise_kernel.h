#pragma once
// The per-sample recursion of the dither processor: clip, error feedback, quantise, store
// the error, graph sums and level, for one channel or two side by side (their feedback
// chains are independent, so interleaving hides each one's latency). Audio thread.

#include <cstdint>
#include <span>
#include <vector>

namespace kit
{

struct ChannelDitherState
{
  int32_t historyPos = 0;       // ring index of the newest quantisation error
  double previousUniform = 0.0; // last uniform drawn by the high-pass dither generator
  double ditherGain = 1.0;      // 1 - 0.6 x the previous dithered block's RMS
  std::vector<double> errorHistory;
};

struct KernelLane
{
  const double* input;
  double* output;
  const double* dither; // per frame, already scaled by the channel's gain
  ChannelDitherState* state;
  double sumSquares; // accumulated over the lane's frames
};

struct KernelBlock
{
  int frames;
  const double* coefficients;
  int taps;          // 0: no error feedback
  double scale;      // grid steps per unit, a power of two
  double* signalSum; // += clipped input, for frame indices below sumFrames
  double* noiseSum;  // += output - clipped input
  int sumFrames;
  int firstFrame; // frame index of this run within the host block, for the sums
};

// True when this processor rounds doubles in one instruction (SSE4.1 on x86-64); the
// results are the same either way, only faster.
[[nodiscard]] bool HasHardwareRounding() noexcept;

// Runs lanes (one or two) over block.frames frames.
void RunRequantiseKernel(std::span<KernelLane> lanes, const KernelBlock& block, bool hardwareRounding) noexcept;

} // namespace kit
