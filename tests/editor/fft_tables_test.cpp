#include "editor/fft_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace kit::ui
{
namespace
{

// Every factor of every pass is its cosine or sine worked out in double and rounded once to
// float, whether the table computed it or took it over from the level below.
TEST(FftTables, PassFactorsAreDoubleCosinesAndSinesRoundedToFloat)
{
  BuildFftTables();
  for (int m = 8; m <= kFftMaxSize; m *= 2)
  {
    SCOPED_TRACE("m = " + std::to_string(m));
    const float* cosines = FftPassCosines(m);
    const float* sines = FftPassSines(m);
    int mismatches = 0;
    for (int k = 0; k < m / 4; ++k)
    {
      const double angle = 2.0 * std::numbers::pi * k / m;
      const auto cosine = static_cast<float>(std::cos(angle));
      const auto sine = static_cast<float>(std::sin(angle));
      const bool exact = cosines[2 * k] == cosine && cosines[2 * k + 1] == cosine && sines[2 * k] == -sine &&
                         sines[2 * k + 1] == sine;
      if (!exact && ++mismatches <= 3) ADD_FAILURE() << "k = " << k;
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(FftTables, SizesArePowersOfTwoFromTwoTo32768)
{
  struct Case
  {
    int n;
    bool supported;
  };
  const Case cases[] = {
    { 2, true },      { 4, true },      { 1024, true },   { 4096, true },  { 32768, true }, { 1, false },
    { 0, false },     { -2, false },    { 3, false },     { 6, false },    { 3000, false }, { 65536, false },
    { 32767, false }, { 32769, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE("n = " + std::to_string(c.n));
    EXPECT_EQ(IsFftSize(c.n), c.supported);
  }
}

} // namespace
} // namespace kit::ui
