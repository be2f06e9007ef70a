// The editor's X11 window in a host's window: its visual, size and place, the frame on the
// screen after a tick and after Expose, without shared memory, a parent whose visual the frame
// cannot fill, a parent destroyed first, a lost server and a change of Xft.dpi.
#include "graphics/x11_window_fixture.h"
#include "support/tsan_lost_x_server.h"

#include <X11/Xatom.h>

#include <filesystem>
#include <thread>

namespace kit::test
{
namespace
{

constexpr std::uint32_t kRed = 0xFF0000;

std::filesystem::path Artifact(const std::string& name)
{
  return std::filesystem::path(OMBRIX_TEST_ARTIFACTS) / name;
}

void SetXftDpi(Display* display, const std::string& resources)
{
  XChangeProperty(display, DefaultRootWindow(display), XInternAtom(display, "RESOURCE_MANAGER", False), XA_STRING, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()), int(resources.size()));
  XSync(display, False);
}

TEST_F(X11WindowTest, ChildOfTheParentWithItsVisualAtTheEditorsSize)
{
  StartServer();
  ASSERT_NO_FATAL_FAILURE(OpenInParent());
  EXPECT_TRUE(graphics->WindowIsOpen());
  EXPECT_STREQ(graphics->PlatformName(), "x11");
  EXPECT_EQ(editorDelegate.openedCount, 1);
  EXPECT_EQ(editorDelegate.tickIntervalMs, 15u); // 1000 / 60 = 16 is below 20
  EXPECT_TRUE(editorDelegate.problems.empty());
  XSync(display, False);

  const TreePlace place = PlaceOf(child);
  ASSERT_TRUE(place.queried);
  EXPECT_EQ(place.parent, parent);

  XWindowAttributes parentAttributes {};
  XWindowAttributes childAttributes {};
  ASSERT_NE(XGetWindowAttributes(display, parent, &parentAttributes), 0);
  ASSERT_NE(XGetWindowAttributes(display, child, &childAttributes), 0);
  EXPECT_EQ(XVisualIDFromVisual(childAttributes.visual), XVisualIDFromVisual(parentAttributes.visual));
  EXPECT_EQ(childAttributes.depth, parentAttributes.depth);
  EXPECT_EQ(childAttributes.x, 0);
  EXPECT_EQ(childAttributes.y, 0);
  EXPECT_EQ(childAttributes.width, 500);
  EXPECT_EQ(childAttributes.height, 525);
  EXPECT_EQ(childAttributes.map_state, IsViewable);
  EXPECT_EQ(graphics->WindowSizeFactor(), 1.0f);

  graphics->CloseWindow();
  EXPECT_FALSE(graphics->WindowIsOpen());
  XSync(display, False);
  // The window is gone with the editor's connection.
  const TreePlace parentPlace = PlaceOf(parent);
  ASSERT_TRUE(parentPlace.queried);
  EXPECT_EQ(parentPlace.children.size(), 0u);
}

TEST_F(X11WindowTest, TickShowsThePaintedControl)
{
  StartServer();
  ASSERT_NO_FATAL_FAILURE(OpenWithFirstFrame());
  const WindowPicture picture = ReadWindow(display, child);
  ASSERT_EQ(picture.width, 500);
  EXPECT_TRUE(picture.WritePng(Artifact("x11_window_tick.png")));
  EXPECT_EQ(picture.At(10, 10), kRed);
  EXPECT_EQ(picture.At(60, 35), kRed);
  EXPECT_EQ(picture.At(109, 59), kRed);
  EXPECT_NE(picture.At(200, 200), kRed);
  EXPECT_NE(picture.At(111, 35), kRed);
}

TEST_F(X11WindowTest, ExposeRepaintsOnceTheLastRectangleOfTheSeriesCame)
{
  StartServer();
  ASSERT_NO_FATAL_FAILURE(OpenWithFirstFrame());
  // Something else draws over the window, as a server without backing store loses its pixels.
  GC blue = XCreateGC(display, child, 0, nullptr);
  XSetForeground(display, blue, 0x0000FF);
  XFillRectangle(display, child, blue, 0, 0, 500, 525);
  XFreeGC(display, blue);
  XSync(display, False);
  ASSERT_EQ(ReadWindow(display, child).At(60, 35), 0x0000FFu);

  XEvent expose {};
  expose.xexpose.type = Expose;
  expose.xexpose.display = display;
  expose.xexpose.window = child;
  expose.xexpose.x = 0;
  expose.xexpose.y = 0;
  expose.xexpose.width = 40;
  expose.xexpose.height = 40;
  expose.xexpose.count = 1; // one more to come
  graphics->HandleEvent(expose);
  XSync(display, False);
  EXPECT_EQ(ReadWindow(display, child).At(20, 20), 0x0000FFu);

  expose.xexpose.x = 50;
  expose.xexpose.y = 20;
  expose.xexpose.count = 0;
  graphics->HandleEvent(expose);
  XSync(display, False);
  const WindowPicture picture = ReadWindow(display, child);
  EXPECT_TRUE(picture.WritePng(Artifact("x11_window_expose.png")));
  EXPECT_EQ(picture.At(20, 20), kRed);       // the first rectangle
  EXPECT_EQ(picture.At(60, 35), kRed);       // the second
  EXPECT_EQ(picture.At(100, 35), 0x0000FFu); // neither
}

TEST_F(X11WindowTest, FrameReachesTheWindowWithoutSharedMemory)
{
  StartServer({ "-extension", "MIT-SHM" });
  int opcode = 0;
  int event = 0;
  int error = 0;
  ASSERT_FALSE(XQueryExtension(display, "MIT-SHM", &opcode, &event, &error));
  ASSERT_NO_FATAL_FAILURE(OpenWithFirstFrame());
  const WindowPicture picture = ReadWindow(display, child);
  EXPECT_TRUE(picture.WritePng(Artifact("x11_window_no_shm.png")));
  EXPECT_EQ(picture.At(60, 35), kRed);
  EXPECT_NE(picture.At(200, 200), kRed);
}

TEST_F(X11WindowTest, ParentOfAnotherVisualIsRefusedWithOneLogLine)
{
  StartServer({}, "800x600x16");
  MakeEditor();
  EXPECT_EQ(Open(), 0u);
  EXPECT_FALSE(graphics->WindowIsOpen());
  EXPECT_EQ(editorDelegate.problems.size(), 1u);
  EXPECT_EQ(editorDelegate.openedCount, 0);
  EXPECT_FALSE(editorDelegate.tick);
  XSync(display, False);
  const TreePlace place = PlaceOf(parent);
  ASSERT_TRUE(place.queried);
  EXPECT_EQ(place.children.size(), 0u);
}

TEST_F(X11WindowTest, MissingParentIsRefusedWithOneLogLine)
{
  StartServer();
  MakeEditor();
  const Window gone = parent;
  XDestroyWindow(display, parent);
  XSync(display, False);
  void* handle = graphics->OpenWindow(reinterpret_cast<void*>(std::uintptr_t(gone)));
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(editorDelegate.problems.size(), 1u);
  EXPECT_FALSE(graphics->WindowIsOpen());
}

TEST_F(X11WindowTest, ParentDestroyedFirstLeavesTheEditorToCloseNormally)
{
  StartServer();
  ASSERT_NO_FATAL_FAILURE(OpenWithFirstFrame());
  XDestroyWindow(display, parent);
  XSync(display, False);
  // Ticks before and after the destruction reaches the editor: nothing may end the process.
  Tick();
  graphics->MarkAllControlsDirty();
  Tick();
  Tick();
  graphics->CloseWindow();
  EXPECT_FALSE(graphics->WindowIsOpen());
  graphics->CloseWindow(); // twice is fine
  // The connection used for the test is still sound.
  XSync(display, False);
}

TEST_F(X11WindowTest, LostServerStopsTheEditorNotTheProcess)
{
  StartServer();
  ASSERT_NO_FATAL_FAILURE(OpenWithFirstFrame());
  XCloseDisplay(display);
  display = nullptr;
  server.reset(); // the server ends
  graphics->MarkAllControlsDirty();
  editorDelegate.tick();
  editorDelegate.tick();
  ASSERT_FALSE(editorDelegate.problems.empty());
  EXPECT_NE(editorDelegate.problems.back().find("lost"), std::string::npos);
  graphics->CloseWindow();
  EXPECT_FALSE(graphics->WindowIsOpen());
}

TEST_F(X11WindowTest, ReopeningClosesTheFirstWindow)
{
  StartServer();
  MakeEditor();
  const Window first = Open();
  ASSERT_NE(first, 0u);
  const Window second = Open();
  ASSERT_NE(second, 0u);
  XSync(display, False);
  const TreePlace place = PlaceOf(parent);
  ASSERT_TRUE(place.queried);
  ASSERT_EQ(place.children.size(), 1u);
  EXPECT_EQ(place.children[0], second);
  EXPECT_EQ(graphics->NControls(), 1); // laid out once for the window that is open
  Tick();
  EXPECT_EQ(ReadWindow(display, second).At(60, 35), kRed);
}

TEST_F(X11WindowTest, DensityFromXftDpiAtOpeningAndWhenItChanges)
{
  StartServer();
  SetXftDpi(display, "Xft.antialias:\t1\nXft.dpi:\t192\n");
  ASSERT_NO_FATAL_FAILURE(OpenInParent());
  EXPECT_EQ(graphics->ResourceDensity(), 2.0f);
  EXPECT_EQ(graphics->ScreenScale(), 2.0f);
  EXPECT_EQ(graphics->FramePixelWidth(), 1000);
  XSync(display, False);
  XWindowAttributes attributes {};
  ASSERT_NE(XGetWindowAttributes(display, child, &attributes), 0);
  EXPECT_EQ(attributes.width, 1000);
  EXPECT_EQ(attributes.height, 1050);
  Tick();
  const WindowPicture picture = ReadWindow(display, child);
  EXPECT_TRUE(picture.WritePng(Artifact("x11_window_density_2.png")));
  EXPECT_EQ(picture.At(21, 21), kRed); // (10, 10) units at 2 pixels each
  EXPECT_EQ(picture.At(218, 118), kRed);
  EXPECT_NE(picture.At(222, 60), kRed);

  SetXftDpi(display, "Xft.dpi:\t96\n");
  XEvent changed {};
  changed.xproperty.type = PropertyNotify;
  changed.xproperty.display = display;
  changed.xproperty.window = DefaultRootWindow(display);
  changed.xproperty.atom = XInternAtom(display, "RESOURCE_MANAGER", False);
  changed.xproperty.state = PropertyNewValue;
  graphics->HandleEvent(changed);
  EXPECT_EQ(graphics->ResourceDensity(), 1.0f);
  EXPECT_EQ(graphics->ScreenScale(), 2.0f); // until the next tick
  Tick();
  EXPECT_EQ(graphics->ScreenScale(), 1.0f);
  ASSERT_NE(XGetWindowAttributes(display, child, &attributes), 0);
  EXPECT_EQ(attributes.width, 500);
  EXPECT_EQ(attributes.height, 525);
  EXPECT_EQ(ReadWindow(display, child).At(60, 35), kRed);
}

#ifdef OMBRIX_X11_THREAD_CHECK
using X11WindowDeathTest = X11WindowTest;

TEST_F(X11WindowDeathTest, TickFromAnotherThreadAborts)
{
  StartServer();
  ASSERT_NO_FATAL_FAILURE(OpenInParent());
  EXPECT_DEATH(
      {
        std::thread other([this] { editorDelegate.tick(); });
        other.join();
      },
      "thread that did not open it");
  Tick(); // the window's own thread goes on
}
#endif

} // namespace
} // namespace kit::test
