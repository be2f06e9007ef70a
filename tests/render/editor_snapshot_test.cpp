// ombrix-render --snapshot: the editor drawn at one moment of the programme, as a PNG picture
// of the zoom's size, leaving the audio output as it would be without it. The pictures of the
// built-in demo stay among the test artifacts for a look.
#include "render/render_program.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kit::render
{
namespace
{

namespace fs = std::filesystem;

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Surface ReadPng(const fs::path& path)
{
  return Surface(cairo_image_surface_create_from_png(path.c_str()), &cairo_surface_destroy);
}

struct Rgb
{
  int r = 0;
  int g = 0;
  int b = 0;
};

// The picture's colour at logical point (x, y) of an editor drawn at zoom.
Rgb At(cairo_surface_t* surface, float zoom, float x, float y)
{
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const auto* pixel = data + std::size_t(int(y * zoom)) * std::size_t(stride) + std::size_t(int(x * zoom)) * 4;
  return { pixel[2], pixel[1], pixel[0] };
}

// Points of the screen above the signal graph's centre line that carry a graph's light.
int LitScreenPoints(cairo_surface_t* surface, float zoom)
{
  int lit = 0;
  for (int x = 90; x < 430; ++x)
    for (int y = 90; y < 210; y += 2)
    {
      const Rgb c = At(surface, zoom, float(x), float(y));
      lit += c.r > 150 && c.g > 150 && c.b > 150 ? 1 : 0;
    }
  return lit;
}

class EditorSnapshot : public testing::Test
{
protected:
  void SetUp() override
  {
    folder = fs::temp_directory_path() / ("ombrix-snapshot-" + std::to_string(::getpid()) + "-" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::create_directories(OMBRIX_TEST_ARTIFACTS);
  }
  void TearDown() override
  {
    std::error_code code;
    fs::permissions(folder, fs::perms::owner_all, code);
    fs::remove_all(folder, code);
  }
  [[nodiscard]] std::string Path(const std::string& name) const { return (folder / name).string(); }

  fs::path folder;
};

TEST_F(EditorSnapshot, TheDemoIsPicturedAtEachZoomWithTheTintOfTheDitherSwitch)
{
  struct Case
  {
    float zoom;
    bool dither;
    int width;
    int height;
  };
  const Case cases[] = {
    { 1.0f, true, 500, 525 }, { 2.0f, true, 1000, 1050 }, { 1.0f, false, 500, 525 }, { 2.0f, false, 1000, 1050 }
  };
  for (const Case& c : cases)
  {
    const std::string name = std::string("editor-demo-") + (c.dither ? "dither-on" : "dither-off") + "-x" +
                             std::to_string(int(c.zoom)) + ".png";
    SCOPED_TRACE(name);
    const fs::path picture = fs::path(OMBRIX_TEST_ARTIFACTS) / name;
    const RunResult run =
        RunRenderWithPlugin(std::string("--dither ") + (c.dither ? "on" : "off") + " --snapshot " + picture.string() +
                            " --scale " + std::to_string(c.zoom) + " " + Path("demo.wav"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("editor snapshot"), std::string::npos) << run.output;
    const Surface surface = ReadPng(picture);
    ASSERT_EQ(cairo_surface_status(surface.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(surface.get()), c.width);
    EXPECT_EQ(cairo_image_surface_get_height(surface.get()), c.height);
    // Bare screen between the grid's lines: green with dither on, red with it off.
    const Rgb screen = At(surface.get(), c.zoom, 95, 150);
    if (c.dither)
      EXPECT_GT(screen.g, screen.r);
    else
      EXPECT_GT(screen.r, screen.g);
    // Mid-way the demo sounds: its low chord lights the screen.
    EXPECT_GT(LitScreenPoints(surface.get(), c.zoom), 50);
  }
}

TEST_F(EditorSnapshot, TheMomentChosenIsWhatThePictureShows)
{
  // At the very start no analysis has reached the editor: flat lines only.
  const RunResult start = RunRenderWithPlugin("--snapshot " + Path("start.png") + " --snapshot-at 0 " + Path("a.wav"));
  ASSERT_EQ(start.exitCode, 0) << start.output;
  const RunResult middle =
      RunRenderWithPlugin("--snapshot " + Path("middle.png") + " --snapshot-at 2 " + Path("b.wav"));
  ASSERT_EQ(middle.exitCode, 0) << middle.output;
  EXPECT_LT(LitScreenPoints(ReadPng(Path("start.png")).get(), 1.0f), 20);
  EXPECT_GT(LitScreenPoints(ReadPng(Path("middle.png")).get(), 1.0f), 50);
}

TEST_F(EditorSnapshot, TheAudioOutputIsTheSameWithOrWithoutAPicture)
{
  ASSERT_EQ(RunRenderWithPlugin("--dither off " + Path("plain.wav")).exitCode, 0);
  const RunResult run =
      RunRenderWithPlugin("--dither off --snapshot " + Path("editor.png") + " " + Path("pictured.wav"));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  auto bytes = [](const std::string& path)
  {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_FALSE(bytes(Path("plain.wav")).empty());
  EXPECT_EQ(bytes(Path("plain.wav")), bytes(Path("pictured.wav")));
}

TEST_F(EditorSnapshot, AnUnwritablePictureIsOneLineBeforeAnythingIsRendered)
{
  fs::create_directories(folder / "locked");
  fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  struct Case
  {
    const char* what;
    std::string picture;
  };
  const Case cases[] = { { "missing folder", Path("missing/editor.png") },
                         { "a folder", folder.string() },
                         { "read-only folder", Path("locked/editor.png") } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    // Root may write anywhere; the read-only case then says nothing.
    if (std::string(c.what) == "read-only folder" && ::geteuid() == 0) continue;
    const RunResult run = RunRenderWithPlugin("--snapshot " + c.picture + " " + Path("out.wav"));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_NE(run.output.find("snapshot"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(Path("out.wav")));
  }
  EXPECT_TRUE(fs::is_empty(folder / "locked"));
}

TEST_F(EditorSnapshot, TheZoomAndTheMomentNeedAPictureAndSaneValues)
{
  const char* const arguments[] = { "--scale 2",
                                    "--snapshot-at 1",
                                    "--snapshot x.png --scale 0.4",
                                    "--snapshot x.png --scale 4.5",
                                    "--snapshot x.png --scale nan",
                                    "--snapshot x.png --snapshot-at -1" };
  for (const char* argument : arguments)
  {
    SCOPED_TRACE(argument);
    const RunResult run = RunRenderWithPlugin(std::string(argument) + " " + Path("out.wav"));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_FALSE(fs::exists(Path("out.wav")));
  }
}

} // namespace
} // namespace kit::render
