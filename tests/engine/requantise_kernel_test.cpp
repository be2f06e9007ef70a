#include "engine/requantise_kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace kit
{
namespace
{

struct LaneData
{
  std::vector<double> input;
  std::vector<double> dither;
  std::vector<double> output;
  ChannelDitherState state;
};

// Runs one or two lanes with the given rounding path; returns the outputs.
std::vector<std::vector<double>> RunLanes(std::vector<LaneData> lanes, const std::vector<double>& coefficients,
                                          double scale, bool hardwareRounding)
{
  const int frames = int(lanes[0].input.size());
  std::vector<double> signalSum(std::size_t(frames), 0.0);
  std::vector<double> noiseSum(std::size_t(frames), 0.0);
  std::vector<KernelLane> kernelLanes;
  for (LaneData& lane : lanes)
  {
    lane.output.assign(std::size_t(frames), 0.0);
    lane.state.errorHistory.assign(12, 0.0);
    kernelLanes.push_back({ lane.input.data(), lane.output.data(), lane.dither.data(), &lane.state, 0.0 });
  }
  const KernelBlock block {
    frames, coefficients.data(), int(coefficients.size()), scale, signalSum.data(), noiseSum.data(), frames, 0
  };
  RunRequantiseKernel(kernelLanes, block, hardwareRounding);
  std::vector<std::vector<double>> outputs;
  for (const LaneData& lane : lanes) outputs.push_back(lane.output);
  return outputs;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b)
{
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(RequantiseKernel, BothRoundingPathsAreFloorExactly)
{
  // Values of scale * w + 0.5 + d right at and next to integers, negative and positive,
  // where a rounding shortcut would go wrong.
  const double scale = 32768.0;
  std::vector<double> input;
  std::vector<double> dither;
  for (const double step : { -3.0, -1.0, 0.0, 1.0, 2.0, 1000.0, -32768.0, 32767.0 })
    for (const double offset : { -0.5, -0.25, 0.0, 0.25, 0.5 })
      for (const double d : { 0.0, 0.5, -0.5, std::nextafter(0.5, 0.0), std::nextafter(-0.5, 0.0), 1e-17, -1e-17 })
      {
        input.push_back((step + offset) / scale);
        dither.push_back(d);
      }
  std::vector<double> expected;
  for (std::size_t i = 0; i < input.size(); ++i)
    expected.push_back(std::floor(scale * std::clamp(input[i], -1.0, 1.0) + 0.5 + dither[i]) / scale);

  for (const bool hardware : { false, true })
  {
    if (hardware && !HasHardwareRounding()) continue;
    SCOPED_TRACE(hardware ? "rounding instruction" : "truncation");
    const auto outputs = RunLanes({ { input, dither, {}, {} } }, {}, scale, hardware);
    for (std::size_t i = 0; i < input.size(); ++i)
      ASSERT_EQ(outputs[0][i], expected[i]) << "input " << input[i] * scale << " steps, dither " << dither[i];
  }
}

TEST(RequantiseKernel, RoundingPathsAgreeBitForBitWithFeedback)
{
  if (!HasHardwareRounding()) GTEST_SKIP() << "this processor has only the truncating path";
  std::mt19937 random(3);
  std::uniform_real_distribution<double> signal(-1.2, 1.2);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  const std::vector<double> coefficients { 1.1, -0.6, 0.3, -0.15, 0.08, -0.02, 0.01 };
  std::vector<LaneData> lanes(2);
  for (LaneData& lane : lanes)
    for (int s = 0; s < 4096; ++s)
    {
      lane.input.push_back(signal(random));
      lane.dither.push_back(noise(random));
    }
  for (const double scale : { 32.0, 32768.0, 2147483648.0 })
  {
    SCOPED_TRACE(scale);
    const auto truncated = RunLanes(lanes, coefficients, scale, false);
    const auto rounded = RunLanes(lanes, coefficients, scale, true);
    EXPECT_TRUE(SameBits(truncated[0], rounded[0]));
    EXPECT_TRUE(SameBits(truncated[1], rounded[1]));
  }
}

} // namespace
} // namespace kit
