// What a process call answers: with no tail the host may stop when the input is quiet; with
// a tail the plug-in asks to sleep once its input has been silent for the whole tail, and
// any sound (NaN counts as sound) starts the count again; an infinite tail never sleeps.
#include "tests/binding/in_process_plugin.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace kit
{
namespace
{

using test::InProcessPlugin;

constexpr int kFrames = 256;

class ProcessStatus : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(p.plugin->init(p.plugin));
    ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, kFrames));
    ASSERT_TRUE(p.plugin->start_processing(p.plugin));
  }
  void TearDown() override { p.plugin->stop_processing(p.plugin); }

  // One stereo block whose input is silent but for sample 100 of the left channel.
  clap_process_status Block(double sample = 0.0)
  {
    std::vector<std::vector<double>> inputs(2, std::vector<double>(kFrames, 0.0));
    std::vector<std::vector<double>> outputs(2, std::vector<double>(kFrames, 0.0));
    inputs[0][100] = sample;
    return p.Process(inputs, outputs);
  }

  [[nodiscard]] std::uint32_t TailGet() const
  {
    const auto* tail = static_cast<const clap_plugin_tail*>(p.plugin->get_extension(p.plugin, CLAP_EXT_TAIL));
    return tail->get(p.plugin);
  }

  InProcessPlugin p;
};

TEST_F(ProcessStatus, WithoutATailEveryBlockMayStopWhenQuiet)
{
  EXPECT_EQ(TailGet(), 0u);
  EXPECT_EQ(Block(), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_EQ(Block(0.5), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Block(), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET) << i;
}

// 1000 frames of tail in blocks of 256: the fourth silent block reaches 1000 frames.
TEST_F(ProcessStatus, ATailSleepsAfterThatMuchSilenceAndSoundStartsTheCountAgain)
{
  p.Ombrix().UpdateTailLength(1000);
  EXPECT_EQ(TailGet(), 1000u);
  struct Step
  {
    double sample;
    clap_process_status status;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Step steps[] = {
    { 0.0, CLAP_PROCESS_CONTINUE }, { -0.0, CLAP_PROCESS_CONTINUE }, { 0.0, CLAP_PROCESS_CONTINUE },
    { 0.0, CLAP_PROCESS_SLEEP },    { 0.0, CLAP_PROCESS_SLEEP },     { 1e-300, CLAP_PROCESS_CONTINUE },
    { 0.0, CLAP_PROCESS_CONTINUE }, { 0.0, CLAP_PROCESS_CONTINUE },  { nan, CLAP_PROCESS_CONTINUE },
    { 0.0, CLAP_PROCESS_CONTINUE }, { 0.0, CLAP_PROCESS_CONTINUE },  { 0.0, CLAP_PROCESS_CONTINUE },
    { 0.0, CLAP_PROCESS_SLEEP },
  };
  int index = 0;
  for (const Step& step : steps)
  {
    SCOPED_TRACE(testing::Message() << "block " << index++ << " sample " << step.sample);
    EXPECT_EQ(Block(step.sample), step.status);
  }
}

TEST_F(ProcessStatus, AnInfiniteTailNeverSleeps)
{
  p.Ombrix().UpdateTailLength(std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(TailGet(), 4294967295u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Block(), CLAP_PROCESS_CONTINUE) << i;
}

} // namespace
} // namespace kit
