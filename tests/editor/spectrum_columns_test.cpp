// The spectrum graph's frequency axis: the shown bins, the warping table and the mapping of bins
// onto screen columns, checked against the formulas worked out here in long double.
#include "editor/spectrum_columns.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

constexpr int kN = 4096;
constexpr int kScreenColumns = 348; // the layout's graph: 86 … 434
constexpr int kFirst = 10;
constexpr int kEnd = 1858;
constexpr int kShown = kEnd - kFirst;

// N^(−j/N), straight from the definition.
long double AxisValue(int j)
{
  return std::pow(static_cast<long double>(kN), -static_cast<long double>(j) / kN);
}

// Where shown bin i lands on a screen of `width` columns.
long double ScreenPosition(int i, int width)
{
  return (AxisValue(kFirst + i) - AxisValue(kFirst)) / (AxisValue(kEnd - 1) - AxisValue(kFirst)) * width;
}

// Positions this close to a column edge may fall on either side once rounded to float32.
bool NearColumnEdge(long double position)
{
  return std::fabs(position - std::round(position)) < 1e-4L;
}

struct ScreenAxis
{
  std::array<float, kN / 2> table {};
  ScreenAxis() { FillAxisTable(table, kN); }
  [[nodiscard]] std::span<const float> Shown() const { return std::span<const float>(table).subspan(kFirst, kShown); }
};

std::vector<float> MapOnScreen(const ScreenAxis& axis, const std::vector<float>& values)
{
  std::vector<float> positions;
  std::vector<float> columns;
  MapSpectrumToColumns(values, axis.Shown(), kScreenColumns, positions, columns);
  return columns;
}

std::vector<float> SingleBin(int bin, float value = 1.0f)
{
  std::vector<float> values(kShown, 0.0f);
  values[std::size_t(bin)] = value;
  return values;
}

TEST(SpectrumColumns, ShownBinsFollowTheRateWithinTheTransform)
{
  struct Case
  {
    double rate;
    DisplayedBins expected;
  };
  // first = 1 − trunc(−100 N / rate), end = 1 − trunc(−20000 N / rate), then the limits.
  const Case cases[] = {
    { 44100.0, { 10, 1858 } },
    { 48000.0, { 9, 1707 } },  // −8.53 and −1706.67
    { 8000.0, { 52, 2048 } },  // end −10240 limited to N / 2
    { 1000.0, { 410, 2048 } }, // −409.6
    { 100.0, { 2047, 2048 } }, // both past N: the last bin alone
    { 1.0e7, { 1, 9 } },       // −0.04 and −8.19
    { 1.0e9, { 1, 2 } },       // both 1: one bin is kept
    { 0.0, { 2047, 2048 } },   // an infinite bin counts as past the end
    { std::numeric_limits<double>::quiet_NaN(), { 1, 2 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE("rate " + std::to_string(c.rate));
    const DisplayedBins bins = DisplayedBinRange(kN, c.rate);
    EXPECT_EQ(bins.first, c.expected.first);
    EXPECT_EQ(bins.end, c.expected.end);
  }
}

TEST(SpectrumColumns, AxisTableIsNToTheMinusJOverN)
{
  const ScreenAxis axis;
  EXPECT_EQ(axis.table[0], 1.0f);
  for (int j = 1; j < kN / 2; ++j)
  {
    SCOPED_TRACE("j " + std::to_string(j));
    const float expected = static_cast<float>(AxisValue(j));
    EXPECT_NEAR(axis.table[std::size_t(j)], expected, std::abs(expected) * std::numeric_limits<float>::epsilon());
  }
  // One step short of N / 2, where it would be 1 / 64.
  EXPECT_NEAR(axis.table.back() * 64.0f, std::exp(std::log(4096.0f) / 4096.0f), 1e-5f);
}

TEST(SpectrumColumns, FrequenciesLandWhereTheScreenShowsThem)
{
  struct Case
  {
    double hz;
    double fraction; // of the width
  };
  const Case cases[] = { { 1000.0, 0.16 }, { 5000.0, 0.62 }, { 10000.0, 0.87 } };
  const ScreenAxis axis;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.hz) + " Hz");
    const int bin = int(std::lround(c.hz * kN / 44100.0)) - kFirst;
    const std::vector<float> columns = MapOnScreen(axis, SingleBin(bin));
    int lit = -1;
    for (std::size_t k = 0; k < columns.size(); ++k)
    {
      if (columns[k] > 0.0f) lit = int(k);
    }
    EXPECT_NEAR(double(lit) / kScreenColumns, c.fraction, 0.01);
  }
}

TEST(SpectrumColumns, OnTheScreenEveryBinFallsIntoOneColumn)
{
  const ScreenAxis axis;
  // n = 1: the second bin already shares column 0 with the first, so nothing is spread, and the
  // first bin, which belongs to no later run, is not drawn.
  ASSERT_LT(ScreenPosition(1, kScreenColumns), 1.0L);
  {
    SCOPED_TRACE("bin 0");
    EXPECT_EQ(MapOnScreen(axis, SingleBin(0)), std::vector<float>(kScreenColumns, 0.0f));
  }
  {
    SCOPED_TRACE("the last bin, at exactly the width");
    EXPECT_EQ(MapOnScreen(axis, SingleBin(kShown - 1)), std::vector<float>(kScreenColumns, 0.0f));
  }
  for (int bin = 1; bin < kShown - 1; ++bin)
  {
    SCOPED_TRACE("bin " + std::to_string(bin));
    const long double position = ScreenPosition(bin, kScreenColumns);
    const std::vector<float> columns = MapOnScreen(axis, SingleBin(bin, 0.375f));
    int litCount = 0;
    int lit = -1;
    for (std::size_t k = 0; k < columns.size(); ++k)
    {
      if (columns[k] == 0.0f) continue;
      ++litCount;
      lit = int(k);
      EXPECT_EQ(columns[k], 0.375f) << "the whole value, unspread";
    }
    EXPECT_EQ(litCount, 1);
    if (NearColumnEdge(position))
      EXPECT_NEAR(double(lit), double(position), 1.0);
    else
      EXPECT_EQ(lit, int(std::floor(position)));
  }
}

TEST(SpectrumColumns, EachColumnTakesTheLargestOfItsBins)
{
  const ScreenAxis axis;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> level(0.0f, 1.0f);
  std::vector<float> values(kShown);
  for (float& value : values) value = level(random);

  std::vector<float> expected(kScreenColumns, 0.0f);
  std::vector<bool> unsure(kScreenColumns, false);
  for (int bin = 1; bin < kShown - 1; ++bin)
  {
    const long double position = ScreenPosition(bin, kScreenColumns);
    const auto k = std::size_t(std::floor(position));
    expected[k] = std::max(expected[k], values[std::size_t(bin)]);
    if (!NearColumnEdge(position)) continue;
    for (std::size_t near = k == 0 ? 0 : k - 1; near <= std::min<std::size_t>(k + 1, kScreenColumns - 1); ++near)
      unsure[near] = true;
  }
  const std::vector<float> columns = MapOnScreen(axis, values);
  ASSERT_EQ(columns.size(), std::size_t(kScreenColumns));
  for (std::size_t k = 0; k < columns.size(); ++k)
  {
    if (unsure[k]) continue;
    SCOPED_TRACE("column " + std::to_string(k));
    EXPECT_EQ(columns[k], expected[k]);
  }
}

TEST(SpectrumColumns, BinsOfTheSparseLowEndAreSharedByTwoColumns)
{
  struct Case
  {
    const char* what;
    // Axis entries 1 − p / 8 put bin i at p on 8 columns; all are exact binary fractions.
    std::vector<float> axis;
    std::vector<float> values;
    std::vector<float> expected;
  };
  const Case cases[] = {
    { "every bin sparse: 0, 1.75, 4.75, 8",
      { 1.0f, 0.78125f, 0.40625f, 0.0f },
      { 2.0f, 4.0f, 8.0f, 16.0f },
      { 2.0f, 1.0f, 3.0f, 0.0f, 2.0f, 6.0f, 0.0f, 0.0f } },
    { "the run ends where two bins share column 3: 0, 1.5, 3.25, 3.5, 6, 8",
      { 1.0f, 0.8125f, 0.59375f, 0.5625f, 0.25f, 0.0f },
      { 2.0f, 4.0f, 8.0f, 5.0f, 1.0f, 16.0f },
      { 2.0f, 2.0f, 2.0f, 6.0f, 2.0f, 0.0f, 1.0f, 0.0f } },
    { "a sparse bin in the last column keeps its whole value: 0, 3.5, 7.5, 8",
      { 1.0f, 0.5625f, 0.0625f, 0.0f },
      { 2.0f, 4.0f, 8.0f, 16.0f },
      { 2.0f, 0.0f, 0.0f, 2.0f, 2.0f, 0.0f, 0.0f, 8.0f } },
    { "no extent: every bin at 0, the first one left out",
      { 0.5f, 0.5f, 0.5f },
      { 9.0f, 3.0f, 4.0f },
      { 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    std::vector<float> positions;
    std::vector<float> columns;
    MapSpectrumToColumns(c.values, c.axis, 8, positions, columns);
    EXPECT_EQ(columns, c.expected);
  }
}

TEST(SpectrumColumns, NothingToMapLeavesThePreviousColumns)
{
  struct Case
  {
    const char* what;
    std::vector<float> values;
    std::vector<float> axis;
    int width;
  };
  const Case cases[] = {
    { "no values", {}, {}, 8 },
    { "no columns", { 1.0f, 2.0f }, { 1.0f, 0.0f }, 0 },
    { "negative width", { 1.0f, 2.0f }, { 1.0f, 0.0f }, -3 },
    { "axis of another length", { 1.0f, 2.0f }, { 1.0f, 0.5f, 0.0f }, 8 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    std::vector<float> positions { 7.0f };
    std::vector<float> columns { 5.0f, 6.0f };
    MapSpectrumToColumns(c.values, c.axis, c.width, positions, columns);
    EXPECT_EQ(positions, std::vector<float> { 7.0f });
    EXPECT_EQ(columns, (std::vector<float> { 5.0f, 6.0f }));
  }
}

} // namespace
} // namespace kit::ui
