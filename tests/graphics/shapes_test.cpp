#include "graphics/draw_context.h"

#include "input_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace kit::ui::test
{
namespace
{

const IRgba kRed(255, 255, 0, 0);
const IRgba kBlue(128, 0, 0, 255);

struct Case
{
  const char* what;
  std::function<void(IDrawContext&)> draw;
  Lines ops;
};

void Check(const Case& c)
{
  SCOPED_TRACE(c.what);
  EditorParams delegate;
  RecordingDrawContext graphics(delegate);
  c.draw(graphics);
  EXPECT_EQ(graphics.log, c.ops);
}

TEST(Shapes, LinesAndRectanglesAreMovesAndLines)
{
  const IBlending half { EBlend::kSrcOver, 0.5f };
  const Case cases[] = {
    { "line",
      [](IDrawContext& g) { g.StrokeLine(kRed, 1, 2, 3, 4, nullptr, 2); },
      { "clear", "move 1 2", "line 3 4", "stroke (255,255,0,0) 2" } },
    { "line with a blend",
      [&half](IDrawContext& g) { g.StrokeLine(kRed, 1, 2, 3, 4, &half); },
      { "clear", "move 1 2", "line 3 4", "stroke (255,255,0,0) 1 opacity 0.5" } },
    { "dotted line",
      [](IDrawContext& g) { g.StrokeDottedLine(kRed, 0, 0, 10, 0, nullptr, 1, 3); },
      { "clear", "move 0 0", "line 10 0", "stroke (255,255,0,0) 1 dash 3" } },
    { "outlined triangle",
      [](IDrawContext& g) { g.OutlineTriangle(kRed, 0, 0, 10, 0, 5, 8); },
      { "clear", "move 0 0", "line 10 0", "line 5 8", "close", "stroke (255,255,0,0) 1" } },
    { "filled triangle",
      [](IDrawContext& g) { g.PaintTriangle(kBlue, 0, 0, 10, 0, 5, 8); },
      { "clear", "move 0 0", "line 10 0", "line 5 8", "close", "fill (128,0,0,255)" } },
    { "outlined rectangle",
      [](IDrawContext& g) { g.OutlineRect(kRed, IBounds(1, 2, 11, 22), nullptr, 3); },
      { "clear", "move 1 2", "line 11 2", "line 11 22", "line 1 22", "close", "stroke (255,255,0,0) 3" } },
    { "filled rectangle",
      [](IDrawContext& g) { g.PaintRect(kBlue, IBounds(1, 2, 11, 22)); },
      { "clear", "move 1 2", "line 11 2", "line 11 22", "line 1 22", "close", "fill (128,0,0,255)" } },
    { "dotted rectangle",
      [](IDrawContext& g) { g.OutlineDottedRect(kRed, IBounds(0, 0, 4, 4), nullptr, 1, 2); },
      { "clear", "move 0 0", "line 4 0", "line 4 4", "line 0 4", "close", "stroke (255,255,0,0) 1 dash 2" } },
    { "pixel",
      [](IDrawContext& g) { g.PaintPixel(kBlue, 7, 8); },
      { "clear", "move 7 8", "line 8 8", "line 8 9", "line 7 9", "close", "fill (128,0,0,255)" } },
    { "polygon",
      [](IDrawContext& g)
      {
        const float xs[] = { 0, 4, 4 };
        const float ys[] = { 0, 0, 3 };
        g.PaintPolygon(kBlue, xs, ys, 3);
      },
      { "clear", "move 0 0", "line 4 0", "line 4 3", "close", "fill (128,0,0,255)" } },
    { "outlined polygon of one point",
      [](IDrawContext& g)
      {
        const float xs[] = { 2 };
        const float ys[] = { 5 };
        g.OutlinePolygon(kRed, xs, ys, 1);
      },
      { "clear", "move 2 5", "close", "stroke (255,255,0,0) 1" } },
    { "polygon without points", [](IDrawContext& g) { g.PaintPolygon(kBlue, nullptr, nullptr, 0); }, {} },
  };
  for (const Case& c : cases) Check(c);
}

TEST(Shapes, RoundRectanglesGoCornerByCornerClockwiseFromTheTopLeft)
{
  const Case cases[] = {
    { "four radii",
      [](IDrawContext& g) { g.OutlineRoundRect(kRed, IBounds(0, 0, 100, 50), 5, 6, 7, 8); },
      { "clear", "move 0 5", "arc 5 5 5 270 360", "arc 94 6 6 0 90", "arc 93 43 7 90 180", "arc 8 42 8 180 270",
        "close", "stroke (255,255,0,0) 1" } },
    { "one radius, filled",
      [](IDrawContext& g) { g.PaintRoundRect(kBlue, IBounds(10, 10, 30, 30), 4); },
      { "clear", "move 10 14", "arc 14 14 4 270 360", "arc 26 14 4 0 90", "arc 26 26 4 90 180", "arc 14 26 4 180 270",
        "close", "fill (128,0,0,255)" } },
    { "no radius: the plain rectangle",
      [](IDrawContext& g) { g.OutlineRoundRect(kRed, IBounds(0, 0, 4, 4), 0); },
      { "clear", "move 0 0", "line 4 0", "line 4 4", "line 0 4", "close", "stroke (255,255,0,0) 1" } },
    { "negative radii: the plain rectangle",
      [](IDrawContext& g) { g.PaintRoundRect(kBlue, IBounds(0, 0, 4, 4), -1, 0, -2, 0); },
      { "clear", "move 0 0", "line 4 0", "line 4 4", "line 0 4", "close", "fill (128,0,0,255)" } },
    { "one rounded corner",
      [](IDrawContext& g) { g.OutlineRoundRect(kRed, IBounds(0, 0, 10, 10), 0, 3, 0, 0); },
      { "clear", "move 0 0", "arc 0 0 0 270 360", "arc 7 3 3 0 90", "arc 10 10 0 90 180", "arc 0 10 0 180 270", "close",
        "stroke (255,255,0,0) 1" } },
  };
  for (const Case& c : cases) Check(c);
}

TEST(Shapes, ArcsCirclesAndSectors)
{
  const Case cases[] = {
    { "arc",
      [](IDrawContext& g) { g.OutlineArc(kRed, 10, 20, 5, 350, 10, nullptr, 2); },
      { "clear", "arc 10 20 5 350 10", "stroke (255,255,0,0) 2" } },
    { "sector",
      [](IDrawContext& g) { g.PaintArcSector(kBlue, 10, 20, 5, 0, 90); },
      { "clear", "move 10 20", "arc 10 20 5 0 90", "close", "fill (128,0,0,255)" } },
    { "circle",
      [](IDrawContext& g) { g.OutlineCircle(kRed, 10, 20, 5); },
      { "clear", "move 10 15", "arc 10 20 5 0 360", "close", "stroke (255,255,0,0) 1" } },
    { "disc",
      [](IDrawContext& g) { g.PaintCircle(kBlue, 0, 0, 1); },
      { "clear", "move 0 -1", "arc 0 0 1 0 360", "close", "fill (128,0,0,255)" } },
  };
  for (const Case& c : cases) Check(c);
}

TEST(Shapes, EllipsesAreTheUnitCircleThroughASavedTransform)
{
  const Case cases[] = {
    { "ellipse",
      [](IDrawContext& g) { g.OutlineEllipse(kRed, 10, 20, 4, 2, 0, nullptr, 1.5f); },
      { "clear", "matrix 1 0 0 1 10 20", "matrix 1 0 0 1 10 20", "matrix 4 0 0 2 10 20", "move 0 -1", "arc 0 0 1 0 360",
        "close", "matrix 1 0 0 1 0 0", "stroke (255,255,0,0) 1.5" } },
    { "ellipse in bounds",
      [](IDrawContext& g) { g.PaintEllipse(kBlue, IBounds(0, 0, 20, 10)); },
      { "clear", "matrix 1 0 0 1 10 5", "matrix 1 0 0 1 10 5", "matrix 10 0 0 5 10 5", "move 0 -1", "arc 0 0 1 0 360",
        "close", "matrix 1 0 0 1 0 0", "fill (128,0,0,255)" } },
    { "radius 0 draws nothing", [](IDrawContext& g) { g.OutlineEllipse(kRed, 10, 20, 0, 2, 30); }, {} },
    { "negative radius draws nothing", [](IDrawContext& g) { g.PaintEllipse(kBlue, 10, 20, 3, -1, 0); }, {} },
    { "empty bounds draw nothing", [](IDrawContext& g) { g.PaintEllipse(kBlue, IBounds(5, 5, 5, 9)); }, {} },
  };
  for (const Case& c : cases) Check(c);
}

TEST(Shapes, AnEllipseLeavesTheCallersTransformAsItWas)
{
  EditorParams delegate;
  RecordingDrawContext graphics(delegate);
  graphics.PathTransformTranslate(3, 4);
  const ITransform2D before = graphics.Transform();
  graphics.PaintEllipse(kBlue, 10, 20, 4, 2, 45);
  EXPECT_EQ(graphics.Transform(), before);
  graphics.PaintEllipse(kBlue, 10, 20, 0, 2, 45);
  EXPECT_EQ(graphics.Transform(), before);
  graphics.PathTransformRestore(); // nothing left saved
  EXPECT_EQ(graphics.Transform(), before);
}

TEST(Shapes, GridLinesStartOneStepInAndStopBeforeTheFarEdge)
{
  const Case cases[] = {
    { "both directions",
      [](IDrawContext& g) { g.StrokeGrid(kRed, IBounds(0, 0, 10, 7), 3, 3.5f); },
      { "clear", "move 3 0", "line 3 7", "move 6 0", "line 6 7", "move 9 0", "line 9 7", "move 0 3.5", "line 10 3.5",
        "stroke (255,255,0,0) 1" } },
    { "a step that lands on the edge",
      [](IDrawContext& g) { g.StrokeGrid(kRed, IBounds(10, 0, 20, 5), 5, 0); },
      { "clear", "move 15 0", "line 15 5", "stroke (255,255,0,0) 1" } },
    { "steps of 1 or less draw no lines",
      [](IDrawContext& g) { g.StrokeGrid(kRed, IBounds(0, 0, 10, 10), 1, 0.5f); },
      { "clear", "stroke (255,255,0,0) 1" } },
    { "an endless step draws no lines",
      [](IDrawContext& g) { g.StrokeGrid(kRed, IBounds(0, 0, 10, 10), std::numeric_limits<float>::infinity(), 2e9f); },
      { "clear", "stroke (255,255,0,0) 1" } },
  };
  for (const Case& c : cases) Check(c);
}

TEST(Shapes, SeriesRunAcrossTheBoundsFromTheBottomUp)
{
  static const float ys3[] = { 0.0f, 0.5f, 1.0f };
  static const float xs3[] = { 0.1f, 0.2f, 0.9f };
  static const float ys1[] = { 0.25f };
  const IRgba fill(64, 0, 255, 0);
  const Case cases[] = {
    { "evenly spread",
      [](IDrawContext& g) { g.StrokeSeries(kRed, IBounds(0, 0, 100, 40), ys3, 3); },
      { "clear", "move 0 40", "line 50 20", "line 100 0", "stroke (255,255,0,0) 1" } },
    { "at given places",
      [](IDrawContext& g) { g.StrokeSeries(kRed, IBounds(10, 10, 110, 50), ys3, 3, xs3); },
      { "clear", "move 20 50", "line 30 30", "line 100 10", "stroke (255,255,0,0) 1" } },
    { "filled first, keeping the path",
      [&fill](IDrawContext& g) { g.StrokeSeries(kRed, IBounds(0, 0, 100, 40), ys3, 3, nullptr, nullptr, 2, &fill); },
      { "clear", "move 0 40", "line 50 20", "line 100 0", "fill (64,0,255,0) preserve", "stroke (255,255,0,0) 2" } },
    { "one point sits at the left edge",
      [](IDrawContext& g) { g.StrokeSeries(kRed, IBounds(10, 0, 110, 40), ys1, 1); },
      { "clear", "move 10 30", "stroke (255,255,0,0) 1" } },
    { "one point at a given place",
      [](IDrawContext& g) { g.StrokeSeries(kRed, IBounds(10, 0, 110, 40), ys1, 1, xs3); },
      { "clear", "move 20 30", "stroke (255,255,0,0) 1" } },
    { "no points", [](IDrawContext& g) { g.StrokeSeries(kRed, IBounds(0, 0, 100, 40), ys3, 0); }, {} },
  };
  for (const Case& c : cases) Check(c);
}

} // namespace
} // namespace kit::ui::test
