#pragma once
// Design of the error-feedback (noise-shaping) filter: the weighting curve is read as the
// power spectrum of a random process, its autocorrelation gives the Yule-Walker normal
// equations of linear prediction, and their solution c[] makes 1 - sum c[i] z^-(i+1)
// follow the curve. Runs on the main thread, or on the audio thread between blocks.

#include "engine/weighting_curve.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kit
{

// One error-feedback filter record; the audio thread reads only tapCount and coefficients.
struct ShapingFilter
{
  std::vector<double> coefficients;
  std::vector<double> targetCurve;
  int32_t tapCount = 0;
  // What the record was designed for; power -1 before its first design.
  int32_t power = -1;
  double sampleRate = 0.0;
};

inline constexpr int kMaxShapingTaps = 12;
inline constexpr int kShapingGridSize = 4096;

// Fixed storage for one design, so that a design never allocates.
struct DesignScratch
{
  std::array<double, kMaxShapingTaps + 1> autocorrelation {};
  std::array<double, kMaxShapingTaps * kMaxShapingTaps> normalMatrix {};
};

// Sizes the record to taps coefficients and gridSize / 2 curve points, all 0.0.
// Allocates only when the record has less capacity than that.
void ResizeFilter(ShapingFilter& record, int taps, int gridSize);

// Fills record.targetCurve and solves for record.coefficients, with n = record.tapCount
// (1 to 12). On a matrix that is not positive definite the coefficients stay 0.0.
void ComputeCoefficients(ShapingFilter& record, double sampleRate, WeightingCurve& curve,
                         DesignScratch& scratch) noexcept;

// Inverts the symmetric positive-definite size x size matrix held row by row in cells,
// in place, by Cholesky factorisation. False when cells is not size x size, when a
// pivot is not positive or a diagonal element of the factor is zero.
[[nodiscard]] bool InvertSymmetric(std::span<double> cells, int size) noexcept;

} // namespace kit
