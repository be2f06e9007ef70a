// What a process call does with the host's buffers: 32-bit and 64-bit samples, mono, stereo
// or no ports, malformed records refused before anything is touched, and outputs fully
// written; the requantised output checked against a reference computed in integers.
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/event_builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kit::test
{
namespace
{

constexpr std::uint32_t kFrames = 256;

// Dither off and no shaping at the given depth, set before activation so that activation
// designs the filter for them; then processing.
void StartPlainRequantiser(LoadedPlugin& p, double bits)
{
  const std::pair<clap_id, double> settings[] = { { kDither, 0.0 }, { kPower, 0.0 }, { kTargetBits, bits } };
  p.instance->FlushParams(settings);
  ASSERT_EQ(p.Value(kTargetBits), bits);
  ASSERT_TRUE(p.Start(kFrames));
}

// Input k is n / 8 steps of the grid, n = 8m + r: r = k mod 8 gives every remainder (exact
// halves of a step too), m spreads over both signs inside full scale.
std::int64_t Numerator(std::uint32_t k, int bits)
{
  const std::int64_t steps = std::int64_t { 1 } << (bits - 1); // grid steps per unit
  const std::int64_t m = std::int64_t(k) * 2654435761LL % (2 * steps - 1) - (steps - 1);
  return 8 * m + std::int64_t(k % 8);
}

// Round half up of n / 8 in integers: floor((n + 4) / 8), the step code of input n.
std::int64_t ExpectedCode(std::int64_t n)
{
  const std::int64_t shifted = n + 4;
  return shifted >= 0 ? shifted / 8 : -((-shifted + 7) / 8);
}

struct RequantiseCase
{
  const char* name;
  host::SampleWidth width;
  int bits;
  bool mono;
};

class Requantise : public testing::TestWithParam<RequantiseCase>
{
};

// With dither off and power 0 the plug-in is a plain rounding quantiser: each output is
// the input rounded half up to the grid of 2^(bits-1) steps per unit.
TEST_P(Requantise, DitherOffAndPowerZeroRoundHalfUpToTheGrid)
{
  const RequantiseCase& c = GetParam();
  host::HostConfig config;
  config.trackChannelCount = c.mono ? 1 : 2;
  LoadedPlugin p(config);
  ASSERT_TRUE(p.Ready());
  StartPlainRequantiser(p, c.bits);

  const std::uint32_t channels = c.mono ? 1 : 2;
  host::AudioBuffers inputs(c.width, { channels }, kFrames);
  host::AudioBuffers outputs(c.width, { channels }, kFrames);
  const double inputUnit = std::ldexp(1.0, -(c.bits + 2));
  const double outputUnit = std::ldexp(1.0, -(c.bits - 1));
  for (std::uint32_t ch = 0; ch < channels; ++ch)
    for (std::uint32_t i = 0; i < kFrames; ++i)
    {
      const double x = double(Numerator(i + 1000 * ch, c.bits)) * inputUnit;
      if (c.width == host::SampleWidth::Float64)
        inputs.Channel64(0, ch)[i] = x;
      else
        inputs.Channel32(0, ch)[i] = float(x);
    }
  const host::InputEventList in;
  host::OutputEventList out;
  ASSERT_EQ(p.RunBlock(inputs, outputs, in, out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);

  for (std::uint32_t ch = 0; ch < channels; ++ch)
    for (std::uint32_t i = 0; i < kFrames; ++i)
    {
      const std::int64_t n = Numerator(i + 1000 * ch, c.bits);
      const double expected = double(ExpectedCode(n)) * outputUnit;
      const double y =
          c.width == host::SampleWidth::Float64 ? outputs.Channel64(0, ch)[i] : double(outputs.Channel32(0, ch)[i]);
      ASSERT_EQ(y, expected) << "channel " << ch << " frame " << i << " n " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(WidthsDepthsAndLayouts, Requantise,
                         testing::Values(RequantiseCase { "Stereo64Bits8", host::SampleWidth::Float64, 8, false },
                                         RequantiseCase { "Stereo64Bits16", host::SampleWidth::Float64, 16, false },
                                         RequantiseCase { "Stereo64Bits24", host::SampleWidth::Float64, 24, false },
                                         RequantiseCase { "Stereo32Bits8", host::SampleWidth::Float32, 8, false },
                                         RequantiseCase { "Stereo32Bits16", host::SampleWidth::Float32, 16, false },
                                         RequantiseCase { "Mono64Bits16", host::SampleWidth::Float64, 16, true },
                                         RequantiseCase { "Mono32Bits12", host::SampleWidth::Float32, 12, true }),
                         [](const testing::TestParamInfo<RequantiseCase>& test) { return test.param.name; });

// The host may choose mono itself, after init, through the configurations.
TEST(ProcessBuffers, MonoAfterTheHostSelectsTheFirstConfiguration)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  ASSERT_TRUE(p.Extension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG).select(p.Plugin(), 0));
  StartPlainRequantiser(p, 8);
  host::AudioBuffers inputs(host::SampleWidth::Float64, { 1 }, kFrames);
  host::AudioBuffers outputs(host::SampleWidth::Float64, { 1 }, kFrames);
  for (std::uint32_t i = 0; i < kFrames; ++i) inputs.Channel64(0, 0)[i] = 0.3;
  const host::InputEventList in;
  host::OutputEventList out;
  ASSERT_EQ(p.RunBlock(inputs, outputs, in, out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  // 0.3 × 128 = 38.4 rounds to 38
  for (std::uint32_t i = 0; i < kFrames; ++i) ASSERT_EQ(outputs.Channel64(0, 0)[i], 38.0 / 128.0) << i;
}

TEST(ProcessBuffers, ABlockWithoutPortsStillRenders)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  ASSERT_TRUE(p.Start(kFrames));
  const host::InputEventList in;
  host::OutputEventList out;
  host::ProcessPieces pieces;
  pieces.in = &in;
  pieces.out = &out;
  pieces.frames = kFrames;
  const clap_process process = host::ProcessRecord(pieces);
  EXPECT_EQ(process.audio_inputs, nullptr);
  EXPECT_EQ(p.instance->Process(process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_EQ(p.instance->Process(process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
}

// A malformed record is refused with an error before any buffer or parameter is touched.
TEST(ProcessBuffers, MalformedRecordsAreRefusedAndTouchNothing)
{
  using Spoil = std::function<void(clap_process&, host::AudioBuffers & inputs, host::AudioBuffers & outputs)>;
  struct Case
  {
    const char* name;
    host::SampleWidth outputWidth;
    Spoil spoil;
  };
  const Case cases[] = {
    { "null input array with a count", host::SampleWidth::Float64,
      [](clap_process& process, host::AudioBuffers&, host::AudioBuffers&) { process.audio_inputs = nullptr; } },
    { "null output array with a count", host::SampleWidth::Float64,
      [](clap_process& process, host::AudioBuffers&, host::AudioBuffers&) { process.audio_outputs = nullptr; } },
    { "null input channel", host::SampleWidth::Float64,
      [](clap_process&, host::AudioBuffers& inputs, host::AudioBuffers&) { inputs.Ports()[0].data64[1] = nullptr; } },
    { "null output channel", host::SampleWidth::Float64,
      [](clap_process&, host::AudioBuffers&, host::AudioBuffers& outputs) { outputs.Ports()[0].data64[1] = nullptr; } },
    { "null output channel array", host::SampleWidth::Float64,
      [](clap_process&, host::AudioBuffers&, host::AudioBuffers& outputs) { outputs.Ports()[0].data64 = nullptr; } },
    { "outputs in the other sample width", host::SampleWidth::Float32,
      [](clap_process&, host::AudioBuffers&, host::AudioBuffers&) {} },
    { "more frames than activated for", host::SampleWidth::Float64,
      [](clap_process& process, host::AudioBuffers&, host::AudioBuffers&) { process.frames_count = kFrames + 1; } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    LoadedPlugin p;
    ASSERT_TRUE(p.Ready());
    ASSERT_TRUE(p.Start(kFrames));
    host::AudioBuffers inputs(host::SampleWidth::Float64, { 2 }, kFrames + 1);
    host::AudioBuffers outputs(c.outputWidth, { 2 }, kFrames + 1);
    for (std::uint32_t ch = 0; ch < 2; ++ch)
    {
      for (double& sample : inputs.Channel64(0, ch)) sample = 0.5;
      for (double& sample : outputs.Channel64(0, ch)) sample = 7.0;
      for (float& sample : outputs.Channel32(0, ch)) sample = 7.0f;
    }
    outputs.Ports()[0].constant_mask = 3;
    host::InputEventList in;
    ASSERT_TRUE(in.Add(host::ParamValueEvent(kTargetBits, 8.0)));
    host::OutputEventList out;
    host::ProcessPieces pieces;
    pieces.inputs = &inputs;
    pieces.outputs = &outputs;
    pieces.in = &in;
    pieces.out = &out;
    pieces.frames = kFrames;
    clap_process process = host::ProcessRecord(pieces);
    c.spoil(process, inputs, outputs);

    EXPECT_EQ(p.instance->Process(process), CLAP_PROCESS_ERROR);
    for (std::uint32_t ch = 0; ch < 2; ++ch)
    {
      for (const double sample : outputs.Channel64(0, ch)) ASSERT_EQ(sample, 7.0);
      for (const float sample : outputs.Channel32(0, ch)) ASSERT_EQ(sample, 7.0f);
    }
    EXPECT_EQ(outputs.Ports()[0].constant_mask, 3u);
    EXPECT_EQ(p.Value(kTargetBits), 16.0); // the events were not read
  }
}

// Every output sample is written: the plug-in's two channels with audio, any further channel
// with silence; and no output is declared constant.
TEST(ProcessBuffers, OutputsAreFullyWrittenAndNeverMarkedConstant)
{
  for (const auto width : { host::SampleWidth::Float64, host::SampleWidth::Float32 })
  {
    SCOPED_TRACE(width == host::SampleWidth::Float64 ? "64-bit" : "32-bit");
    LoadedPlugin p;
    ASSERT_TRUE(p.Ready());
    StartPlainRequantiser(p, 16);
    host::AudioBuffers inputs(width, { 3 }, kFrames);
    host::AudioBuffers outputs(width, { 3 }, kFrames);
    for (std::uint32_t ch = 0; ch < 3; ++ch)
      for (std::uint32_t i = 0; i < kFrames; ++i)
      {
        if (width == host::SampleWidth::Float64)
        {
          inputs.Channel64(0, ch)[i] = 0.25;
          outputs.Channel64(0, ch)[i] = 5.0;
        }
        else
        {
          inputs.Channel32(0, ch)[i] = 0.25f;
          outputs.Channel32(0, ch)[i] = 5.0f;
        }
      }
    outputs.Ports()[0].constant_mask = 0x7;
    const host::InputEventList in;
    host::OutputEventList out;
    ASSERT_EQ(p.RunBlock(inputs, outputs, in, out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);

    EXPECT_EQ(outputs.Ports()[0].constant_mask, 0u);
    for (std::uint32_t ch = 0; ch < 3; ++ch)
      for (std::uint32_t i = 0; i < kFrames; ++i)
      {
        const double y =
            width == host::SampleWidth::Float64 ? outputs.Channel64(0, ch)[i] : double(outputs.Channel32(0, ch)[i]);
        ASSERT_EQ(y, ch < 2 ? 0.25 : 0.0) << "channel " << ch << " frame " << i;
      }
  }
}

} // namespace
} // namespace kit::test
