// One thread runs blocks (and now and then a host reset) while another redesigns the
// filter and changes the grid without pause. Every block must have used one complete
// coefficient set and one grid scale that it could have seen: its output is matched
// bit for bit against the plain recursion run with each possible pair.

#include "engine_fixture.h"
#include "reference_dither.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace kit::test
{
namespace
{

struct Candidate
{
  std::vector<double> coefficients;
  double scale;
};

TEST(FilterHandover, EveryBlockUsesOneCompleteDesign)
{
  const double rate = 48000.0;
  const int frames = 64;
  const int minimumBlocks = 3000;
  const int minimumDesigns = 200;

  // The designs the other thread alternates between, made beforehand.
  std::vector<Candidate> candidates;
  for (const int power : { 9, 12 })
    for (const int bits : { 16, 24 })
    {
      Engine designer(rate, frames);
      designer.SetParam(kParamPsychoacousticPower, power);
      designer.SetParam(kParamTargetBits, bits);
      candidates.push_back(
          { { designer.Coefficients().begin(), designer.Coefficients().end() }, designer.dither->QuantScale() });
    }

  Engine engine(rate, frames);
  engine.SetParam(kParamPsychoacousticPower, 9);

  std::atomic<bool> done { false };
  std::atomic<int> designs { 0 };
  std::thread designer(
      [&]
      {
        int round = 0;
        while (!done.load(std::memory_order_acquire))
        {
          engine.params[kParamPsychoacousticPower].Set(round % 2 == 0 ? 12.0 : 9.0);
          engine.params[kParamTargetBits].Set(round % 3 == 0 ? 24.0 : 16.0);
          engine.dither->DesignShapingFilter();
          designs.fetch_add(1, std::memory_order_relaxed);
          ++round;
        }
      });

  // Two designs can give the same output for a block while leaving different error
  // histories, so every history consistent with the output so far is followed.
  std::vector<ReferenceDither> histories(1, ReferenceDither(0));
  std::vector<std::size_t> used(candidates.size(), 0);
  int mismatched = -1;
  // Runs until both sides have done enough, however the two threads are scheduled.
  for (int block = 0; (block < minimumBlocks || designs.load() < minimumDesigns) && mismatched < 0; ++block)
  {
    if (block % 97 == 96)
    {
      engine.dither->ResetProcessing(rate, frames);
      histories.assign(1, ReferenceDither(0));
    }
    std::vector<std::vector<double>> in { Sine(frames, 0.6, 0.011, block * 0.7),
                                          Sine(frames, -0.4, 0.017, block * 1.1) };
    std::vector<std::vector<double>> out;
    engine.Render(in, out, frames);

    std::vector<ReferenceDither> consistent;
    for (const ReferenceDither& history : histories)
      for (std::size_t k = 0; k < candidates.size(); ++k)
      {
        ReferenceDither trial = history;
        std::vector<std::vector<double>> expected(2);
        (void)trial.Render(in, expected, candidates[k].coefficients, candidates[k].scale, false);
        if (std::memcmp(expected[0].data(), out[0].data(), sizeof(double) * frames) == 0 &&
            std::memcmp(expected[1].data(), out[1].data(), sizeof(double) * frames) == 0 && consistent.size() < 64)
        {
          consistent.push_back(trial);
          ++used[k];
        }
      }
    if (consistent.empty()) mismatched = block;
    histories = std::move(consistent);
  }
  done.store(true, std::memory_order_release);
  designer.join();

  EXPECT_EQ(mismatched, -1) << "a block used a coefficient set or grid no design produced";
  std::size_t distinct = 0;
  for (const std::size_t count : used) distinct += count > 0 ? 1 : 0;
  EXPECT_GE(distinct, 2u) << "the designs did not reach the audio thread";
}

} // namespace
} // namespace kit::test
