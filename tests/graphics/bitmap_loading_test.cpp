#include "graphics/draw_context.h"

#include "graphics/bitmap_cache.h"
#include "input_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kit::ui::test
{
namespace
{

using kit::test::FakeBitmap;

struct LoadFixture
{
  explicit LoadFixture(float zoom = 1.0f, float screenScale = 1.0f)
      : graphics(delegate, 500, 525, zoom)
  {
    graphics.ApplyScreenScale(screenScale);
    graphics.log.clear();
  }

  [[nodiscard]] static APIBitmap* Cached(std::string_view name, float scale)
  {
    return BitmapCache::Process().Find(name, scale);
  }
  [[nodiscard]] std::vector<std::string> Decodes() const { return graphics.Lines("decode"); }

  EditorParams delegate;
  RecordingDrawContext graphics;
};

// The smallest bytes the fake decoder takes: a PNG signature and an IHDR of that size.
std::vector<std::uint8_t> PngHeader(std::uint32_t width, std::uint32_t height)
{
  std::vector<std::uint8_t> bytes = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R' };
  for (const std::uint32_t value : { width, height })
  {
    for (const int shift : { 24, 16, 8, 0 }) bytes.push_back(std::uint8_t(value >> shift));
  }
  bytes.insert(bytes.end(), { 8, 6, 0, 0, 0 });
  return bytes;
}

TEST(BitmapLoading, EachTotalScaleGetsTheVariantThatSuitsIt)
{
  struct Case
  {
    float zoom;
    float screenScale;
    const char* decoded;
    int pixelWidth;
    int pixelHeight;
    float cachedUnder;
  };
  const Case cases[] = {
    { 1.0f, 1.0f, "decode bg.png at 1", 500, 1050, 1.0f },
    { 0.5f, 1.0f, "decode bg.png at 1", 500, 1050, 1.0f },     // ceil(0.5) = 1
    { 1.5f, 1.0f, "decode bg@2x.png at 2", 1000, 2100, 2.0f }, // ceil(1.5) = 2
    { 1.0f, 2.0f, "decode bg@2x.png at 2", 1000, 2100, 2.0f },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.zoom) + " × " + std::to_string(c.screenScale));
    LoadFixture f(c.zoom, c.screenScale);
    const IBitmapRef bg = f.graphics.LoadBitmapByName("bg.png", 2);
    ASSERT_TRUE(bg.IsValid());
    EXPECT_EQ(f.Decodes(), Lines({ c.decoded }));
    EXPECT_EQ(bg.bitmap->Width(), c.pixelWidth);
    EXPECT_EQ(bg.bitmap->Height(), c.pixelHeight);
    EXPECT_EQ(bg.width, 500); // logical units, whatever the variant
    EXPECT_EQ(bg.height, 1050);
    EXPECT_EQ(bg.frameCount, 2);
    EXPECT_FALSE(bg.framesHorizontal);
    EXPECT_EQ(bg.resourceName, "bg.png");
    EXPECT_EQ(f.Cached("bg.png", c.cachedUnder), bg.bitmap);
    EXPECT_EQ(BitmapCache::Process().Size(), 1u);
  }
}

TEST(BitmapLoading, WithoutAThreeTimesVariantTheDoubleOneIsRescaledThroughALayer)
{
  LoadFixture f(1.0f, 3.0f);
  const IBitmapRef bg = f.graphics.LoadBitmapByName("bg.png", 2);
  ASSERT_TRUE(bg.IsValid());
  EXPECT_EQ(f.graphics.log,
            Lines({ "decode bg@2x.png at 2", "layer bitmap 1500 x 3150", "layer 1", "matrix 1 0 0 1 0 0",
                    "clip 0 0 500 1050", "blit bg@2x.png 0 0 500 1050 from 0 0", "layer 0", "matrix 1 0 0 1 0 0" }));
  EXPECT_EQ(bg.bitmap->Width(), 1500);
  EXPECT_EQ(bg.bitmap->Height(), 3150);
  EXPECT_EQ(bg.bitmap->Scale(), 3.0f);
  EXPECT_EQ(bg.width, 500);
  EXPECT_EQ(bg.height, 1050);
  EXPECT_EQ(bg.frameCount, 2);
  EXPECT_EQ(f.Cached("bg.png", 3), bg.bitmap);
  EXPECT_EQ(f.Cached("bg.png", 2), nullptr); // the source served once and went
  EXPECT_EQ(BitmapCache::Process().Size(), 1u);
  // The rescale borrowed the scales; the context has its own back.
  EXPECT_EQ(f.graphics.DrawScale(), 1.0f);
  EXPECT_EQ(f.graphics.ScreenScale(), 3.0f);
}

TEST(BitmapLoading, ARescaleUsesACachedSourceAndKeepsIt)
{
  LoadFixture f(1.0f, 3.0f);
  const IBitmapRef source = f.graphics.LoadBitmapByName("knob_line.png", 1, false, 2);
  const IBitmapRef rescaled = f.graphics.LoadBitmapByName("knob_line.png");
  EXPECT_EQ(f.Decodes(), Lines({ "decode knob_line@2x.png at 2" }));
  EXPECT_EQ(f.graphics.Lines("blit"), Lines({ "blit knob_line@2x.png 0 0 31 31 from 0 0" }));
  EXPECT_EQ(rescaled.bitmap->Width(), 93);
  EXPECT_EQ(f.Cached("knob_line.png", 2), source.bitmap);
  EXPECT_EQ(f.Cached("knob_line.png", 3), rescaled.bitmap);
}

TEST(BitmapLoading, ARescaleKeepsTheCallersTransform)
{
  LoadFixture f(1.0f, 3.0f);
  f.graphics.PathTransformTranslate(4, 5);
  const ITransform2D before = f.graphics.Transform();
  (void)f.graphics.LoadBitmapByName("display_button.png", 2);
  EXPECT_EQ(f.graphics.Transform(), before);
  EXPECT_EQ(f.graphics.log.back(), "matrix 1 0 0 1 4 5");
}

TEST(BitmapLoading, ASecondLoadComesFromTheCache)
{
  LoadFixture f;
  const IBitmapRef first = f.graphics.LoadBitmapByName("knob_line.png");
  const IBitmapRef second = f.graphics.LoadBitmapByName("knob_line.png", 3, true);
  EXPECT_EQ(second.bitmap, first.bitmap);
  EXPECT_EQ(second.frameCount, 3);
  EXPECT_TRUE(second.framesHorizontal);
  EXPECT_EQ(f.graphics.bitmapsCreated, 1);

  // A second editor shares the cache.
  RecordingDrawContext other(f.delegate);
  EXPECT_EQ(other.LoadBitmapByName("knob_line.png").bitmap, first.bitmap);
  EXPECT_EQ(other.bitmapsCreated, 0);
}

TEST(BitmapLoading, NamesAreFoundWhateverTheirLetterCase)
{
  for (const char* name : { "BG.PNG", "Bg.Png", "bg.PNG" })
  {
    SCOPED_TRACE(name);
    LoadFixture f;
    const IBitmapRef bg = f.graphics.LoadBitmapByName(name);
    ASSERT_TRUE(bg.IsValid());
    EXPECT_EQ(bg.width, 500);
    EXPECT_EQ(bg.resourceName, name);
    EXPECT_EQ(f.Decodes(), Lines({ "decode bg.png at 1" }));
  }
}

TEST(BitmapLoading, UnsupportedExtensionsGiveNothingBeforeAnyLookup)
{
  for (const char* name : { "bg.gif", "bg", "notes.txt", "bg.png.bak", "" })
  {
    SCOPED_TRACE(name);
    LoadFixture f;
    // Cached at another scale: a lookup that went on to search the cache would find it.
    f.graphics.RetainBitmap(std::make_unique<FakeBitmap>(10, 10, 1.0f, 1.0f, "kept"), name);
    const IBitmapRef bitmap = f.graphics.LoadBitmapByName(name, 1, false, 2);
    EXPECT_FALSE(bitmap.IsValid());
    EXPECT_TRUE(f.graphics.log.empty());
  }
}

TEST(BitmapLoading, AMissingPictureGivesTheEmptyReference)
{
  LoadFixture f;
  const IBitmapRef missing = f.graphics.LoadBitmapByName("missing.png");
  EXPECT_FALSE(missing.IsValid());
  EXPECT_EQ(missing.width, 0);
  EXPECT_EQ(f.graphics.bitmapsCreated, 0);
}

TEST(BitmapLoading, WithoutAnyFileACachedPictureOfTheNameAtAnotherScaleServes)
{
  LoadFixture f;
  f.graphics.RetainBitmap(std::make_unique<FakeBitmap>(100, 60, 2.0f, 1.0f, "made"), "made.png");
  const IBitmapRef made = f.graphics.LoadBitmapByName("made.png");
  ASSERT_TRUE(made.IsValid());
  EXPECT_EQ(f.graphics.Lines("layer bitmap"), Lines({ "layer bitmap 50 x 30" }));
  EXPECT_EQ(f.Cached("made.png", 1), made.bitmap);
  EXPECT_NE(f.Cached("made.png", 2), nullptr);
}

TEST(BitmapLoading, FilesOnDiskAreAcceptedWithTheirVariants)
{
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ombrix-bitmap-loading-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  for (const auto& [file, size] : { std::pair { "picture.png", 40u }, std::pair { "picture@2x.png", 80u } })
  {
    const std::vector<std::uint8_t> bytes = PngHeader(size, size / 2);
    std::ofstream(folder / file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  const std::string path = (folder / "picture.png").string();
  {
    LoadFixture f;
    const IBitmapRef one = f.graphics.LoadBitmapByName(path);
    const IBitmapRef two = f.graphics.LoadBitmapByName(path, 1, false, 2);
    ASSERT_TRUE(one.IsValid());
    ASSERT_TRUE(two.IsValid());
    EXPECT_EQ(one.bitmap->Width(), 40);
    EXPECT_EQ(two.bitmap->Width(), 80);
    EXPECT_EQ(two.width, 40);
    EXPECT_EQ(two.height, 20);
  }
  std::filesystem::remove_all(folder);
}

TEST(BitmapLoading, AReloadFollowsTheNewScaleAndKeepsTheFrames)
{
  LoadFixture f;
  const IBitmapRef small = f.graphics.LoadBitmapByName("display_button.png", 2);
  f.graphics.ApplySize(500, 525, 2.0f, true);
  const IBitmapRef large = f.graphics.ReloadBitmap(small);
  ASSERT_TRUE(large.IsValid());
  EXPECT_EQ(large.bitmap->Width(), 16);
  EXPECT_EQ(large.bitmap->Height(), 32);
  EXPECT_EQ(large.width, 8);
  EXPECT_EQ(large.frameCount, 2);
  EXPECT_EQ(large.FrameHeight(), 8);
  EXPECT_EQ(large.resourceName, "display_button.png");
}

TEST(BitmapLoading, BytesInMemoryAreDecodedOnceUnderTheirName)
{
  LoadFixture f;
  const std::vector<std::uint8_t> bytes = PngHeader(64, 32);
  const IBitmapRef first = f.graphics.LoadBitmapFromMemory("generated", bytes, 2, true, 2);
  const IBitmapRef again = f.graphics.LoadBitmapFromMemory("generated", bytes, 2, true, 2);
  ASSERT_TRUE(first.IsValid());
  EXPECT_EQ(again.bitmap, first.bitmap);
  EXPECT_EQ(first.width, 32);
  EXPECT_EQ(first.FrameWidth(), 16);
  EXPECT_EQ(f.Decodes(), Lines({ "decode memory@2 at 2" }));
  const std::array<std::uint8_t, 4> junk { 1, 2, 3, 4 };
  EXPECT_FALSE(f.graphics.LoadBitmapFromMemory("junk", junk).IsValid());
}

TEST(BitmapLoading, RetainedPicturesStayUntilReleased)
{
  LoadFixture f;
  auto bitmap = std::make_unique<FakeBitmap>(4, 4, 2.0f, 1.0f, "kept");
  const APIBitmap* kept = bitmap.get();
  f.graphics.RetainBitmap(std::move(bitmap), "kept.png");
  EXPECT_EQ(f.Cached("kept.png", 2), kept);
  f.graphics.ReleaseBitmap(kept);
  EXPECT_EQ(f.Cached("kept.png", 2), nullptr);
  EXPECT_EQ(BitmapCache::Process().Size(), 0u);
  f.graphics.ReleaseBitmap(nullptr);
}

TEST(BitmapLoading, ResourceBytesComeFromTheBuiltInTable)
{
  LoadFixture f;
  EXPECT_GE(f.graphics.LoadResourceBytes("roboto-regular.ttf", "TTF").size(), 8u);
  EXPECT_TRUE(f.graphics.LoadResourceBytes("missing.ttf", "ttf").empty());
}

} // namespace
} // namespace kit::ui::test
