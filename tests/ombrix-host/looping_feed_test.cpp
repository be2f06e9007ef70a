// The looping feed: the source from its start to its end in blocks, then again from its start,
// only the first pass marked for the output file; a source that holds nothing, fails to read or
// cannot be opened again stops it with a reason instead of looping for ever.
#include "tools/ombrix-host/looping_feed.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kit::live
{
namespace
{

// Frame i of channel c holds i * 10 + c; a read fails once failAt frames have gone.
class CountingSource final : public render::AudioSource
{
public:
  CountingSource(int channelCount, std::int64_t frameCount, std::int64_t failFrom = -1)
      : AudioSource(channelCount, 44100.0, frameCount)
      , failAt(failFrom)
  {
  }

  std::int64_t Read(double* interleaved, std::int64_t count) override
  {
    if (failAt >= 0 && position >= failAt) return -1;
    const std::int64_t delivered = std::min(count, Frames() - position);
    for (std::int64_t f = 0; f < delivered; ++f, ++position)
      for (int c = 0; c < Channels(); ++c) interleaved[f * Channels() + c] = double(position * 10 + c);
    return delivered;
  }

private:
  std::int64_t failAt;
  std::int64_t position = 0;
};

struct Delivered
{
  std::int64_t frames;
  bool recorded;
  double firstSample;
};

TEST(LoopingFeed, PlaysTheSourceInBlocksAndStartsOverUnrecorded)
{
  constexpr std::int64_t kFrames = 2 * kBlockFrames + 100;
  int opened = 0;
  LoopingFeed feed(std::make_unique<CountingSource>(2, kFrames),
                   [&](std::string&)
                   {
                     ++opened;
                     return std::make_unique<CountingSource>(2, kFrames);
                   });
  const std::vector<Delivered> expected {
    { kBlockFrames, true, 0.0 },
    { kBlockFrames, true, double(kBlockFrames * 10) },
    { 100, true, double(2 * kBlockFrames * 10) },
    { kBlockFrames, false, 0.0 },
    { kBlockFrames, false, double(kBlockFrames * 10) },
    { 100, false, double(2 * kBlockFrames * 10) },
    { kBlockFrames, false, 0.0 },
  };
  AudioBlock block;
  std::string error;
  for (std::size_t i = 0; i < expected.size(); ++i)
  {
    SCOPED_TRACE(i);
    ASSERT_TRUE(feed.Next(block, error)) << error;
    EXPECT_EQ(block.frames, expected[i].frames);
    EXPECT_EQ(block.recorded, expected[i].recorded);
    EXPECT_EQ(block.samples[0], expected[i].firstSample);
    EXPECT_EQ(block.samples[1], expected[i].firstSample + 1.0);
    EXPECT_EQ(feed.FirstPassDone(), i >= 3);
  }
  EXPECT_EQ(opened, 2);
}

TEST(LoopingFeed, StopsWithAReasonInsteadOfLoopingOverNothing)
{
  struct Case
  {
    const char* name;
    std::function<std::unique_ptr<render::AudioSource>()> first;
    SourceOpener again;
    int blocksBefore; // blocks delivered before the failure
    std::string reasonPart;
  };
  const SourceOpener refuse = [](std::string& error)
  {
    error = "cannot open it again";
    return std::unique_ptr<render::AudioSource>();
  };
  const std::vector<Case> cases {
    { "empty", [] { return std::make_unique<CountingSource>(2, 0); },
      [](std::string&) { return std::make_unique<CountingSource>(2, 0); }, 0, "holds no audio" },
    { "read error", [] { return std::make_unique<CountingSource>(1, 4 * kBlockFrames, kBlockFrames); }, refuse, 1,
      "cannot read the input after frame 512" },
    { "gone", [] { return std::make_unique<CountingSource>(1, 10); }, refuse, 1, "cannot open it again" },
    { "channels changed", [] { return std::make_unique<CountingSource>(1, 10); },
      [](std::string&) { return std::make_unique<CountingSource>(2, 10); }, 1, "channel count" },
    { "three channels", [] { return std::make_unique<CountingSource>(3, 10); }, refuse, 0, "mono or stereo" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    LoopingFeed feed(c.first(), c.again);
    AudioBlock block;
    std::string error;
    for (int i = 0; i < c.blocksBefore; ++i) ASSERT_TRUE(feed.Next(block, error)) << error;
    EXPECT_FALSE(feed.Next(block, error));
    EXPECT_NE(error.find(c.reasonPart), std::string::npos) << error;
  }
}

} // namespace
} // namespace kit::live
