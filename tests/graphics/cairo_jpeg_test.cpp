// JPEG pictures in the Cairo backend: files written by libjpeg's own encoder decode into opaque
// pictures of their colours; damaged bytes give no picture.
#include "graphics/draw_context_cairo.h"
#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace kit::ui
{
namespace
{

using test::OpenEditor;
using test::Pixel;

// A widthPixels × heightPixels picture of 8 × 8 blocks in flat colours (which JPEG keeps
// almost exactly at quality 100), encoded by libjpeg; components 1 writes grey levels.
std::vector<std::uint8_t> EncodeJpeg(int widthPixels, int heightPixels, int components)
{
  jpeg_compress_struct info {};
  jpeg_error_mgr error {};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* encoded = nullptr;
  unsigned long encodedSize = 0;
  jpeg_mem_dest(&info, &encoded, &encodedSize);
  info.image_width = JDIMENSION(widthPixels);
  info.image_height = JDIMENSION(heightPixels);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(std::size_t(widthPixels * components));
  while (info.next_scanline < info.image_height)
  {
    const int y = int(info.next_scanline);
    for (int x = 0; x < widthPixels; ++x)
    {
      const int block = (x / 8) + 3 * (y / 8);
      for (int c = 0; c < components; ++c)
        row[std::size_t(x * components + c)] = JSAMPLE((block * 53 + c * 97 + 20) % 256);
    }
    JSAMPROW rows[] = { row.data() };
    (void)jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<std::uint8_t> bytes(encoded, encoded + encodedSize);
  jpeg_destroy_compress(&info);
  std::free(encoded);
  return bytes;
}

int Level(int x, int y, int component)
{
  const int block = (x / 8) + 3 * (y / 8);
  return (block * 53 + component * 97 + 20) % 256;
}

IBitmapRef RefOf(APIBitmap& bitmap)
{
  IBitmapRef ref;
  ref.bitmap = &bitmap;
  ref.width = bitmap.Width();
  ref.height = bitmap.Height();
  return ref;
}

TEST(CairoJpeg, DecodesColourAndGreyFilesIntoOpaquePictures)
{
  for (const int components : { 3, 1 })
  {
    SCOPED_TRACE(components == 3 ? "colour" : "grey");
    OpenEditor editor(24, 16);
    const std::unique_ptr<APIBitmap> bitmap = editor->CreateBitmapFromMemory(EncodeJpeg(24, 16, components), 1);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 24);
    EXPECT_EQ(bitmap->Height(), 16);
    editor->BlitBitmap(RefOf(*bitmap), IBounds(0, 0, 24, 16), 0, 0);
    editor->EndFrame();
    // The middle of each block, away from the edges where blocks meet.
    for (int y = 4; y < 16; y += 8)
    {
      for (int x = 4; x < 24; x += 8)
      {
        const Pixel pixel = editor.At(x, y);
        SCOPED_TRACE(testing::Message() << "at " << x << ", " << y);
        EXPECT_EQ(pixel.a, 255);
        const int red = Level(x, y, 0);
        EXPECT_NEAR(pixel.r, red, 3);
        EXPECT_NEAR(pixel.g, components == 3 ? Level(x, y, 1) : red, 3);
        EXPECT_NEAR(pixel.b, components == 3 ? Level(x, y, 2) : red, 3);
      }
    }
  }
}

TEST(CairoJpeg, DamagedFilesGiveNoPicture)
{
  OpenEditor editor(10, 10);
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(128, 128, 3);
  // Cut inside the tables, and inside the picture data, where libjpeg itself only warns.
  const std::vector<std::vector<std::uint8_t>> cases = {
    { 0xFF, 0xD8, 0xFF },
    { jpeg.begin(), jpeg.begin() + 40 },
    { jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() * 4 / 5) },
  };
  for (const std::vector<std::uint8_t>& bytes : cases)
  {
    SCOPED_TRACE(testing::Message() << bytes.size() << " bytes");
    EXPECT_EQ(editor->CreateBitmapFromMemory(bytes, 1), nullptr);
  }
}

} // namespace
} // namespace kit::ui
