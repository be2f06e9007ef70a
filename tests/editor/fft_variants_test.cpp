// The AVX variant runs the SSE2 variant's steps four values at a time instead of two, so on a
// machine that has both they must agree to the bit; the other FFT tests check whichever of the
// two the machine picks against the transform's definition.
#include "editor/fft.h"
#include "editor/fft_variants.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

TEST(FftVariants, Sse2AndAvxAgreeToTheBitForEverySizeAndDirection)
{
  if (!fft::HasAvx()) GTEST_SKIP() << "no AVX on this machine";
  BuildFftTables();
  std::mt19937 engine(2024u);
  std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
  for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2)
  {
    for (const bool inverse : { false, true })
    {
      SCOPED_TRACE("n = " + std::to_string(n) + (inverse ? ", inverse" : ", forward"));
      std::vector<float> sse2(std::size_t(2 * n));
      for (float& value : sse2) value = uniform(engine);
      std::vector<float> avx = sse2;
      const int level = std::countr_zero(unsigned(n)) - 1;
      fft::TransformSse2(sse2.data(), level, inverse);
      fft::TransformAvx(avx.data(), level, inverse);
      EXPECT_EQ(avx, sse2);
    }
  }
}

} // namespace
} // namespace kit::ui
