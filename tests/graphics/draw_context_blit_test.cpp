#include "graphics/draw_context.h"

#include "input_fixture.h"

#include <gtest/gtest.h>

namespace kit::ui::test
{
namespace
{

using kit::test::FakeBitmap;

struct BlitFixture
{
  EditorParams delegate;
  RecordingDrawContext graphics { delegate };
};

IBitmapRef Strip(APIBitmap& bitmap, int width, int height, int frames, bool horizontal)
{
  IBitmapRef ref;
  ref.bitmap = &bitmap;
  ref.width = width;
  ref.height = height;
  ref.frameCount = frames;
  ref.framesHorizontal = horizontal;
  return ref;
}

TEST(Blit, FramesAreLimitedToTheStripAndOffsetByWholeUnits)
{
  struct Case
  {
    int frames;
    bool horizontal;
    int frame;
    const char* from;
  };
  // A 30 × 100 picture: stacked frames of 30 × 33.3, or side by side of 10 × 100.
  const Case cases[] = {
    { 3, false, 0, "from 0 0" }, // below 1 counts as 1
    { 3, false, -7, "from 0 0" }, { 3, false, 1, "from 0 0" },
    { 3, false, 2, "from 0 33" }, // 100 / 3 in whole numbers
    { 3, false, 3, "from 0 66" }, // 2 × 100 / 3 = 66
    { 3, false, 9, "from 0 66" }, // beyond the count: the last
    { 3, true, 2, "from 10 0" },  { 3, true, 4, "from 20 0" },
    { 1, false, 5, "from 0 0" }, // one frame: always the whole picture
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.frames) + (c.horizontal ? " across, frame " : " down, frame ") +
                 std::to_string(c.frame));
    BlitFixture f;
    FakeBitmap bitmap(30, 100, 1, 1, "strip");
    f.graphics.BlitBitmapFrame(Strip(bitmap, 30, 100, c.frames, c.horizontal), IBounds(0, 0, 10, 33), c.frame);
    EXPECT_EQ(f.graphics.log, Lines({ std::string("blit strip 0 0 10 33 ") + c.from }));
  }
}

TEST(Blit, APictureWithoutPixelsDrawsNothing)
{
  BlitFixture f;
  const IBitmapRef empty;
  f.graphics.BlitBitmapFrame(empty, IBounds(0, 0, 10, 10), 1);
  f.graphics.BlitFittedBitmap(empty, IBounds(0, 0, 10, 10));
  f.graphics.BlitRotatedBitmap(empty, 5, 5, 30);
  EXPECT_TRUE(f.graphics.log.empty());
}

TEST(Blit, AFittedPictureIsScaledFromTheTopLeftCorner)
{
  BlitFixture f;
  FakeBitmap bitmap(40, 20, 2, 1, "pic"); // 20 × 10 units
  f.graphics.BlitFittedBitmap(Strip(bitmap, 20, 10, 1, false), IBounds(100, 50, 160, 70));
  EXPECT_EQ(f.graphics.log, Lines({ "matrix 1 0 0 1 100 50", "matrix 3 0 0 2 100 50", "blit pic 0 0 20 10 from 0 0",
                                    "matrix 1 0 0 1 0 0" }));
  EXPECT_EQ(f.graphics.Transform(), ITransform2D {});
}

TEST(Blit, AFittedPictureWithoutExtentDrawsNothing)
{
  BlitFixture f;
  FakeBitmap bitmap(0, 0, 1, 1, "none");
  f.graphics.BlitFittedBitmap(Strip(bitmap, 0, 0, 1, false), IBounds(0, 0, 10, 10));
  EXPECT_TRUE(f.graphics.log.empty());
}

TEST(Blit, ARotatedPictureIsCentredOnThePointAtItsZoomedSize)
{
  BlitFixture f;
  FakeBitmap bitmap(60, 40, 1, 2, "layer"); // made at zoom 2: 30 × 20 units at zoom 1
  f.graphics.BlitRotatedBitmap(Strip(bitmap, 60, 40, 1, false), 50, 60, 0);
  EXPECT_EQ(f.graphics.log, Lines({ "matrix 1 0 0 1 50 60", "matrix 1 0 0 1 50 60", "blit layer -15 -10 15 10 from 0 0",
                                    "matrix 1 0 0 1 0 0" }));
}

TEST(Layers, ALayerIsAlignedToPixelsAndSizedAtTheTotalScale)
{
  struct Case
  {
    float screenScale;
    IBounds bounds;
    const char* bitmap;
    IBounds aligned;
  };
  const Case cases[] = {
    { 1, IBounds(0, 0, 500, 1050), "layer bitmap 500 x 1050", IBounds(0, 0, 500, 1050) },
    { 3, IBounds(0, 0, 500, 1050), "layer bitmap 1500 x 3150", IBounds(0, 0, 500, 1050) },
    { 2, IBounds(0.2f, 0.3f, 10.1f, 5.1f), "layer bitmap 22 x 12", IBounds(0, 0, 10.5f, 5.5f) },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.bitmap);
    BlitFixture f;
    f.graphics.ApplyScreenScale(c.screenScale);
    f.graphics.PathTransformTranslate(7, 7);
    f.graphics.log.clear();
    ASSERT_TRUE(f.graphics.StartLayer(nullptr, c.bounds, true));
    EXPECT_EQ(f.graphics.log,
              Lines({ c.bitmap, "layer 1", "matrix 1 0 0 1 0 0", "clip " + RecordingDrawContext::Rect(c.aligned) }));
    f.graphics.log.clear();
    const std::unique_ptr<IDrawLayer> layer = f.graphics.EndLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(f.graphics.log, Lines({ "layer 0" }));
    EXPECT_EQ(layer->bounds, c.aligned);
    EXPECT_TRUE(layer->cacheable);
    EXPECT_EQ(layer->bitmap->Scale(), c.screenScale);
    EXPECT_EQ(f.graphics.EndLayer(), nullptr);
  }
}

} // namespace
} // namespace kit::ui::test
