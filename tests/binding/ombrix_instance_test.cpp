#include "engine/ombrix_params.h"
#include "support/allocation_counter.h"
#include "tests/binding/in_process_plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace kit
{
namespace
{

using test::EventList;
using test::InProcessPlugin;

std::vector<std::vector<double>> Ramp(int channels, int frames)
{
  // Values well off every grid and off every rounding halfway point.
  std::vector<std::vector<double>> signal(std::size_t(channels), std::vector<double>(std::size_t(frames), 0.0));
  for (int c = 0; c < channels; ++c)
    for (int i = 0; i < frames; ++i) signal[std::size_t(c)][std::size_t(i)] = 0.7 * std::sin(0.013 * i + c) + 1e-12;
  return signal;
}

void SetWhileInactive(InProcessPlugin& p, std::initializer_list<std::pair<clap_id, double>> values)
{
  EventList events;
  for (const auto& [id, value] : values) events.AddParam(id, value);
  const auto* params = static_cast<const clap_plugin_params*>(p.plugin->get_extension(p.plugin, CLAP_EXT_PARAMS));
  params->flush(p.plugin, events.Record(), nullptr);
}

TEST(OmbrixInstance, AFreshInstanceStoresItsDefaultsAndTheEmptyPreset)
{
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  StateChunk chunk;
  ASSERT_TRUE(p.Ombrix().WriteStateChunk(chunk));
  const double expected[] = { 0.0, 9.0, 16.0, 1.0 };
  ASSERT_EQ(chunk.Size(), 32);
  EXPECT_EQ(std::memcmp(chunk.Data(), expected, 32), 0);
  const Preset* preset = p.Ombrix().GetPreset(0);
  ASSERT_NE(preset, nullptr);
  EXPECT_TRUE(preset->initialised);
  EXPECT_EQ(preset->name.View(), "Empty");
  EXPECT_EQ(std::memcmp(preset->chunk.Data(), expected, 32), 0);
  EXPECT_EQ(p.Ombrix().GetPreset(1), nullptr);
}

TEST(OmbrixInstance, ReadingStatesOfEveryLengthSetsWhatTheyCover)
{
  struct Case
  {
    std::vector<double> values;
    int expectedEnd;
    double expected[4];
  };
  const Case cases[] = {
    { { 1.0, 3.0, 24.0, 0.0 }, 32, { 1.0, 3.0, 24.0, 0.0 } },
    { { 1.0, 8.6, 40.0 }, -1, { 1.0, 9.0, 32.0, 1.0 } },
    { { 1.0, 2.0, 6.0, 0.0, 99.0 }, 32, { 1.0, 2.0, 6.0, 0.0 } },
    { { std::nan(""), -1e300, std::numeric_limits<double>::infinity(), -0.0 }, 32, { 0.0, 0.0, 32.0, 0.0 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.values.size());
    InProcessPlugin p;
    ASSERT_TRUE(p.plugin->init(p.plugin));
    StateChunk chunk;
    ASSERT_TRUE(chunk.Append(c.values.data(), int(c.values.size() * sizeof(double))));
    EXPECT_EQ(p.Ombrix().ReadStateChunk(chunk, 0), c.expectedEnd);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p.Ombrix().GetParam(i)->Value(), c.expected[i]) << "parameter " << i;
    EXPECT_FALSE(std::signbit(p.Ombrix().GetParam(3)->Value()));
  }
}

// The grid follows "Target Bits" from the block whose events carry the change, without a
// main-thread tick in between.
TEST(OmbrixInstance, TargetBitsFromTheHostMovesTheGridInTheSameBlock)
{
  for (const int bits : { 6, 8, 16, 24, 32 })
  {
    SCOPED_TRACE(bits);
    InProcessPlugin p;
    ASSERT_TRUE(p.plugin->init(p.plugin));
    SetWhileInactive(p, { { kParamDither, 0.0 }, { kParamPsychoacousticPower, 0.0 }, { kParamTargetBits, 12.0 } });
    ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, 256));
    ASSERT_TRUE(p.plugin->start_processing(p.plugin));

    auto inputs = Ramp(2, 256);
    auto outputs = Ramp(2, 256);
    EventList events;
    events.AddParam(kParamTargetBits, double(bits));
    ASSERT_NE(p.Process(inputs, outputs, events.Record()), CLAP_PROCESS_ERROR);

    const double scale = std::ldexp(1.0, bits - 1);
    for (std::size_t c = 0; c < 2; ++c)
      for (std::size_t i = 0; i < 256; ++i)
      {
        // Without dither and shaping the requantiser rounds to the nearest step.
        const double expected = std::floor(inputs[c][i] * scale + 0.5) / scale;
        ASSERT_EQ(outputs[c][i], expected) << "channel " << c << " frame " << i;
      }
    p.plugin->stop_processing(p.plugin);
  }
}

// A power change whose entry the full editor-bound ring dropped still reaches the design at
// the next tick.
TEST(OmbrixInstance, TheTickRedesignsWhenTheRingDroppedThePowerChange)
{
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  SetWhileInactive(p, { { kParamPsychoacousticPower, 9.0 } });
  ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, 64));
  ASSERT_EQ(p.Ombrix().Processor().ActiveShapingFilter().tapCount, 9);
  p.Ombrix().OnHostTimer(); // takes the flushed value off the ring
  ASSERT_TRUE(p.plugin->start_processing(p.plugin));

  EventList events;
  for (int i = 0; i < 599; ++i) events.AddParam(kParamShowGraph, double(i % 2));
  events.AddParam(kParamPsychoacousticPower, 3.0);
  auto inputs = Ramp(2, 64);
  auto outputs = Ramp(2, 64);
  ASSERT_NE(p.Process(inputs, outputs, events.Record()), CLAP_PROCESS_ERROR);
  EXPECT_EQ(p.Ombrix().GetParam(kParamPsychoacousticPower)->Value(), 3.0);
  EXPECT_EQ(p.Ombrix().Processor().ActiveShapingFilter().tapCount, 9);

  p.Ombrix().OnHostTimer();
  EXPECT_EQ(p.Ombrix().Processor().ActiveShapingFilter().tapCount, 3);
  p.plugin->stop_processing(p.plugin);
}

// A design on the main thread reads "Target Bits" at its start and renews the grid at its end;
// automation that moves the parameter in between leaves the parameter new and the grid old,
// as set up here. The next tick puts the grid back on the parameter.
TEST(OmbrixInstance, TheTickPutsAGridLeftBehindBackOnTargetBits)
{
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, 64));
  ASSERT_EQ(p.Ombrix().Processor().QuantScale(), std::ldexp(1.0, 15));
  p.Ombrix().GetParam(kParamTargetBits)->Set(24.0);
  ASSERT_EQ(p.Ombrix().Processor().QuantScale(), std::ldexp(1.0, 15));
  p.Ombrix().OnHostTimer();
  EXPECT_EQ(p.Ombrix().Processor().QuantScale(), std::ldexp(1.0, 23));
  p.plugin->deactivate(p.plugin);
}

TEST(OmbrixInstance, ActivationRefusesWhatItCannotServe)
{
  struct Case
  {
    double rate;
    std::uint32_t minFrames, maxFrames;
  };
  const Case refused[] = {
    { std::nan(""), 1, 512 }, { 0.0, 1, 512 },
    { -48000.0, 1, 512 },     { std::numeric_limits<double>::infinity(), 1, 512 },
    { 48000.0, 513, 512 },    { 48000.0, 1, 0x80000000u },
  };
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  for (const Case& c : refused)
  {
    SCOPED_TRACE(c.rate);
    EXPECT_FALSE(p.plugin->activate(p.plugin, c.rate, c.minFrames, c.maxFrames));
  }
  EXPECT_TRUE(p.plugin->activate(p.plugin, 44100.0, 1, 512));
  p.plugin->deactivate(p.plugin);
}

TEST(OmbrixInstance, AnActivationThatCannotAllocateFailsAndALaterOneSucceeds)
{
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  {
    test::FailingAllocationScope exhausted;
    EXPECT_FALSE(p.plugin->activate(p.plugin, 48000.0, 1, 4096));
  }
  ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, 4096));
  auto inputs = Ramp(2, 4096);
  auto outputs = Ramp(2, 4096);
  ASSERT_TRUE(p.plugin->start_processing(p.plugin));
  EXPECT_EQ(p.Process(inputs, outputs), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  p.plugin->stop_processing(p.plugin);
}

} // namespace
} // namespace kit
