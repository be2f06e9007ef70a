// The editor's size in a host's window: the zoom corner asks the host for the new size and the
// editor's window takes it; the zoom outlives hiding, destroying and the session (the
// preference file); an echoed set_size changes nothing; and the display density comes from
// Xft.dpi, with a host's set_scale refused when it is no scale.
#include "tests/window/editor_window_fixture.h"

#include <X11/Xatom.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kit::test
{
namespace
{

// Xft.dpi on the root window as a desktop sets it; empty removes the resources.
void SetResources(Display* display, const std::string& text)
{
  const Window root = DefaultRootWindow(display);
  if (text.empty())
    XDeleteProperty(display, root, XA_RESOURCE_MANAGER);
  else
    XChangeProperty(display, root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
  XSync(display, False);
}

bool Requested(const EditorHost& editor, std::uint32_t width, std::uint32_t height)
{
  for (const auto& request : editor.host.Journal().ResizeRequests())
    if (request.width == width && request.height == height) return true;
  return false;
}

TEST(EditorZoom, TheCornerZoomsTo150PercentAndTheZoomIsKeptEverywhere)
{
  const PreferenceFolder preferences;
  const std::unique_ptr<XvfbServer> server = StartServer();
  ASSERT_NE(server, nullptr);
  const std::pair<int, int> zoomed { 750, 787 };
  {
    EditorHost editor(*server, kTimerAndFd);
    ASSERT_TRUE(editor.Ready());
    ASSERT_TRUE(editor.Open());
    editor.MoveTo(490, 515);
    PressButton(editor.input, 1, true);
    const WindowPicture before = editor.Picture();
    editor.MoveTo(735, 772);
    EXPECT_TRUE(editor.RunUntilChanged(before, 400, 440, 500, 525));
    editor.KeepPicture("zoom-corner-dragging");
    PressButton(editor.input, 1, false);
    EXPECT_TRUE(editor.RunUntil([&] { return editor.EditorWindowSize() == zoomed; }));
    EXPECT_TRUE(Requested(editor, 750, 787));
    // 1.5 pixels a logical unit: the bare spot of screen moves with the zoom.
    EXPECT_TRUE(editor.RunUntil([&] { return editor.ShowsTint(142, 225, false); }));
    editor.KeepPicture("zoomed-150");

    // The host echoes the size it granted: nothing changes.
    EXPECT_TRUE(editor.gui->set_size(editor.Plugin(), 750, 787));
    editor.RunFor(std::chrono::milliseconds(50));
    EXPECT_EQ(editor.EditorWindowSize(), zoomed);
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    EXPECT_TRUE(editor.gui->get_size(editor.Plugin(), &width, &height));
    EXPECT_EQ(std::make_pair(int(width), int(height)), zoomed);

    // Hide and show.
    EXPECT_TRUE(editor.gui->hide(editor.Plugin()));
    EXPECT_TRUE(editor.gui->show(editor.Plugin()));
    EXPECT_TRUE(editor.RunUntil([&] { return editor.EditorWindowSize() == zoomed; }));

    // Destroy and create again.
    editor.gui->destroy(editor.Plugin());
    editor.created = false;
    EXPECT_EQ(editor.EditorWindow(), 0u);
    ASSERT_TRUE(editor.gui->create(editor.Plugin(), CLAP_WINDOW_API_X11, false));
    editor.created = true;
    ASSERT_TRUE(editor.Attach(*editor.parent));
    EXPECT_TRUE(editor.RunUntil([&] { return editor.EditorWindowSize() == zoomed; }));
  }
  EXPECT_EQ(preferences.Content(), "1.5000\n");

  // The next session reads the preference file.
  EditorHost next(*server, kTimerAndFd);
  ASSERT_TRUE(next.Ready());
  ASSERT_TRUE(next.gui->create(next.Plugin(), CLAP_WINDOW_API_X11, false));
  next.created = true;
  ASSERT_TRUE(next.Attach(*next.parent));
  EXPECT_TRUE(next.RunUntil([&] { return next.EditorWindowSize() == zoomed; }));
  EXPECT_TRUE(Requested(next, 750, 787));
}

TEST(EditorZoom, TheDisplayDensityComesFromXftDpi)
{
  struct Case
  {
    const char* resources; // RESOURCE_MANAGER text; empty: none
    std::pair<int, int> size;
  };
  const Case cases[] = {
    { "", { 500, 525 } },
    { "Xft.dpi:\t96\n", { 500, 525 } },
    { "Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", { 1000, 1050 } },
    { "Xft.dpi:\t192\n", { 1000, 1050 } },
    { "Xft.dpi:\t30\n", { 500, 525 } },
  };
  const PreferenceFolder preferences;
  const std::unique_ptr<XvfbServer> server = StartServer();
  ASSERT_NE(server, nullptr);
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.resources);
    EditorHost editor(*server, kTimerAndFd);
    ASSERT_TRUE(editor.Ready());
    SetResources(editor.input, c.resources);
    editor.scale = c.size.first / 500;
    ASSERT_TRUE(editor.Open());
    EXPECT_TRUE(editor.RunUntil([&] { return editor.EditorWindowSize() == c.size; }));
    EXPECT_TRUE(Requested(editor, std::uint32_t(c.size.first), std::uint32_t(c.size.second)) || c.size.first == 500);
    if (c.size.first == 1000) editor.KeepPicture("density-2");
  }
}

TEST(EditorZoom, ADensityChangeWhileOpenResizesAndAHostScaleMustBeAScale)
{
  const PreferenceFolder preferences;
  const std::unique_ptr<XvfbServer> server = StartServer();
  ASSERT_NE(server, nullptr);
  EditorHost editor(*server, kTimerAndFd);
  ASSERT_TRUE(editor.Ready());
  ASSERT_TRUE(editor.Open());
  ASSERT_EQ(editor.EditorWindowSize(), std::make_pair(500, 525));

  SetResources(editor.input, "Xft.dpi:\t144\n");
  EXPECT_TRUE(editor.RunUntil([&] { return editor.EditorWindowSize() == std::make_pair(1000, 1050); }));
  EXPECT_TRUE(Requested(editor, 1000, 1050));

  for (const double refused : { 0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity() })
  {
    SCOPED_TRACE(refused);
    EXPECT_FALSE(editor.gui->set_scale(editor.Plugin(), refused));
  }
  editor.RunFor(std::chrono::milliseconds(50));
  EXPECT_EQ(editor.EditorWindowSize(), std::make_pair(1000, 1050));

  // The host's own scale stands while Xft.dpi stays.
  EXPECT_TRUE(editor.gui->set_scale(editor.Plugin(), 1.0));
  EXPECT_TRUE(editor.RunUntil([&] { return editor.EditorWindowSize() == std::make_pair(500, 525); }));
  editor.RunFor(std::chrono::milliseconds(100));
  EXPECT_EQ(editor.EditorWindowSize(), std::make_pair(500, 525));
}

} // namespace
} // namespace kit::test
