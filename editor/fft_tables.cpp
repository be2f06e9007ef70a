#include "editor/fft_tables.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace kit::ui
{

namespace fft
{
alignas(64) float passCosines[kTwiddleFloats];
alignas(64) float passSines[kTwiddleFloats];
} // namespace fft

namespace
{

// One block of n entries for every size n, the block for n starting at entry n - 2.
constexpr int kPermutationEntries = 2 * kFftMaxSize - 2;
std::int32_t permutation[kPermutationEntries];

// The frequency that the split radix leaves at position a of a block of size b: the first half
// holds the half-size transform of the even frequencies, the third quarter the frequencies
// 4k + 1 and the last quarter 4k - 1, which wraps to b - 1 for k = 0.
int Scramble(int a, int b) noexcept
{
  if (b <= 2) return a;
  if (a < b / 2) return 2 * Scramble(a, b / 2);
  a -= b / 2;
  if (a < b / 4) return 4 * Scramble(a, b / 4) + 1;
  a -= b / 4;
  return (b - 1) & (4 * Scramble(a, b / 4) - 1);
}

void BuildTwiddles() noexcept
{
  for (int m = 8; m <= kFftMaxSize; m *= 2)
  {
    float* levelCosines = fft::passCosines + (m / 2 - 4);
    float* levelSines = fft::passSines + (m / 2 - 4);
    for (int k = 0; k < m / 4; ++k)
    {
      float cosine = 0.0f;
      float sine = 0.0f;
      if (m > 8 && k % 2 == 0)
      {
        // w_m^k = w_(m/2)^(k/2): the smaller level holds it at float 2 * (k / 2) = k.
        cosine = FftPassCosines(m / 2)[k];
        sine = FftPassSines(m / 2)[k + 1];
      }
      else
      {
        const double angle = k * std::numbers::pi / (m / 2);
        cosine = static_cast<float>(std::cos(angle));
        sine = static_cast<float>(std::sin(angle));
      }
      levelCosines[2 * k] = cosine;
      levelCosines[2 * k + 1] = cosine;
      levelSines[2 * k] = -sine;
      levelSines[2 * k + 1] = sine;
    }
  }
}

void BuildPermutation() noexcept
{
  for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2)
  {
    std::int32_t* block = permutation + (n - 2);
    block[0] = 0;
    for (int t = 1; t < n; ++t) block[n - Scramble(t, n)] = t;
  }
}

} // namespace

void FillFftTables() noexcept
{
  BuildTwiddles();
  BuildPermutation();
}

int FftBinIndex(int n, int j) noexcept
{
  if (!IsFftSize(n) || j < 0 || j >= n) return -1;
  return permutation[n - 2 + j];
}

} // namespace kit::ui
