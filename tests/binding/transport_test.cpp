// The host's transport as the processor sees it: CLAP's fixed-point times in seconds and beats
// become samples and quarter notes, each group only when its flag says it is there, and a
// block without a transport keeps the last block's record.
#include "tests/binding/in_process_plugin.h"

#include <gtest/gtest.h>

#include <vector>

namespace kit
{
namespace
{

using test::InProcessPlugin;

constexpr std::int64_t kTimeFactor = std::int64_t { 1 } << 31; // CLAP_SECTIME_FACTOR, CLAP_BEATTIME_FACTOR

// One 64-bit stereo block of 64 frames with the given transport, or none.
void RunBlock(InProcessPlugin& p, const clap_event_transport* transport)
{
  std::vector<double> silence(64, 0.0);
  std::vector<double> left(64), right(64);
  double* in[] = { silence.data(), silence.data() };
  double* out[] = { left.data(), right.data() };
  clap_audio_buffer input { nullptr, in, 2, 0, 0 };
  clap_audio_buffer output { nullptr, out, 2, 0, 0 };
  clap_process process {};
  process.steady_time = -1;
  process.frames_count = 64;
  process.transport = transport;
  process.audio_inputs = &input;
  process.audio_outputs = &output;
  process.audio_inputs_count = 1;
  process.audio_outputs_count = 1;
  EXPECT_EQ(p.plugin->process(p.plugin, &process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
}

clap_event_transport FullTransport()
{
  clap_event_transport transport {};
  transport.header = { sizeof transport, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0 };
  transport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE | CLAP_TRANSPORT_HAS_SECONDS_TIMELINE |
                    CLAP_TRANSPORT_HAS_TIME_SIGNATURE | CLAP_TRANSPORT_IS_PLAYING | CLAP_TRANSPORT_IS_LOOP_ACTIVE;
  transport.song_pos_seconds = 7 * kTimeFactor / 2; // 3.5 s
  transport.song_pos_beats = 41 * kTimeFactor / 4;  // 10.25 quarter notes
  transport.bar_start = 8 * kTimeFactor;
  transport.loop_start_beats = 4 * kTimeFactor;
  transport.loop_end_beats = 12 * kTimeFactor;
  transport.tempo = 97.5;
  transport.tsig_num = 7;
  transport.tsig_denom = 8;
  return transport;
}

TEST(Transport, EveryFlaggedGroupIsReadInTheProcessorsUnits)
{
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, 64));
  ASSERT_TRUE(p.plugin->start_processing(p.plugin));
  const clap_event_transport transport = FullTransport();
  RunBlock(p, &transport);

  const TransportInfo& seen = p.Ombrix().Transport();
  EXPECT_EQ(seen.tempo, 97.5);
  EXPECT_EQ(seen.samplePosition, 3.5 * 48000.0);
  EXPECT_EQ(seen.quarterNotePosition, 10.25);
  EXPECT_EQ(seen.lastBarStart, 8.0);
  EXPECT_EQ(seen.loopStart, 4.0);
  EXPECT_EQ(seen.loopEnd, 12.0);
  EXPECT_EQ(seen.numerator, 7);
  EXPECT_EQ(seen.denominator, 8);
  EXPECT_TRUE(seen.running);
  EXPECT_TRUE(seen.loopActive);
  p.plugin->stop_processing(p.plugin);
}

// Groups without their flag keep the defaults, whatever the fields hold.
TEST(Transport, UnflaggedGroupsKeepTheDefaults)
{
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, 64));
  ASSERT_TRUE(p.plugin->start_processing(p.plugin));
  clap_event_transport transport = FullTransport();
  transport.flags = CLAP_TRANSPORT_HAS_TEMPO;
  RunBlock(p, &transport);

  const TransportInfo& seen = p.Ombrix().Transport();
  EXPECT_EQ(seen.tempo, 97.5);
  EXPECT_EQ(seen.samplePosition, -1.0);
  EXPECT_EQ(seen.quarterNotePosition, -1.0);
  EXPECT_EQ(seen.lastBarStart, -1.0);
  EXPECT_EQ(seen.loopStart, -1.0);
  EXPECT_EQ(seen.loopEnd, -1.0);
  EXPECT_EQ(seen.numerator, 4);
  EXPECT_EQ(seen.denominator, 4);
  EXPECT_FALSE(seen.running);
  EXPECT_FALSE(seen.loopActive);
  p.plugin->stop_processing(p.plugin);
}

TEST(Transport, ABlockWithoutATransportKeepsTheLastOne)
{
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  ASSERT_TRUE(p.plugin->activate(p.plugin, 44100.0, 1, 64));
  ASSERT_TRUE(p.plugin->start_processing(p.plugin));
  const clap_event_transport transport = FullTransport();
  RunBlock(p, &transport);
  RunBlock(p, nullptr);

  const TransportInfo& seen = p.Ombrix().Transport();
  EXPECT_EQ(seen.samplePosition, 3.5 * 44100.0);
  EXPECT_EQ(seen.tempo, 97.5);
  EXPECT_TRUE(seen.running);
  p.plugin->stop_processing(p.plugin);
}

} // namespace
} // namespace kit
