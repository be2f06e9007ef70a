// Its own program, so that the process starts without tables and the two threads below race to
// build them.
#include "editor/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <latch>
#include <thread>
#include <vector>

namespace kit::ui
{
namespace
{

constexpr int kSize = 4096;

std::vector<float> Chirp()
{
  std::vector<float> buffer(2 * kSize);
  for (int t = 0; t < kSize; ++t)
  {
    buffer[std::size_t(2 * t)] = static_cast<float>(std::cos(0.001 * t * t));
    buffer[std::size_t(2 * t + 1)] = static_cast<float>(std::sin(0.003 * t));
  }
  return buffer;
}

TEST(FftThreads, TwoThreadsBuildingAtOnceTransformAlike)
{
  std::latch start(2);
  std::vector<float> first = Chirp();
  std::vector<float> second = Chirp();
  std::vector<int> firstIndices(kSize);
  std::vector<int> secondIndices(kSize);
  const auto work = [&start](std::vector<float>& buffer, std::vector<int>& indices) {
    start.arrive_and_wait();
    BuildFftTables();
    Fft(buffer.data(), kSize, false);
    for (int j = 0; j < kSize; ++j) indices[std::size_t(j)] = FftBinIndex(kSize, j);
  };
  std::thread one(work, std::ref(first), std::ref(firstIndices));
  std::thread other(work, std::ref(second), std::ref(secondIndices));
  one.join();
  other.join();

  std::vector<float> reference = Chirp();
  Fft(reference.data(), kSize, false);
  EXPECT_EQ(first, reference);
  EXPECT_EQ(second, reference);
  EXPECT_EQ(firstIndices, secondIndices);

  // Bin 0 is the plain sum of the input, which the transform must have found.
  double real = 0.0;
  double imaginary = 0.0;
  const std::vector<float> input = Chirp();
  for (int t = 0; t < kSize; ++t)
  {
    real += input[std::size_t(2 * t)];
    imaginary += input[std::size_t(2 * t + 1)];
  }
  ASSERT_EQ(firstIndices[0], 0);
  EXPECT_NEAR(reference[0], real, 1e-3);
  EXPECT_NEAR(reference[1], imaginary, 1e-3);
}

} // namespace
} // namespace kit::ui
