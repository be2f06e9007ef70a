#include "engine/dither_processor.h"
#include "engine_fixture.h"
#include "reference_dither.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace kit::test
{
namespace
{

bool SameBits(double a, double b)
{
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(DitherProcessor, DitherOffPowerOffRoundsHalfUp)
{
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const int bits : { 6, 16, 32 })
  {
    const double scale = std::ldexp(1.0, bits - 1);
    const double boundary = 7.5 / scale; // exactly halfway between two steps
    const double inputs[] = { 0.3,       -0.3,
                              0.0,       -0.0,
                              1.0,       -1.0,
                              1.5,       -7.0,
                              nan,       -nan,
                              inf,       -inf,
                              boundary,  std::nextafter(boundary, 0.0),
                              -boundary, std::nextafter(-boundary, 0.0),
                              0.999999,  1e-300 };
    Engine engine;
    engine.SetParam(kParamPsychoacousticPower, 0);
    engine.SetParam(kParamTargetBits, bits);
    ASSERT_EQ(engine.dither->QuantScale(), scale);
    std::vector<std::vector<double>> in { std::vector<double>(std::begin(inputs), std::end(inputs)) };
    std::vector<std::vector<double>> out;
    engine.Render(in, out, int(in[0].size()));
    for (std::size_t s = 0; s < in[0].size(); ++s)
    {
      const double x = in[0][s];
      const double clipped = std::isnan(x) ? 1.0 : std::clamp(x, -1.0, 1.0);
      const double expected = std::floor(scale * clipped + 0.5) / scale;
      EXPECT_TRUE(SameBits(out[0][s], expected)) << bits << " bits, input " << x << ": " << out[0][s];
    }
  }
}

TEST(DitherProcessor, WorkedQuantiserValues)
{
  Engine engine;
  engine.SetParam(kParamPsychoacousticPower, 0);
  std::vector<std::vector<double>> in { { 0.3, 1.0, 2.0, -1.0, -3.0 } };
  std::vector<std::vector<double>> out;
  engine.Render(in, out, 5);
  EXPECT_EQ(out[0][0], 9830.0 / 32768.0);
  EXPECT_EQ(out[0][1], 1.0);
  EXPECT_EQ(out[0][2], 1.0);
  EXPECT_EQ(out[0][3], -1.0);
  EXPECT_EQ(out[0][4], -1.0);
}

TEST(DitherProcessor, GridScaleFollowsTargetBits)
{
  Engine engine;
  EXPECT_EQ(engine.dither->QuantScale(), 32768.0);
  const std::pair<int, double> cases[] = {
    { 6, 32.0 }, { 24, 8388608.0 }, { 32, 2147483648.0 }, { 40, 2147483648.0 }, { 1, 32.0 }
  };
  for (const auto& [bits, scale] : cases)
  {
    engine.SetParam(kParamTargetBits, bits);
    EXPECT_EQ(engine.dither->QuantScale(), scale) << bits;
  }
}

// Runs the engine and the plain reference side by side over a list of blocks.
struct ReferenceCase
{
  const char* what;
  int power;
  int bits;
  bool ditherOn;
  int channels;
  double rate;
  std::vector<int> blocks;
  int connected = -1;
};

void CompareWithReference(const ReferenceCase& c)
{
  SCOPED_TRACE(c.what);
  const int maxBlock = 256;
  Engine engine(c.rate, maxBlock);
  engine.SetParam(kParamPsychoacousticPower, c.power);
  engine.SetParam(kParamTargetBits, c.bits);
  engine.SetParam(kParamDither, c.ditherOn ? 1.0 : 0.0);
  ReferenceDither reference(kTestSeed);
  const std::vector<double> coefficients(engine.Coefficients().begin(), engine.Coefficients().end());
  const double scale = engine.dither->QuantScale();

  int offset = 0;
  for (const int frames : c.blocks)
  {
    SCOPED_TRACE(testing::Message() << "block of " << frames << " at frame " << offset);
    std::vector<std::vector<double>> in;
    for (int ch = 0; ch < c.channels; ++ch)
    {
      std::vector<double> samples = Sine(frames, 0.9 - 0.35 * ch, 0.0123 + 0.004 * ch, offset * 0.0123);
      if (frames > 3) samples[3] = ch == 0 ? 1.7 : std::numeric_limits<double>::quiet_NaN();
      in.push_back(samples);
    }
    std::vector<std::vector<double>> out;
    engine.Render(in, out, frames, c.connected);

    const int processed = std::min(c.connected < 0 ? c.channels : c.connected, 2);
    std::vector<std::vector<double>> refIn(in.begin(), in.begin() + processed);
    std::vector<std::vector<double>> refOut(static_cast<std::size_t>(processed));
    const double meter = reference.Render(refIn, refOut, coefficients, scale, c.ditherOn);

    for (int ch = 0; ch < c.channels; ++ch)
      for (int s = 0; s < frames; ++s)
      {
        const double got = out[std::size_t(ch)][std::size_t(s)];
        if (ch >= processed)
        {
          ASSERT_EQ(got, Engine::kUnwritten) << "channel " << ch << " must not be written";
        }
        else
        {
          ASSERT_TRUE(SameBits(got, refOut[std::size_t(ch)][std::size_t(s)]))
              << "channel " << ch << " frame " << s << ": " << got << " vs " << refOut[std::size_t(ch)][std::size_t(s)];
        }
      }
    for (int ch = 0; ch < processed; ++ch)
    {
      EXPECT_TRUE(SameBits(engine.dither->ChannelState(ch).ditherGain, reference.channels[std::size_t(ch)].ditherGain));
      EXPECT_EQ(engine.dither->ChannelState(ch).previousUniform, reference.channels[std::size_t(ch)].previousUniform);
    }
    if (c.ditherOn && frames > 0)
    {
      EXPECT_TRUE(SameBits(engine.dither->AdjustLevel(), meter));
    }
    offset += frames;
  }
}

TEST(DitherProcessor, MatchesThePlainRecursionBitForBit)
{
  const ReferenceCase cases[] = {
    { "stereo, shaped dither, power 9", 9, 16, true, 2, 48000.0, { 256, 256, 100, 1, 256 } },
    { "stereo, shaped dither, power 12", 12, 24, true, 2, 44100.0, { 256, 17, 256 } },
    { "stereo, plain dither, power 0", 0, 16, true, 2, 48000.0, { 256, 256, 3 } },
    { "stereo, no dither, power 0", 0, 8, false, 2, 48000.0, { 256, 200 } },
    { "stereo, shaping without dither", 5, 16, false, 2, 96000.0, { 256, 256 } },
    { "mono, shaped dither, power 1", 1, 16, true, 1, 44100.0, { 256, 31, 256 } },
    { "three inputs: two processed", 9, 16, true, 3, 48000.0, { 256, 64 } },
    { "no inputs connected", 9, 16, true, 2, 48000.0, { 64 }, 0 },
    { "longer than the maximum block", 9, 16, true, 2, 48000.0, { 700, 256, 513 } },
    { "mono longer than the maximum block", 12, 20, true, 1, 48000.0, { 1000 } },
    { "an empty block in between", 9, 16, true, 2, 48000.0, { 128, 0, 128 } },
    { "no shaping above 96 kHz", 9, 16, true, 2, 96001.0, { 256, 256 } },
    { "6 bits", 12, 6, true, 2, 48000.0, { 256 } },
    { "32 bits", 12, 32, true, 2, 48000.0, { 256 } },
  };
  for (const ReferenceCase& c : cases) CompareWithReference(c);
}

TEST(DitherProcessor, LowerTapCountKeepsTheRingButWrapsThePosition)
{
  struct Case
  {
    int frames;
    int oldPower;
    int newPower;
  };
  const Case cases[] = { { 512, 12, 9 }, { 7, 12, 1 },   { 1, 3, 2 }, { 511, 12, 5 },
                         { 100, 9, 12 }, { 13, 12, 12 }, { 5, 12, 0 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.frames << " frames, power " << c.oldPower << " -> " << c.newPower);
    Engine engine(48000.0, 512);
    engine.SetParam(kParamPsychoacousticPower, c.oldPower);
    ReferenceDither reference(kTestSeed);
    const double scale = engine.dither->QuantScale();

    std::vector<std::vector<double>> in { Sine(c.frames, 0.5, 0.01), Sine(c.frames, 0.25, 0.02) };
    std::vector<std::vector<double>> out;
    std::vector<std::vector<double>> refOut(2);
    engine.Render(in, out, c.frames);
    const std::vector<double> oldCoefficients(engine.Coefficients().begin(), engine.Coefficients().end());
    (void)reference.Render(in, refOut, oldCoefficients, scale, false);

    engine.SetParam(kParamPsychoacousticPower, c.newPower);
    const std::vector<double> newCoefficients(engine.Coefficients().begin(), engine.Coefficients().end());
    in = { Sine(300, 0.5, 0.013), Sine(300, -0.25, 0.021) };
    engine.Render(in, out, 300);
    (void)reference.Render(in, refOut, newCoefficients, scale, false);
    for (int ch = 0; ch < 2; ++ch)
      for (int s = 0; s < 300; ++s)
      {
        ASSERT_TRUE(std::isfinite(out[std::size_t(ch)][std::size_t(s)]));
        ASSERT_TRUE(SameBits(out[std::size_t(ch)][std::size_t(s)], refOut[std::size_t(ch)][std::size_t(s)]))
            << "channel " << ch << " frame " << s;
      }
  }
}

TEST(DitherProcessor, TotalErrorIsTheQuantisationErrorThroughOneMinusC)
{
  Engine engine(44100.0, 4096);
  engine.SetParam(kParamPsychoacousticPower, 9);
  const std::span<const double> c = engine.Coefficients();
  ASSERT_EQ(c.size(), 9u);
  const double scale = engine.dither->QuantScale();
  std::vector<std::vector<double>> in { Sine(4096, 0.7, 997.0 / 44100.0) };
  std::vector<std::vector<double>> out;
  engine.Render(in, out, 4096);

  std::vector<double> e; // e[n] = y[n] - v[n], newest last
  for (int n = 0; n < 4096; ++n)
  {
    const double w = in[0][std::size_t(n)];
    double feedback = 0.0;
    double v = w;
    for (std::size_t i = 0; i < c.size() && i < e.size(); ++i)
    {
      feedback += c[i] * e[e.size() - 1 - i];
      v = v - e[e.size() - 1 - i] * c[i];
    }
    const double y = out[0][std::size_t(n)];
    ASSERT_EQ(y, std::floor(scale * v + 0.5) / scale) << "frame " << n;
    e.push_back(y - v);
    // y - w = e[n] - sum c[i] e[n-1-i]
    ASSERT_NEAR(y - w, e.back() - feedback, 1e-15) << "frame " << n;
    ASSERT_LE(std::fabs(e.back()) * scale, 0.5) << "frame " << n;
  }
}

TEST(DitherProcessor, TriangularDitherAddsOneSixthStepSquared)
{
  // With TPDF dither the total error has mean 0 and variance 1/12 + 1/6 step^2, whatever
  // the input; the gain is 1.0 in the first block after a reset.
  const int frames = 1 << 17;
  Engine engine(48000.0, frames);
  engine.SetParam(kParamPsychoacousticPower, 0);
  engine.SetParam(kParamDither, 1.0);
  const double scale = engine.dither->QuantScale();
  std::vector<std::vector<double>> in { std::vector<double>(std::size_t(frames), 0.3 + 0.37 / scale),
                                        std::vector<double>(std::size_t(frames), -0.61 / scale) };
  std::vector<std::vector<double>> out;
  engine.Render(in, out, frames);
  for (int ch = 0; ch < 2; ++ch)
  {
    double sum = 0.0;
    double sumSquares = 0.0;
    for (int s = 0; s < frames; ++s)
    {
      const double error = (out[std::size_t(ch)][std::size_t(s)] - in[std::size_t(ch)][std::size_t(s)]) * scale;
      ASSERT_LT(std::fabs(error), 1.5);
      sum += error;
      sumSquares += error * error;
    }
    const double mean = sum / frames;
    EXPECT_NEAR(mean, 0.0, 0.01) << "channel " << ch;
    EXPECT_NEAR(sumSquares / frames - mean * mean, 1.0 / 12.0 + 1.0 / 6.0, 0.005) << "channel " << ch;
  }
}

TEST(DitherProcessor, DitherGainAndMeterFollowTheLevel)
{
  Engine engine(48000.0, 512);
  engine.SetParam(kParamDither, 1.0);
  std::vector<std::vector<double>> out;

  std::vector<std::vector<double>> fullAndHalf { std::vector<double>(512, 1.0), std::vector<double>(512, -0.5) };
  engine.Render(fullAndHalf, out, 512);
  EXPECT_DOUBLE_EQ(engine.dither->ChannelState(0).ditherGain, 0.4);
  EXPECT_DOUBLE_EQ(engine.dither->ChannelState(1).ditherGain, 0.7);
  EXPECT_DOUBLE_EQ(engine.dither->AdjustLevel(), 1.0); // the largest channel, not the mean

  std::vector<std::vector<double>> silence { std::vector<double>(512, 0.0), std::vector<double>(512, 0.0) };
  engine.Render(silence, out, 512);
  EXPECT_EQ(engine.dither->ChannelState(0).ditherGain, 1.0);
  EXPECT_EQ(engine.dither->ChannelState(1).ditherGain, 1.0);
  EXPECT_EQ(engine.dither->AdjustLevel(), 0.0);

  // With dither off the gains and the meter keep their last values.
  engine.Render(fullAndHalf, out, 512);
  engine.SetParam(kParamDither, 0.0);
  engine.Render(silence, out, 512);
  EXPECT_DOUBLE_EQ(engine.dither->ChannelState(0).ditherGain, 0.4);
  EXPECT_DOUBLE_EQ(engine.dither->AdjustLevel(), 1.0);
}

TEST(DitherProcessor, EmptyBlockLeavesGainsAndMeterUnchanged)
{
  Engine engine(48000.0, 512);
  engine.SetParam(kParamDither, 1.0);
  std::vector<std::vector<double>> in { std::vector<double>(512, 0.5), std::vector<double>(512, 0.25) };
  std::vector<std::vector<double>> out;
  engine.Render(in, out, 512);
  const double gain0 = engine.dither->ChannelState(0).ditherGain;
  const double meter = engine.dither->AdjustLevel();
  engine.Render(in, out, 0);
  EXPECT_EQ(engine.dither->ChannelState(0).ditherGain, gain0);
  EXPECT_TRUE(std::isfinite(engine.dither->ChannelState(1).ditherGain));
  EXPECT_EQ(engine.dither->AdjustLevel(), meter);
}

TEST(DitherProcessor, ResetClearsStateAndDesignsForTheNewRate)
{
  Engine engine(48000.0, 256);
  engine.SetParam(kParamDither, 1.0);
  std::vector<std::vector<double>> in { Sine(256, 0.8, 0.01), Sine(256, 0.8, 0.02) };
  std::vector<std::vector<double>> out;
  engine.Render(in, out, 256);
  ASSERT_NE(engine.dither->ChannelState(0).ditherGain, 1.0);

  struct Case
  {
    double rate;
    int taps;
  };
  for (const Case& c : { Case { 44100.0, 9 }, Case { 96000.0, 9 }, Case { 96001.0, 0 }, Case { 192000.0, 0 } })
  {
    SCOPED_TRACE(c.rate);
    engine.dither->ResetProcessing(c.rate, 256);
    const ShapingFilter& filter = engine.dither->ActiveShapingFilter();
    EXPECT_EQ(filter.tapCount, c.taps);
    EXPECT_EQ(filter.coefficients.size(), c.taps > 0 ? std::size_t(c.taps) : 12u);
    if (c.taps == 0)
    {
      EXPECT_EQ(filter.coefficients, std::vector<double>(12, 0.0));
    }
    for (int ch = 0; ch < 2; ++ch)
    {
      const ChannelDitherState& state = engine.dither->ChannelState(ch);
      EXPECT_EQ(state.historyPos, 0);
      EXPECT_EQ(state.previousUniform, 0.0);
      EXPECT_EQ(state.ditherGain, 1.0);
      EXPECT_EQ(state.errorHistory, std::vector<double>(12, 0.0));
    }
    EXPECT_EQ(engine.dither->QuantScale(), 32768.0);
  }
}

TEST(DitherProcessor, SameSeedSameOutputOtherSeedOtherDither)
{
  std::vector<std::vector<double>> in { Sine(256, 0.5, 0.01), Sine(256, 0.5, 0.01) };
  std::vector<std::vector<double>> outputs[3];
  const uint32_t seeds[3] = { 1, 1, 2 };
  for (int run = 0; run < 3; ++run)
  {
    Engine engine(48000.0, 256, seeds[run]);
    engine.SetParam(kParamDither, 1.0);
    engine.Render(in, outputs[run], 256);
  }
  EXPECT_EQ(outputs[0], outputs[1]);
  EXPECT_NE(outputs[0], outputs[2]);
}

TEST(DitherProcessor, NonFiniteParameterValuesKeepTheOutputFiniteAndOnTheGrid)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Entry
  {
    double value;
    const char* text;
  };
  const Entry entries[] = { { nan, "nan" },   { -nan, "-nan" },   { inf, "inf" },
                            { -inf, "-inf" }, { 1e308, "1e308" }, { -0.0, "-0.0" } };
  for (int index = 0; index < kOmbrixParamCount; ++index)
    for (const Entry& entry : entries)
      for (const bool parsed : { false, true })
      {
        SCOPED_TRACE(testing::Message() << "parameter " << index << (parsed ? " parsed from " : " set to ")
                                        << entry.text);
        Engine engine(48000.0, 256);
        engine.SetParam(kParamDither, 1.0);
        IParam& param = engine.params[std::size_t(index)];
        param.Set(parsed ? param.ParseText(entry.text) : param.Conform(entry.value));
        engine.React(index);
        ASSERT_TRUE(std::isfinite(param.Value()));
        ASSERT_GE(param.Value(), param.Min());
        ASSERT_LE(param.Value(), param.Max());

        const double scale = engine.dither->QuantScale();
        ASSERT_TRUE(scale >= 32.0 && scale <= 2147483648.0) << scale;
        std::vector<std::vector<double>> in { Sine(256, 0.9, 0.01), Sine(256, -0.9, 0.03) };
        std::vector<std::vector<double>> out;
        engine.Render(in, out, 256);
        for (const std::vector<double>& channel : out)
          for (const double y : channel)
          {
            ASSERT_TRUE(std::isfinite(y));
            ASSERT_EQ(y * scale, std::floor(y * scale)) << y;
            ASSERT_LE(std::fabs(y), 1.0 + 64.0 / scale);
          }
      }
}

// Collects what the senders deliver.
struct PacketLog
{
  struct Packet
  {
    int tag;
    int size;
    std::vector<float> payload;
  };
  void SendPacketToControl(int controlTag, int messageTag, int dataSize, const void* data)
  {
    EXPECT_EQ(messageTag, 0);
    std::vector<float> payload(std::size_t(dataSize - 12) / sizeof(float));
    std::memcpy(payload.data(), static_cast<const char*>(data) + 12, payload.size() * sizeof(float));
    packets.push_back({ controlTag, dataSize, payload });
  }
  std::vector<Packet> packets;
};

TEST(DitherProcessor, GraphDataAreMeansOverTheProcessedChannels)
{
  // At 6 bits 0.3 becomes 10/32 and 0.1 becomes 3/32.
  struct Case
  {
    int channels;
    float signal;
    float noise;
  };
  const Case cases[] = {
    { 2, float((0.3 + 0.1) * 0.5), float(((10.0 / 32.0 - 0.3) + (3.0 / 32.0 - 0.1)) * 0.5) },
    { 1, 0.3f, float(10.0 / 32.0 - 0.3) },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.channels);
    Engine engine(48000.0, 512);
    engine.SetParam(kParamPsychoacousticPower, 0);
    engine.SetParam(kParamTargetBits, 6);
    std::vector<std::vector<double>> in { std::vector<double>(512, 0.3), std::vector<double>(512, 0.1) };
    in.resize(std::size_t(c.channels));
    std::vector<std::vector<double>> out;
    for (int block = 0; block < 9; ++block) engine.Render(in, out, 512); // the 4097th frame sends
    PacketLog log;
    engine.dither->TransmitPackets(log);
    ASSERT_EQ(log.packets.size(), 2u);
    EXPECT_EQ(log.packets[0].tag, DitherProcessor::kTagSignalGraph);
    EXPECT_EQ(log.packets[1].tag, DitherProcessor::kTagNoiseGraph);
    for (const PacketLog::Packet& packet : log.packets)
    {
      EXPECT_EQ(packet.size, 16396);
      ASSERT_EQ(packet.payload.size(), 4096u);
    }
    EXPECT_EQ(log.packets[0].payload[0], c.signal);
    EXPECT_EQ(log.packets[0].payload[4095], c.signal);
    EXPECT_EQ(log.packets[1].payload[17], c.noise);
  }
}

TEST(DitherProcessor, MeterPacketsFlowOnlyWhileDitherIsOn)
{
  Engine engine(48000.0, 64);
  std::vector<std::vector<double>> in { std::vector<double>(64, 0.5), std::vector<double>(64, 0.25) };
  std::vector<std::vector<double>> out;
  for (int block = 0; block < 500; ++block) engine.Render(in, out, 64);
  PacketLog log;
  engine.dither->TransmitPackets(log);
  for (const PacketLog::Packet& packet : log.packets) EXPECT_NE(packet.tag, DitherProcessor::kTagMeter);

  engine.SetParam(kParamDither, 1.0);
  for (int block = 0; block < 481; ++block) engine.Render(in, out, 64); // two windows of 240 blocks
  log.packets.clear();
  engine.dither->TransmitPackets(log);
  std::vector<float> meter;
  for (const PacketLog::Packet& packet : log.packets)
    if (packet.tag == DitherProcessor::kTagMeter) meter.push_back(packet.payload.at(0));
  // The first packet is the empty window before any block; then the mean of the per-block
  // largest RMS, here 0.5 every block.
  ASSERT_EQ(meter.size(), 3u);
  EXPECT_EQ(meter[0], 0.0f);
  EXPECT_FLOAT_EQ(meter[1], 0.5f);
  EXPECT_FLOAT_EQ(meter[2], 0.5f);
}

TEST(DitherProcessor, RestoresTheFloatingPointControlWord)
{
#if defined(__x86_64__)
  // The low six bits are sticky exception flags that any arithmetic sets; the rest is control.
  const unsigned kControlBits = ~0x3fu;
  Engine engine;
  const unsigned before = _mm_getcsr() & kControlBits;
  ASSERT_EQ(before & 0x8040u, 0u);
  std::vector<std::vector<double>> in { Sine(64, 1e-310, 0.01) };
  std::vector<std::vector<double>> out;
  engine.Render(in, out, 64);
  EXPECT_EQ(_mm_getcsr() & kControlBits, before);
#else
  GTEST_SKIP() << "x86-64 only";
#endif
}

} // namespace
} // namespace kit::test
