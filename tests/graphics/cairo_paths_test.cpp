// Paths in the Cairo backend: arcs measured in degrees from 12 o'clock, dash patterns, the
// transform's effect on points and stroke widths, and the fill rules.
#include "graphics/draw_context_cairo.h"
#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace kit::ui
{
namespace
{

using test::OpenEditor;

constexpr IRgba kWhite { 255, 255, 255, 255 };

// The pixel at `degrees` (0 up, clockwise) and `distance` from (cx, cy), at scale 1.
int AlphaAtAngle(const OpenEditor& editor, double cx, double cy, double degrees, double distance)
{
  const double radians = degrees * std::numbers::pi / 180.0;
  return editor.At(int(cx + distance * std::sin(radians)), int(cy - distance * std::cos(radians))).a;
}

TEST(CairoPaths, ArcSweepFollowsDirectionAndCrossesTwelveOClock)
{
  struct Case
  {
    float a1, a2;
    bool counterClockwise;
    double sweepStart, sweepDegrees; // the sector that must be painted, clockwise from sweepStart
  };
  const Case cases[] = {
    { 350.0f, 10.0f, false, 350.0, 20.0 }, // through 12 o'clock, 20 degrees
    { 10.0f, 350.0f, true, 350.0, 20.0 },  // back through 12 o'clock, −20 degrees
    { 350.0f, 10.0f, true, 10.0, 340.0 },  // the long way round
    { 10.0f, 350.0f, false, 10.0, 340.0 }, { 90.0f, 180.0f, false, 90.0, 90.0 }, // 3 o'clock to 6 o'clock
    { -90.0f, 0.0f, false, 270.0, 90.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.a1 << " -> " << c.a2 << (c.counterClockwise ? " counter-clockwise" : ""));
    OpenEditor editor(100, 100);
    editor->PathClear();
    editor->PathMoveTo(50, 50);
    editor->PathArc(50, 50, 40, c.a1, c.a2, c.counterClockwise);
    editor->PathClose();
    editor->PathFill(IFillPattern::Solid(kWhite));
    editor->EndFrame();
    for (double degrees = 0.0; degrees < 360.0; degrees += 5.0)
    {
      const double along = std::fmod(degrees - c.sweepStart + 360.0, 360.0);
      // Leave the sector's two edges out: they are shared with the outside.
      if (along < 2.0 || std::abs(along - c.sweepDegrees) < 2.0 || along > 358.0) continue;
      SCOPED_TRACE(testing::Message() << "at " << degrees << " degrees");
      EXPECT_EQ(AlphaAtAngle(editor, 50, 50, degrees, 30), along < c.sweepDegrees ? 255 : 0);
    }
  }
}

TEST(CairoPaths, SweepOfAFullTurnOrMoreIsAWholeCircle)
{
  for (const float a2 : { 360.0f, 720.0f, -400.0f })
  {
    SCOPED_TRACE(a2);
    OpenEditor editor(100, 100);
    editor->PathClear();
    editor->PathArc(50, 50, 40, 0.0f, a2, false);
    editor->PathFill(IFillPattern::Solid(kWhite));
    editor->EndFrame();
    for (double degrees = 0.0; degrees < 360.0; degrees += 15.0)
    {
      SCOPED_TRACE(degrees);
      EXPECT_EQ(AlphaAtAngle(editor, 50, 50, degrees, 35), 255);
      EXPECT_EQ(AlphaAtAngle(editor, 50, 50, degrees, 44), 0);
    }
  }
}

// Whether each whole pixel column in [0, 120) lies on a dash, from the lengths walked in turn
// as on, off, on, … and repeated, starting `offset` into the walk.
std::vector<bool> ExpectedDashes(const std::vector<double>& walk, double offset)
{
  double period = 0.0;
  for (double length : walk) period += length;
  std::vector<bool> on;
  for (int column = 0; column < 120; ++column)
  {
    double position = std::fmod(column + 0.5 + offset, period);
    std::size_t index = 0;
    while (position >= walk[index]) position -= walk[index++];
    on.push_back(index % 2 == 0);
  }
  return on;
}

TEST(CairoPaths, OddDashPatternRepeatsOnceMoreSoDashesAndGapsSwap)
{
  struct Case
  {
    std::vector<float> dashes;
    float offset;
    std::vector<double> walk; // what the stroke must show: an even count of lengths
  };
  const std::vector<Case> cases = {
    { { 3, 5, 7 }, 0.0f, { 3, 5, 7, 3, 5, 7 } },
    { { 3, 5, 7 }, 4.0f, { 3, 5, 7, 3, 5, 7 } },
    { { 4 }, 0.0f, { 4, 4 } },
    { { 2, 6 }, 0.0f, { 2, 6 } },
    { { 6, 2, 4, 8 }, 1.0f, { 6, 2, 4, 8 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.dashes.size() << " lengths, offset " << c.offset);
    OpenEditor editor(120, 20);
    IStrokeStyle style;
    for (std::size_t i = 0; i < c.dashes.size(); ++i) style.dashes[i] = c.dashes[i];
    style.dashCount = int(c.dashes.size());
    style.dashOffset = c.offset;
    editor->PathClear();
    editor->PathMoveTo(0, 10);
    editor->PathLineTo(120, 10);
    editor->PathStroke(IFillPattern::Solid(kWhite), 4.0f, style);
    editor->EndFrame();
    const std::vector<bool> expected = ExpectedDashes(c.walk, c.offset);
    for (int column = 0; column < 120; ++column)
    {
      SCOPED_TRACE(testing::Message() << "column " << column);
      EXPECT_EQ(editor.At(column, 10).a, expected[std::size_t(column)] ? 255 : 0);
    }
  }
}

// The transform scales the line's width with its points; the display density and zoom too.
TEST(CairoPaths, StrokeWidthScalesWithTheTransform)
{
  struct Case
  {
    float scaleX, scaleY, zoom, density;
    int firstRow, lastRow; // rows covered by a horizontal 2-unit line at y = 10, x 10 … 40
    int lastColumn;
  };
  const Case cases[] = {
    { 1, 1, 1, 1, 9, 10, 39 },  { 2, 2, 1, 1, 18, 21, 79 },     { 1, 3, 1, 1, 27, 32, 39 },
    { 1, 1, 1, 2, 18, 21, 79 }, { 2, 2, 1.5f, 1, 27, 32, 119 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "scale " << c.scaleX << " x " << c.scaleY << ", zoom " << c.zoom << ", density "
                                    << c.density);
    OpenEditor editor(100, 100, c.zoom, c.density);
    editor->PathTransformScale(c.scaleX, c.scaleY);
    editor->StrokeLine(kWhite, 10, 10, 40, 10, nullptr, 2.0f);
    editor->EndFrame();
    const int column = (c.lastColumn + 1) / 2;
    EXPECT_EQ(editor.At(column, c.firstRow - 1).a, 0);
    EXPECT_EQ(editor.At(column, c.firstRow).a, 255);
    EXPECT_EQ(editor.At(column, c.lastRow).a, 255);
    EXPECT_EQ(editor.At(column, c.lastRow + 1).a, 0);
    EXPECT_EQ(editor.At(c.lastColumn, c.firstRow).a, 255);
    EXPECT_EQ(editor.At(c.lastColumn + 1, c.firstRow).a, 0);
  }
}

// Points are mapped when they are added: a transform changed halfway moves only later points.
TEST(CairoPaths, TransformChangedDuringAPathMovesOnlyLaterPoints)
{
  OpenEditor editor(100, 100);
  editor->PathClear();
  editor->PathMoveTo(10, 10);
  editor->PathLineTo(30, 10);
  editor->PathLineTo(30, 30);
  editor->PathTransformTranslate(50, 0);
  editor->PathLineTo(-40, 30); // at x = 10 after the move
  editor->PathClose();
  editor->PathFill(IFillPattern::Solid(kWhite));
  editor->EndFrame();
  EXPECT_EQ(editor.At(20, 20).a, 255);
  EXPECT_EQ(editor.At(60, 20).a, 0);
  EXPECT_EQ(editor.At(5, 20).a, 0);
}

TEST(CairoPaths, FillRuleDecidesWhetherAnInnerLoopIsAHole)
{
  struct Case
  {
    EFillRule rule;
    bool preserve;
    int innerAlpha;
  };
  const Case cases[] = { { EFillRule::kWinding, false, 255 },
                         { EFillRule::kEvenOdd, false, 0 },
                         { EFillRule::kEvenOdd, true, 0 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << (c.rule == EFillRule::kWinding ? "winding" : "even-odd")
                                    << (c.preserve ? ", preserved" : ""));
    OpenEditor editor(100, 100);
    editor->PathClear();
    const float squares[2][4] = { { 10, 10, 90, 90 }, { 30, 30, 70, 70 } };
    for (const auto& square : squares)
    {
      editor->PathMoveTo(square[0], square[1]);
      editor->PathLineTo(square[2], square[1]);
      editor->PathLineTo(square[2], square[3]);
      editor->PathLineTo(square[0], square[3]);
      editor->PathClose();
    }
    IFillStyle style;
    style.rule = c.rule;
    style.preserve = c.preserve;
    editor->PathFill(IFillPattern::Solid(kWhite), style);
    // With preserve the path is still there for a stroke; without, the stroke has nothing.
    editor->PathStroke(IFillPattern::Solid({ 255, 255, 0, 0 }), 2.0f);
    editor->EndFrame();
    EXPECT_EQ(editor.At(20, 20).a, 255);
    EXPECT_EQ(editor.At(50, 50).a, c.innerAlpha);
    EXPECT_EQ(editor.At(95, 95).a, 0);
    EXPECT_EQ(editor.At(50, 10).g, c.preserve ? 0 : 255);
  }
}

} // namespace
} // namespace kit::ui
