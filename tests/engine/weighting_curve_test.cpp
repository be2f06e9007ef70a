#include "engine/weighting_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kit
{
namespace
{

// Raised-cosine step from one level to the next at fraction t of the segment.
double Between(double fromDb, double toDb, double t)
{
  return fromDb + (toDb - fromDb) * 0.5 * (1.0 - std::cos(std::numbers::pi * t));
}

struct Case
{
  double hz;
  double rate;
  double expectedDb;
};

// One curve object for the whole table, so that rate changes between rows are covered too.
void ExpectLevels(std::initializer_list<Case> cases)
{
  WeightingCurve curve;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.hz << " Hz at " << c.rate);
    EXPECT_NEAR(curve.ThresholdCurveDb(c.hz, c.rate), c.expectedDb, 1e-12);
  }
}

TEST(WeightingCurve, MatchesBreakpointsAndRaisedCosineSegments)
{
  ExpectLevels({
      { 0.0, 44100.0, 10.0 },
      { 540.0, 44100.0, 1.8 },
      { 840.0, 44100.0, 2.4 },
      { 3400.0, 44100.0, -10.0 },
      { 9000.0, 44100.0, 15.0 },
      { 12500.0, 44100.0, 9.0 },
      { 18500.0, 44100.0, 40.0 },
      { 22000.0, 44100.0, 40.0 },
      { 270.0, 44100.0, (10.0 + 1.8) / 2.0 },
      { 2120.0, 44100.0, (2.4 - 10.0) / 2.0 },
      { 15500.0, 48000.0, (9.0 + 40.0) / 2.0 },
      { 1480.0, 44100.0, Between(2.4, -10.0, 0.25) },
      { 10750.0, 48000.0, Between(15.0, 9.0, 0.5) },
      // The segment is found from the truncated frequency, the position from the exact one.
      { 540.5, 44100.0, Between(10.0, 1.8, 540.5 / 540.0) },
      { -5.0, 44100.0, 10.0 },
      { 1e12, 44100.0, 40.0 },
  });
}

TEST(WeightingCurve, FlatAt40DbFromTheLastBreakpointToNyquistUpTo48k)
{
  WeightingCurve curve;
  for (const double rate : { 44100.0, 48000.0 })
    for (double hz = 18500.0; hz < rate / 2.0; hz += 97.0)
      EXPECT_EQ(curve.ThresholdCurveDb(hz, rate), 40.0) << hz << " Hz at " << rate;
}

TEST(WeightingCurve, AddsTheNyquistDipOnlyAbove48k)
{
  ExpectLevels({
      { 22800.0, 48000.0, 40.0 },
      { 24000.0, 48000.0, 40.0 },
      { 22800.0, 48001.0, 0.0 },
      { 24000.0, 48001.0, 40.0 },
      { (18500.0 + 22800.0) / 2.0, 48001.0, 20.0 },
      { 23400.0, 48001.0, Between(0.0, 40.0, 0.5) },
      { 45600.0, 96000.0, 0.0 },
      { 48000.0, 96000.0, 40.0 },
      { 47000.0, 96000.0, Between(0.0, 40.0, 1400.0 / 2400.0) },
      { 22800.0, 44100.0, 40.0 }, // back to a lower rate: the dip is gone again
  });
}

TEST(WeightingCurve, BreakpointKeysAreTruncatedRateFractions)
{
  WeightingCurve curve;
  (void)curve.ThresholdCurveDb(0.0, 88201.0);
  std::vector<int32_t> keys;
  for (const auto& breakpoint : curve) keys.push_back(breakpoint.hz);
  const std::vector<int32_t> expected { 0, 540, 840, 3400, 9000, 12500, 18500, 41895, 44100 };
  EXPECT_EQ(keys, expected);
}

} // namespace
} // namespace kit
