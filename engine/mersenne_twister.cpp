#include "engine/mersenne_twister.h"

#include <algorithm>

namespace kit
{

namespace
{

constexpr std::size_t kShift = 397;
constexpr uint32_t kMatrix = 0x9908b0dfu;

inline uint32_t Mix(uint32_t upper, uint32_t lower, uint32_t shifted) noexcept
{
  const uint32_t y = (upper & 0x80000000u) | (lower & 0x7fffffffu);
  return shifted ^ (y >> 1) ^ ((0u - (y & 1u)) & kMatrix);
}

} // namespace

void MersenneTwister::Seed(uint32_t seed) noexcept
{
  state[0] = seed;
  for (std::size_t i = 1; i < kStateWords; ++i)
    state[i] = 1812433253u * (state[i - 1] ^ (state[i - 1] >> 30)) + uint32_t(i);
  index = kStateWords;
}

void MersenneTwister::Twist() noexcept
{
  // Three runs without wrap-around, so that each loop is a plain pass over the array.
  std::size_t i = 0;
  for (; i < kStateWords - kShift; ++i) state[i] = Mix(state[i], state[i + 1], state[i + kShift]);
  for (; i < kStateWords - 1; ++i) state[i] = Mix(state[i], state[i + 1], state[i + kShift - kStateWords]);
  state[kStateWords - 1] = Mix(state[kStateWords - 1], state[0], state[kShift - 1]);
  index = 0;
}

void MersenneTwister::Generate(uint32_t* words, std::size_t count) noexcept
{
  while (count > 0)
  {
    if (index == kStateWords) Twist();
    const std::size_t run = std::min(count, kStateWords - index);
    const uint32_t* source = state.data() + index;
    for (std::size_t i = 0; i < run; ++i) words[i] = Temper(source[i]);
    index += run;
    words += run;
    count -= run;
  }
}

} // namespace kit
