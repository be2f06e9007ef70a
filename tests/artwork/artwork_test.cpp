#include "tools/artwork/artwork.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace kit::artwork
{
namespace
{

namespace fs = std::filesystem;

struct Pixel
{
  int alpha;
  int red;
  int green;
  int blue;
};

// A PNG read back through Cairo's own reader, pixels unpremultiplied for colour checks.
class Picture
{
public:
  explicit Picture(const fs::path& path)
      : surface(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy)
  {
  }

  [[nodiscard]] bool Loaded() const { return cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS; }
  [[nodiscard]] int Width() const { return cairo_image_surface_get_width(surface.get()); }
  [[nodiscard]] int Height() const { return cairo_image_surface_get_height(surface.get()); }

  [[nodiscard]] Pixel At(int x, int y) const
  {
    const unsigned char* row =
        cairo_image_surface_get_data(surface.get()) + std::ptrdiff_t(y) * cairo_image_surface_get_stride(surface.get());
    std::uint32_t word = 0;
    std::memcpy(&word, row + std::ptrdiff_t(x) * 4, sizeof word);
    const int alpha = int(word >> 24);
    const auto channel = [&](int shift)
    { return alpha == 0 ? 0 : int(std::lround(double((word >> shift) & 0xFF) * 255.0 / alpha)); };
    return { alpha, channel(16), channel(8), channel(0) };
  }

  // The pixel under a point of the drawing, in the frame counted from 0.
  [[nodiscard]] Pixel AtPoint(double x, double y, int scale, int frame, int frameHeightPoints) const
  {
    return At(int(std::floor(x * scale)), int(std::floor((y + frame * frameHeightPoints) * scale)));
  }

private:
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface;
};

std::string ReadBytes(const fs::path& path)
{
  std::ifstream file(path, std::ios::binary);
  return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

fs::path FreshFolder(const std::string& name)
{
  const fs::path folder = fs::temp_directory_path() / ("ombrix-artwork-" + std::to_string(::getpid()) + "-" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

// The six pictures are drawn once for the whole suite; every test only reads them.
class ArtworkTest : public testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    folder = FreshFolder("suite");
    written = WriteArtwork(folder, BuildFontPath(), writeError);
  }
  static void TearDownTestSuite() { fs::remove_all(folder); }

  void SetUp() override { ASSERT_TRUE(written) << writeError; }

  static inline fs::path folder;
  static inline bool written = false;
  static inline std::string writeError;
};

struct PictureCase
{
  const char* file;
  int scale;
};
constexpr PictureCase kBackgrounds[] = { { "bg.png", 1 }, { "bg@2x.png", 2 } };
constexpr PictureCase kKnobLines[] = { { "knob_line.png", 1 }, { "knob_line@2x.png", 2 } };
constexpr PictureCase kButtons[] = { { "display_button.png", 1 }, { "display_button@2x.png", 2 } };

TEST_F(ArtworkTest, EveryPictureHasItsPointSizeTimesItsScale)
{
  struct Case
  {
    const char* file;
    int width;
    int height;
  };
  const Case cases[] = { { "bg.png", 500, 1050 },         { "bg@2x.png", 1000, 2100 },
                         { "knob_line.png", 31, 31 },     { "knob_line@2x.png", 62, 62 },
                         { "display_button.png", 8, 16 }, { "display_button@2x.png", 16, 32 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.file);
    const Picture picture(folder / c.file);
    ASSERT_TRUE(picture.Loaded());
    EXPECT_EQ(picture.Width(), c.width);
    EXPECT_EQ(picture.Height(), c.height);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 6) << "no temporary file left";
}

TEST_F(ArtworkTest, BackgroundTintFollowsTheDitherLook)
{
  // Points inside the dither lamp's lens, the graph lamp's lens and the middle of the screen.
  struct Spot
  {
    const char* name;
    double x;
    double y;
  };
  const Spot spots[] = { { "dither lamp", 199, 467 }, { "graph lamp", 245.5, 467 }, { "screen", 260, 212 } };
  for (const PictureCase& background : kBackgrounds)
  {
    const Picture picture(folder / background.file);
    ASSERT_TRUE(picture.Loaded());
    for (const Spot& spot : spots)
    {
      SCOPED_TRACE(std::string(background.file) + " " + spot.name);
      const Pixel off = picture.AtPoint(spot.x, spot.y, background.scale, 0, 525);
      const Pixel on = picture.AtPoint(spot.x, spot.y, background.scale, 1, 525);
      // Dominant: the look's channel at least half as strong again as either other channel.
      EXPECT_EQ(off.alpha, 255);
      EXPECT_GT(2 * off.red, 3 * off.green);
      EXPECT_GT(2 * off.red, 3 * off.blue);
      EXPECT_EQ(on.alpha, 255);
      EXPECT_GT(2 * on.green, 3 * on.red);
      EXPECT_GT(2 * on.green, 3 * on.blue);
    }
  }
}

TEST_F(ArtworkTest, BothLooksShareTheOpaquePlate)
{
  // The header, a knob body and the footer do not change with the look; every pixel is opaque.
  struct Spot
  {
    double x;
    double y;
  };
  const Spot spots[] = { { 10, 10 }, { 40, 30 }, { 360.5, 429.5 }, { 427.5, 420 }, { 120, 500 }, { 499, 524 } };
  for (const PictureCase& background : kBackgrounds)
  {
    const Picture picture(folder / background.file);
    ASSERT_TRUE(picture.Loaded());
    for (const Spot& spot : spots)
    {
      SCOPED_TRACE(std::string(background.file) + " at " + std::to_string(spot.x) + "," + std::to_string(spot.y));
      const Pixel off = picture.AtPoint(spot.x, spot.y, background.scale, 0, 525);
      const Pixel on = picture.AtPoint(spot.x, spot.y, background.scale, 1, 525);
      EXPECT_EQ(off.alpha, 255);
      EXPECT_EQ(off.red, on.red);
      EXPECT_EQ(off.green, on.green);
      EXPECT_EQ(off.blue, on.blue);
    }
  }
}

TEST_F(ArtworkTest, DisplayButtonCoversWithCutCornersThenShowsNothing)
{
  for (const PictureCase& button : kButtons)
  {
    SCOPED_TRACE(button.file);
    const Picture picture(folder / button.file);
    ASSERT_TRUE(picture.Loaded());
    const int side = 8 * button.scale;
    // One point square is cut from each corner: one pixel at 1x, two by two at 2x.
    const auto inCorner = [&](int x, int y)
    { return (x < button.scale || x >= side - button.scale) && (y < button.scale || y >= side - button.scale); };
    int wrong = 0;
    for (int y = 0; y < side; ++y)
    {
      for (int x = 0; x < side; ++x)
      {
        const Pixel cover = picture.At(x, y);
        const Pixel empty = picture.At(x, y + side);
        if (inCorner(x, y) ? cover.alpha != 0
                           : cover.alpha != 255 || cover.red != 0x23 || cover.green != 0x1F || cover.blue != 0x20)
        {
          ++wrong;
          ADD_FAILURE() << "cover pixel " << x << "," << y << " alpha " << cover.alpha << " rgb " << cover.red << ","
                        << cover.green << "," << cover.blue;
        }
        if (empty.alpha != 0)
        {
          ++wrong;
          ADD_FAILURE() << "second frame pixel " << x << "," << y << " alpha " << empty.alpha;
        }
        if (wrong > 8) return;
      }
    }
  }
}

TEST_F(ArtworkTest, KnobLineIsAnUprightPointerOnAClearGround)
{
  struct Spot
  {
    const char* name;
    double x;
    double y;
    bool opaque;
  };
  const Spot spots[] = { { "top left corner", 0, 0, false },           { "top right corner", 30.5, 0, false },
                         { "bottom left corner", 0, 30.5, false },     { "bottom right corner", 30.5, 30.5, false },
                         { "line near its tip", 15.5, 6.5, true },     { "line half way up", 15.5, 10.5, true },
                         { "line near the centre", 15.5, 14.5, true }, { "below the centre", 15.5, 24, false },
                         { "left of the line", 9, 10, false },         { "right of the line", 22, 10, false } };
  for (const PictureCase& line : kKnobLines)
  {
    const Picture picture(folder / line.file);
    ASSERT_TRUE(picture.Loaded());
    for (const Spot& spot : spots)
    {
      SCOPED_TRACE(std::string(line.file) + " " + spot.name);
      const Pixel pixel = picture.AtPoint(spot.x, spot.y, line.scale, 0, 31);
      if (spot.opaque)
      {
        EXPECT_EQ(pixel.alpha, 255);
        EXPECT_GT(pixel.red, 200) << "a light line on the dark knob";
      }
      else
        EXPECT_EQ(pixel.alpha, 0);
    }
  }
}

TEST_F(ArtworkTest, ASecondRunWritesIdenticalBytes)
{
  const fs::path again = FreshFolder("again");
  std::string error;
  ASSERT_TRUE(WriteArtwork(again, BuildFontPath(), error)) << error;
  for (const char* file :
       { "bg.png", "bg@2x.png", "knob_line.png", "knob_line@2x.png", "display_button.png", "display_button@2x.png" })
  {
    SCOPED_TRACE(file);
    const std::string first = ReadBytes(folder / file);
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(first == ReadBytes(again / file));
  }
  fs::remove_all(again);
}

TEST(ArtworkFailureTest, FailsWithAReasonAndLeavesNoPicture)
{
  const fs::path folder = FreshFolder("failure");
  const fs::path notAFont = FreshFolder("failure-font") / "notes.ttf";
  std::ofstream(notAFont) << "plain text, not a font\n";
  struct Case
  {
    const char* name;
    fs::path target;
    fs::path font;
    std::string reasonMentions;
  };
  const Case cases[] = {
    { "missing font", folder, folder / "no-such-font.ttf", "no-such-font.ttf" },
    { "a file that is no font", folder, notAFont, "notes.ttf" },
    { "missing folder", folder / "absent", BuildFontPath(), "absent" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(WriteArtwork(c.target, c.font, error));
    EXPECT_NE(error.find(c.reasonMentions), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    EXPECT_TRUE(fs::is_empty(folder));
  }
  fs::remove_all(folder);
  fs::remove_all(notAFont.parent_path());
}

} // namespace
} // namespace kit::artwork
