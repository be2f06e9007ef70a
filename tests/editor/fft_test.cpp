#include "editor/fft.h"
#include "support/allocation_counter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

using Complex = std::complex<double>;

std::vector<int> SupportedSizes()
{
  std::vector<int> sizes;
  for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2) sizes.push_back(n);
  return sizes;
}

// n interleaved complex values, both parts uniform in [-1, 1).
std::vector<float> RandomBuffer(int n, unsigned seed)
{
  std::mt19937 engine(seed);
  std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
  std::vector<float> buffer(std::size_t(2 * n));
  for (float& value : buffer) value = uniform(engine);
  return buffer;
}

// The transform by its definition, in double: sum over t of x[t] e^(sign 2 pi i j t / n) for
// every j, with the powers of e^(2 pi i / n) taken from their own cosine and sine.
std::vector<Complex> DirectDft(const std::vector<float>& buffer, int n, int sign)
{
  std::vector<Complex> roots(static_cast<std::size_t>(n));
  for (int m = 0; m < n; ++m)
  {
    const double angle = sign * 2.0 * std::numbers::pi * m / n;
    roots[std::size_t(m)] = Complex(std::cos(angle), std::sin(angle));
  }
  std::vector<Complex> result(static_cast<std::size_t>(n));
  const std::size_t mask = std::size_t(n - 1);
  for (std::size_t j = 0; j < std::size_t(n); ++j)
  {
    // Two interleaved partial sums keep the additions from waiting on each other.
    double real[2] = { 0.0, 0.0 };
    double imaginary[2] = { 0.0, 0.0 };
    std::size_t power = 0;
    for (std::size_t t = 0; t < std::size_t(n); ++t)
    {
      const double xr = buffer[2 * t];
      const double xi = buffer[2 * t + 1];
      const Complex w = roots[power];
      real[t & 1] += xr * w.real() - xi * w.imag();
      imaginary[t & 1] += xr * w.imag() + xi * w.real();
      power = (power + j) & mask;
    }
    result[j] = Complex(real[0] + real[1], imaginary[0] + imaginary[1]);
  }
  return result;
}

Complex At(const std::vector<float>& buffer, int position)
{
  return Complex(buffer[std::size_t(2 * position)], buffer[std::size_t(2 * position + 1)]);
}

double Log2(int n) { return std::log2(double(n)); }

class FftSize : public testing::TestWithParam<int>
{
protected:
  void SetUp() override { BuildFftTables(); }
};

std::string SizeName(const testing::TestParamInfo<int>& info) { return std::to_string(info.param); }

INSTANTIATE_TEST_SUITE_P(AllSizes, FftSize, testing::ValuesIn(SupportedSizes()), SizeName);

// Rounding in single precision grows with the number of passes: the error, relative to the
// transform's rms value, stays within a fraction of log2 n units in the last place (about 0.1
// of it in practice; a wrong factor or bin gives errors of order one).
TEST_P(FftSize, ForwardMatchesTheDirectTransformAtEveryBinIndex)
{
  const int n = GetParam();
  std::vector<float> buffer = RandomBuffer(n, 1234u + unsigned(n));
  const std::vector<Complex> expected = DirectDft(buffer, n, -1);
  Fft(buffer.data(), n, false);

  double errorSquares = 0.0;
  double expectedSquares = 0.0;
  double worstError = 0.0;
  for (int j = 0; j < n; ++j)
  {
    const Complex error = At(buffer, FftBinIndex(n, j)) - expected[std::size_t(j)];
    errorSquares += std::norm(error);
    expectedSquares += std::norm(expected[std::size_t(j)]);
    worstError = std::max(worstError, std::abs(error));
  }
  const double rmsExpected = std::sqrt(expectedSquares / n);
  EXPECT_LT(std::sqrt(errorSquares / expectedSquares), 0.5 * Log2(n) * 0x1p-23);
  EXPECT_LT(worstError / rmsExpected, 2.0 * Log2(n) * 0x1p-23);
}

// Coefficients placed where the forward transform leaves the bins come back as the sum over j
// of c[j] e^(+2 pi i j t / n), in natural order.
TEST_P(FftSize, InverseMatchesTheDirectTransformFromBinPositions)
{
  const int n = GetParam();
  const std::vector<float> coefficients = RandomBuffer(n, 99u + unsigned(n));
  const std::vector<Complex> expected = DirectDft(coefficients, n, +1);
  std::vector<float> buffer(std::size_t(2 * n));
  for (int j = 0; j < n; ++j)
  {
    const auto position = std::size_t(FftBinIndex(n, j));
    buffer[2 * position] = coefficients[std::size_t(2 * j)];
    buffer[2 * position + 1] = coefficients[std::size_t(2 * j + 1)];
  }
  Fft(buffer.data(), n, true);

  double errorSquares = 0.0;
  double expectedSquares = 0.0;
  for (int t = 0; t < n; ++t)
  {
    errorSquares += std::norm(At(buffer, t) - expected[std::size_t(t)]);
    expectedSquares += std::norm(expected[std::size_t(t)]);
  }
  EXPECT_LT(std::sqrt(errorSquares / expectedSquares), 0.5 * Log2(n) * 0x1p-23);
}

TEST_P(FftSize, ForwardThenInverseGivesTheInputTimesN)
{
  const int n = GetParam();
  const std::vector<float> input = RandomBuffer(n, 7u + unsigned(n));
  std::vector<float> buffer = input;
  Fft(buffer.data(), n, false);
  Fft(buffer.data(), n, true);

  double worstError = 0.0;
  for (std::size_t i = 0; i < buffer.size(); ++i)
    worstError = std::max(worstError, std::abs(double(buffer[i]) - double(n) * input[i]));
  EXPECT_LT(worstError, 4.0 * Log2(n) * 0x1p-23 * n);
}

// The only non-zero bin of a constant is bin 0, which stays at position 0, with the value n.
TEST_P(FftSize, AllOnesGiveNAtBinZeroAndNothingElsewhere)
{
  const int n = GetParam();
  std::vector<float> buffer(std::size_t(2 * n));
  for (int t = 0; t < n; ++t) buffer[std::size_t(2 * t)] = 1.0f;
  Fft(buffer.data(), n, false);

  ASSERT_EQ(FftBinIndex(n, 0), 0);
  EXPECT_NEAR(buffer[0], n, 1e-6 * n);
  EXPECT_NEAR(buffer[1], 0.0, 1e-6 * n);
  double worstElsewhere = 0.0;
  for (int position = 1; position < n; ++position) worstElsewhere = std::max(worstElsewhere, std::abs(At(buffer, position)));
  EXPECT_LT(worstElsewhere, 1e-6 * n);
}

TEST_P(FftSize, BinIndicesArePositionsOfTheBlock)
{
  const int n = GetParam();
  std::vector<int> seen(std::size_t(n), 0);
  for (int j = 0; j < n; ++j)
  {
    const int position = FftBinIndex(n, j);
    ASSERT_GE(position, 0);
    ASSERT_LT(position, n);
    ++seen[std::size_t(position)];
  }
  for (int position = 0; position < n; ++position) EXPECT_EQ(seen[std::size_t(position)], 1) << position;
}

TEST_P(FftSize, TransformsAllocateNothing)
{
  const int n = GetParam();
  std::vector<float> buffer = RandomBuffer(n, 5u);
  test::AllocationScope scope;
  Fft(buffer.data(), n, false);
  Fft(buffer.data(), n, true);
  EXPECT_EQ(scope.Count(), 0u);
}

TEST(Fft, BlocksOfEightAndSixteenAreTheScrambledOrder)
{
  BuildFftTables();
  struct Case
  {
    int n;
    std::vector<int> positions;
  };
  const Case cases[] = {
    { 2, { 0, 1 } },
    { 4, { 0, 3, 1, 2 } },
    { 8, { 0, 6, 3, 5, 1, 7, 2, 4 } },
    { 16, { 0, 12, 6, 11, 3, 15, 5, 9, 1 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE("n = " + std::to_string(c.n));
    for (std::size_t j = 0; j < c.positions.size(); ++j) EXPECT_EQ(FftBinIndex(c.n, int(j)), c.positions[j]) << j;
  }
}

TEST(Fft, UnsupportedSizesLeaveTheBufferAsItIs)
{
  BuildFftTables();
  const int sizes[] = { 3000, 65536, 0, -4, 1, 3, 6, 24576, INT_MIN };
  for (const int n : sizes)
  {
    for (const bool inverse : { false, true })
    {
      SCOPED_TRACE("n = " + std::to_string(n) + (inverse ? ", inverse" : ", forward"));
      const std::vector<float> input = RandomBuffer(std::max(n, 8), 11u);
      std::vector<float> buffer = input;
      Fft(buffer.data(), n, inverse);
      EXPECT_EQ(std::memcmp(buffer.data(), input.data(), input.size() * sizeof(float)), 0);
    }
  }
}

TEST(Fft, BinIndexOutsideTheTablesIsMinusOne)
{
  BuildFftTables();
  struct Case
  {
    int n;
    int j;
  };
  const Case cases[] = {
    { 3000, 0 }, { 65536, 0 }, { 65536, 65535 }, { 0, 0 }, { -4, 0 }, { 1, 0 }, { 6, 1 }, { INT_MIN, 0 },
    { 8, -1 },   { 8, 8 },     { 2, 2 },         { 32768, 32768 }, { 32768, -1 }, { 4096, INT_MAX }, { 4096, INT_MIN },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE("n = " + std::to_string(c.n) + ", j = " + std::to_string(c.j));
    EXPECT_EQ(FftBinIndex(c.n, c.j), -1);
  }
}

TEST(Fft, SecondBuildChangesNothing)
{
  BuildFftTables();
  std::vector<int> indices;
  for (const int n : SupportedSizes())
    for (int j = 0; j < n; ++j) indices.push_back(FftBinIndex(n, j));
  std::vector<float> before = RandomBuffer(kFftMaxSize, 3u);
  std::vector<float> after = before;
  Fft(before.data(), kFftMaxSize, false);

  BuildFftTables();
  std::vector<int> indicesAfter;
  for (const int n : SupportedSizes())
    for (int j = 0; j < n; ++j) indicesAfter.push_back(FftBinIndex(n, j));
  Fft(after.data(), kFftMaxSize, false);

  EXPECT_EQ(indicesAfter, indices);
  EXPECT_EQ(std::memcmp(after.data(), before.data(), before.size() * sizeof(float)), 0);
}

} // namespace
} // namespace kit::ui
