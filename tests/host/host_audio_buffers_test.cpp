#include "tools/host/audio_buffers.h"
#include "tools/host/process_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kit::host
{
namespace
{

TEST(AudioBuffers, EachPortPointsAtItsOwnChannelsInOneSampleWidth)
{
  struct Case
  {
    SampleWidth width;
    std::vector<std::uint32_t> channels;
  };
  const Case cases[] = {
    { SampleWidth::Float32, { 2 } },       { SampleWidth::Float64, { 2 } }, { SampleWidth::Float32, { 1, 0, 3 } },
    { SampleWidth::Float64, { 0, 2, 1 } }, { SampleWidth::Float64, {} },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << (c.width == SampleWidth::Float64 ? "64" : "32") << " bits, " << c.channels.size()
                                    << " ports");
    AudioBuffers buffers(c.width, c.channels, 16);
    ASSERT_EQ(buffers.PortCount(), c.channels.size());
    EXPECT_EQ(buffers.Ports() == nullptr, c.channels.empty());
    for (std::uint32_t port = 0; port < buffers.PortCount(); ++port)
    {
      SCOPED_TRACE(port);
      const clap_audio_buffer& buffer = buffers.Ports()[port];
      EXPECT_EQ(buffer.channel_count, c.channels[port]);
      EXPECT_EQ(buffer.latency, 0u);
      EXPECT_EQ(buffer.constant_mask, 0u);
      const bool wide = c.width == SampleWidth::Float64;
      const bool hasChannels = c.channels[port] > 0;
      EXPECT_EQ(buffer.data64 != nullptr, wide && hasChannels);
      EXPECT_EQ(buffer.data32 != nullptr, !wide && hasChannels);
      for (std::uint32_t channel = 0; channel < c.channels[port]; ++channel)
      {
        // Writing through the record lands in the channel the accessor names, and nowhere else.
        const double mark = 100.0 * port + channel + 1;
        if (wide)
        {
          buffer.data64[channel][15] = mark;
          EXPECT_EQ(buffers.Channel64(port, channel)[15], mark);
          EXPECT_EQ(buffers.Channel64(port, channel).size(), 16u);
          EXPECT_TRUE(buffers.Channel32(port, channel).empty());
        }
        else
        {
          buffer.data32[channel][15] = float(mark);
          EXPECT_EQ(buffers.Channel32(port, channel)[15], float(mark));
          EXPECT_TRUE(buffers.Channel64(port, channel).empty());
        }
      }
    }
    // No channel was written twice: every mark is still the one put there.
    for (std::uint32_t port = 0; port < buffers.PortCount(); ++port)
      for (std::uint32_t channel = 0; channel < c.channels[port]; ++channel)
      {
        const double mark = 100.0 * port + channel + 1;
        const double found = c.width == SampleWidth::Float64 ? buffers.Channel64(port, channel)[15]
                                                             : double(buffers.Channel32(port, channel)[15]);
        EXPECT_EQ(found, mark);
      }
  }
}

TEST(ProcessRecord, WiresThePiecesAndLeavesMissingOnesNull)
{
  AudioBuffers inputs(SampleWidth::Float32, { 2, 1 }, 32);
  AudioBuffers outputs(SampleWidth::Float32, { 2 }, 32);
  InputEventList in;
  OutputEventList out;
  const clap_event_transport transport {};
  const clap_process full = ProcessRecord({ &inputs, &outputs, &in, &out, &transport, 32, 640 });
  EXPECT_EQ(full.audio_inputs, inputs.Ports());
  EXPECT_EQ(full.audio_inputs_count, 2u);
  EXPECT_EQ(full.audio_outputs, outputs.Ports());
  EXPECT_EQ(full.audio_outputs_count, 1u);
  EXPECT_EQ(full.in_events, in.Record());
  EXPECT_EQ(full.out_events, out.Record());
  EXPECT_EQ(full.transport, &transport);
  EXPECT_EQ(full.frames_count, 32u);
  EXPECT_EQ(full.steady_time, 640);

  const clap_process bare = ProcessRecord({});
  EXPECT_EQ(bare.audio_inputs, nullptr);
  EXPECT_EQ(bare.audio_inputs_count, 0u);
  EXPECT_EQ(bare.audio_outputs, nullptr);
  EXPECT_EQ(bare.in_events, nullptr);
  EXPECT_EQ(bare.out_events, nullptr);
  EXPECT_EQ(bare.transport, nullptr);
  EXPECT_EQ(bare.steady_time, -1);
}

} // namespace
} // namespace kit::host
