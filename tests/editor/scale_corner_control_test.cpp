// The scale corner's placement at each zoom, the area that takes the pointer, the resize cursor
// while the pointer is over it and the triangle's colour by state, in a headless editor.
#include "editor/scale_corner_fixture.h"
#include "graphics/cairo_test_support.h"

#include <gtest/gtest.h>

namespace kit::ui::test
{
namespace
{

using CursorRequest = IDrawContextHeadless::CursorRequest;

std::string Text(const IBounds& b)
{
  return kit::test::RecordingDrawContext::Rect(b);
}

TEST(ScaleCorner, ConstructorPlacesTheCornerForZoomOneBeforeItIsAttached)
{
  const IRasterScaleCornerDragControl corner(IBounds(0, 0, 500, 525), 20.0f, kEditorChoices, kIdle, kHover, kDrag,
                                             ITextStyle());
  EXPECT_EQ(Text(corner.Bounds()), Text(IBounds(461, 486, 499, 524)));
  EXPECT_EQ(Text(corner.TriangleArea()), Text(IBounds(481, 506, 499, 524)));
  EXPECT_TRUE(corner.GrabArea().Empty());
  // Nothing takes the pointer until the editor has placed the grab area.
  EXPECT_FALSE(corner.HitTest(480.0f, 510.0f));
}

// The grab area is 40 screen pixels and the triangle 20, the bounds reach 72 pixels further up
// and left for the label: in editor units each is that many pixels divided by the zoom.
TEST(ScaleCorner, PlacementKeepsTheScreenSizeAtEveryZoom)
{
  struct Case
  {
    float zoom;
    int width;
    int height;
    IBounds grab;
    IBounds triangle;
    IBounds bounds;
  };
  const Case cases[] = {
    { 1.0f, 500, 525, { 461, 486, 499, 524 }, { 481, 506, 499, 524 }, { 389, 414, 499, 524 } },
    { 2.0f, 500, 525, { 481, 506, 499, 524 }, { 491, 516, 499, 524 }, { 445, 470, 499, 524 } },
    { 0.5f, 500, 525, { 421, 446, 499, 524 }, { 461, 486, 499, 524 }, { 277, 302, 499, 524 } },
    { 4.0f, 500, 525, { 491, 516, 499, 524 }, { 496, 521, 499, 524 }, { 473, 498, 499, 524 } },
    { 1.0f, 300, 200, { 261, 161, 299, 199 }, { 281, 181, 299, 199 }, { 189, 89, 299, 199 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " editor " << c.width << " x " << c.height);
    const CornerEditor editor(c.zoom, c.width, c.height);
    EXPECT_EQ(Text(editor.Corner().GrabArea()), Text(c.grab));
    EXPECT_EQ(Text(editor.Corner().TriangleArea()), Text(c.triangle));
    EXPECT_EQ(Text(editor.Corner().Bounds()), Text(c.bounds));
    EXPECT_EQ(Text(editor.Corner().HitBounds()), Text(c.bounds));
  }
}

TEST(ScaleCorner, IsPlacedAgainWhenTheZoomChanges)
{
  const CornerEditor editor(1.0f);
  editor.graphics->ApplySize(500, 525, 2.0f, false);
  EXPECT_EQ(Text(editor.Corner().GrabArea()), Text(IBounds(481, 506, 499, 524)));
  editor.graphics->ApplySize(500, 525, 1.0f, false);
  EXPECT_EQ(Text(editor.Corner().GrabArea()), Text(IBounds(461, 486, 499, 524)));
}

TEST(ScaleCorner, TurnsHoverOnWhenAdded)
{
  const CornerEditor editor;
  EXPECT_TRUE(editor.graphics->HoverEnabled());
}

// Only the grab area takes the pointer, left and top edges in, right and bottom edges out; the
// label's room inside the bounds goes to what lies below.
TEST(ScaleCorner, OnlyTheGrabAreaIsHit)
{
  struct Case
  {
    float x;
    float y;
    bool hit;
  };
  const Case cases[] = {
    { 461.0f, 486.0f, true },  { 498.9f, 523.9f, true },  { 480.0f, 505.0f, true },
    { 460.9f, 500.0f, false }, { 480.0f, 485.9f, false }, { 499.0f, 500.0f, false },
    { 480.0f, 524.0f, false }, { 400.0f, 420.0f, false },
  };
  const CornerEditor editor;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "at " << c.x << ", " << c.y);
    EXPECT_EQ(editor.Corner().HitTest(c.x, c.y), c.hit);
    const IControl* target = editor.graphics->FindPointerTarget(c.x, c.y, false, false);
    EXPECT_EQ(target == &editor.Corner(), c.hit);
  }
}

std::vector<int> CursorKindsSet(const IDrawContextHeadless& graphics)
{
  std::vector<int> kinds;
  for (const CursorRequest& request : graphics.CursorRequests())
  {
    if (request.kind == CursorRequest::EKind::kSet) kinds.push_back(request.cursor);
  }
  return kinds;
}

// The cursor before the corner took over comes back when the pointer leaves it, whether it
// moves onto another control or out of the window.
TEST(ScaleCorner, ShowsTheResizeCursorWhileHoveredAndRestoresTheOneBefore)
{
  const int kHand = int(ECursor::kHand);
  const int kResize = int(ECursor::kSizeNWSE);
  ASSERT_EQ(kResize, 5);
  {
    SCOPED_TRACE("onto the background");
    const CornerEditor editor;
    (void)editor.graphics->SetCursor(kHand);
    const IPointerMods none;
    (void)editor.graphics->OnPointerHover(480.0f, 505.0f, none);
    (void)editor.graphics->OnPointerHover(490.0f, 515.0f, none);
    EXPECT_EQ(CursorKindsSet(*editor.graphics), (std::vector<int> { kHand, kResize }));
    EXPECT_TRUE(editor.Corner().PointerIsOver());
    (void)editor.graphics->OnPointerHover(100.0f, 100.0f, none);
    EXPECT_EQ(CursorKindsSet(*editor.graphics), (std::vector<int> { kHand, kResize, kHand }));
    EXPECT_FALSE(editor.Corner().PointerIsOver());
    // A second visit asks again and still gives the hand back.
    (void)editor.graphics->OnPointerHover(480.0f, 505.0f, none);
    (void)editor.graphics->OnPointerHover(100.0f, 100.0f, none);
    EXPECT_EQ(CursorKindsSet(*editor.graphics), (std::vector<int> { kHand, kResize, kHand, kResize, kHand }));
  }
  {
    SCOPED_TRACE("out of the window");
    const CornerEditor editor;
    (void)editor.graphics->SetCursor(kHand);
    (void)editor.graphics->OnPointerHover(480.0f, 505.0f, IPointerMods {});
    editor.graphics->OnPointerLeave();
    ASSERT_FALSE(CursorKindsSet(*editor.graphics).empty());
    EXPECT_EQ(CursorKindsSet(*editor.graphics).back(), kHand);
  }
}

// The triangle's pixels: idle colour, the hover colour with the pointer over it and the drag
// colour while zooming (opaque colours, read well inside the triangle's lower-right half).
TEST(ScaleCorner, TriangleColourFollowsTheState)
{
  const CornerEditor editor;
  const auto pixelInTriangle = [&](float zoom)
  {
    // 4 screen pixels in from the editor's lower-right edge, inside the triangle at every zoom.
    const int x = int(499.0f * zoom) - 4;
    const int y = int(524.0f * zoom) - 4;
    return kit::test::PixelAt(*editor.graphics, x, y);
  };
  const kit::test::Pixel blue { 255, 0, 0, 255 };
  const kit::test::Pixel green { 0, 255, 0, 255 };
  const kit::test::Pixel red { 0, 0, 255, 255 };
  const kit::test::Pixel nothing { 0, 0, 0, 0 };

  (void)editor.graphics->Tick();
  EXPECT_EQ(pixelInTriangle(1.0f), blue);
  // Above the triangle's diagonal, inside the grab area: not drawn.
  EXPECT_EQ(kit::test::PixelAt(*editor.graphics, 483, 508), nothing);

  (void)editor.graphics->OnPointerHover(480.0f, 505.0f, IPointerMods {});
  (void)editor.graphics->Tick();
  EXPECT_EQ(pixelInTriangle(1.0f), green);

  editor.Press(480.0f, 500.0f);
  editor.Drag(1000.0f, 600.0f); // zoom 600 / 500
  ASSERT_FLOAT_EQ(editor.graphics->DrawScale(), 1.2f);
  (void)editor.graphics->Tick();
  EXPECT_EQ(pixelInTriangle(1.2f), red);

  editor.graphics->OnPointerLeave();
  editor.Release(1000.0f, 600.0f, Shift());
  (void)editor.graphics->Tick();
  EXPECT_EQ(pixelInTriangle(1.2f), blue);
}

} // namespace
} // namespace kit::ui::test
