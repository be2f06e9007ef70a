// The Cairo backend's frame buffer: its pixel size at every zoom and density, what happens when
// no buffer can be made, region clips, and reading pixels back.
#include "graphics/draw_context_cairo.h"
#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <utility>

namespace kit::ui
{
namespace
{

using test::LayoutDelegate;
using test::OpenEditor;
using test::Pixel;

TEST(CairoFrameBuffer, PixelSizeIsTruncatedZoomTimesDensityRoundedUp)
{
  struct Case
  {
    int width, height;
    float zoom, density;
    int pixelWidth, pixelHeight;
  };
  const Case cases[] = {
    { 500, 525, 1.0f, 1.0f, 500, 525 }, { 500, 525, 1.5f, 2.0f, 1500, 1574 },  // trunc(787.5) = 787, times 2
    { 500, 525, 0.5f, 1.0f, 250, 262 }, { 500, 525, 1.25f, 3.0f, 1875, 1968 }, // trunc(625) × 3, trunc(656.25) × 3
    { 3, 3, 0.5f, 1.0f, 1, 1 },                                                // trunc(1.5) = 1
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.zoom << " x " << c.density);
    OpenEditor editor(c.width, c.height, c.zoom, c.density);
    EXPECT_EQ(editor->FramePixelWidth(), c.pixelWidth);
    EXPECT_EQ(editor->FramePixelHeight(), c.pixelHeight);
    EXPECT_EQ(editor->FrameBufferBytes().size(), std::size_t(c.pixelWidth) * std::size_t(c.pixelHeight) * 4);
  }
}

TEST(CairoFrameBuffer, StartsTransparentAndHoldsPremultipliedBgra)
{
  OpenEditor editor(20, 20);
  EXPECT_EQ(editor.At(5, 5), (Pixel { 0, 0, 0, 0 }));
  editor->PaintRect({ 255, 255, 128, 0 }, { 0, 0, 10, 10 });
  editor->PaintRect({ 128, 0, 0, 255 }, { 10, 10, 20, 20 });
  editor->EndFrame();
  EXPECT_EQ(editor.At(5, 5), (Pixel { 0, 128, 255, 255 }));
  // Blue 255 at alpha 128 is stored as 128.
  EXPECT_EQ(editor.At(15, 15), (Pixel { 128, 0, 0, 128 }));
  EXPECT_EQ(editor->AlphaChannelIndex(), 3);
  EXPECT_FALSE(editor->RowsFlipped());
  EXPECT_STREQ(editor->DrawingApiName(), "CAIRO | CPU");
}

// Sizes that overflow 32-bit arithmetic or pass Cairo's 32767-pixel limit give no frame buffer,
// and drawing without one paints nothing and fails nothing.
TEST(CairoFrameBuffer, SizeThatCannotBeMadeLeavesNoBuffer)
{
  struct Case
  {
    int width, height;
    float zoom;
  };
  const Case cases[] = {
    { 0, 525, 1.0f },    { 500, 0, 1.0f },           { 40000, 100, 1.0f },
    { 100, 9000, 4.0f }, { INT_MAX, INT_MAX, 4.0f }, { -500, 525, 1.0f },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.zoom);
    LayoutDelegate editorDelegate;
    IDrawContextCairo graphics(editorDelegate, c.width, c.height, 60, c.zoom);
    graphics.OnViewInitialized();
    EXPECT_EQ(graphics.FramePixelWidth(), 0);
    EXPECT_EQ(graphics.FramePixelHeight(), 0);
    EXPECT_TRUE(graphics.FrameBufferBytes().empty());
    EXPECT_EQ(graphics.DrawingContext(), nullptr);
    graphics.PathClipRegion({ 0, 0, 10, 10 });
    graphics.PaintRect({ 255, 255, 0, 0 }, { 0, 0, 10, 10 });
    graphics.EndFrame();
    EXPECT_EQ(graphics.ReadPixel(1, 1), (IRgba { 0, 0, 0, 0 }));
  }
}

TEST(CairoFrameBuffer, ReadPixelOutsideTheBufferOrWithoutOneIsTransparentBlack)
{
  OpenEditor editor(40, 30, 1.0f, 2.0f);
  editor->PaintRect({ 255, 10, 20, 30 }, { 0, 0, 40, 30 });
  editor->EndFrame();
  struct Case
  {
    float x, y;
    IRgba expected;
  };
  const IRgba painted { 255, 10, 20, 30 };
  const IRgba none { 0, 0, 0, 0 };
  const Case cases[] = {
    { 0.0f, 0.0f, painted }, { 39.9f, 29.9f, painted }, { 20.0f, 15.0f, painted }, { -0.1f, 5.0f, none },
    { 5.0f, -0.1f, none },   { 40.0f, 5.0f, none },     { 5.0f, 30.0f, none },     { 1e30f, 5.0f, none },
    { NAN, 5.0f, none },     { 5.0f, INFINITY, none },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
    EXPECT_EQ(editor->ReadPixel(c.x, c.y), c.expected);
  }
  LayoutDelegate editorDelegate;
  IDrawContextCairo unopened(editorDelegate, 40, 30, 60, 1.0f);
  EXPECT_EQ(unopened.ReadPixel(1.0f, 1.0f), none);
}

// Each region clip replaces the one before; its edges are hard, on whole pixels.
TEST(CairoFrameBuffer, RegionClipLimitsDrawingToTheRegionAlone)
{
  OpenEditor editor(40, 40, 1.0f, 2.0f);
  editor->PathClipRegion({ 0, 0, 10, 10 });
  editor->PaintRect({ 255, 255, 0, 0 }, { 0, 0, 40, 40 });
  editor->PathClipRegion({ 20.5f, 20.5f, 30, 30 });
  editor->PaintRect({ 255, 0, 0, 255 }, { 0, 0, 40, 40 });
  editor->EndFrame();
  struct Case
  {
    int x, y;
    Pixel expected;
  };
  const Pixel red { 0, 0, 255, 255 };
  const Pixel blue { 255, 0, 0, 255 };
  const Pixel none {};
  const Case cases[] = {
    { 0, 0, red },    { 19, 19, red },  { 20, 5, none },  { 5, 20, none },  { 40, 40, none },
    { 41, 41, blue }, { 59, 59, blue }, { 60, 45, none }, { 79, 79, none },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "pixel (" << c.x << ", " << c.y << ")");
    EXPECT_EQ(editor.At(c.x, c.y), c.expected);
  }
}

TEST(CairoFrameBuffer, LayerBitmapRecordsTheScalesAndRefusesSizesCairoCannotMake)
{
  OpenEditor editor(100, 100, 1.5f, 2.0f);
  const std::unique_ptr<APIBitmap> layer = editor->CreateLayerBitmap(30, 20);
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->Width(), 30);
  EXPECT_EQ(layer->Height(), 20);
  EXPECT_EQ(layer->Scale(), 2.0f);
  EXPECT_EQ(layer->DrawScale(), 1.5f);
  for (const auto& size :
       { std::pair { 0, 10 }, std::pair { 10, -1 }, std::pair { 40000, 10 }, std::pair { 10, 32768 } })
  {
    SCOPED_TRACE(testing::Message() << size.first << " x " << size.second);
    EXPECT_EQ(editor->CreateLayerBitmap(size.first, size.second), nullptr);
  }
}

// Drawing between StartLayer and EndLayer goes to the layer's pixels, placed at its bounds, and
// the frame is drawn into again afterwards.
TEST(CairoFrameBuffer, LayerTakesTheDrawingBetweenStartAndEnd)
{
  OpenEditor editor(60, 40, 1.0f, 2.0f);
  ASSERT_TRUE(editor->StartLayer(nullptr, { 10, 10, 30, 20 }));
  editor->PaintRect({ 255, 255, 0, 0 }, { 0, 0, 60, 40 });
  editor->PaintRect({ 255, 0, 0, 255 }, { 20, 10, 30, 20 });
  EXPECT_EQ(editor->ReadPixel(25, 15), (IRgba { 255, 0, 0, 255 }));
  const std::unique_ptr<IDrawLayer> layer = editor->EndLayer();
  ASSERT_NE(layer, nullptr);
  editor->EndFrame();
  EXPECT_EQ(editor.At(30, 30).a, 0); // nothing reached the frame
  EXPECT_EQ(layer->bitmap->Width(), 40);
  EXPECT_EQ(layer->bitmap->Height(), 20);

  IBitmapRef picture;
  picture.bitmap = layer->bitmap.get();
  picture.width = 20;
  picture.height = 10;
  editor->BlitBitmap(picture, { 0, 0, 20, 10 }, 0, 0);
  editor->EndFrame();
  EXPECT_EQ(editor.At(2, 2), (Pixel { 0, 0, 255, 255 }));
  EXPECT_EQ(editor.At(38, 18), (Pixel { 255, 0, 0, 255 }));
  EXPECT_EQ(editor.At(42, 2).a, 0);
}

} // namespace
} // namespace kit::ui
