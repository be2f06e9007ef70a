#include "engine/requantise_kernel.h"

#include "engine/shaping_design.h"

#include <cmath>

namespace kit
{

namespace
{

// floor() without a library call on baseline x86-64: exact for every double (integers
// beyond 2^52, infinities and NaN are returned as they are).
struct TruncatingFloor
{
  double operator()(double x) const noexcept
  {
    if (!(std::fabs(x) < 0x1p52)) return x;
    const double truncated = static_cast<double>(static_cast<int64_t>(x));
    return truncated > x ? truncated - 1.0 : truncated;
  }
};

// std::floor, which becomes a single rounding instruction where the target allows it.
struct LibraryFloor
{
  double operator()(double x) const noexcept { return std::floor(x); }
};

template <int Lanes, bool Shaped, class Floor>
[[gnu::always_inline]] inline void Run(KernelLane* lanes, const KernelBlock& block) noexcept
{
  constexpr std::size_t kLanes = Lanes;
  const Floor floor;
  const int taps = block.taps;
  const double* coefficients = block.coefficients;
  const double scale = block.scale;
  const double inverseScale = 1.0 / scale; // a power of two: the same result as dividing

  // Each lane keeps its error ring twice over, so the feedback reads taps consecutive
  // entries starting at the newest error without wrapping.
  double history[kLanes][2 * kMaxShapingTaps];
  int position[kLanes];
  double squares[kLanes];
  for (std::size_t lane = 0; lane < kLanes; ++lane)
  {
    const ChannelDitherState& state = *lanes[lane].state;
    position[lane] = state.historyPos;
    squares[lane] = lanes[lane].sumSquares;
    if constexpr (Shaped)
      for (int i = 0; i < taps; ++i) history[lane][i] = history[lane][i + taps] = state.errorHistory[std::size_t(i)];
  }

  for (int s = 0; s < block.frames; ++s)
  {
    const int frame = block.firstFrame + s;
    for (std::size_t lane = 0; lane < kLanes; ++lane)
    {
      const double x = lanes[lane].input[s];
      const double v0 = x < 1.0 ? x : 1.0; // NaN becomes +1.0
      const double w = v0 > -1.0 ? v0 : -1.0;

      // The newest error meets coefficient 0; subtracted term by term in that order.
      double v = w;
      if constexpr (Shaped)
      {
        const double* errors = history[lane] + position[lane];
        for (int i = 0; i < taps; ++i) v = v - errors[i] * coefficients[i];
      }

      const double y = floor(scale * v + 0.5 + lanes[lane].dither[s]) * inverseScale;
      lanes[lane].output[s] = y;

      if constexpr (Shaped)
      {
        int& p = position[lane];
        p = p == 0 ? taps - 1 : p - 1;
        const double error = y - v; // includes the dither
        history[lane][p] = error;
        history[lane][p + taps] = error;
      }
      if (frame < block.sumFrames)
      {
        block.signalSum[frame] += w;
        block.noiseSum[frame] += y - w;
      }
      squares[lane] += w * w;
    }
  }

  for (std::size_t lane = 0; lane < kLanes; ++lane)
  {
    ChannelDitherState& state = *lanes[lane].state;
    lanes[lane].sumSquares = squares[lane];
    if constexpr (Shaped)
    {
      state.historyPos = position[lane];
      for (int i = 0; i < taps; ++i) state.errorHistory[std::size_t(i)] = history[lane][i];
    }
  }
}

template <class Floor>
[[gnu::always_inline]] inline void Dispatch(std::span<KernelLane> lanes, const KernelBlock& block) noexcept
{
  const bool shaped = block.taps > 0;
  if (lanes.size() == 2)
    shaped ? Run<2, true, Floor>(lanes.data(), block) : Run<2, false, Floor>(lanes.data(), block);
  else if (lanes.size() == 1)
    shaped ? Run<1, true, Floor>(lanes.data(), block) : Run<1, false, Floor>(lanes.data(), block);
}

#if defined(__x86_64__)
[[gnu::target("sse4.1")]] void DispatchWithRounding(std::span<KernelLane> lanes, const KernelBlock& block) noexcept
{
  Dispatch<LibraryFloor>(lanes, block);
}
#endif

} // namespace

bool HasHardwareRounding() noexcept
{
#if defined(__x86_64__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse4.1");
#else
  return true; // other targets round doubles in one instruction in their baseline
#endif
}

void RunRequantiseKernel(std::span<KernelLane> lanes, const KernelBlock& block, bool hardwareRounding) noexcept
{
#if defined(__x86_64__)
  if (hardwareRounding)
  {
    DispatchWithRounding(lanes, block);
    return;
  }
  Dispatch<TruncatingFloor>(lanes, block);
#else
  (void)hardwareRounding;
  Dispatch<LibraryFloor>(lanes, block);
#endif
}

} // namespace kit
