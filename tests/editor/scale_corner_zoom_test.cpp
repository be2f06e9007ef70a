// The zoom gesture of the scale corner through the editor's real dispatch: the snap on release,
// shift keeping the free zoom, the double click back to 100 %, and the percentage label drawn
// while dragging.
#include "editor/scale_corner_fixture.h"
#include "graphics/cairo_test_support.h"
#include "graphics/input_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kit::ui::test
{
namespace
{

// Nearest choice by hand; ties (within 0.0001) to the smaller one.
TEST(SnapScale, TakesTheNearestChoiceAndTiesGoToTheSmaller)
{
  struct Case
  {
    float zoom;
    std::vector<float> choices;
    float expected;
  };
  const Case cases[] = {
    { 1.37f, kEditorChoices, 1.25f },
    { 1.375f, kEditorChoices, 1.25f },   // exactly between 1.25 and 1.5
    { 1.37504f, kEditorChoices, 1.25f }, // 0.00008 nearer 1.5: still a tie
    { 1.3752f, kEditorChoices, 1.5f },   // 0.0004 nearer 1.5
    { 1.38f, kEditorChoices, 1.5f },
    { 2.6f, kEditorChoices, 2.0f }, // beyond the largest
    { 0.6f, kEditorChoices, 1.0f }, // below the smallest
    { 1.75f, kEditorChoices, 1.75f },
    { 1.6f, { 2.0f, 1.0f, 1.5f }, 1.5f }, // order of the list does not matter
    { 1.5f, { 2.0f, 1.0f }, 1.0f },       // tie with the larger listed first
    { 1.37504f, { 1.5f, 1.25f }, 1.25f }, // near tie with the larger listed first
    { 1.37f, {}, 1.37f },                 // no choices: the zoom itself
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "zoom " << c.zoom);
    EXPECT_FLOAT_EQ(SnapScale(c.zoom, c.choices), c.expected);
  }
}

// Press at (480, 500) on the corner at zoom 1, drag to (3000, y): the dispatch makes the zoom
// y / 500. Release with or without shift.
TEST(ScaleCornerZoom, ReleaseSnapsUnlessShiftIsHeldOrTheZoomDidNotMove)
{
  struct Case
  {
    const char* name;
    float dragY;
    bool shift;
    float expected;
    bool hostAskedAtRelease; // a snapped zoom resizes the host once more
  };
  const Case cases[] = {
    { "1.37 snaps down", 685.0f, false, 1.25f, true },
    { "1.375 ties to the smaller", 687.5f, false, 1.25f, true },
    { "2.6 snaps to the largest", 1300.0f, false, 2.0f, true },
    { "0.8 snaps to 1", 400.0f, false, 1.0f, true },
    { "1.6 snaps to 1.5", 800.0f, false, 1.5f, true },
    { "shift keeps 1.37", 685.0f, true, 1.37f, false },
    { "within 0.0001 of the press zoom", 500.025f, false, 1.00005f, false },
    { "within 0.0001 of a choice", 625.025f, false, 1.25005f, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    CornerEditor editor;
    const IPointerMods mods = c.shift ? Shift() : IPointerMods { true };
    editor.Press(480.0f, 500.0f, mods);
    EXPECT_TRUE(editor.graphics->ResizeGestureActive());
    editor.Drag(3000.0f, c.dragY, mods);
    EXPECT_NEAR(editor.graphics->DrawScale(), c.dragY / 500.0f, 1e-6f);
    editor.editorDelegate.calls.clear();
    editor.Release(3000.0f, c.dragY, mods);
    EXPECT_NEAR(editor.graphics->DrawScale(), c.expected, 1e-6f);
    EXPECT_FALSE(editor.graphics->ResizeGestureActive());
    EXPECT_EQ(editor.graphics->PendingScale(), 0.0f);
    EXPECT_EQ(!editor.editorDelegate.Calls("host size").empty(), c.hostAskedAtRelease);
  }
}

TEST(ScaleCornerZoom, SnapsFromAZoomOtherThanOne)
{
  const CornerEditor editor(2.0f);
  // At zoom 2 the grab area is (481, 506, 499, 524); the dispatch zooms by y / 510.
  editor.Press(490.0f, 510.0f);
  editor.Drag(1000.0f, 357.0f); // zoom 2 × 0.7 = 1.4
  EXPECT_NEAR(editor.graphics->DrawScale(), 1.4f, 1e-6f);
  editor.Release(1000.0f, 357.0f);
  EXPECT_FLOAT_EQ(editor.graphics->DrawScale(), 1.5f);
}

TEST(ScaleCornerZoom, RightPressStartsNoGesture)
{
  const CornerEditor editor;
  editor.Press(480.0f, 500.0f, Right());
  EXPECT_FALSE(editor.graphics->ResizeGestureActive());
  editor.Drag(1000.0f, 685.0f, Right());
  EXPECT_FLOAT_EQ(editor.graphics->DrawScale(), 1.0f);
}

// A press after a release that never came (the shift drag left the flag set) starts afresh.
TEST(ScaleCornerZoom, PressClearsAShiftLeftFromAnEarlierDrag)
{
  const CornerEditor editor;
  editor.Press(480.0f, 500.0f);
  editor.Drag(1000.0f, 685.0f, Shift());
  ASSERT_TRUE(editor.graphics->ResizeDragShift());
  editor.graphics->ReleasePointerCapture();
  editor.Press(490.0f, 515.0f);
  EXPECT_FALSE(editor.graphics->ResizeDragShift());
  EXPECT_TRUE(editor.graphics->ResizeGestureActive());
}

TEST(ScaleCornerZoom, DoubleClickReturnsTo100PercentAndAsksTheHostForThatSize)
{
  for (const float zoom : { 2.0f, 0.5f, 1.0f })
  {
    SCOPED_TRACE(testing::Message() << "from zoom " << zoom);
    const CornerEditor editor(zoom);
    const IBounds grab = editor.Corner().GrabArea();
    ASSERT_TRUE(editor.graphics->OnPointerDoubleClick(grab.MidX(), grab.MidY(), IPointerMods { true }));
    EXPECT_FLOAT_EQ(editor.graphics->DrawScale(), 1.0f);
    EXPECT_FALSE(editor.graphics->ResizeGestureActive());
    const auto asked = editor.editorDelegate.Calls("host size");
    // From 100 % there is nothing to change.
    const std::vector<std::string> expected =
        zoom == 1.0f ? std::vector<std::string> {} : std::vector<std::string> { "host size 500 x 525 ask" };
    EXPECT_EQ(asked, expected);
    // Placed again for zoom 1.
    EXPECT_EQ(editor.Corner().GrabArea(), IBounds(461, 486, 499, 524));
  }
}

// The label on a recording context: the text drawn and its box, 58 × 20 screen pixels ending
// 8 pixels above and left of the triangle.
struct LabelFixture : InputFixture
{
  IRasterScaleCornerDragControl* corner = nullptr;

  explicit LabelFixture(std::vector<float> choices = kEditorChoices)
  {
    AddBackground();
    auto control = std::make_unique<IRasterScaleCornerDragControl>(IBounds(0, 0, 500, 525), 20.0f, std::move(choices),
                                                                   kIdle, kHover, kDrag, ITextStyle());
    corner = static_cast<IRasterScaleCornerDragControl*>(graphics.AddControl(std::move(control)));
  }

  // The texts the corner draws now.
  std::vector<std::string> PaintedTexts()
  {
    graphics.log.clear();
    corner->Paint(graphics);
    std::vector<std::string> texts;
    for (const std::string& line : graphics.Lines("text ")) texts.push_back(line.substr(5, line.find(' ', 5) - 5));
    return texts;
  }
};

TEST(ScaleCornerLabel, ShowsThePercentageTheReleaseWillSnapTo)
{
  struct Case
  {
    float dragY; // zoom dragY / 500
    std::vector<float> choices;
    const char* expected;
  };
  const Case cases[] = {
    { 725.0f, kEditorChoices, "150%" },   // 1.45
    { 760.0f, kEditorChoices, "150%" },   // 1.52
    { 685.0f, kEditorChoices, "125%" },   // 1.37
    { 550.0f, kEditorChoices, "100%" },   // 1.1
    { 565.0f, { 1.0f, 1.125f }, "113%" }, // 112.5 rounds away from zero
    { 1300.0f, kEditorChoices, "200%" },  // 2.6
    { 685.0f, {}, "137%" },               // no choices: the free zoom
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "zoom " << c.dragY / 500.0f);
    LabelFixture fixture(c.choices);
    fixture.Press(480.0f, 500.0f);
    fixture.Drag(3000.0f, c.dragY, 1.0f, 1.0f);
    EXPECT_EQ(fixture.PaintedTexts(), (std::vector<std::string> { c.expected }));
  }
}

TEST(ScaleCornerLabel, BoxIs58By20ScreenPixelsAboveAndLeftOfTheTriangle)
{
  LabelFixture fixture;
  fixture.Press(480.0f, 500.0f);
  fixture.Drag(1000.0f, 725.0f, 1.0f, 1.0f);
  const float zoom = fixture.graphics.DrawScale();
  ASSERT_NEAR(zoom, 1.45f, 1e-6f);
  fixture.graphics.log.clear();
  fixture.corner->Paint(fixture.graphics);
  const auto texts = fixture.graphics.Lines("text ");
  ASSERT_EQ(texts.size(), 1u);
  float left = 0, top = 0, right = 0, bottom = 0;
  ASSERT_EQ(std::sscanf(texts[0].c_str(), "text 150%% %f %f %f %f", &left, &top, &right, &bottom), 4);
  const IBounds& triangle = fixture.corner->TriangleArea();
  EXPECT_NEAR((right - left) * zoom, 58.0f, 1e-3f);
  EXPECT_NEAR((bottom - top) * zoom, 20.0f, 1e-3f);
  EXPECT_NEAR((triangle.left - right) * zoom, 8.0f, 1e-3f);
  EXPECT_NEAR((triangle.top - bottom) * zoom, 8.0f, 1e-3f);
}

TEST(ScaleCornerLabel, AbsentUnlessDraggingWithoutShift)
{
  {
    SCOPED_TRACE("before the pointer moves");
    LabelFixture fixture;
    fixture.Press(480.0f, 500.0f);
    EXPECT_TRUE(fixture.PaintedTexts().empty());
  }
  {
    SCOPED_TRACE("once shift is pressed during the drag");
    LabelFixture fixture;
    fixture.Press(480.0f, 500.0f);
    fixture.Drag(1000.0f, 725.0f, 1.0f, 1.0f);
    ASSERT_EQ(fixture.PaintedTexts(), (std::vector<std::string> { "150%" }));
    IPointerMods shift { true };
    shift.S = true;
    fixture.Drag(1000.0f, 726.0f, 1.0f, 1.0f, shift);
    EXPECT_TRUE(fixture.PaintedTexts().empty());
    EXPECT_TRUE(fixture.graphics.Lines("fill ").size() == 1u); // the triangle alone
  }
  {
    SCOPED_TRACE("after the release");
    LabelFixture fixture;
    fixture.Press(480.0f, 500.0f);
    fixture.Drag(1000.0f, 725.0f, 1.0f, 1.0f);
    fixture.Release(1000.0f, 725.0f);
    EXPECT_TRUE(fixture.PaintedTexts().empty());
  }
}

// White pixels of the label's text in its box, a screen rectangle.
int TextPixels(const IDrawContextHeadless& graphics, int left, int top, int right, int bottom)
{
  int count = 0;
  for (int y = top; y < bottom; ++y)
  {
    for (int x = left; x < right; ++x)
    {
      const kit::test::Pixel pixel = kit::test::PixelAt(graphics, x, y);
      if (pixel.r > 160 && pixel.g > 160 && pixel.b > 160) ++count;
    }
  }
  return count;
}

// The same label in the headless editor's pixels: the dark box with white text left of the
// triangle while dragging, nothing there once shift is pressed. The frame is kept as an artifact.
TEST(ScaleCornerLabel, BoxPixelsAppearWhileDraggingAndGoWithShift)
{
  const CornerEditor editor;
  editor.Press(480.0f, 500.0f);
  editor.Drag(1000.0f, 725.0f);
  (void)editor.graphics->Tick();
  const IBounds& triangle = editor.Corner().TriangleArea();
  const float zoom = editor.graphics->DrawScale();
  // The box in screen pixels: 58 × 20, ending 8 pixels above and left of the triangle.
  const int boxRight = int(triangle.left * zoom) - 8;
  const int boxBottom = int(triangle.top * zoom) - 8;
  const int textPixels = TextPixels(*editor.graphics, boxRight - 56, boxBottom - 18, boxRight - 2, boxBottom - 2);
  EXPECT_GT(textPixels, 20);
  // A pixel inside the box near its left edge, clear of the text in the middle.
  const int x = boxRight - 55;
  const int y = boxBottom - 10;
  const kit::test::Pixel box = kit::test::PixelAt(*editor.graphics, x, y);
  // (220, 24, 24, 24) premultiplied: 24 × 220 / 255 = 20.7 in each colour channel.
  EXPECT_NEAR(box.r, 20.7, 1.0);
  EXPECT_NEAR(box.g, 20.7, 1.0);
  EXPECT_NEAR(box.b, 20.7, 1.0);
  EXPECT_EQ(box.a, 220);
  std::filesystem::create_directories(OMBRIX_TEST_ARTIFACTS);
  EXPECT_TRUE(editor.graphics->WritePng(std::filesystem::path(OMBRIX_TEST_ARTIFACTS) / "scale_corner_label.png"));

  editor.Drag(1000.0f, 726.0f, Shift());
  (void)editor.graphics->Tick();
  EXPECT_EQ(kit::test::PixelAt(*editor.graphics, x, y), (kit::test::Pixel { 0, 0, 0, 0 }));
  EXPECT_EQ(TextPixels(*editor.graphics, boxRight - 56, boxBottom - 18, boxRight - 2, boxBottom - 2), 0);
}

} // namespace
} // namespace kit::ui::test
