// The audio thread: blocks queued on the main thread come back processed, in order and whole,
// marked blocks only; it keeps to real time; an edit made in the editor arrives as a parameter
// change on the main thread.
#include "engine/ombrix_params.h"
#include "tests/ombrix-host/live_session.h"
#include "tools/ombrix-host/live_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace kit::live
{
namespace
{

using Clock = std::chrono::steady_clock;

// Sample s of block b: distinct in every block and never half-way between two 16-bit codes.
double InputSample(int b, std::size_t s)
{
  return 0.01 * b + 1e-4 * std::sin(double(s)) + 0.3 / 65536.0;
}

// Waits for the audio thread, which runs in real time, for at most timeout.
template <class Ready>
bool WaitFor(Ready ready, std::chrono::seconds timeout = std::chrono::seconds(10))
{
  const Clock::time_point deadline = Clock::now() + timeout;
  while (!ready())
  {
    if (Clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

TEST(LivePlayer, RecordedBlocksComeBackProcessedInOrder)
{
  auto session = test::StartRoundingSession();
  ASSERT_NE(session, nullptr);
  LivePlayer player(*session, 48000.0);
  constexpr int kBlocks = 12;
  for (int b = 0; b < kBlocks; ++b)
  {
    AudioBlock block;
    block.frames = b == kBlocks - 1 ? 100 : kBlockFrames;
    block.recorded = b % 3 != 1; // every third block is played, not recorded
    for (std::size_t s = 0; s < std::size_t(block.frames) * 2; ++s) block.samples[s] = InputSample(b, s);
    ASSERT_TRUE(player.HasRoom());
    ASSERT_TRUE(player.Queue(block));
  }
  ASSERT_TRUE(player.Start());

  std::vector<AudioBlock> outputs;
  AudioBlock output;
  ASSERT_TRUE(WaitFor(
      [&]
      {
        while (player.TakeOutput(output)) outputs.push_back(output);
        return outputs.size() == 8 || player.Failed();
      }));
  player.Stop();
  ASSERT_FALSE(player.Failed()) << player.FailureText();
  EXPECT_FALSE(player.TakeOutput(output)); // the blocks of silence that followed are not recorded
  EXPECT_EQ(player.LostFrames(), 0);

  std::size_t next = 0;
  for (int b = 0; b < kBlocks; ++b)
  {
    if (b % 3 == 1) continue;
    SCOPED_TRACE(b);
    ASSERT_LT(next, outputs.size());
    const AudioBlock& got = outputs[next++];
    EXPECT_TRUE(got.recorded);
    ASSERT_EQ(got.frames, b == kBlocks - 1 ? 100 : kBlockFrames);
    for (std::size_t s = 0; s < std::size_t(got.frames) * 2; ++s)
      ASSERT_EQ(got.samples[s], std::round(InputSample(b, s) * 32768.0) / 32768.0) << "sample " << s;
  }
}

TEST(LivePlayer, KeepsToRealTime)
{
  auto session = test::StartRoundingSession();
  ASSERT_NE(session, nullptr);
  LivePlayer player(*session, 48000.0);
  // 24 blocks: 256 ms of audio at 48 kHz.
  constexpr int kBlocks = 24;
  AudioBlock block;
  block.frames = kBlockFrames;
  block.recorded = true;
  for (int b = 0; b < kBlocks; ++b) ASSERT_TRUE(player.Queue(block));
  const Clock::time_point started = Clock::now();
  ASSERT_TRUE(player.Start());
  int received = 0;
  AudioBlock output;
  ASSERT_TRUE(WaitFor(
      [&]
      {
        while (player.TakeOutput(output)) ++received;
        return received == kBlocks;
      }));
  const auto elapsed = Clock::now() - started;
  player.Stop();
  // The last block is processed once the 23 before it have had their time.
  EXPECT_GE(elapsed, std::chrono::microseconds(std::int64_t((kBlocks - 1) * kBlockFrames * 1e6 / 48000.0)));
}

TEST(LivePlayer, AnEditorEditArrivesAsAParameterChange)
{
  auto session = test::StartRoundingSession();
  ASSERT_NE(session, nullptr);
  LivePlayer player(*session, 48000.0);
  ASSERT_TRUE(player.Start());
  ui::Ombrix& plugin = test::OmbrixOf(*session);
  plugin.BeginParamGestureFromEditor(kParamTargetBits);
  plugin.SetParamFromEditor(kParamTargetBits, (24.0 - 6.0) / 26.0);
  plugin.EndParamGestureFromEditor(kParamTargetBits);

  ParamChange change;
  ASSERT_TRUE(WaitFor([&] { return player.TakeParamChange(change); }));
  player.Stop();
  EXPECT_EQ(change.id, clap_id(kParamTargetBits));
  EXPECT_EQ(change.value, 24.0);
  EXPECT_FALSE(player.TakeParamChange(change)); // the gesture's ends are not changes
}

} // namespace
} // namespace kit::live
