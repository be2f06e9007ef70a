// The frequency grid: its lines and label boxes in exact coordinates, the labels as pixels in the
// strip above the screen (which the control's own bounds have to take in to be painted at all),
// and a hit area that stays the grid.
#include "editor/grid_control.h"

#include "editor_pictures.h"
#include "graphics/bounds_list.h"
#include "graphics/cairo_test_support.h"
#include "graphics/input_fixture.h"
#include "stroke_recorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kit::ui::test
{
namespace
{

const IBounds kScreen(86.0f, 80.0f, 434.0f, 345.0f); // the layout's grid
const IRgba kLineColour(255, 128, 128, 128);

struct Mark
{
  float x; // 86 + f × 348
  const char* label;
};
const Mark kMarks[] = {
  { 86.0f, "100" },  { 131.24f, "500" }, { 179.96f, "1k" },  { 253.04f, "2k" },   { 305.24f, "3k" },
  { 343.52f, "4k" }, { 371.36f, "5k" },  { 423.56f, "10k" }, { 434.0f, nullptr },
};

void ExpectStroke(const Stroke& stroke, float x1, float y1, float x2, float y2)
{
  EXPECT_EQ(stroke.colour, kLineColour);
  EXPECT_NEAR(stroke.x1, x1, 1e-4f);
  EXPECT_NEAR(stroke.y1, y1, 1e-4f);
  EXPECT_NEAR(stroke.x2, x2, 1e-4f);
  EXPECT_NEAR(stroke.y2, y2, 1e-4f);
  EXPECT_FALSE(stroke.blended);
  EXPECT_EQ(stroke.thickness, 1.0f);
}

TEST(GridControl, DrawsEdgesSixBandsAndEightLabelledMarks)
{
  EditorParams editorDelegate;
  StrokeRecorder recorder(editorDelegate);
  auto grid = std::make_unique<GridControl>(kScreen);
  grid->SetLineColour(kLineColour);
  ASSERT_NE(recorder.AddControl(std::move(grid)), nullptr);
  IBoundsList regions;
  regions.Add(IBounds(0.0f, 0.0f, 500.0f, 525.0f));
  recorder.PaintRegions(regions);

  const std::vector<Stroke> strokes = recorder.Strokes();
  ASSERT_EQ(strokes.size(), 2u + 5u + 9u);
  ExpectStroke(strokes[0], 86.0f, 80.0f, 434.0f, 80.0f);
  ExpectStroke(strokes[1], 86.0f, 345.0f, 434.0f, 345.0f);
  // 265 / 6 = 44.1667 per band.
  const float bandLines[] = { 124.16667f, 168.33333f, 212.5f, 256.66667f, 300.83333f };
  for (int i = 0; i < 5; ++i)
  {
    SCOPED_TRACE("band line " + std::to_string(i + 1));
    ExpectStroke(strokes[std::size_t(2 + i)], 86.0f, bandLines[i], 434.0f, bandLines[i]);
  }
  std::vector<DrawnText> expectedTexts;
  for (int i = 0; i < 9; ++i)
  {
    SCOPED_TRACE("mark " + std::to_string(i));
    ExpectStroke(strokes[std::size_t(7 + i)], kMarks[i].x, 80.0f, kMarks[i].x, 345.0f);
    if (kMarks[i].label) expectedTexts.push_back({ kMarks[i].label, { kMarks[i].x - 15, 64, kMarks[i].x + 15, 78 } });
  }
  ASSERT_EQ(recorder.texts.size(), expectedTexts.size());
  for (std::size_t i = 0; i < expectedTexts.size(); ++i)
  {
    SCOPED_TRACE(expectedTexts[i].text);
    EXPECT_EQ(recorder.texts[i].text, expectedTexts[i].text);
    EXPECT_NEAR(recorder.texts[i].bounds.left, expectedTexts[i].bounds.left, 1e-4f);
    EXPECT_EQ(recorder.texts[i].bounds.top, expectedTexts[i].bounds.top);
    EXPECT_NEAR(recorder.texts[i].bounds.right, expectedTexts[i].bounds.right, 1e-4f);
    EXPECT_EQ(recorder.texts[i].bounds.bottom, expectedTexts[i].bounds.bottom);
  }
}

// The graphs repaint the grid every frame in their own region, which ends above at the grid's
// top edge: the labels, all clipped away there, are not laid out at all.
TEST(GridControl, LaysOutOnlyTheLabelsTheRegionShows)
{
  struct Case
  {
    const char* what;
    IBounds region;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
    { "the graphs' region", { 85.0f, 79.0f, 435.0f, 346.0f }, {} },
    { "the left part of the strip", { 0.0f, 60.0f, 140.0f, 79.0f }, { "100", "500" } },
    { "one pixel row of the strip",
      { 0.0f, 77.0f, 500.0f, 78.0f },
      { "100", "500", "1k", "2k", "3k", "4k", "5k", "10k" } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    EditorParams editorDelegate;
    StrokeRecorder recorder(editorDelegate);
    ASSERT_NE(recorder.AddControl(std::make_unique<GridControl>(kScreen)), nullptr);
    IBoundsList regions;
    regions.Add(c.region);
    recorder.PaintRegions(regions);
    std::vector<std::string> labels;
    for (const DrawnText& text : recorder.texts) labels.push_back(text.text);
    EXPECT_EQ(labels, c.labels);
    EXPECT_EQ(recorder.Strokes().size(), 16u) << "every line, whatever the clip";
  }
}

TEST(GridControl, RepaintsTheLabelStripButIsHitOnlyOnTheGrid)
{
  GridControl grid(kScreen);
  EXPECT_EQ(grid.HitBounds(), kScreen);
  EXPECT_EQ(grid.GridArea(), kScreen);
  EXPECT_EQ(grid.Bounds(), IBounds(71.0f, 64.0f, 449.0f, 345.0f));
  struct Case
  {
    float x;
    float y;
    bool hit;
  };
  const Case cases[] = {
    { 86.0f, 80.0f, true },   { 433.9f, 344.9f, true },  { 200.0f, 70.0f, false }, // on a label
    { 75.0f, 200.0f, false }, { 440.0f, 200.0f, false }, { 434.0f, 200.0f, false },
  };
  for (const Case& c : cases) EXPECT_EQ(grid.HitTest(c.x, c.y), c.hit) << c.x << ", " << c.y;

  kit::test::OpenEditor editor(500, 525);
  ASSERT_NE(editor->AddControl(std::make_unique<GridControl>(kScreen)), nullptr);
  IBoundsList regions;
  ASSERT_TRUE(editor->CollectDirtyRegions(regions));
  ASSERT_EQ(regions.Size(), 1u);
  EXPECT_TRUE(regions.Get(0).Contains(IBounds(71.0f, 64.0f, 449.0f, 80.0f)));
}

TEST(GridControl, LabelsAppearAboveTheirMarks)
{
  kit::test::OpenEditor editor(500, 525);
  ASSERT_TRUE(editor->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  AddBlackBackground(*editor);
  auto grid = std::make_unique<GridControl>(kScreen);
  grid->SetLineColour(kLineColour);
  ASSERT_NE(editor->AddControl(std::move(grid)), nullptr);
  ASSERT_TRUE(editor->Tick());
  ASSERT_TRUE(editor->WritePng(ArtifactPath("grid_labels.png")));

  // The strip rows 64 … 77 hold nothing but the labels: the top edge at y = 80 reaches up to 79.5.
  for (const Mark& mark : kMarks)
  {
    if (!mark.label) continue;
    SCOPED_TRACE(mark.label);
    int litPixels = 0;
    double weight = 0.0;
    double weightedX = 0.0;
    for (int y = 64; y < 78; ++y)
    {
      for (int x = int(mark.x) - 15; x <= int(mark.x) + 15; ++x)
      {
        const kit::test::Pixel pixel = editor.At(x, y);
        if (pixel.r >= 128) ++litPixels;
        // White text on black: grey levels only.
        EXPECT_EQ(pixel.g, pixel.r);
        weight += pixel.r;
        weightedX += pixel.r * (x + 0.5);
      }
    }
    EXPECT_GE(litPixels, 8);
    ASSERT_GT(weight, 0.0);
    EXPECT_NEAR(weightedX / weight, mark.x, 2.0) << "centred over its mark";
  }
  // The grid's own lines are still drawn: the top edge straddles rows 79 and 80.
  EXPECT_GT(editor.At(200, 80).r, 0);
  EXPECT_GT(editor.At(200, 79).r, 0);
  EXPECT_EQ(editor.At(200, 60).r, 0);
}

} // namespace
} // namespace kit::ui::test
