// The picture half of the bitmap controls: the frame that stands for a value, the frame-sized
// rectangle centred on a control, and the picture loaded again when the editor's scale changes.
#include "editor/bitmap_base.h"
#include "editor/knob_control.h"
#include "editor/switch_control.h"
#include "tests/editor/stock_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kit::ui::test
{
namespace
{

TEST(BitmapBase, FrameForValueIsTheNearestFrameCountedFromOne)
{
  struct Case
  {
    double value;
    int frames;
    int frame;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
    { 0.0, 1, 1 },  { 1.0, 1, 1 },    { 0.7, 0, 1 },   { 0.49, 2, 1 },   { 0.5, 2, 2 },   { 1.0, 2, 2 },
    { 0.0, 3, 1 },  { 0.2499, 3, 1 }, { 0.25, 3, 2 },  { 0.75, 3, 3 },   { 1.0, 10, 10 }, { 1.0 / 18, 10, 2 },
    { -0.3, 4, 1 }, { 1.7, 4, 4 },    { 1e300, 4, 4 }, { -1e300, 4, 1 }, { nan, 4, 1 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE("value " + Num(c.value) + " of " + Num(c.frames) + " frames");
    EXPECT_EQ(FrameForValue(c.value, c.frames), c.frame);
  }
}

TEST(BitmapBase, FrameRectangleIsOneWholeFrameCentredOnTheBounds)
{
  struct Case
  {
    const char* name;
    IBounds around;
    int width;
    int height;
    int frames;
    bool horizontal;
    IBounds expected;
  };
  const Case cases[] = {
    { "knob", { 345, 414, 376, 445 }, 31, 31, 1, false, { 345, 414, 376, 445 } },
    { "knob given as a larger area", { 330, 400, 391, 459 }, 31, 31, 1, false, { 345, 414, 376, 445 } },
    { "background", { 0, 0, 500, 525 }, 500, 1050, 2, false, { 0, 0, 500, 525 } },
    { "lamp cover", { 240, 462, 248, 470 }, 8, 16, 2, false, { 240, 462, 248, 470 } },
    { "side by side", { 0, 10, 50, 60 }, 100, 20, 5, true, { 15, 25, 35, 45 } },
    // Frames are whole points: 31 / 2 gives 15.
    { "odd strip", { 10, 20, 30, 40 }, 7, 31, 2, false, { 16.5, 22.5, 23.5, 37.5 } },
    { "no frames said", { 10, 20, 30, 40 }, 8, 8, 0, false, { 16, 26, 24, 34 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    IBitmapRef bitmap;
    bitmap.width = c.width;
    bitmap.height = c.height;
    bitmap.frameCount = c.frames;
    bitmap.framesHorizontal = c.horizontal;
    EXPECT_EQ(FrameBoundsCentredOn(c.around, bitmap), c.expected);
  }
}

TEST(BitmapBase, PicturesFollowTheEditorsScale)
{
  enum class Change
  {
    kDensity,
    kZoom,
  };
  struct Case
  {
    const char* name;
    Change change;
    float amount;
    float pictureScale; // pixels per point of the picture drawn
  };
  const Case cases[] = {
    { "density 2", Change::kDensity, 2.0f, 2.0f },
    { "zoom 2", Change::kZoom, 2.0f, 2.0f },
    { "zoom 1.5", Change::kZoom, 1.5f, 2.0f },
    { "zoom 3", Change::kZoom, 3.0f, 3.0f },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    auto& knob = editor.Add(std::make_unique<IBKnobRotaterControl>(
        IBounds(345, 414, 376, 445), editor.graphics->LoadBitmapByName("knob_line.png"), kPower));
    auto& lamp = editor.Add(std::make_unique<IBSwitchControl>(
        IBounds(240, 462, 248, 470), editor.graphics->LoadBitmapByName("display_button.png", 2), kGraph));
    ASSERT_EQ(knob.Bitmap().bitmap->Scale(), 1.0f);
    if (c.change == Change::kDensity)
    {
      editor.graphics->ApplyScreenScale(c.amount);
    }
    else
    {
      // As the scale corner ends its gesture.
      editor.graphics->ApplySize(500, 525, c.amount, true);
      editor.graphics->FinishResizeGesture();
    }
    for (const IBitmapBase* control :
         { static_cast<const IBitmapBase*>(&knob), static_cast<const IBitmapBase*>(&lamp) })
    {
      const IBitmapRef& bitmap = control->Bitmap();
      ASSERT_TRUE(bitmap.IsValid());
      EXPECT_EQ(bitmap.bitmap->Scale(), c.pictureScale) << bitmap.resourceName;
      EXPECT_EQ(bitmap.bitmap->Width(), int(float(bitmap.width) * c.pictureScale)) << bitmap.resourceName;
    }
    EXPECT_EQ(lamp.Bitmap().frameCount, 2) << "the frames are kept";
    EXPECT_EQ(knob.Bitmap().width, 31) << "the size in points is kept";
  }
}

TEST(BitmapBase, PictureThatCannotBeLoadedAgainIsKept)
{
  StockEditor editor;
  // A picture from memory under a name no file or resource has: nothing to load at scale 2.
  const IBitmapRef picture =
      editor.graphics->LoadBitmapFromMemory("pointer without a file", LoadResourceBytes("knob_line.png", "png"));
  ASSERT_TRUE(picture.IsValid());
  auto& knob = editor.Add(std::make_unique<IBKnobRotaterControl>(IBounds(345, 414, 376, 445), picture, kPower));
  editor.graphics->ApplyScreenScale(2.0f);
  ASSERT_FALSE(editor.graphics->ReloadBitmap(picture).IsValid());
  EXPECT_EQ(knob.Bitmap().bitmap, picture.bitmap);
}

} // namespace
} // namespace kit::ui::test
