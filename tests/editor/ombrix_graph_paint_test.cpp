// How the spectrum graph draws its columns: lines and outline per column in exact coordinates,
// colours by kind, the clamps at the top and bottom edges, a repaint every frame, and one
// analysis per frame however many regions the frame paints it in.
#include "editor/ombrix_graph.h"

#include "editor_pictures.h"
#include "graph_packets.h"
#include "graphics/bounds_list.h"
#include "graphics/cairo_test_support.h"
#include "graphics/input_fixture.h"
#include "stroke_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace kit::ui::test
{
namespace
{

const IBounds kScreen(86.0f, 80.0f, 434.0f, 345.0f);
constexpr float kTop = 80.0f;
constexpr float kBottom = 345.0f;

struct Kind
{
  const char* what;
  float gain;
  bool mirrored;
  float baseline;
  float scale; // gain, times half the height when mirrored
  IRgba fill;
  IRgba line;
};
const Kind kKinds[] = {
  { "noise graph", 8192.0f, false, 344.0f, 8192.0f, { 154, 128, 255, 255 }, { 255, 128, 255, 255 } },
  { "signal graph", 3.0f, true, 212.5f, 397.5f, { 154, 255, 255, 255 }, { 255, 255, 255, 255 } },
};

// The lines a graph of this kind draws for the given column values, by the drawing rules.
std::vector<Stroke> ExpectedStrokes(const Kind& kind, std::span<const float> columns)
{
  std::vector<Stroke> strokes;
  const float b = kind.baseline;
  float yPrev = b;
  for (std::size_t k = 0; k < columns.size(); ++k)
  {
    const float x = 86.0f + float(k);
    const float y = std::max(kTop, b - std::sqrt(columns[k]) * kind.scale);
    strokes.push_back({ kind.fill, x, y, x, b, false, 1.0f });
    if (kind.mirrored) strokes.push_back({ kind.fill, x, std::min(kBottom, 2.0f * b - y), x, b, false, 1.0f });
    if (k > 0)
    {
      strokes.push_back({ kind.line, x - 1.0f, yPrev, x, y, false, 1.0f });
      if (kind.mirrored) strokes.push_back({ kind.line, x - 1.0f, 2.0f * b - yPrev, x, 2.0f * b - y, false, 1.0f });
    }
    yPrev = y;
  }
  return strokes;
}

// One display tick of the window for this graph alone, keeping only this frame's lines.
void PaintFrame(OmbrixGraph& graph, StrokeRecorder& recorder)
{
  recorder.paints.clear();
  graph.MarkClean();
  graph.Paint(recorder);
}

void ExpectSameStrokes(const std::vector<Stroke>& drawn, const std::vector<Stroke>& expected)
{
  ASSERT_EQ(drawn.size(), expected.size());
  for (std::size_t i = 0; i < drawn.size(); ++i)
  {
    SCOPED_TRACE("line " + std::to_string(i));
    EXPECT_EQ(drawn[i].colour, expected[i].colour);
    EXPECT_FLOAT_EQ(drawn[i].x1, expected[i].x1);
    EXPECT_FLOAT_EQ(drawn[i].y1, expected[i].y1);
    EXPECT_FLOAT_EQ(drawn[i].x2, expected[i].x2);
    EXPECT_FLOAT_EQ(drawn[i].y2, expected[i].y2);
    EXPECT_EQ(drawn[i].blended, false);
    EXPECT_EQ(drawn[i].thickness, 1.0f);
    if (testing::Test::HasFailure()) return;
  }
}

TEST(OmbrixGraphPaint, WithoutPacketsEveryColumnIsAFlatLineOnTheBaseline)
{
  for (const Kind& kind : kKinds)
  {
    SCOPED_TRACE(kind.what);
    EditorParams editorDelegate;
    StrokeRecorder recorder(editorDelegate);
    OmbrixGraph graph(kScreen, kind.gain, kind.mirrored);
    EXPECT_EQ(graph.FillColour(), kind.fill);
    EXPECT_EQ(graph.LineColour(), kind.line);
    PaintFrame(graph, recorder);
    const std::vector<float> zeros(348, 0.0f);
    ExpectSameStrokes(recorder.Strokes(), ExpectedStrokes(kind, zeros));
    // One column line per column (two when mirrored), one outline piece between neighbours.
    EXPECT_EQ(recorder.Strokes().size(), kind.mirrored ? 2u + 347u * 4u : 1u + 347u * 2u);
  }
}

TEST(OmbrixGraphPaint, ColumnsRiseWithTheRootOfTheirValueAndStopAtTheEdges)
{
  for (const Kind& kind : kKinds)
  {
    SCOPED_TRACE(kind.what);
    EditorParams editorDelegate;
    StrokeRecorder recorder(editorDelegate);
    OmbrixGraph graph(kScreen, kind.gain, kind.mirrored);
    // A loud tone over faint noise: tall columns at the tone, short ones elsewhere.
    for (int frame = 0; frame < 12; ++frame)
    {
      Send(graph, SineSamples(2000.0, 1.0, long(frame) * 4096, 1e-3, unsigned(frame + 1)));
      PaintFrame(graph, recorder);
    }
    const std::vector<Stroke> strokes = recorder.Strokes();
    ExpectSameStrokes(strokes, ExpectedStrokes(kind, graph.Columns()));
    int clampedAtTop = 0;
    int belowTop = 0;
    for (const Stroke& stroke : strokes)
    {
      EXPECT_GE(std::min(stroke.y1, stroke.y2), kTop);
      if (kind.mirrored && stroke.colour == kind.fill)
      {
        EXPECT_LE(std::max(stroke.y1, stroke.y2), kBottom);
      }
      if (stroke.colour != kind.fill || stroke.y2 != kind.baseline || !(stroke.y1 < kind.baseline)) continue;
      if (stroke.y1 == kTop)
        ++clampedAtTop;
      else
        ++belowTop;
    }
    EXPECT_GT(clampedAtTop, 0) << "the tone's columns reach the top edge";
    EXPECT_GT(belowTop, 0) << "the noise stays lower";
    if (kind.mirrored)
    {
      // The lower half mirrors the upper one: a column at the top reaches the bottom edge.
      const auto atBottom = std::count_if(strokes.begin(), strokes.end(),
                                          [&](const Stroke& s) { return s.colour == kind.fill && s.y1 == kBottom; });
      EXPECT_GT(atBottom, 0);
    }
  }
}

TEST(OmbrixGraphPaint, AGraphAsksForTheNextFrameEveryTimeItPaints)
{
  kit::test::OpenEditor editor(500, 525);
  ASSERT_NE(editor->AddControl(std::make_unique<OmbrixGraph>(kScreen, 3.0f, true)), nullptr);
  for (int tick = 0; tick < 3; ++tick)
  {
    SCOPED_TRACE("tick " + std::to_string(tick));
    EXPECT_TRUE(editor->Tick());
  }
}

// A frame whose regions cut the graph into pieces, as an expose of an uncovered window does.
void AddSplitRegions(IBoundsList& regions)
{
  regions.Add(IBounds(80.0f, 70.0f, 250.0f, 200.0f));
  regions.Add(IBounds(270.0f, 210.0f, 440.0f, 350.0f));
}

TEST(OmbrixGraphPaint, TwoRegionsOfOneFrameShareOneAnalysis)
{
  EditorParams editorDelegate;
  StrokeRecorder recorder(editorDelegate);
  auto* graph = static_cast<OmbrixGraph*>(recorder.AddControl(std::make_unique<OmbrixGraph>(kScreen, 3.0f, true)));
  ASSERT_NE(graph, nullptr);
  // The same graph painted once per frame, for comparison.
  StrokeRecorder single(editorDelegate);
  OmbrixGraph reference(kScreen, 3.0f, true);

  for (int frame = 0; frame < 3; ++frame)
  {
    SCOPED_TRACE("frame " + std::to_string(frame));
    const std::vector<float> samples = SineSamples(700.0, 0.8, long(frame) * 4096, 0.01, unsigned(frame + 1));
    Send(*graph, samples);
    Send(reference, samples);

    IBoundsList dirty;
    ASSERT_TRUE(recorder.CollectDirtyRegions(dirty));
    recorder.MarkAllControlsClean();
    IBoundsList regions;
    AddSplitRegions(regions);
    recorder.paints.clear();
    recorder.PaintRegions(regions);
    ASSERT_EQ(recorder.paints.size(), 2u) << "painted once per region";
    EXPECT_EQ(recorder.paints[0], recorder.paints[1]) << "the same columns on both sides of the cut";

    PaintFrame(reference, single);
    EXPECT_EQ(std::vector<float>(graph->Spectrum().begin(), graph->Spectrum().end()),
              std::vector<float>(reference.Spectrum().begin(), reference.Spectrum().end()))
        << "smoothed once";
    EXPECT_EQ(recorder.paints[0], single.Strokes());
  }

  // A repaint without a display tick in between (the window was uncovered) shows the same frame.
  const std::vector<float> before(graph->Spectrum().begin(), graph->Spectrum().end());
  const std::vector<Stroke> drawnBefore = recorder.paints[0];
  Send(*graph, SineSamples(5000.0, 1.0));
  IBoundsList regions;
  AddSplitRegions(regions);
  recorder.paints.clear();
  recorder.PaintRegions(regions);
  EXPECT_EQ(std::vector<float>(graph->Spectrum().begin(), graph->Spectrum().end()), before);
  ASSERT_EQ(recorder.paints.size(), 2u);
  EXPECT_EQ(recorder.paints[1], drawnBefore);
}

// In pixels: a frame painted in pieces matches the frame painted whole, seam included.
TEST(OmbrixGraphPaint, AFramePaintedInPiecesHasNoSeam)
{
  kit::test::OpenEditor whole(500, 525);
  kit::test::OpenEditor pieces(500, 525);
  OmbrixGraph* graphs[2] = {};
  kit::test::OpenEditor* editors[2] = { &whole, &pieces };
  for (int i = 0; i < 2; ++i)
  {
    AddBlackBackground(**editors[i]);
    graphs[i] =
        static_cast<OmbrixGraph*>((*editors[i])->AddControl(std::make_unique<OmbrixGraph>(kScreen, 3.0f, true)));
    ASSERT_NE(graphs[i], nullptr);
  }
  for (int frame = 0; frame < 4; ++frame)
  {
    const std::vector<float> samples = SineSamples(1500.0, 0.9, long(frame) * 4096, 0.02, unsigned(frame + 7));
    Send(*graphs[0], samples);
    Send(*graphs[1], samples);
    ASSERT_TRUE(whole->Tick());
    IBoundsList dirty;
    ASSERT_TRUE(pieces->CollectDirtyRegions(dirty));
    pieces->MarkAllControlsClean();
    // Two overlapping rectangles that together cover the graph: the optimiser cuts them apart.
    IBoundsList regions;
    regions.Add(IBounds(80.0f, 70.0f, 260.0f, 350.0f));
    regions.Add(IBounds(250.0f, 60.0f, 440.0f, 340.0f));
    regions.Add(IBounds(250.0f, 330.0f, 440.0f, 350.0f));
    pieces->PaintRegions(regions);
  }
  ASSERT_TRUE(whole->WritePng(ArtifactPath("graph_whole.png")));
  ASSERT_TRUE(pieces->WritePng(ArtifactPath("graph_pieces.png")));
  int differing = 0;
  for (int y = 79; y < 347; ++y)
  {
    for (int x = 85; x < 436; ++x)
    {
      if (!(whole.At(x, y) == pieces.At(x, y))) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
  // And there is something to compare: the tone's columns are lit.
  int lit = 0;
  for (int x = 86; x < 434; ++x) lit += whole.At(x, 150).r > 0 ? 1 : 0;
  EXPECT_GT(lit, 0);
}

} // namespace
} // namespace kit::ui::test
