// Parameter value events from the host, in a process call and in a flush outside processing:
// values are conformed to range and step (whatever the host sent), and events the plug-in
// cannot use are skipped without stopping the rest of the list.
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/event_builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kit::test
{
namespace
{

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint32_t kFrames = 64;

enum class Path
{
  Process,
  Flush
};

// The events delivered the given way: in a process call while processing, or in a flush on
// the main thread of an inactive instance.
void Deliver(LoadedPlugin& p, Path path, const host::InputEventList& in)
{
  host::OutputEventList out;
  if (path == Path::Flush)
  {
    p.instance->FlushParams(in, out);
    return;
  }
  ASSERT_TRUE(p.Start());
  host::AudioBuffers inputs(host::SampleWidth::Float64, { 2 }, kFrames);
  host::AudioBuffers outputs(host::SampleWidth::Float64, { 2 }, kFrames);
  EXPECT_EQ(p.RunBlock(inputs, outputs, in, out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
}

class ParamEvents : public testing::TestWithParam<Path>
{
};

TEST_P(ParamEvents, ValuesAreConformedToRangeAndStep)
{
  struct Case
  {
    const char* name;
    clap_id id;
    double sent;
    double stored; // NaN: any whole value in range
  };
  const Case cases[] = {
    { "bool 0.7 rounds up", kDither, 0.7, 1.0 },
    { "bool 0.2 rounds down", kDither, 0.2, 0.0 },
    { "bool 0.5 halves away from zero", kDither, 0.5, 1.0 },
    { "bits in range", kTargetBits, 24.0, 24.0 },
    { "bits off the step", kTargetBits, 20.4, 20.0 },
    { "bits +inf", kTargetBits, kInf, 32.0 },
    { "bits -inf", kTargetBits, -kInf, 6.0 },
    { "bits 1e308", kTargetBits, 1e308, 32.0 },
    { "bits -1e308", kTargetBits, -1e308, 6.0 },
    { "bits NaN", kTargetBits, kNaN, kNaN },
    { "power NaN", kPower, kNaN, kNaN },
    { "power -0", kPower, -0.0, 0.0 },
    { "power 12.5", kPower, 12.5, 12.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    LoadedPlugin p;
    ASSERT_TRUE(p.Ready());
    host::InputEventList in;
    ASSERT_TRUE(in.Add(host::ParamValueEvent(c.id, c.sent, 5)));
    Deliver(p, GetParam(), in);

    const double value = p.Value(c.id);
    clap_param_info info {};
    ASSERT_TRUE(p.Params().get_info(p.Plugin(), c.id, &info));
    if (std::isnan(c.stored))
    {
      EXPECT_TRUE(std::isfinite(value));
      EXPECT_GE(value, info.min_value);
      EXPECT_LE(value, info.max_value);
      EXPECT_EQ(value, std::round(value));
    }
    else
    {
      EXPECT_EQ(value, c.stored);
      EXPECT_FALSE(std::signbit(value));
    }
  }
}

// Unknown ids, a header too short for its type and a foreign event space are skipped; the
// event after them still applies.
TEST_P(ParamEvents, UnusableEventsAreSkippedAndTheRestApply)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  host::InputEventList in;
  ASSERT_TRUE(in.Add(host::ParamValueEvent(4, 1.0)));
  ASSERT_TRUE(in.Add(host::ParamValueEvent(CLAP_INVALID_ID, 1.0)));
  clap_event_param_value shortHeader = host::ParamValueEvent(kTargetBits, 24.0);
  shortHeader.header.size = sizeof(clap_event_param_value) - 1;
  ASSERT_TRUE(in.Add(shortHeader));
  clap_event_param_value belowHeader = host::ParamValueEvent(kTargetBits, 20.0);
  belowHeader.header.size = sizeof(clap_event_header) - 1;
  ASSERT_TRUE(in.Add(belowHeader));
  clap_event_param_value foreign = host::ParamValueEvent(kTargetBits, 8.0);
  foreign.header.space_id = 1;
  ASSERT_TRUE(in.Add(foreign));
  clap_event_param_value modulation = host::ParamValueEvent(kTargetBits, 10.0);
  modulation.header.type = CLAP_EVENT_PARAM_MOD;
  ASSERT_TRUE(in.Add(modulation));
  ASSERT_TRUE(in.Add(host::GestureEvent(CLAP_EVENT_PARAM_GESTURE_BEGIN, kTargetBits)));
  ASSERT_TRUE(in.Add(host::ParamValueEvent(kPower, 3.0)));
  Deliver(p, GetParam(), in);

  EXPECT_EQ(p.Value(kDither), 0.0);
  EXPECT_EQ(p.Value(kPower), 3.0);
  EXPECT_EQ(p.Value(kTargetBits), 16.0);
  EXPECT_EQ(p.Value(kShowGraph), 1.0);
}

// Of several events for one parameter in a list, the last one wins.
TEST_P(ParamEvents, EventsApplyInListOrder)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  host::InputEventList in;
  ASSERT_TRUE(in.Add(host::ParamValueEvent(kTargetBits, 8.0, 40)));
  ASSERT_TRUE(in.Add(host::ParamValueEvent(kTargetBits, 12.0, 0)));
  Deliver(p, GetParam(), in);
  EXPECT_EQ(p.Value(kTargetBits), 12.0);
}

INSTANTIATE_TEST_SUITE_P(ProcessAndFlush, ParamEvents, testing::Values(Path::Process, Path::Flush),
                         [](const testing::TestParamInfo<Path>& test)
                         { return test.param == Path::Process ? "Process" : "Flush"; });

// Whatever non-finite values the host sends, the block that applies them renders finite
// samples on the grid of the bit depth the parameter ends up with.
TEST(ParamEventsInProcess, OutputStaysFiniteAndOnTheGridAfterNonFiniteValues)
{
  const double sent[] = { kNaN, kInf, -kInf, 1e308, -0.0 };
  for (const double value : sent)
  {
    SCOPED_TRACE(value);
    LoadedPlugin p;
    ASSERT_TRUE(p.Ready());
    ASSERT_TRUE(p.Start());
    host::InputEventList in;
    for (const clap_id id : { kDither, kPower, kTargetBits, kShowGraph })
      ASSERT_TRUE(in.Add(host::ParamValueEvent(id, value)));
    host::AudioBuffers inputs(host::SampleWidth::Float64, { 2 }, kFrames);
    host::AudioBuffers outputs(host::SampleWidth::Float64, { 2 }, kFrames);
    for (std::uint32_t c = 0; c < 2; ++c)
      for (std::uint32_t i = 0; i < kFrames; ++i)
        inputs.Channel64(0, c)[i] = 0.6 * std::sin(0.1 * double(i) + double(c));
    host::OutputEventList out;
    ASSERT_EQ(p.RunBlock(inputs, outputs, in, out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);

    const double scale = std::ldexp(1.0, int(p.Value(kTargetBits)) - 1);
    for (std::uint32_t c = 0; c < 2; ++c)
      for (std::uint32_t i = 0; i < kFrames; ++i)
      {
        const double y = outputs.Channel64(0, c)[i];
        ASSERT_TRUE(std::isfinite(y)) << "channel " << c << " frame " << i;
        ASSERT_EQ(y * scale, std::round(y * scale)) << "channel " << c << " frame " << i;
      }
  }
}

} // namespace
} // namespace kit::test
