#include "engine/shaping_design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kit
{

void ResizeFilter(ShapingFilter& record, int taps, int gridSize)
{
  record.coefficients.assign(static_cast<std::size_t>(std::max(taps, 0)), 0.0);
  record.targetCurve.assign(static_cast<std::size_t>(std::max(gridSize / 2, 0)), 0.0);
  record.tapCount = taps;
}

void ComputeCoefficients(ShapingFilter& record, double sampleRate, WeightingCurve& curve,
                         DesignScratch& scratch) noexcept
{
  const int n = std::clamp(record.tapCount, 1, kMaxShapingTaps);
  const int points = kShapingGridSize / 2;
  if (record.targetCurve.size() < std::size_t(points) || record.coefficients.size() < std::size_t(n)) return;

  // Target power curve; more taps also mean deeper shaping, as the exponent grows with n.
  for (int i = 0; i < points; ++i)
  {
    const double frequencyHz = i * sampleRate * 0x1p-12;
    record.targetCurve[std::size_t(i)] = std::pow(10.0, -curve.ThresholdCurveDb(frequencyHz, sampleRate) * n / 200.0);
  }

  // Autocorrelation. The curve's points, which end at half the sample rate, are spread
  // over a whole turn: this is the shaping the product is voiced with.
  auto& r = scratch.autocorrelation;
  for (int k = 0; k <= n; ++k)
  {
    double sum = 0.0;
    for (int e = 0; e < points; ++e)
      sum += record.targetCurve[std::size_t(e)] * std::cos(e * 2.0 * std::numbers::pi * k / 2048.0);
    r[std::size_t(k)] = (1.0 / 2048.0) * sum;
  }

  // Yule-Walker: Toeplitz matrix R[k][l] = r[|k - l|], right-hand side r[k + 1].
  const std::span<double> matrix(scratch.normalMatrix.data(), std::size_t(n * n));
  for (int k = 0; k < n; ++k)
    for (int l = 0; l < n; ++l) matrix[std::size_t(k * n + l)] = r[std::size_t(std::abs(k - l))];
  if (!InvertSymmetric(matrix, n)) return;

  for (int k = 0; k < n; ++k)
  {
    double c = 0.0;
    for (int l = 0; l < n; ++l) c += matrix[std::size_t(k * n + l)] * r[std::size_t(l + 1)];
    record.coefficients[std::size_t(k)] = c;
  }
}

bool InvertSymmetric(std::span<double> cells, int size) noexcept
{
  if (size < 0 || cells.size() != std::size_t(size) * std::size_t(size)) return false;
  const auto at = [&](int row, int column) -> double& { return cells[std::size_t(row * size + column)]; };

  // A = L * L^T. L goes into the lower triangle; the upper one is read for A, then cleared.
  for (int j = 0; j < size; ++j)
  {
    for (int k = j; k < size; ++k)
    {
      double b = at(j, k);
      for (int m = 0; m < j; ++m) b -= at(j, m) * at(k, m);
      if (k == j)
      {
        if (!(b > 0.0)) return false;
        at(j, j) = std::sqrt(b);
      }
      else
      {
        at(k, j) = b / at(j, j);
      }
    }
  }
  for (int row = 0; row < size; ++row)
    for (int column = row + 1; column < size; ++column) at(row, column) = 0.0;

  // W = L^-1 in place, column by column (W^T is the inverse of U = L^T).
  for (int j = 0; j < size; ++j)
  {
    if (at(j, j) == 0.0) return false;
    at(j, j) = 1.0 / at(j, j);
    for (int i = j + 1; i < size; ++i)
    {
      double sum = 0.0;
      for (int k = j; k < i; ++k) sum += at(i, k) * at(k, j);
      at(i, j) = -sum / at(i, i);
    }
  }

  // A^-1 = U^-1 * U^-T = W^T * W: entry (i, j) sums W[k][i] * W[k][j] over k >= max(i, j).
  // Row i's results go into the free upper triangle; W's column i is not needed after row i.
  for (int i = 0; i < size; ++i)
  {
    for (int j = i + 1; j < size; ++j)
    {
      double sum = 0.0;
      for (int k = j; k < size; ++k) sum += at(k, i) * at(k, j);
      at(i, j) = sum;
    }
    double diagonal = 0.0;
    for (int k = i; k < size; ++k) diagonal += at(k, i) * at(k, i);
    at(i, i) = diagonal;
  }
  for (int row = 0; row < size; ++row)
    for (int column = 0; column < row; ++column) at(row, column) = at(column, row);
  return true;
}

} // namespace kit
