#pragma once
// MT19937, the standard 32-bit Mersenne Twister, with bulk generation: the dither draws a
// whole block's words at once, where the tempering of consecutive words vectorises.
// Produces exactly the sequence of std::mt19937 for the same seed. Not thread-safe: the
// audio thread owns it once processing runs.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kit
{

class MersenneTwister
{
public:
  static constexpr std::size_t kStateWords = 624;

  explicit MersenneTwister(uint32_t seed) noexcept { Seed(seed); }

  void Seed(uint32_t seed) noexcept;

  uint32_t operator()() noexcept
  {
    if (index == kStateWords) Twist();
    return Temper(state[index++]);
  }

  // The next count words of the sequence, in order.
  void Generate(uint32_t* words, std::size_t count) noexcept;

private:
  static uint32_t Temper(uint32_t y) noexcept
  {
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    return y ^ (y >> 18);
  }
  void Twist() noexcept;

  std::array<uint32_t, kStateWords> state {};
  std::size_t index = kStateWords;
};

} // namespace kit
