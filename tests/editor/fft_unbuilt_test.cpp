// Its own program, so that the process has not built the FFT's tables yet.
#include "editor/fft.h"

#include <gtest/gtest.h>

#include <vector>

namespace kit::ui
{
namespace
{

TEST(FftUnbuilt, TransformBeforeTheTablesExistLeavesTheBuffer)
{
  const std::vector<float> input = { 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f };
  for (const bool inverse : { false, true })
  {
    std::vector<float> buffer = input;
    Fft(buffer.data(), 4, inverse);
    EXPECT_EQ(buffer, input);
  }
}

} // namespace
} // namespace kit::ui
