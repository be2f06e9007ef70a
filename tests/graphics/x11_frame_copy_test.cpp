// The frame copy puts exactly the given rectangles of the frame into a window, through shared
// memory where the server has MIT-SHM and with XPutImage where it has not.
// GoogleTest first: Xlib's macros (None, Bool) would rename its names.
#include <gtest/gtest.h>

#include "graphics/platform/x11_errors.h"
#include "graphics/platform/x11_frame_copy.h"
#include "support/x11_screen.h"
#include "support/xvfb_server.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace kit::test
{
namespace
{

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// A frame in the Cairo backend's layout: blue, green, red, alpha bytes, rows top to bottom; red
// where x + y is even, green elsewhere, so a shifted or mirrored copy shows.
std::vector<std::uint8_t> CheckerFrame()
{
  std::vector<std::uint8_t> frame(std::size_t(4 * kWidth * kHeight));
  for (int y = 0; y < kHeight; ++y)
  {
    for (int x = 0; x < kWidth; ++x)
    {
      std::uint8_t* pixel = &frame[std::size_t(4 * (y * kWidth + x))];
      const bool red = (x + y) % 2 == 0;
      pixel[0] = 0;
      pixel[1] = red ? 0 : 0xFF;
      pixel[2] = red ? 0xFF : 0;
      pixel[3] = 0xFF;
    }
  }
  return frame;
}

std::uint32_t Expected(int x, int y)
{
  return (x + y) % 2 == 0 ? 0xFF0000u : 0x00FF00u;
}

// The mode bits of the shared segments this process made that still exist.
std::vector<unsigned> OwnSegmentModes()
{
  std::vector<unsigned> modes;
  std::ifstream table("/proc/sysvipc/shm");
  std::string line;
  std::getline(table, line); // the heading
  while (std::getline(table, line))
  {
    std::istringstream fields(line);
    long long key = 0;
    long long id = 0;
    std::string perms;
    unsigned long long size = 0;
    long long creator = 0;
    if (!(fields >> key >> id >> perms >> size >> creator)) continue;
    if (creator == ::getpid()) modes.push_back(unsigned(std::stoul(perms, nullptr, 8)));
  }
  return modes;
}

struct Mode
{
  const char* name;
  std::vector<std::string> serverArguments;
  bool sharedMemory;

  friend void PrintTo(const Mode& mode, std::ostream* out) { *out << mode.name; }
};

class X11FrameCopyTest : public ::testing::TestWithParam<Mode>
{
protected:
  void SetUp() override
  {
    std::string error;
    server = XvfbServer::Start(error, GetParam().serverArguments);
    ASSERT_TRUE(server) << error;
    display = XOpenDisplay(server->DisplayName().c_str());
    ASSERT_NE(display, nullptr);
    ASSERT_TRUE(ui::RegisterX11Connection(display));
    // Blue beforehand: whatever the copy leaves out stays blue.
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, kWidth, kHeight, 0, 0, 0x0000FF);
    XMapWindow(display, window);
    gc = XCreateGC(display, window, 0, nullptr);
    XSync(display, False);
  }

  void TearDown() override
  {
    if (display != nullptr)
    {
      if (gc != nullptr) XFreeGC(display, gc);
      ui::CloseX11Connection(display);
    }
    server.reset();
  }

  std::unique_ptr<XvfbServer> server;
  Display* display = nullptr;
  Window window = 0;
  GC gc = nullptr;
};

TEST_P(X11FrameCopyTest, CopiesOnlyTheGivenRectangles)
{
  Visual* visual = DefaultVisual(display, DefaultScreen(display));
  const int depth = DefaultDepth(display, DefaultScreen(display));
  ASSERT_TRUE(ui::VisualTakesFramePixels(display, *visual, depth));
  ui::X11FrameCopy copy(display, visual, depth, kWidth, kHeight);
  ASSERT_TRUE(copy.Usable());
  EXPECT_EQ(copy.SharedMemory(), GetParam().sharedMemory);

  const std::vector<std::uint8_t> frame = CheckerFrame();
  // A fractional rectangle widens to whole pixels; one reaching outside is clipped; an empty
  // one and one wholly outside copy nothing.
  const ui::IBounds rects[] = { { 2.0f, 3.0f, 10.0f, 8.0f },
                                { 20.5f, 30.2f, 25.1f, 33.9f },
                                { 60.0f, 40.0f, 90.0f, 70.0f },
                                { 30.0f, 10.0f, 30.0f, 20.0f },
                                { -20.0f, -20.0f, -5.0f, -5.0f } };
  copy.Copy(window, gc, frame, rects);
  XSync(display, False);
  const WindowPicture picture = ReadWindow(display, window);
  ASSERT_EQ(picture.width, kWidth);
  ASSERT_EQ(picture.height, kHeight);
  const auto inside = [](int x, int y)
  { return (x >= 2 && x < 10 && y >= 3 && y < 8) || (x >= 20 && x < 26 && y >= 30 && y < 34) || (x >= 60 && y >= 40); };
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y)
  {
    for (int x = 0; x < kWidth; ++x)
    {
      const std::uint32_t expected = inside(x, y) ? Expected(x, y) : 0x0000FFu;
      if (picture.At(x, y) != expected && wrong++ < 5)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << std::hex << picture.At(x, y) << " not " << expected;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_P(X11FrameCopyTest, SharedSegmentIsMarkedForRemovalAtOnceAndGoesWithTheCopy)
{
  ASSERT_TRUE(OwnSegmentModes().empty());
  {
    ui::X11FrameCopy copy(display, DefaultVisual(display, 0), DefaultDepth(display, 0), kWidth, kHeight);
    ASSERT_EQ(copy.SharedMemory(), GetParam().sharedMemory);
    const std::vector<unsigned> modes = OwnSegmentModes();
    // A refused or absent extension leaves no segment behind.
    ASSERT_EQ(modes.size(), GetParam().sharedMemory ? 1u : 0u);
    constexpr unsigned kRemovalMarked = 01000; // SHM_DEST
    for (const unsigned mode : modes) EXPECT_NE(mode & kRemovalMarked, 0u);
  }
  EXPECT_TRUE(OwnSegmentModes().empty());
}

TEST_P(X11FrameCopyTest, FrameOfAnotherSizeIsNotCopied)
{
  Visual* visual = DefaultVisual(display, DefaultScreen(display));
  const int depth = DefaultDepth(display, DefaultScreen(display));
  ui::X11FrameCopy copy(display, visual, depth, kWidth, kHeight);
  const std::vector<std::uint8_t> small(std::size_t(4 * kWidth * (kHeight - 1)), 0xFF);
  const ui::IBounds whole(0.0f, 0.0f, float(kWidth), float(kHeight));
  copy.Copy(window, gc, small, { &whole, 1 });
  XSync(display, False);
  EXPECT_EQ(ReadWindow(display, window).At(0, 0), 0x0000FFu);
}

INSTANTIATE_TEST_SUITE_P(Servers, X11FrameCopyTest,
                         ::testing::Values(Mode { "SharedMemory", {}, true },
                                           Mode { "PutImage", { "-extension", "MIT-SHM" }, false }),
                         [](const ::testing::TestParamInfo<Mode>& mode) { return std::string(mode.param.name); });

TEST(X11FrameVisual, OnlyThirtyTwoBitTrueColourTakesTheFrame)
{
  struct Case
  {
    std::string screen;
    bool takes;
  };
  const Case cases[] = { { "320x200x24", true }, { "320x200x16", false }, { "320x200x8", false } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.screen);
    std::string error;
    const auto server = XvfbServer::Start(error, {}, c.screen);
    ASSERT_TRUE(server) << error;
    Display* display = XOpenDisplay(server->DisplayName().c_str());
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(ui::VisualTakesFramePixels(display, *DefaultVisual(display, 0), DefaultDepth(display, 0)), c.takes);
    XCloseDisplay(display);
  }
}

} // namespace
} // namespace kit::test
