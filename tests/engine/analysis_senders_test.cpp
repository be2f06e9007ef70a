#include "engine/analysis_senders.h"
#include "support/allocation_counter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <new>
#include <thread>
#include <vector>

namespace kit
{
namespace
{

using SpectrumSender = IBufferSender<1, 64, 4096>;
using MeterSender = IPeakSender<1, 64>;

constexpr int kBufferFrames = 4096;
constexpr int kSpectrumPacketBytes = 12 + 4096 * 4;
constexpr int kMeterPacketBytes = 12 + 4;
const float kMinus90Db = static_cast<float>(std::pow(10.0, -90.0 / 20.0));

struct DeliveredPacket
{
  int controlTag = 0;
  int messageTag = 0;
  int dataSize = 0;
  std::vector<unsigned char> bytes;

  // Fields decoded from the little-endian bytes, independent of the packet struct.
  [[nodiscard]] int32_t Int32At(std::size_t offset) const
  {
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= uint32_t(bytes.at(offset + i)) << (8 * i);
    return std::bit_cast<int32_t>(value);
  }
  [[nodiscard]] float FloatAt(std::size_t offset) const { return std::bit_cast<float>(Int32At(offset)); }
  [[nodiscard]] float Sample(std::size_t index) const { return FloatAt(12 + 4 * index); }
};

struct RecordingDelegate
{
  std::vector<DeliveredPacket> packets;

  void SendPacketToControl(int controlTag, int messageTag, int dataSize, const void* data)
  {
    const auto* bytes = static_cast<const unsigned char*>(data);
    packets.push_back({ controlTag, messageTag, dataSize, { bytes, bytes + dataSize } });
  }
};

// Feeds samples to channel 0 of a sender in calls of at most chunk frames.
template <class Sender>
void Feed(Sender& sender, std::vector<double> samples, int chunk, int controlTag = 1)
{
  for (std::size_t start = 0; start < samples.size(); start += std::size_t(chunk))
  {
    const int frames = int(std::min(std::size_t(chunk), samples.size() - start));
    double* inputs[1] = { samples.data() + start };
    sender.AddBlock(inputs, frames, controlTag, 1, 0);
  }
}

std::vector<double> Constant(int frames, double value)
{
  return std::vector<double>(std::size_t(frames), value);
}

// Drains the sender and returns what it delivered.
template <class Sender>
std::vector<DeliveredPacket> Drain(Sender& sender)
{
  RecordingDelegate delegate;
  sender.TransmitPackets(delegate);
  return delegate.packets;
}

TEST(SenderPacket, LayoutIsThreeInt32ThenThePayload)
{
  using MeterPacket = ISenderPacket<1, float>;
  using SpectrumPacket = ISenderPacket<1, std::array<float, 4096>>;
  EXPECT_EQ(sizeof(MeterPacket), 16u);
  EXPECT_EQ(sizeof(SpectrumPacket), 16396u);
  EXPECT_EQ(offsetof(SpectrumPacket, controlTag), 0u);
  EXPECT_EQ(offsetof(SpectrumPacket, channelCount), 4u);
  EXPECT_EQ(offsetof(SpectrumPacket, channelOffset), 8u);
  EXPECT_EQ(offsetof(SpectrumPacket, payload), 12u);
  EXPECT_EQ(sizeof(ISenderPacket<2, std::array<float, 8>>), 12u + 2 * 8 * 4);
}

// The editor's spectrum graph receives 4096 consecutive frames, oldest first, as float32
// after the three header fields; a buffer leaves with the first frame after it.
TEST(BufferSender, PacketCarriesConsecutiveFramesOldestFirst)
{
  auto sender = std::make_unique<SpectrumSender>(-90.0, kBufferFrames);
  std::vector<double> samples(3 * kBufferFrames + 1);
  for (std::size_t s = 0; s < samples.size(); ++s) samples[s] = (s % 2 == 0 ? 1.0 : -1.0) * (0.1 + 1e-5 * double(s));
  Feed(*sender, samples, 1000, 1);

  const std::vector<DeliveredPacket> packets = Drain(*sender);
  ASSERT_EQ(packets.size(), 3u);
  for (std::size_t k = 0; k < packets.size(); ++k)
  {
    SCOPED_TRACE(testing::Message() << "packet " << k);
    const DeliveredPacket& packet = packets[k];
    EXPECT_EQ(packet.controlTag, 1);
    EXPECT_EQ(packet.messageTag, 0);
    EXPECT_EQ(packet.dataSize, kSpectrumPacketBytes);
    EXPECT_EQ(packet.Int32At(0), 1);
    EXPECT_EQ(packet.Int32At(4), 1);
    EXPECT_EQ(packet.Int32At(8), 0);
    for (std::size_t i = 0; i < std::size_t(kBufferFrames); ++i)
      ASSERT_EQ(packet.Sample(i), static_cast<float>(samples[k * kBufferFrames + i])) << "sample " << i;
  }
}

// Silence: the first buffer still goes out (the previous sum starts at 1.0), but only
// with frame 4097; a second silent buffer sends nothing. Block sizes must not matter.
TEST(BufferSender, SilenceSendsOneZeroPacketWithTheFrameAfterTheFirstBuffer)
{
  for (const int chunk : { 1, 256, 4095, 4096, 5000 })
  {
    SCOPED_TRACE(testing::Message() << "chunk " << chunk);
    auto sender = std::make_unique<SpectrumSender>(-90.0, kBufferFrames);

    Feed(*sender, Constant(kBufferFrames - 1, 0.0), chunk);
    EXPECT_TRUE(Drain(*sender).empty()) << "after 4095 frames";
    Feed(*sender, Constant(1, 0.0), chunk);
    EXPECT_TRUE(Drain(*sender).empty()) << "after 4096 frames";

    Feed(*sender, Constant(1, 0.0), chunk);
    const std::vector<DeliveredPacket> packets = Drain(*sender);
    ASSERT_EQ(packets.size(), 1u) << "after 4097 frames";
    EXPECT_EQ(packets[0].dataSize, kSpectrumPacketBytes);
    bool allZero = true;
    for (std::size_t i = 0; i < std::size_t(kBufferFrames); ++i) allZero = allZero && packets[0].Sample(i) == 0.0f;
    EXPECT_TRUE(allZero);

    Feed(*sender, Constant(3 * kBufferFrames, 0.0), chunk);
    EXPECT_TRUE(Drain(*sender).empty()) << "later silent buffers";
  }
}

// Each buffer holds one constant level; a buffer goes out while its own sum of |x| or
// the previous buffer's is above 10^(-90/20). Levels of 1e-9 sum to 4.1e-6 (quiet),
// 1e-8 to 4.1e-5 (loud).
TEST(BufferSender, QuietInputStopsAfterOneMoreQuietBuffer)
{
  struct Case
  {
    std::vector<double> levels;
    std::vector<bool> sent;
  };
  const std::vector<Case> cases = {
    { { 0.5, 0.0, 0.0, 0.0, 0.5, 0.0 }, { true, true, false, false, true, true } },
    { { 0.0, 0.0, 0.0 }, { true, false, false } },
    { { 1e-9, 1e-9, 1e-8, 1e-9, 1e-9 }, { true, false, true, true, false } },
    { { -0.25, 1e-9, -1e-8, 0.0 }, { true, true, true, true } },
  };
  for (std::size_t n = 0; n < cases.size(); ++n)
  {
    SCOPED_TRACE(testing::Message() << "case " << n);
    const Case& test = cases[n];
    auto sender = std::make_unique<SpectrumSender>(-90.0, kBufferFrames);
    std::vector<bool> sent;
    for (std::size_t k = 0; k <= test.levels.size(); ++k)
    {
      // A buffer leaves with the first frame of the next one; one extra frame ends the last.
      const int frames = k < test.levels.size() ? kBufferFrames : 1;
      const double level = k < test.levels.size() ? test.levels[k] : 0.0;
      std::vector<double> samples = Constant(frames, level);
      for (std::size_t s = 1; s < samples.size(); s += 2) samples[s] = -samples[s];
      Feed(*sender, samples, 512);
      const std::vector<DeliveredPacket> packets = Drain(*sender);
      if (k == 0)
      {
        EXPECT_TRUE(packets.empty());
        continue;
      }
      ASSERT_LE(packets.size(), 1u);
      sent.push_back(packets.size() == 1);
      if (packets.size() == 1)
      {
        EXPECT_EQ(std::fabs(packets[0].Sample(0)), std::fabs(static_cast<float>(test.levels[k - 1])));
      }
    }
    EXPECT_EQ(sent, test.sent);
  }
}

TEST(BufferSender, ThresholdIsTheDecibelAmplitudeOrAlwaysSendAtMinus100)
{
  struct Case
  {
    double thresholdDb;
    float expected;
  };
  const Case cases[] = {
    { -90.0, kMinus90Db },
    { -60.0, 0.001f },
    { 0.0, 1.0f },
    { 6.0, static_cast<float>(std::pow(10.0, 0.3)) },
    { -99.9, static_cast<float>(std::pow(10.0, -99.9 / 20.0)) },
    { -100.0, -1.0f },
    { -140.0, -1.0f },
  };
  for (const Case& test : cases)
  {
    SCOPED_TRACE(testing::Message() << test.thresholdDb << " dB");
    auto sender = std::make_unique<SpectrumSender>(test.thresholdDb, kBufferFrames);
    EXPECT_FLOAT_EQ(sender->Threshold(), test.expected);
  }
  EXPECT_NEAR(kMinus90Db, 3.1623e-5f, 1e-9f);
}

TEST(BufferSender, ThresholdAtMinus100SendsEverySilentBuffer)
{
  auto sender = std::make_unique<SpectrumSender>(-100.0, kBufferFrames);
  Feed(*sender, Constant(4 * kBufferFrames + 1, 0.0), 700);
  EXPECT_EQ(Drain(*sender).size(), 4u);
}

TEST(BufferSender, BufferLengthBelowTheTemplateLengthSendsShorterBuffers)
{
  auto sender = std::make_unique<SpectrumSender>(-90.0, 16);
  EXPECT_EQ(sender->BufferFrames(), 16);
  std::vector<double> samples(17);
  for (std::size_t s = 0; s < samples.size(); ++s) samples[s] = 0.5 + double(s) / 64.0;
  Feed(*sender, samples, 5);
  const std::vector<DeliveredPacket> packets = Drain(*sender);
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0].dataSize, kSpectrumPacketBytes);
  for (std::size_t i = 0; i < 16; ++i)
    EXPECT_EQ(packets[0].Sample(i), static_cast<float>(samples[i])) << "sample " << i;
  EXPECT_EQ(packets[0].Sample(16), 0.0f); // beyond the buffer: never written
}

TEST(BufferSender, BufferLengthOutsideOneToTemplateLengthUsesTheTemplateLength)
{
  for (const int length : { 0, -1, 4097, std::numeric_limits<int>::max() })
  {
    SCOPED_TRACE(testing::Message() << "length " << length);
    auto sender = std::make_unique<SpectrumSender>(-90.0, length);
    EXPECT_EQ(sender->BufferFrames(), kBufferFrames);
    Feed(*sender, Constant(kBufferFrames, 0.0), 4096);
    EXPECT_TRUE(Drain(*sender).empty());
    Feed(*sender, Constant(1, 0.0), 1);
    EXPECT_EQ(Drain(*sender).size(), 1u);
  }
}

// Queue size 64: with 64 packets waiting the 65th is dropped; after draining there is room again.
TEST(BufferSender, SixtyFifthWaitingPacketIsDropped)
{
  auto sender = std::make_unique<SpectrumSender>(-90.0, kBufferFrames);
  const auto level = [](int buffer) { return double(buffer + 1) / 128.0; };
  for (int buffer = 0; buffer < 65; ++buffer) Feed(*sender, Constant(kBufferFrames, level(buffer)), 4096);
  Feed(*sender, Constant(1, level(65)), 1); // pushes buffer 64: the 65th packet

  std::vector<DeliveredPacket> packets = Drain(*sender);
  ASSERT_EQ(packets.size(), 64u);
  for (int buffer = 0; buffer < 64; ++buffer)
    EXPECT_EQ(packets[std::size_t(buffer)].Sample(0), static_cast<float>(level(buffer))) << "buffer " << buffer;

  Feed(*sender, Constant(kBufferFrames, level(65)), 4096); // pushes buffer 65
  packets = Drain(*sender);
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0].Sample(0), static_cast<float>(level(65)));
}

TEST(PeakSender, WindowIsTheWholeFramesInFiveMillisecondsAndAtLeastOne)
{
  struct Case
  {
    double sampleRate;
    int windowFrames;
  };
  const Case cases[] = {
    { 44100.0, 220 }, { 48000.0, 240 }, { 96000.0, 480 },
    { 22050.0, 110 }, { 400.0, 2 },     { 200.0, 1 },
    { 199.0, 1 }, // 0.995 frames
    { 100.0, 1 }, // 0.5 frames
    { 0.0, 1 },       { -48000.0, 1 },  { std::numeric_limits<double>::quiet_NaN(), 1 },
  };
  for (const Case& test : cases)
  {
    SCOPED_TRACE(testing::Message() << test.sampleRate << " Hz");
    MeterSender sender;
    EXPECT_EQ(sender.WindowFrames(), 32) << "before any rate";
    sender.SetSampleRate(test.sampleRate);
    EXPECT_EQ(sender.WindowFrames(), test.windowFrames);
  }
  MeterSender sender;
  EXPECT_FLOAT_EQ(sender.Threshold(), kMinus90Db);
}

// The first frame sends 0.0 (the previous sum starts at 1.0); each later packet is the
// mean of |x| over one window and leaves with the first frame of the next window.
TEST(PeakSender, PacketIsTheMeanAbsoluteLevelOfEachWindow)
{
  struct Case
  {
    double sampleRate;
    int windowFrames;
  };
  for (const Case& test : { Case { 44100.0, 220 }, Case { 48000.0, 240 }, Case { 100.0, 1 }, Case { 1000.0, 5 } })
  {
    SCOPED_TRACE(testing::Message() << test.sampleRate << " Hz");
    MeterSender sender;
    sender.SetSampleRate(test.sampleRate);
    const int window = test.windowFrames;
    std::vector<double> samples(std::size_t(3 * window + 1));
    for (std::size_t s = 0; s < samples.size(); ++s) samples[s] = std::sin(0.37 * double(s) + 0.2) * 0.8;

    Feed(sender, { samples.begin(), samples.begin() + 1 }, 1, 3);
    std::vector<DeliveredPacket> packets = Drain(sender);
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].Sample(0), 0.0f);

    if (window > 1)
    {
      Feed(sender, { samples.begin() + 1, samples.begin() + window }, 7, 3);
      EXPECT_TRUE(Drain(sender).empty()) << "window not yet complete";
    }
    Feed(sender, { samples.begin() + window, samples.end() }, 7, 3);
    packets = Drain(sender);
    ASSERT_EQ(packets.size(), 3u);
    for (std::size_t k = 0; k < packets.size(); ++k)
    {
      SCOPED_TRACE(testing::Message() << "window " << k);
      double mean = 0.0;
      for (std::size_t s = 0; s < std::size_t(window); ++s) mean += std::fabs(samples[k * std::size_t(window) + s]);
      mean /= window;
      EXPECT_EQ(packets[k].controlTag, 3);
      EXPECT_EQ(packets[k].messageTag, 0);
      EXPECT_EQ(packets[k].dataSize, kMeterPacketBytes);
      EXPECT_EQ(packets[k].Int32At(0), 3);
      EXPECT_EQ(packets[k].Int32At(4), 1);
      EXPECT_EQ(packets[k].Int32At(8), 0);
      EXPECT_NEAR(packets[k].Sample(0), mean, 1e-6 * mean);
    }
  }
}

TEST(PeakSender, QuietInputStopsAfterOneMoreQuietWindow)
{
  MeterSender sender;
  sender.SetSampleRate(100.0); // one-frame window: packet s carries |x[s-1]|
  Feed(sender, { 0.5, 0.0, 0.0, 0.0, -0.25, 0.0, 0.0, 0.0 }, 3, 3);
  std::vector<float> payloads;
  for (const DeliveredPacket& packet : Drain(sender)) payloads.push_back(packet.Sample(0));
  EXPECT_EQ(payloads, (std::vector<float> { 0.0f, 0.5f, 0.0f, 0.25f, 0.0f }));
}

// A new rate clears the sums and keeps the position: 100 frames into a 240-frame window,
// a switch to 220 frames leaves 120 frames before the next packet, carrying only them.
TEST(PeakSender, RateChangeClearsTheSumsButKeepsTheWindowPosition)
{
  MeterSender sender;
  sender.SetSampleRate(48000.0);
  Feed(sender, Constant(100, 1.0), 64);
  ASSERT_EQ(Drain(sender).size(), 1u); // the first-frame packet

  sender.SetSampleRate(44100.0);
  Feed(sender, Constant(120, 0.5), 64);
  EXPECT_TRUE(Drain(sender).empty());
  Feed(sender, Constant(1, 0.5), 1);
  const std::vector<DeliveredPacket> packets = Drain(sender);
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_FLOAT_EQ(packets[0].Sample(0), 60.0f / 220.0f);
}

// inputs are indexed by absolute channel number, and so is the payload.
TEST(Senders, ChannelRangeSelectsInputsAndPayloadEntries)
{
  std::vector<double> left = { 0.5, 0.5, 0.5 };
  std::vector<double> right = { -0.25, -0.25, -0.25 };
  double* inputs[2] = { left.data(), right.data() };

  IPeakSender<2, 8> peak;
  peak.SetSampleRate(200.0); // one-frame window
  peak.AddBlock(inputs, 2, 7, 2, 0);
  peak.AddBlock(inputs, 2, 8, 1, 1);
  const std::vector<DeliveredPacket> peaks = Drain(peak);
  ASSERT_EQ(peaks.size(), 4u);
  EXPECT_EQ(peaks[1].dataSize, 12 + 2 * 4);
  EXPECT_EQ(peaks[1].Int32At(0), 7);
  EXPECT_EQ(peaks[1].Int32At(4), 2);
  EXPECT_EQ(peaks[1].Int32At(8), 0);
  EXPECT_EQ(peaks[1].Sample(0), 0.5f);
  EXPECT_EQ(peaks[1].Sample(1), 0.25f);
  EXPECT_EQ(peaks[3].Int32At(0), 8);
  EXPECT_EQ(peaks[3].Int32At(4), 1);
  EXPECT_EQ(peaks[3].Int32At(8), 1);
  EXPECT_EQ(peaks[3].Sample(1), 0.25f);

  auto buffer = std::make_unique<IBufferSender<2, 8, 2>>(-90.0, 2);
  buffer->AddBlock(inputs, 3, 9, 2, 0);
  const std::vector<DeliveredPacket> buffers = Drain(*buffer);
  ASSERT_EQ(buffers.size(), 1u);
  EXPECT_EQ(buffers[0].dataSize, 12 + 2 * 2 * 4);
  EXPECT_EQ(buffers[0].Int32At(4), 2);
  EXPECT_EQ(buffers[0].Sample(0), 0.5f);
  EXPECT_EQ(buffers[0].Sample(1), 0.5f);
  EXPECT_EQ(buffers[0].Sample(2), -0.25f);
  EXPECT_EQ(buffers[0].Sample(3), -0.25f);
}

TEST(Senders, BlocksOutsideTheChannelRangeAreIgnored)
{
  std::vector<double> samples = { 0.5, 0.5 };
  double* inputs[2] = { samples.data(), samples.data() };
  double* missing[2] = { samples.data(), nullptr };
  struct Case
  {
    double** inputs;
    int frames;
    int channelCount;
    int channelOffset;
  };
  const Case cases[] = {
    { nullptr, 2, 1, 0 }, { inputs, 0, 1, 0 },  { inputs, -1, 1, 0 }, { inputs, 2, 0, 0 },
    { inputs, 2, 3, 0 },  { inputs, 2, 2, 1 },  { inputs, 2, 1, 2 },  { inputs, 2, 1, -1 },
    { inputs, 2, -1, 1 }, { missing, 2, 2, 0 }, { missing, 2, 1, 1 },
  };
  for (std::size_t n = 0; n < std::size(cases); ++n)
  {
    SCOPED_TRACE(testing::Message() << "case " << n);
    const Case& test = cases[n];
    IPeakSender<2, 8> peak;
    peak.SetSampleRate(200.0);
    auto buffer = std::make_unique<IBufferSender<2, 8, 1>>(-100.0, 1);
    for (int repeat = 0; repeat < 3; ++repeat)
    {
      peak.AddBlock(test.inputs, test.frames, 1, test.channelCount, test.channelOffset);
      buffer->AddBlock(test.inputs, test.frames, 1, test.channelCount, test.channelOffset);
    }
    EXPECT_TRUE(Drain(peak).empty());
    EXPECT_TRUE(Drain(*buffer).empty());
  }
}

// The plug-in drains signal, noise and meter senders in turn; each delivers its own
// packets in push order with its tag, message tag 0 and its packet size.
TEST(Senders, TransmitPacketsDeliversInPushOrderWithTagAndSize)
{
  auto signal = std::make_unique<SpectrumSender>(-90.0, kBufferFrames);
  auto noise = std::make_unique<SpectrumSender>(-90.0, kBufferFrames);
  MeterSender meter;
  meter.SetSampleRate(1000.0); // five-frame window

  RecordingDelegate delegate;
  signal->TransmitPackets(delegate);
  meter.TransmitPackets(delegate);
  EXPECT_TRUE(delegate.packets.empty());

  for (int buffer = 0; buffer < 3; ++buffer)
  {
    Feed(*signal, Constant(kBufferFrames, 0.1 * (buffer + 1)), 512, 1);
    Feed(*noise, Constant(kBufferFrames, -0.01 * (buffer + 1)), 512, 2);
  }
  Feed(*signal, Constant(1, 0.0), 1, 1);
  Feed(*noise, Constant(1, 0.0), 1, 2);
  for (int window = 0; window < 3; ++window) Feed(meter, Constant(5, 0.2 * (window + 1)), 5, 3);
  Feed(meter, Constant(1, 0.0), 1, 3);

  signal->TransmitPackets(delegate);
  noise->TransmitPackets(delegate);
  meter.TransmitPackets(delegate);

  struct Expected
  {
    int tag;
    int size;
    float first;
  };
  const Expected expected[] = {
    { 1, kSpectrumPacketBytes, 0.1f },   { 1, kSpectrumPacketBytes, 0.2f },   { 1, kSpectrumPacketBytes, 0.3f },
    { 2, kSpectrumPacketBytes, -0.01f }, { 2, kSpectrumPacketBytes, -0.02f }, { 2, kSpectrumPacketBytes, -0.03f },
    { 3, kMeterPacketBytes, 0.0f },      { 3, kMeterPacketBytes, 0.2f },      { 3, kMeterPacketBytes, 0.4f },
    { 3, kMeterPacketBytes, 0.6f },
  };
  ASSERT_EQ(delegate.packets.size(), std::size(expected));
  for (std::size_t n = 0; n < std::size(expected); ++n)
  {
    SCOPED_TRACE(testing::Message() << "packet " << n);
    const DeliveredPacket& packet = delegate.packets[n];
    EXPECT_EQ(packet.controlTag, expected[n].tag);
    EXPECT_EQ(packet.Int32At(0), expected[n].tag);
    EXPECT_EQ(packet.messageTag, 0);
    EXPECT_EQ(packet.dataSize, expected[n].size);
    EXPECT_NEAR(packet.Sample(0), expected[n].first, 1e-6);
  }

  delegate.packets.clear();
  signal->TransmitPackets(delegate);
  meter.TransmitPackets(delegate);
  EXPECT_TRUE(delegate.packets.empty()) << "a drained ring delivers nothing";
}

TEST(Senders, AddBlockNeverAllocates)
{
  auto signal = std::make_unique<SpectrumSender>(-90.0, kBufferFrames);
  auto meter = std::make_unique<MeterSender>();
  meter->SetSampleRate(44100.0);
  std::vector<double> samples(1000, 0.5);
  double* inputs[1] = { samples.data() };

  test::AllocationScope allocations;
  // Enough blocks to fill and overflow both rings.
  for (int block = 0; block < 300; ++block)
  {
    signal->AddBlock(inputs, 1000, 1, 1, 0);
    meter->AddBlock(inputs, 1000, 3, 1, 0);
  }
  EXPECT_EQ(allocations.Count(), 0u);
  EXPECT_EQ(Drain(*signal).size(), 64u);
}

// The audio thread fills buffers while the main thread drains: every delivered packet
// must be one whole buffer, and buffers arrive in order (some may be dropped when full).
TEST(Senders, ConcurrentDrainReceivesWholeBuffersInOrder)
{
  struct CheckingDelegate
  {
    float lastLevel = 0.0f;
    int received = 0;
    bool allWhole = true;
    bool allInOrder = true;
    bool allTagged = true;

    void SendPacketToControl(int controlTag, int messageTag, int dataSize, const void* data)
    {
      allTagged = allTagged && controlTag == 1 && messageTag == 0 && dataSize == kSpectrumPacketBytes;
      SpectrumSender::Packet packet;
      std::memcpy(&packet, data, sizeof(packet));
      const float level = packet.payload[0][0];
      for (const float sample : packet.payload[0]) allWhole = allWhole && sample == level;
      allInOrder = allInOrder && level > lastLevel;
      lastLevel = level;
      ++received;
    }
  };

  constexpr int kBuffers = 300;
  auto sender = std::make_unique<SpectrumSender>(-90.0, kBufferFrames);
  std::atomic<bool> producerDone { false };
  std::thread audio(
      [&]
      {
        std::vector<double> block(512);
        double* inputs[1] = { block.data() };
        for (int buffer = 0; buffer < kBuffers; ++buffer)
        {
          std::fill(block.begin(), block.end(), double(buffer + 1));
          for (int offset = 0; offset < kBufferFrames; offset += 512) sender->AddBlock(inputs, 512, 1, 1, 0);
        }
        sender->AddBlock(inputs, 1, 1, 1, 0); // sends the last buffer
        producerDone.store(true, std::memory_order_release);
      });

  CheckingDelegate delegate;
  for (;;)
  {
    const bool done = producerDone.load(std::memory_order_acquire);
    sender->TransmitPackets(delegate);
    if (done) break;
    std::this_thread::yield();
  }
  audio.join();

  EXPECT_TRUE(delegate.allWhole);
  EXPECT_TRUE(delegate.allInOrder);
  EXPECT_TRUE(delegate.allTagged);
  EXPECT_GE(delegate.received, 64);
  EXPECT_LE(delegate.received, kBuffers);
}

} // namespace
} // namespace kit
