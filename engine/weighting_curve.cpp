#include "engine/weighting_curve.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kit
{

namespace
{

// Truncation toward zero that saturates instead of overflowing (NaN reads as 0).
int32_t TruncateToInt(double x) noexcept
{
  if (!(x == x)) return 0;
  const double limited =
      std::clamp(x, double(std::numeric_limits<int32_t>::min()), double(std::numeric_limits<int32_t>::max()));
  return static_cast<int32_t>(limited);
}

} // namespace

double WeightingCurve::ThresholdCurveDb(double frequencyHz, double sampleRate) noexcept
{
  if (!(sampleRate == curveRate)) BuildBreakpoints(sampleRate);

  const int32_t key = TruncateToInt(frequencyHz);
  const Breakpoint* hi = std::find_if(begin(), end(), [key](const Breakpoint& b) { return b.hz >= key; });
  if (hi == begin()) return hi->db;
  if (hi == end()) return (hi - 1)->db;

  const Breakpoint* lo = hi - 1;
  // The position inside the segment uses the untruncated frequency.
  const double t = (frequencyHz - lo->hz) / (hi->hz - lo->hz);
  return lo->db + (hi->db - lo->db) * (1.0 - std::cos(std::numbers::pi * t)) / 2.0;
}

void WeightingCurve::BuildBreakpoints(double sampleRate) noexcept
{
  breakpointCount = 0;
  Insert(0, 10.0);
  Insert(540, 1.8);
  Insert(840, 2.4);
  Insert(3400, -10.0);
  Insert(9000, 15.0);
  Insert(12500, 9.0);
  Insert(18500, 40.0);
  if (sampleRate > 48000.0)
  {
    // Above 48 kHz the curve dips just below Nyquist and rises again at it.
    Insert(TruncateToInt(0.95 * sampleRate / 2.0), 0.0);
    Insert(TruncateToInt(sampleRate / 2.0), 40.0);
  }
  curveRate = sampleRate;
}

void WeightingCurve::Insert(int32_t hz, double db) noexcept
{
  // Map semantics: keys stay sorted and an existing key keeps its first level.
  Breakpoint* position = std::lower_bound(curveBreakpoints.data(), curveBreakpoints.data() + breakpointCount, hz,
                                          [](const Breakpoint& b, int32_t key) { return b.hz < key; });
  if (position != curveBreakpoints.data() + breakpointCount && position->hz == hz) return;
  std::move_backward(position, curveBreakpoints.data() + breakpointCount,
                     curveBreakpoints.data() + breakpointCount + 1);
  *position = { hz, db };
  ++breakpointCount;
}

} // namespace kit
