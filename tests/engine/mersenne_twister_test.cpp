#include "engine/mersenne_twister.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kit
{
namespace
{

TEST(MersenneTwister, TenThousandthWordOfTheDefaultSeedIsTheStandardsValue)
{
  MersenneTwister engine(5489u);
  uint32_t word = 0;
  for (int i = 0; i < 10000; ++i) word = engine();
  EXPECT_EQ(word, 4123659995u);
}

TEST(MersenneTwister, BulkAndSingleDrawsFollowTheStandardSequence)
{
  for (const uint32_t seed : { 0u, 1u, 20261210u, 0xffffffffu })
  {
    SCOPED_TRACE(seed);
    std::mt19937 standard(seed);
    MersenneTwister engine(seed);
    // Runs of awkward lengths cross the 624-word refills at every offset.
    const std::size_t runs[] = { 1, 623, 2, 624, 625, 7, 1300, 0, 3 };
    for (const std::size_t run : runs)
    {
      std::vector<uint32_t> words(run + 1);
      engine.Generate(words.data(), run);
      words[run] = engine();
      for (std::size_t i = 0; i <= run; ++i)
        ASSERT_EQ(words[i], uint32_t(standard())) << "run " << run << " word " << i;
    }
  }
}

} // namespace
} // namespace kit
