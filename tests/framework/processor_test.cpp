#include "framework/processor.h"
#include "support/allocation_counter.h"

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kit
{
namespace
{

PluginConfig ConfigWith(const char* channelIO)
{
  PluginConfig config;
  config.channelIO = channelIO;
  config.latency = 7;
  return config;
}

// The default block operation, with a MIDI sink that can be told to refuse.
class PassThrough : public IProcessor
{
public:
  explicit PassThrough(const char* channelIO)
      : IProcessor(ConfigWith(channelIO))
  {
  }

  bool SendMidiMessage(const MidiMessage& message) noexcept override
  {
    if (sentCount < sent.size()) sent[sentCount] = message;
    ++sentCount;
    return message.status != refusedStatus;
  }

  std::array<MidiMessage, 8> sent {};
  std::size_t sentCount = 0;
  std::uint8_t refusedStatus = 0;
};

// Records what RenderBlock receives, and writes output = 2 × input + 1 for connected outputs.
class Recorder : public PassThrough
{
public:
  using PassThrough::PassThrough;

  void RenderBlock(double** inputs, double** outputs, int frames) noexcept override
  {
    ++calls;
    lastFrames = frames;
    lastInputs = inputs;
    lastOutputs = outputs;
    for (int c = 0; c < ChannelRecordCount(kOutput); ++c)
    {
      if (!IsConnected(kOutput, c)) continue;
      const double* input = c < ChannelRecordCount(kInput) ? inputs[c] : nullptr;
      for (int k = 0; k < frames; ++k) outputs[c][k] = 2.0 * (input ? input[k] : 0.0) + 1.0;
    }
  }

  int calls = 0;
  int lastFrames = -1;
  double** lastInputs = nullptr;
  double** lastOutputs = nullptr;
};

// The binding's per-block pattern: disconnect every record, connect the first `count`.
void ConnectFirst(IProcessor& processor, ERoute direction, int count)
{
  processor.ConnectChannels(direction, 0, processor.ChannelRecordCount(direction), false);
  processor.ConnectChannels(direction, 0, count, true);
}

// One converting block on the first input and output channel, as the bridge runs it.
void RenderOneChannelConverting(IProcessor& processor, const float* input, float* output, int frames)
{
  const float* inputs[1] = { input };
  float* outputs[1] = { output };
  ConnectFirst(processor, kInput, 1);
  ConnectFirst(processor, kOutput, 1);
  processor.AttachInputsConverting(0, 1, inputs, frames);
  processor.AttachOutputsConverting(0, 1, outputs);
  processor.RenderConverting(frames);
}

TEST(ChannelLayouts, ParsesLayoutsBusesAndMaxima)
{
  struct Case
  {
    const char* channelIO;
    int layouts;
    int maxInputs;
    int maxOutputs;
    int maxInputBuses;
    int maxOutputBuses;
  };
  const Case cases[] = {
    { "1-1 2-2", 2, 2, 2, 1, 1 },
    { "", 0, 0, 0, 0, 0 },
    { "   1-1   2-2  ", 2, 2, 2, 1, 1 },
    { "0-1", 1, 0, 1, 0, 1 }, // a bus of 0 is no bus
    { "*-2", 1, 0, 2, 1, 1 }, // "*" counts −64 towards the total
    { "2.2-2", 1, 4, 2, 2, 1 },
    { "1.0.1-1", 1, 2, 1, 2, 1 },
    { "x-1", 1, 0, 1, 0, 1 }, // no number reads 0
    { "+2-2", 1, 2, 2, 1, 1 },
    { "99999999999-1", 1, 0, 1, 0, 1 }, // beyond int reads 0
    { "2", 1, 2, 0, 1, 0 },             // no "-": no output side
    { "1-1 2.1-2 1-3", 3, 3, 3, 2, 1 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.channelIO);
    std::vector<ChannelLayout> layouts(5); // replaced, not appended to
    int maxInputs = -1, maxOutputs = -1, maxInputBuses = -1, maxOutputBuses = -1;
    const int count =
        IProcessor::ParseChannelLayouts(c.channelIO, layouts, maxInputs, maxOutputs, maxInputBuses, maxOutputBuses);
    EXPECT_EQ(count, c.layouts);
    EXPECT_EQ(static_cast<int>(layouts.size()), c.layouts);
    EXPECT_EQ(maxInputs, c.maxInputs);
    EXPECT_EQ(maxOutputs, c.maxOutputs);
    EXPECT_EQ(maxInputBuses, c.maxInputBuses);
    EXPECT_EQ(maxOutputBuses, c.maxOutputBuses);
  }
}

TEST(ChannelLayouts, BusesCarryDirectionAndCount)
{
  std::vector<ChannelLayout> layouts;
  int maxInputs = 0, maxOutputs = 0, maxInputBuses = 0, maxOutputBuses = 0;
  ASSERT_EQ(IProcessor::ParseChannelLayouts("1-1 *.2-2", layouts, maxInputs, maxOutputs, maxInputBuses, maxOutputBuses),
            2);
  ASSERT_EQ(layouts[0].inputBuses.size(), 1u);
  EXPECT_EQ(layouts[0].inputBuses[0].direction, kInput);
  EXPECT_EQ(layouts[0].inputBuses[0].channelCount, 1);
  ASSERT_EQ(layouts[1].inputBuses.size(), 2u);
  EXPECT_EQ(layouts[1].inputBuses[0].channelCount, kAnyChannelCount);
  EXPECT_EQ(layouts[1].inputBuses[1].channelCount, 2);
  ASSERT_EQ(layouts[1].outputBuses.size(), 1u);
  EXPECT_EQ(layouts[1].outputBuses[0].direction, kOutput);
  EXPECT_EQ(layouts[1].outputBuses[0].channelCount, 2);
  EXPECT_EQ(maxInputs, 1); // −64 + 2 does not raise the maximum
}

TEST(ChannelLayouts, MaxBusCountTakesTheLastLayoutReachingIt)
{
  struct Case
  {
    const char* channelIO;
    ERoute direction;
    int buses;
    int layoutIndex;
  };
  const Case cases[] = {
    { "1-1 2-2", kInput, 1, 1 },   { "1-1 2-2", kOutput, 1, 1 },   { "", kInput, 0, 0 },
    { "1.1-1 2-2", kInput, 2, 0 }, { "1.1-1 2-2", kOutput, 1, 1 }, { "0-2 0-1", kInput, 0, 1 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.channelIO) + (c.direction == kInput ? " in" : " out"));
    const PassThrough processor(c.channelIO);
    int layoutIndex = -1;
    EXPECT_EQ(processor.MaxBusCount(c.direction, &layoutIndex), c.buses);
    EXPECT_EQ(layoutIndex, c.layoutIndex);
  }
}

TEST(ProcessorSetup, RecordsFollowTheWidestLayoutAndDefaultsHold)
{
  const PassThrough processor("1-1 2-2");
  EXPECT_EQ(processor.ChannelRecordCount(kInput), 2);
  EXPECT_EQ(processor.ChannelRecordCount(kOutput), 2);
  EXPECT_EQ(processor.Layouts().size(), 2u);
  EXPECT_EQ(processor.CountConnected(kInput), 0);
  EXPECT_EQ(processor.CountConnected(kOutput), 0);
  EXPECT_EQ(processor.SampleRate(), 48000.0);
  EXPECT_EQ(processor.MaxBlockSize(), 0);
  EXPECT_EQ(processor.Latency(), 7);
  EXPECT_EQ(processor.TailLength(), 0);
  EXPECT_FALSE(processor.RenderingOffline());

  const TransportInfo& transport = processor.Transport();
  EXPECT_EQ(transport.tempo, 120.0);
  EXPECT_EQ(transport.samplePosition, -1.0);
  EXPECT_EQ(transport.quarterNotePosition, -1.0);
  EXPECT_EQ(transport.lastBarStart, -1.0);
  EXPECT_EQ(transport.loopStart, -1.0);
  EXPECT_EQ(transport.loopEnd, -1.0);
  EXPECT_EQ(transport.numerator, 4);
  EXPECT_EQ(transport.denominator, 4);
  EXPECT_FALSE(transport.running);
  EXPECT_FALSE(transport.loopActive);
}

TEST(ProcessorSetup, SettersStoreTheirValues)
{
  PassThrough processor("1-1");
  processor.SetSampleRate(96000.0);
  processor.UpdateLatency(64);
  processor.UpdateTailLength(480);
  processor.SetRenderingOffline(true);
  TransportInfo transport;
  transport.tempo = 90.0;
  transport.running = true;
  processor.SetTransport(transport);
  EXPECT_EQ(processor.SampleRate(), 96000.0);
  EXPECT_EQ(processor.Latency(), 64);
  EXPECT_EQ(processor.TailLength(), 480);
  EXPECT_TRUE(processor.RenderingOffline());
  EXPECT_EQ(processor.Transport().tempo, 90.0);
  EXPECT_TRUE(processor.Transport().running);
}

TEST(BusNames, NamesDependOnDirectionAndBusCount)
{
  struct Case
  {
    ERoute direction;
    int busIndex;
    int busCount;
    const char* expected;
  };
  const Case cases[] = {
    { kInput, 0, 1, "Input" },     { kInput, 0, 2, "Main" },      { kInput, 1, 2, "Aux" },
    { kInput, 2, 3, "Input 2" },   { kInput, 0, 0, "Input 0" },   { kOutput, 0, 1, "Output" },
    { kOutput, 2, 3, "Output 2" }, { kOutput, 1, 2, "Output 1" }, { kOutput, -2147483647 - 1, 5, "Output -2147483648" },
  };
  const PassThrough processor("1-1");
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.expected);
    FixedText<32> text("stale");
    processor.NameOfBus(c.direction, c.busIndex, c.busCount, text);
    EXPECT_EQ(text.View(), c.expected);
  }
}

TEST(ChannelConnection, RangeIsClampedToTheRecords)
{
  PassThrough processor("2-2");
  processor.ConnectChannels(kInput, 1, 5, true);
  EXPECT_FALSE(processor.IsConnected(kInput, 0));
  EXPECT_TRUE(processor.IsConnected(kInput, 1));
  processor.ConnectChannels(kInput, -3, 4, true);
  EXPECT_TRUE(processor.IsConnected(kInput, 0));
  processor.ConnectChannels(kOutput, 0, 2147483647, true);
  EXPECT_EQ(processor.CountConnected(kOutput), 2);
  processor.ConnectChannels(kOutput, 0, 0, false);
  EXPECT_EQ(processor.CountConnected(kOutput), 2);
  EXPECT_FALSE(processor.IsConnected(kOutput, 2));
  EXPECT_FALSE(processor.IsConnected(kOutput, -1));
}

TEST(ChannelConnection, DisconnectedChannelPointsAtItsOwnScratch)
{
  Recorder processor("1-1 2-2");
  processor.ApplyMaxBlockSize(4);

  // Block 1: both inputs connected and converted into their scratch buffers.
  const float left[4] = { 1, 2, 3, 4 };
  const float right[4] = { 5, 6, 7, 8 };
  const float* stereo[2] = { left, right };
  ConnectFirst(processor, kInput, 2);
  processor.AttachInputsConverting(0, 2, stereo, 4);
  ConnectFirst(processor, kOutput, 0);
  processor.RenderDirect(4);

  // Block 2: one host channel, attached directly; channel 1 falls back to its scratch buffer,
  // which still holds block 1's right channel.
  double mono[4] = { 9, 10, 11, 12 };
  double* direct[1] = { mono };
  ConnectFirst(processor, kInput, 1);
  EXPECT_EQ(processor.CountConnected(kInput), 1);
  processor.AttachDirect(kInput, 0, 2, direct);
  processor.RenderDirect(4);
  ASSERT_NE(processor.lastInputs, nullptr);
  EXPECT_EQ(processor.lastInputs[0], mono);
  ASSERT_NE(processor.lastInputs[1], nullptr);
  EXPECT_NE(processor.lastInputs[1], mono);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(processor.lastInputs[1][k], right[k]);
}

TEST(ChannelConnection, DisconnectedInputsTakeNoHostBuffer)
{
  Recorder processor("2-2");
  processor.ApplyMaxBlockSize(2);
  const float first[2] = { 0.25f, 0.5f };
  const float* buffers[1] = { first };
  processor.ConnectChannels(kInput, 1, 1, true); // only channel 1
  processor.AttachInputsConverting(0, 2, buffers, 2);
  processor.RenderDirect(2);
  EXPECT_EQ(processor.lastInputs[1][0], 0.25);
  EXPECT_EQ(processor.lastInputs[1][1], 0.5);
}

TEST(DefaultRender, CopiesInputRecordsAndSilencesTheRest)
{
  PassThrough processor("1-2");
  processor.ApplyMaxBlockSize(3);
  ConnectFirst(processor, kInput, 1);
  ConnectFirst(processor, kOutput, 2);
  double input[3] = { 0.1, -0.2, 0.3 };
  double out0[3] = { 9, 9, 9 };
  double out1[3] = { 9, 9, 9 };
  double* inputs[1] = { input };
  double* outputs[2] = { out0, out1 };
  processor.AttachDirect(kInput, 0, 1, inputs);
  processor.AttachDirect(kOutput, 0, 2, outputs);
  processor.RenderDirect(3);
  for (int k = 0; k < 3; ++k)
  {
    EXPECT_EQ(out0[k], input[k]);
    EXPECT_EQ(out1[k], 0.0);
  }
}

TEST(DefaultRender, GoesByRecordsNotByConnectedChannels)
{
  PassThrough processor("2-2");
  processor.ApplyMaxBlockSize(2);
  double in0[2] = { 1, 2 }, in1[2] = { 3, 4 };
  double out0[2] = {}, out1[2] = {};
  double* inputs[2] = { in0, in1 };
  double* outputs[2] = { out0, out1 };
  processor.RenderBlock(inputs, outputs, 2);
  EXPECT_EQ(out1[0], 3.0);
  EXPECT_EQ(out1[1], 4.0);
}

TEST(ConvertingRender, FloatSamplesSurviveTheDoubleRoundTrip)
{
  const float samples[] = { 0.0f,
                            -0.0f,
                            0.1f,
                            -0.7f,
                            1.0f,
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN() };
  constexpr int kFrames = static_cast<int>(sizeof samples / sizeof samples[0]);
  PassThrough processor("1-1");
  processor.ApplyMaxBlockSize(kFrames);
  float output[kFrames] = {};
  RenderOneChannelConverting(processor, samples, output, kFrames);
  for (int k = 0; k < kFrames; ++k)
  {
    SCOPED_TRACE(k);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(output[k]), std::bit_cast<std::uint32_t>(samples[k]));
  }
}

TEST(ConvertingRender, ProcessesInDoubleAndCastsBack)
{
  Recorder processor("1-1 2-2");
  processor.ApplyMaxBlockSize(2);
  const float left[2] = { 0.1f, 16777216.0f }; // 2 × 2^24 + 1 needs more than float's 24 bits
  const float right[2] = { -0.3f, 0.5f };
  const float* inputs[2] = { left, right };
  float outLeft[2] = {}, outRight[2] = {};
  float* outputs[2] = { outLeft, outRight };
  ConnectFirst(processor, kInput, 2);
  ConnectFirst(processor, kOutput, 2);
  processor.AttachInputsConverting(0, 2, inputs, 2);
  processor.AttachOutputsConverting(0, 2, outputs);
  processor.RenderConverting(2);
  EXPECT_EQ(processor.lastFrames, 2);
  for (int k = 0; k < 2; ++k)
  {
    EXPECT_EQ(outLeft[k], static_cast<float>(2.0 * static_cast<double>(left[k]) + 1.0));
    EXPECT_EQ(outRight[k], static_cast<float>(2.0 * static_cast<double>(right[k]) + 1.0));
  }
}

TEST(ConvertingRender, DisconnectedOutputsAreNotWrittenBack)
{
  Recorder processor("1-1 2-2");
  processor.ApplyMaxBlockSize(2);
  const float input[2] = { 1.0f, 2.0f };
  const float* inputs[1] = { input };
  float out0[2] = {}, out1[2] = { 7.0f, 7.0f };
  float* outputs[2] = { out0, out1 };
  ConnectFirst(processor, kInput, 1);
  ConnectFirst(processor, kOutput, 1);
  processor.AttachInputsConverting(0, 1, inputs, 2);
  processor.AttachOutputsConverting(0, 2, outputs);
  processor.RenderConverting(2);
  EXPECT_EQ(out0[0], 3.0f);
  EXPECT_EQ(out0[1], 5.0f);
  EXPECT_EQ(out1[0], 7.0f);
  EXPECT_EQ(out1[1], 7.0f);
}

TEST(ConvertingRender, NoRecordsStillRenders)
{
  Recorder processor("");
  processor.ApplyMaxBlockSize(16);
  processor.RenderConverting(16);
  processor.RenderDirect(16);
  EXPECT_EQ(processor.calls, 2);
  EXPECT_EQ(processor.lastInputs, nullptr);
  EXPECT_EQ(processor.lastOutputs, nullptr);
}

TEST(BlockLimit, LongerBlocksAreCutToMaxBlockSize)
{
  constexpr int kMax = 8;
  constexpr int kHostFrames = 3 * kMax;
  // The default render writes every output record, including the disconnected second one
  // that points at its kMax-long scratch buffer: AddressSanitizer would see an overrun.
  PassThrough processor("1-1 2-2");
  processor.ApplyMaxBlockSize(kMax);
  float in[kHostFrames], out[kHostFrames];
  for (int k = 0; k < kHostFrames; ++k)
  {
    in[k] = static_cast<float>(k + 1);
    out[k] = -1.0f;
  }
  RenderOneChannelConverting(processor, in, out, kHostFrames);
  for (int k = 0; k < kHostFrames; ++k)
  {
    SCOPED_TRACE(k);
    EXPECT_EQ(out[k], k < kMax ? in[k] : -1.0f);
  }
  processor.RenderDirect(kHostFrames);

  Recorder recorder("1-1");
  recorder.ApplyMaxBlockSize(kMax);
  RenderOneChannelConverting(recorder, in, out, kHostFrames);
  EXPECT_EQ(recorder.lastFrames, kMax);
  recorder.RenderDirect(-5);
  EXPECT_EQ(recorder.lastFrames, 0);
}

TEST(BlockLimit, ApplyMaxBlockSizeZeroesScratchAndRepointsChannels)
{
  Recorder processor("1-1");
  processor.ApplyMaxBlockSize(4);
  const float loud[4] = { 1, 1, 1, 1 };
  const float* inputs[1] = { loud };
  ConnectFirst(processor, kInput, 1);
  processor.AttachInputsConverting(0, 1, inputs, 4);
  processor.ApplyMaxBlockSize(32);
  EXPECT_EQ(processor.MaxBlockSize(), 32);
  processor.RenderDirect(32);
  ASSERT_NE(processor.lastInputs[0], nullptr);
  for (int k = 0; k < 32; ++k) EXPECT_EQ(processor.lastInputs[0][k], 0.0);
}

TEST(Midi, IncomingMessagesPassThroughToTheHost)
{
  PassThrough processor("1-1");
  processor.ProcessMidiMessage(MidiMessage { 10, 0x90, 60, 100 });
  ASSERT_EQ(processor.sentCount, 1u);
  EXPECT_EQ(processor.sent[0].offset, 10);
  EXPECT_EQ(processor.sent[0].status, 0x90);
  EXPECT_EQ(processor.sent[0].data1, 60);
  EXPECT_EQ(processor.sent[0].data2, 100);
  const std::uint8_t payload[2] = { 0xF0, 0xF7 };
  EXPECT_FALSE(processor.SendSysEx(SysExMessage { 0, 2, payload }));
}

TEST(Midi, MessageListIsTrueOnlyWhenEveryMessageIsQueued)
{
  PassThrough processor("1-1");
  const MidiMessage messages[3] = { { 0, 0x90, 1, 1 }, { 1, 0xB0, 2, 2 }, { 2, 0x80, 3, 0 } };
  EXPECT_TRUE(processor.SendMidiMessages(messages));
  processor.refusedStatus = 0xB0;
  processor.sentCount = 0;
  EXPECT_FALSE(processor.SendMidiMessages(messages));
  EXPECT_EQ(processor.sentCount, 3u); // the refusal does not stop the rest
  EXPECT_EQ(processor.sent[2].status, 0x80);
}

TEST(AudioThread, PerBlockOperationsAllocateNothing)
{
  PassThrough processor("1-1 2-2");
  processor.ApplyMaxBlockSize(64);
  float in[2][64] = {}, out[2][64] = {};
  const float* inputs[2] = { in[0], in[1] };
  float* outputs[2] = { out[0], out[1] };
  double direct[2][64] = {};
  double* directBuffers[2] = { direct[0], direct[1] };
  const MidiMessage messages[2] = { { 0, 0x90, 1, 1 }, { 1, 0x80, 1, 0 } };

  test::AllocationScope allocations;
  for (int block = 0; block < 4; ++block)
  {
    const int channels = 1 + block % 2;
    ConnectFirst(processor, kInput, channels);
    ConnectFirst(processor, kOutput, channels);
    if (block < 2)
    {
      processor.AttachInputsConverting(0, channels, inputs, 64);
      processor.AttachOutputsConverting(0, channels, outputs);
      processor.RenderConverting(64);
    }
    else
    {
      processor.AttachDirect(kInput, 0, channels, directBuffers);
      processor.AttachDirect(kOutput, 0, channels, directBuffers);
      processor.RenderDirect(64);
    }
    static_cast<void>(processor.CountConnected(kInput));
    processor.ProcessMidiMessage(messages[0]);
    static_cast<void>(processor.SendMidiMessages(messages));
    processor.SetTransport(TransportInfo {});
  }
  EXPECT_EQ(allocations.Count(), 0u);
}

} // namespace
} // namespace kit
