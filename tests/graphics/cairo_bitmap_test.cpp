// Pictures in the Cairo backend: PNG decoding (and its failures), blits that copy pixel for
// pixel at matching scale and filter bilinearly otherwise, and the editor's own artwork loaded
// by name at each scale.
#include "graphics/bitmap_cache.h"
#include "graphics/draw_context_cairo.h"
#include "tests/graphics/cairo_test_support.h"

#include <cairo.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace kit::ui
{
namespace
{

using test::OpenEditor;
using test::Pixel;

// An opaque picture of widthPixels × heightPixels whose pixel (x, y) has the colour of
// `colour`, encoded as PNG by Cairo.
std::vector<std::uint8_t> EncodePng(int widthPixels, int heightPixels, const std::function<Pixel(int, int)>& colour)
{
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, widthPixels, heightPixels);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < heightPixels; ++y)
  {
    for (int x = 0; x < widthPixels; ++x)
    {
      const Pixel pixel = colour(x, y);
      unsigned char* at = data + y * stride + 4 * x;
      at[0] = std::uint8_t(pixel.b);
      at[1] = std::uint8_t(pixel.g);
      at[2] = std::uint8_t(pixel.r);
      at[3] = std::uint8_t(pixel.a);
    }
  }
  cairo_surface_mark_dirty(surface);
  std::vector<std::uint8_t> png;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* bytes, unsigned int length)
      {
        auto& out = *static_cast<std::vector<std::uint8_t>*>(closure);
        out.insert(out.end(), bytes, bytes + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &png);
  cairo_surface_destroy(surface);
  return png;
}

Pixel Pattern(int x, int y)
{
  return { (x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * y * 3) % 256, 255 };
}

IBitmapRef RefOf(APIBitmap* bitmap)
{
  IBitmapRef ref;
  ref.bitmap = bitmap;
  ref.width = int(float(bitmap->Width()) / bitmap->Scale());
  ref.height = int(float(bitmap->Height()) / bitmap->Scale());
  return ref;
}

TEST(CairoBitmap, DecodesPngBytesAtTheScaleGiven)
{
  OpenEditor editor(10, 10);
  const std::vector<std::uint8_t> png = EncodePng(24, 16, Pattern);
  const std::unique_ptr<APIBitmap> bitmap = editor->CreateBitmapFromMemory(png, 2);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Width(), 24);
  EXPECT_EQ(bitmap->Height(), 16);
  EXPECT_EQ(bitmap->Scale(), 2.0f);
  EXPECT_EQ(bitmap->DrawScale(), 1.0f);
}

TEST(CairoBitmap, UndecodableBytesGiveNoBitmap)
{
  OpenEditor editor(10, 10);
  const std::vector<std::uint8_t> png = EncodePng(8, 8, Pattern);
  struct Case
  {
    const char* name;
    std::vector<std::uint8_t> bytes;
    int scale;
  };
  const std::vector<Case> cases = {
    { "empty", {}, 1 },
    { "not a picture", { 'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd' }, 1 },
    { "signature only", { png.begin(), png.begin() + 8 }, 1 },
    { "cut in half", { png.begin(), png.begin() + std::ptrdiff_t(png.size() / 2) }, 1 },
    { "scale 0", png, 0 },
    { "negative scale", png, -2 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(editor->CreateBitmapFromMemory(c.bytes, c.scale), nullptr);
  }
  EXPECT_EQ(editor->CreateBitmap(EResourceLocation::kFile, "/nonexistent/picture.png", 1), nullptr);
  EXPECT_EQ(editor->CreateBitmap(EResourceLocation::kEmbedded, "no-such-picture.png", 1), nullptr);
  EXPECT_EQ(editor->CreateBitmap(EResourceLocation::kNotFound, "bg.png", 1), nullptr);
}

TEST(CairoBitmap, ReadsAPictureFileFromDisk)
{
  OpenEditor editor(10, 10);
  const std::vector<std::uint8_t> png = EncodePng(6, 4, Pattern);
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "ombrix-cairo-bitmap-test.png";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  const std::unique_ptr<APIBitmap> bitmap = editor->CreateBitmap(EResourceLocation::kFile, path.string(), 1);
  std::filesystem::remove(path);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Width(), 6);
  EXPECT_EQ(bitmap->Height(), 4);
}

// A picture whose scale is the total scale lands pixel for pixel, from any whole source offset.
TEST(CairoBitmap, BlitAtMatchingScaleCopiesPixelForPixel)
{
  struct Case
  {
    float zoom, density;
    int scale; // of the picture
    int srcX, srcY;
  };
  const Case cases[] = {
    { 1, 1, 1, 0, 0 }, { 1, 2, 2, 0, 0 }, { 1, 2, 2, 3, 2 }, { 2, 1, 2, 1, 0 }, { 1.5f, 2, 3, 0, 1 }
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << ", density " << c.density << ", picture at " << c.scale
                                    << ", from (" << c.srcX << ", " << c.srcY << ")");
    OpenEditor editor(40, 30, c.zoom, c.density);
    const std::unique_ptr<APIBitmap> bitmap = editor->CreateBitmapFromMemory(EncodePng(60, 45, Pattern), c.scale);
    ASSERT_NE(bitmap, nullptr);
    editor->BlitBitmap(RefOf(bitmap.get()), { 4, 2, 14, 12 }, c.srcX, c.srcY);
    editor->EndFrame();
    const int s = c.scale;
    for (int y = 0; y < 10 * s; ++y)
    {
      for (int x = 0; x < 10 * s; ++x)
      {
        ASSERT_EQ(editor.At(4 * s + x, 2 * s + y), Pattern(x + c.srcX * s, y + c.srcY * s))
            << "pixel (" << x << ", " << y << ") of the copy";
      }
    }
    // Outside the bounds nothing was drawn.
    EXPECT_EQ(editor.At(4 * s - 1, 2 * s).a, 0);
    EXPECT_EQ(editor.At(14 * s, 2 * s).a, 0);
    EXPECT_EQ(editor.At(4 * s, 12 * s).a, 0);
  }
}

// Twice enlarged, a black pixel beside a white one becomes 0, ¼, ¾, 1 of white across the four
// device pixels; nearest-neighbour sampling would give 0, 0, 1, 1.
TEST(CairoBitmap, BlitAtAnotherScaleFiltersBilinearly)
{
  OpenEditor editor(10, 10, 1.0f, 2.0f);
  const std::unique_ptr<APIBitmap> bitmap =
      editor->CreateBitmapFromMemory(EncodePng(2, 1,
                                               [](int x, int) {
                                                 return x == 0 ? Pixel { 0, 0, 0, 255 } : Pixel { 255, 255, 255, 255 };
                                               }),
                                     1);
  ASSERT_NE(bitmap, nullptr);
  editor->BlitBitmap(RefOf(bitmap.get()), { 0, 0, 2, 1 }, 0, 0);
  editor->EndFrame();
  const int expected[] = { 0, 64, 191, 255 };
  for (int x = 0; x < 4; ++x)
  {
    SCOPED_TRACE(x);
    for (int y = 0; y < 2; ++y)
    {
      EXPECT_NEAR(editor.At(x, y).r, expected[x], 1);
      EXPECT_EQ(editor.At(x, y).a, 255);
    }
  }
  EXPECT_EQ(editor.At(4, 0).a, 0);
}

TEST(CairoBitmap, BlitOpacityScalesAlpha)
{
  OpenEditor editor(10, 10);
  const std::unique_ptr<APIBitmap> bitmap =
      editor->CreateBitmapFromMemory(EncodePng(10, 10,
                                               [](int, int) {
                                                 return Pixel { 255, 255, 255, 255 };
                                               }),
                                     1);
  ASSERT_NE(bitmap, nullptr);
  const IBlending half { EBlend::kSrcOver, 0.5f };
  editor->BlitBitmap(RefOf(bitmap.get()), { 0, 0, 10, 10 }, 0, 0, &half);
  editor->EndFrame();
  EXPECT_NEAR(editor.At(5, 5).a, 127, 1);
  EXPECT_NEAR(editor.At(5, 5).r, 127, 1);
}

// The editor's own artwork: bg.png is 500 × 1050 units (two looks stacked), with a @2x file.
TEST(CairoBitmap, BackgroundLoadsTheVariantOfEachScale)
{
  struct Case
  {
    float zoom, density;
    int pixelWidth, pixelHeight, cachedScale;
  };
  const Case cases[] = {
    { 1.0f, 1.0f, 500, 1050, 1 },
    { 1.5f, 1.0f, 1000, 2100, 2 }, // target 2: the @2x file
    { 1.0f, 2.0f, 1000, 2100, 2 },
    { 1.5f, 2.0f, 1500, 3150, 3 }, // target 3: the @2x file redrawn at 3
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << ", density " << c.density);
    OpenEditor editor(500, 525, c.zoom, c.density);
    const IBitmapRef bg = editor->LoadBitmapByName("bg.png");
    ASSERT_TRUE(bg.IsValid());
    EXPECT_EQ(bg.width, 500);
    EXPECT_EQ(bg.height, 1050);
    EXPECT_EQ(bg.bitmap->Width(), c.pixelWidth);
    EXPECT_EQ(bg.bitmap->Height(), c.pixelHeight);
    EXPECT_EQ(bg.bitmap->Scale(), float(c.cachedScale));
    EXPECT_EQ(BitmapCache::Process().Find("bg.png", float(c.cachedScale)), bg.bitmap);
    if (c.cachedScale == 3)
    {
      EXPECT_EQ(BitmapCache::Process().Find("bg.png", 2.0f), nullptr); // the source is not kept
    }
    // Drawn at its own scale it fills the frame with its upper look.
    editor->BlitBitmap(bg, { 0, 0, 500, 525 }, 0, 0);
    editor->EndFrame();
    EXPECT_EQ(editor.At(editor->FramePixelWidth() / 2, editor->FramePixelHeight() / 2).a, 255);
  }
}

// The picture redrawn at 3 looks like the @2x file drawn at 3 directly.
TEST(CairoBitmap, RescaledBackgroundMatchesTheDoubleSizeFileDrawnLarger)
{
  OpenEditor rescaled(500, 525, 1.5f, 2.0f);
  const IBitmapRef three = rescaled->LoadBitmapByName("bg.png");
  ASSERT_TRUE(three.IsValid());
  rescaled->BlitBitmap(three, { 0, 0, 500, 525 }, 0, 0);
  rescaled->EndFrame();

  OpenEditor direct(500, 525, 1.5f, 2.0f);
  const IBitmapRef two = direct->LoadBitmapByName("bg.png", 1, false, 2);
  ASSERT_TRUE(two.IsValid());
  ASSERT_EQ(two.bitmap->Scale(), 2.0f);
  direct->BlitBitmap(two, { 0, 0, 500, 525 }, 0, 0);
  direct->EndFrame();

  int compared = 0;
  for (int y = 7; y < rescaled->FramePixelHeight(); y += 97)
  {
    for (int x = 5; x < rescaled->FramePixelWidth(); x += 89)
    {
      const Pixel a = rescaled.At(x, y);
      const Pixel b = direct.At(x, y);
      EXPECT_NEAR(a.r, b.r, 24) << x << ", " << y;
      EXPECT_NEAR(a.g, b.g, 24) << x << ", " << y;
      EXPECT_NEAR(a.b, b.b, 24) << x << ", " << y;
      ++compared;
    }
  }
  EXPECT_GT(compared, 200);
}

} // namespace
} // namespace kit::ui
