#include "engine/shaping_design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <vector>

namespace kit
{
namespace
{

// Independent weighting curve: a std::map of breakpoints and linear-in-cosine steps.
double CurveDb(double hz, double rate)
{
  std::map<int, double> points { { 0, 10.0 },    { 540, 1.8 },   { 840, 2.4 },   { 3400, -10.0 },
                                 { 9000, 15.0 }, { 12500, 9.0 }, { 18500, 40.0 } };
  if (rate > 48000.0)
  {
    points.emplace(int(0.95 * rate / 2.0), 0.0);
    points.emplace(int(rate / 2.0), 40.0);
  }
  const auto hi = points.lower_bound(int(hz));
  if (hi == points.begin()) return hi->second;
  if (hi == points.end()) return points.rbegin()->second;
  const auto lo = std::prev(hi);
  const double t = (hz - lo->first) / double(hi->first - lo->first);
  return lo->second + (hi->second - lo->second) * (0.5 - 0.5 * std::cos(std::numbers::pi * t));
}

// Independent design: the same normal equations, solved by the Levinson-Durbin recursion
// in long double instead of an explicit inverse.
std::vector<double> LevinsonCoefficients(int n, double rate)
{
  std::vector<long double> r(std::size_t(n + 1), 0.0L);
  for (int e = 0; e < 2048; ++e)
  {
    const long double target = std::pow(10.0L, (long double)(-CurveDb(e * rate / 4096.0, rate) * n / 200.0));
    for (int k = 0; k <= n; ++k)
      r[std::size_t(k)] += target * std::cos(2.0L * std::numbers::pi_v<long double> * k * e / 2048.0L) / 2048.0L;
  }
  std::vector<long double> a(std::size_t(n), 0.0L);
  long double error = r[0];
  for (int m = 0; m < n; ++m)
  {
    long double acc = r[std::size_t(m + 1)];
    for (int i = 0; i < m; ++i) acc -= a[std::size_t(i)] * r[std::size_t(m - i)];
    const long double k = acc / error;
    std::vector<long double> previous = a;
    a[std::size_t(m)] = k;
    for (int i = 0; i < m; ++i) a[std::size_t(i)] = previous[std::size_t(i)] - k * previous[std::size_t(m - 1 - i)];
    error *= (1.0L - k * k);
  }
  return { a.begin(), a.end() };
}

TEST(ShapingDesign, CoefficientsSolveTheNormalEquations)
{
  struct Case
  {
    int power;
    double rate;
  };
  const Case cases[] = { { 1, 44100.0 },  { 9, 44100.0 }, { 12, 44100.0 }, { 1, 48000.0 },  { 9, 48000.0 },
                         { 12, 48000.0 }, { 1, 96000.0 }, { 9, 96000.0 },  { 12, 96000.0 }, { 5, 48001.0 } };
  WeightingCurve curve;
  DesignScratch scratch;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "power " << c.power << " at " << c.rate);
    ShapingFilter record;
    ResizeFilter(record, c.power, kShapingGridSize);
    ComputeCoefficients(record, c.rate, curve, scratch);
    const std::vector<double> expected = LevinsonCoefficients(c.power, c.rate);
    ASSERT_EQ(record.coefficients.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
      EXPECT_NEAR(record.coefficients[i], expected[i], 1e-9 * std::max(1.0, std::fabs(expected[i])))
          << "c[" << i << "]";
    ASSERT_EQ(record.targetCurve.size(), 2048u);
    EXPECT_NEAR(record.targetCurve[100], std::pow(10.0, -CurveDb(100 * c.rate / 4096.0, c.rate) * c.power / 200.0),
                1e-15);
  }
}

TEST(ShapingDesign, PowerOneAt44kIsASingleSmallCoefficient)
{
  WeightingCurve curve;
  DesignScratch scratch;
  ShapingFilter record;
  ResizeFilter(record, 1, kShapingGridSize);
  ComputeCoefficients(record, 44100.0, curve, scratch);
  ASSERT_EQ(record.coefficients.size(), 1u);
  EXPECT_GT(std::fabs(record.coefficients[0]), 0.0);
  EXPECT_LT(std::fabs(record.coefficients[0]), 0.2);
}

TEST(ShapingDesign, ResizeFilterZeroesAndSetsTheTapCount)
{
  ShapingFilter record;
  record.coefficients = { 1.0, 2.0 };
  record.targetCurve = { 3.0 };
  ResizeFilter(record, 12, 4096);
  EXPECT_EQ(record.tapCount, 12);
  EXPECT_EQ(record.coefficients, std::vector<double>(12, 0.0));
  EXPECT_EQ(record.targetCurve, std::vector<double>(2048, 0.0));
}

std::vector<double> Multiply(const std::vector<double>& a, const std::vector<double>& b, int n)
{
  std::vector<double> product(std::size_t(n * n), 0.0);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      for (int k = 0; k < n; ++k)
        product[std::size_t(i * n + j)] += a[std::size_t(i * n + k)] * b[std::size_t(k * n + j)];
  return product;
}

TEST(InvertSymmetric, InvertsPositiveDefiniteMatricesOfEverySize)
{
  std::mt19937 random(7);
  std::uniform_real_distribution<double> entry(-1.0, 1.0);
  for (int n = 1; n <= 12; ++n)
  {
    SCOPED_TRACE(n);
    // B * B^T + n * I is symmetric positive definite.
    std::vector<double> b(std::size_t(n * n));
    for (double& value : b) value = entry(random);
    std::vector<double> a(std::size_t(n * n), 0.0);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
      {
        for (int k = 0; k < n; ++k) a[std::size_t(i * n + j)] += b[std::size_t(i * n + k)] * b[std::size_t(j * n + k)];
        if (i == j) a[std::size_t(i * n + j)] += n;
      }
    std::vector<double> inverse = a;
    ASSERT_TRUE(InvertSymmetric(inverse, n));
    const std::vector<double> identity = Multiply(a, inverse, n);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
      {
        EXPECT_NEAR(identity[std::size_t(i * n + j)], i == j ? 1.0 : 0.0, 1e-12);
        EXPECT_EQ(inverse[std::size_t(i * n + j)], inverse[std::size_t(j * n + i)]);
      }
  }
}

TEST(InvertSymmetric, RefusesWhatItCannotInvert)
{
  struct Case
  {
    const char* what;
    std::vector<double> cells;
    int size;
  };
  const Case cases[] = {
    { "not square", { 1.0, 0.0, 0.0 }, 2 },
    { "zero matrix", { 0.0, 0.0, 0.0, 0.0 }, 2 },
    { "indefinite", { 1.0, 2.0, 2.0, 1.0 }, 2 },
    { "negative diagonal", { -4.0 }, 1 },
    { "NaN pivot", { std::nan(""), 0.0, 0.0, 1.0 }, 2 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    std::vector<double> cells = c.cells;
    EXPECT_FALSE(InvertSymmetric(cells, c.size));
  }
}

TEST(InvertSymmetric, KnownTwoByTwoInverse)
{
  std::vector<double> cells { 4.0, 2.0, 2.0, 3.0 };
  ASSERT_TRUE(InvertSymmetric(cells, 2));
  // inverse of [[4,2],[2,3]] is [[3,-2],[-2,4]] / 8
  const std::vector<double> expected { 0.375, -0.25, -0.25, 0.5 };
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(cells[i], expected[i], 1e-15);
}

} // namespace
} // namespace kit
