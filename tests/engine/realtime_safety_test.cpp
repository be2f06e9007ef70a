// The audio path allocates nothing: every block configuration, and host resets and
// designs after activation.
#include "engine_fixture.h"
#include "support/allocation_counter.h"

#include <gtest/gtest.h>

namespace kit::test
{
namespace
{

TEST(RealtimeSafety, RenderBlockNeverAllocates)
{
  struct Case
  {
    int power;
    bool ditherOn;
    int channels;
    int frames;
  };
  const Case cases[] = { { 9, true, 2, 512 },  { 12, true, 2, 512 },  { 0, true, 2, 512 }, { 0, false, 2, 512 },
                         { 9, false, 2, 512 }, { 9, true, 1, 512 },   { 9, true, 2, 0 },   { 9, true, 2, 1 },
                         { 9, true, 2, 1300 }, { 12, true, 1, 1300 }, { 9, true, 3, 512 }, { 0, true, 0, 512 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "power " << c.power << (c.ditherOn ? " dither" : "") << ", " << c.channels
                                    << " channels, " << c.frames << " frames");
    Engine engine(48000.0, 512);
    engine.SetParam(kParamPsychoacousticPower, c.power);
    engine.SetParam(kParamDither, c.ditherOn ? 1.0 : 0.0);
    std::vector<std::vector<double>> in(std::size_t(std::max(c.channels, 1)), Sine(c.frames, 0.5, 0.01));
    std::vector<std::vector<double>> out(in.size(), std::vector<double>(std::size_t(c.frames)));
    std::vector<double*> inputs;
    std::vector<double*> outputs;
    for (std::size_t ch = 0; ch < in.size(); ++ch)
    {
      inputs.push_back(in[ch].data());
      outputs.push_back(out[ch].data());
    }
    // Enough blocks to fill the senders' buffers and push packets.
    AllocationScope scope;
    for (int block = 0; block < 40; ++block)
      engine.dither->RenderBlock(inputs.data(), outputs.data(), c.frames, c.channels);
    EXPECT_EQ(scope.Count(), 0u);
  }
}

TEST(RealtimeSafety, ResetsAndDesignsAfterActivationNeverAllocate)
{
  Engine engine(44100.0, 512);
  AllocationScope scope;
  for (const int power : { 0, 1, 9, 12 })
  {
    engine.params[kParamPsychoacousticPower].Set(power);
    engine.dither->ResetProcessing(44100.0, 512);
    engine.dither->DesignShapingFilter();
  }
  engine.dither->ResetProcessing(44100.0, 256); // a smaller block size fits what was sized
  EXPECT_EQ(scope.Count(), 0u);
}

TEST(RealtimeSafety, DesignBeforeTheFirstResetDoesNotAllocateEither)
{
  std::array<IParam, kOmbrixParamCount> params;
  SetupOmbrixParams(params[0], params[1], params[2], params[3]);
  DitherProcessor dither(params[kParamPsychoacousticPower], params[kParamTargetBits], kTestSeed);
  AllocationScope scope;
  dither.DesignShapingFilter();
  EXPECT_EQ(scope.Count(), 0u);
  EXPECT_EQ(dither.ActiveShapingFilter().tapCount, 9);
}

} // namespace
} // namespace kit::test
