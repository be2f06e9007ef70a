// Two instances of Ombrix in one process, each with its own host: their parameters, output
// and timers stay apart, and destroying one leaves the other working.
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/streams.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kit::test
{
namespace
{

using host::HostFunction;

constexpr std::uint32_t kFrames = 128;

// Dither off, no shaping, the given depth; processing.
void StartPlain(LoadedPlugin& p, double bits)
{
  const std::pair<clap_id, double> settings[] = { { kDither, 0.0 }, { kPower, 0.0 }, { kTargetBits, bits } };
  p.instance->FlushParams(settings);
  ASSERT_TRUE(p.Start(kFrames));
}

// One block of a fixed ramp; whether every output is on the grid of the given depth and
// within half a step of the input.
[[nodiscard]] bool RendersOnTheGrid(LoadedPlugin& p, int bits)
{
  host::AudioBuffers inputs(host::SampleWidth::Float64, { 2 }, kFrames);
  host::AudioBuffers outputs(host::SampleWidth::Float64, { 2 }, kFrames);
  for (std::uint32_t c = 0; c < 2; ++c)
    for (std::uint32_t i = 0; i < kFrames; ++i) inputs.Channel64(0, c)[i] = -0.9 + 0.0137 * double(i) + 0.001 * c;
  const host::InputEventList in;
  host::OutputEventList out;
  if (p.RunBlock(inputs, outputs, in, out) != CLAP_PROCESS_CONTINUE_IF_NOT_QUIET) return false;
  const double scale = std::ldexp(1.0, bits - 1);
  for (std::uint32_t c = 0; c < 2; ++c)
    for (std::uint32_t i = 0; i < kFrames; ++i)
    {
      const double y = outputs.Channel64(0, c)[i];
      if (y * scale != std::round(y * scale) || std::abs(y - inputs.Channel64(0, c)[i]) > 0.5 / scale) return false;
    }
  return true;
}

TEST(TwoInstances, KeepTheirOwnParametersOutputAndTimers)
{
  LoadedPlugin a;
  LoadedPlugin b;
  ASSERT_TRUE(a.Ready());
  ASSERT_TRUE(b.Ready());
  StartPlain(a, 8);
  StartPlain(b, 12);
  EXPECT_EQ(a.Value(kTargetBits), 8.0);
  EXPECT_EQ(b.Value(kTargetBits), 12.0);
  EXPECT_TRUE(RendersOnTheGrid(a, 8));
  EXPECT_TRUE(RendersOnTheGrid(b, 12));
  EXPECT_FALSE(RendersOnTheGrid(b, 8)); // 12-bit output is finer than the 8-bit grid

  ASSERT_EQ(a.host.ActiveTimers().size(), 1u);
  ASSERT_EQ(b.host.ActiveTimers().size(), 1u);

  a.instance.reset();
  EXPECT_TRUE(a.host.ActiveTimers().empty());
  EXPECT_EQ(b.host.ActiveTimers().size(), 1u);
  b.instance->Idle(); // b's timer still fires into a live instance
  EXPECT_TRUE(RendersOnTheGrid(b, 12));
  host::OutputStream state;
  ASSERT_TRUE(b.Extension<clap_plugin_state>(CLAP_EXT_STATE).save(b.Plugin(), state.Record()));
  EXPECT_EQ(state.Bytes().size(), 32u);
}

TEST(TwoInstances, EachTickerServesItsOwnHostAndOutlivesTheOther)
{
  host::HostConfig config;
  config.offered.timerSupport = false;
  LoadedPlugin a(config);
  LoadedPlugin b(config);
  ASSERT_TRUE(a.Ready());
  ASSERT_TRUE(b.Ready());
  const auto requests = [](const LoadedPlugin& p) { return p.host.Journal().Count(HostFunction::RequestCallback); };
  ASSERT_TRUE(WaitUntil([&] { return requests(a) > 0 && requests(b) > 0; }));

  a.instance.reset();
  EXPECT_TRUE(a.host.Journal().CallsOutsideInstanceLife().empty());
  const std::size_t before = requests(b);
  b.instance->Idle();
  EXPECT_TRUE(WaitUntil([&] { return requests(b) > before; }));
}

} // namespace
} // namespace kit::test
