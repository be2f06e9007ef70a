#pragma once
// The psychoacoustic weighting curve from which the error-feedback filter is designed:
// a few breakpoints (Hz -> dB) joined by raised-cosine segments. Owned by the dither
// processor and touched only by a filter design, never inside an audio block.

#include <array>
#include <cstdint>

namespace kit
{

class WeightingCurve
{
public:
  struct Breakpoint
  {
    int32_t hz;
    double db;
  };

  // Level of the curve in dB at frequencyHz. Rebuilds the breakpoints when sampleRate is
  // not the rate they were built for. Never allocates.
  [[nodiscard]] double ThresholdCurveDb(double frequencyHz, double sampleRate) noexcept;

  // The breakpoints in ascending frequency, as built for the last rate asked for.
  [[nodiscard]] const Breakpoint* begin() const noexcept { return curveBreakpoints.data(); }
  [[nodiscard]] const Breakpoint* end() const noexcept { return curveBreakpoints.data() + breakpointCount; }

private:
  void BuildBreakpoints(double sampleRate) noexcept;
  void Insert(int32_t hz, double db) noexcept;

  // An ordered map from whole hertz to dB in fixed storage, so that a design on the
  // audio thread (host reset) never allocates.
  std::array<Breakpoint, 9> curveBreakpoints {};
  int breakpointCount = 0;
  double curveRate = 0.0;
};

} // namespace kit
