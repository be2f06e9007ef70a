#include "graphics/bounds_list.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

std::string Describe(const std::vector<IBounds>& rects)
{
  std::ostringstream text;
  for (const IBounds& r : rects) text << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ") ";
  return text.str();
}

std::vector<IBounds> Optimized(const std::vector<IBounds>& input)
{
  IBoundsList list;
  for (const IBounds& r : input) list.Add(r);
  list.OptimizeRegions();
  return list.Rects();
}

TEST(OptimizeRegions, WorkedCases)
{
  struct Case
  {
    const char* name;
    std::vector<IBounds> input;
    std::vector<IBounds> expected;
  };
  const Case cases[] = {
    { "a later rectangle inside an earlier one disappears",
      { { 0, 0, 10, 10 }, { 2, 2, 5, 5 } },
      { { 0, 0, 10, 10 } } },
    { "an earlier rectangle inside a later one disappears",
      { { 2, 2, 5, 5 }, { 0, 0, 10, 10 } },
      { { 0, 0, 10, 10 } } },
    { "sharing top and bottom and touching at one edge: one rectangle",
      { { 0, 0, 10, 10 }, { 10, 0, 20, 10 } },
      { { 0, 0, 20, 10 } } },
    { "sharing left and right and overlapping: one rectangle",
      { { 0, 0, 10, 10 }, { 0, 5, 10, 25 } },
      { { 0, 0, 10, 25 } } },
    { "an overlap across the full height trims the first, then they join",
      { { 0, 0, 10, 10 }, { 5, 0, 15, 10 } },
      { { 0, 0, 15, 10 } } },
    { "an overlap across the full width of the later one trims it",
      { { 0, 0, 20, 10 }, { 5, 5, 15, 30 } },
      { { 0, 0, 20, 10 }, { 5, 10, 15, 30 } } },
    { "overlap in the smaller one's bottom-right corner: split",
      { { 0, 0, 10, 10 }, { 5, 5, 20, 20 } },
      { { 0, 5, 5, 10 }, { 5, 5, 20, 20 }, { 0, 0, 10, 5 } } },
    { "overlap in the top-right corner: split",
      { { 0, 0, 10, 10 }, { 5, -5, 20, 5 } },
      { { 0, 5, 10, 10 }, { 5, -5, 20, 5 }, { 0, 0, 5, 5 } } },
    { "overlap in the bottom-left corner: split",
      { { 0, 0, 10, 10 }, { -5, 5, 5, 20 } },
      { { 5, 5, 10, 10 }, { -5, 5, 5, 20 }, { 0, 0, 10, 5 } } },
    { "overlap in the top-left corner: split",
      { { 0, 0, 10, 10 }, { -5, -5, 6, 6 } },
      { { 0, 6, 10, 10 }, { -5, -5, 6, 6 }, { 6, 0, 10, 6 } } },
    { "a band through the middle of both: both kept whole",
      { { 0, 0, 10, 30 }, { -5, 10, 15, 20 } },
      { { 0, 0, 10, 30 }, { -5, 10, 15, 20 } } },
    { "empty rectangles go", { { 0, 0, 0, 0 }, { 1, 1, 2, 2 }, { 0, 0, 0, 0 } }, { { 1, 1, 2, 2 } } },
    { "nothing stays nothing", {}, {} },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    const std::vector<IBounds> result = Optimized(c.input);
    EXPECT_EQ(result, c.expected) << Describe(result);
  }
}

// Whatever the list, the rewrite covers at least what the input covered and makes no
// rectangle of negative size. Whole-unit rectangles, tested at every unit cell's centre.
TEST(OptimizeRegions, NeverGivesUpAreaOnRandomLists)
{
  std::mt19937 engine(20261210);
  std::uniform_int_distribution<int> coordinate(0, 24);
  std::uniform_int_distribution<int> count(1, 9);
  const auto covers = [](const std::vector<IBounds>& rects, float x, float y)
  {
    for (const IBounds& r : rects)
      if (r.Contains(x, y)) return true;
    return false;
  };
  for (int trial = 0; trial < 2000; ++trial)
  {
    std::vector<IBounds> input;
    for (int n = count(engine); n > 0; --n)
    {
      const int l = coordinate(engine);
      const int t = coordinate(engine);
      input.push_back(
          { float(l), float(t), float(l + 1 + coordinate(engine) / 2), float(t + 1 + coordinate(engine) / 2) });
    }
    const std::vector<IBounds> result = Optimized(input);
    for (const IBounds& r : result)
      ASSERT_TRUE(r.W() >= 0 && r.H() >= 0) << Describe(input) << "-> " << Describe(result);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
      {
        const float cx = float(x) + 0.5f;
        const float cy = float(y) + 0.5f;
        if (covers(input, cx, cy))
        {
          ASSERT_TRUE(covers(result, cx, cy))
              << "(" << x << "," << y << ") lost: " << Describe(input) << "-> " << Describe(result);
        }
      }
  }
}

TEST(Bounds, ContainmentIntersectionAndAlignment)
{
  const IBounds r { 10, 20, 30, 40 };
  EXPECT_TRUE(r.Contains(10, 20));
  EXPECT_FALSE(r.Contains(30, 25));
  EXPECT_FALSE(r.Contains(15, 40));
  EXPECT_FALSE(IBounds {}.Contains(0, 0));
  EXPECT_EQ(r.Intersect({ 25, 0, 50, 30 }), (IBounds { 25, 20, 30, 30 }));
  EXPECT_EQ(r.Intersect({}), IBounds {});
  EXPECT_EQ(r.Union({}), r);
  EXPECT_EQ(r.GetPadded(0.75f), (IBounds { 9.25f, 19.25f, 30.75f, 40.75f }));
  // At a total scale of 1.5 the edges move out to whole device pixels.
  EXPECT_EQ((IBounds { 0.5f, 0.5f, 1.5f, 1.5f }).PixelAligned(1.5f), (IBounds { 0.0f, 0.0f, 2.0f, 2.0f }));
}

} // namespace
} // namespace kit::ui
