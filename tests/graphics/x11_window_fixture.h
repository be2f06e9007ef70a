#pragma once
// An X11 editor window opened in a parent window on a test's own Xvfb: a delegate that keeps
// the display tick for the test to run (as a host's timer would) and the lines for the host's
// log, and a control that fills its bounds with one colour.

// GoogleTest first: Xlib's macros (None, Bool) would rename its names.
#include <gtest/gtest.h>

#include "binding/editor_delegate.h"
#include "graphics/control.h"
#include "graphics/platform/draw_context_x11.h"
#include "support/x11_screen.h"
#include "support/xvfb_server.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kit::test
{

class WindowDelegate : public IEditorDelegate
{
public:
  WindowDelegate()
      : IEditorDelegate(0)
  {
  }

  std::function<void(ui::IDrawContext&)> layout;
  std::function<void()> tick;
  std::uint32_t tickIntervalMs = 0;
  int openedCount = 0;
  std::vector<std::string> problems;

  void LayoutEditor(ui::IDrawContext& graphics) override
  {
    if (layout) layout(graphics);
  }
  void OnEditorOpened() override { ++openedCount; }
  bool StartDisplayTick(std::uint32_t intervalMs, std::function<void()> onTick) override
  {
    tickIntervalMs = intervalMs;
    tick = std::move(onTick);
    return true;
  }
  void StopDisplayTick() override { tick = nullptr; }
  // Without descriptor support the window drains its input on each tick.
  bool WatchDescriptor(int, std::function<void()>) override { return false; }
  void LogEditorProblem(std::string_view text) override { problems.emplace_back(text); }
};

class FillControl : public ui::IControl
{
public:
  FillControl(const ui::IBounds& area, const ui::IRgba& fillColour)
      : IControl(area)
      , colour(fillColour)
  {
  }

  void Paint(ui::IDrawContext& drawing) override { drawing.PaintRect(colour, Bounds()); }

private:
  ui::IRgba colour;
};

// An Xvfb, a connection of the test's own to it (DISPLAY names it for the editor's), and a
// mapped top-level window with a white background as the host's window.
class X11WindowTest : public ::testing::Test
{
protected:
  void StartServer(const std::vector<std::string>& extraArguments = {}, const std::string& screen = "1600x1200x24")
  {
    std::string error;
    server = XvfbServer::Start(error, extraArguments, screen);
    ASSERT_TRUE(server) << error;
    ::setenv("DISPLAY", server->DisplayName().c_str(), 1);
    display = XOpenDisplay(server->DisplayName().c_str());
    ASSERT_NE(display, nullptr);
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 800, 0, 0,
                                 WhitePixel(display, DefaultScreen(display)));
    XMapWindow(display, parent);
    XSync(display, False);
  }

  void TearDown() override
  {
    graphics.reset();
    if (display != nullptr) XCloseDisplay(display);
    server.reset();
  }

  // The editor of 500 × 525 units at zoom 1 with one control filling (10, 10)–(110, 60) red.
  void MakeEditor()
  {
    editorDelegate.layout = [](ui::IDrawContext& g)
    { g.AddControl(std::make_unique<FillControl>(ui::IBounds(10, 10, 110, 60), ui::IRgba(255, 255, 0, 0))); };
    graphics = std::make_unique<ui::IDrawContextX11>(editorDelegate, 500, 525, 60, 1.0f);
  }

  [[nodiscard]] Window Open()
  {
    void* handle = graphics->OpenWindow(reinterpret_cast<void*>(std::uintptr_t(parent)));
    return Window(reinterpret_cast<std::uintptr_t>(handle));
  }

  void Tick()
  {
    ASSERT_TRUE(editorDelegate.tick);
    editorDelegate.tick();
    XSync(display, False);
  }

  // MakeEditor and Open in the parent: the editor's window is `child`. Call these two under
  // ASSERT_NO_FATAL_FAILURE.
  void OpenInParent()
  {
    MakeEditor();
    child = Open();
    ASSERT_NE(child, 0u);
  }
  // And the first tick: the editor's frame is on the screen.
  void OpenWithFirstFrame()
  {
    ASSERT_NO_FATAL_FAILURE(OpenInParent());
    Tick();
  }

  // A window's place in the tree, as the test's connection sees it; queried is false where
  // the server did not answer.
  struct TreePlace
  {
    bool queried = false;
    Window parent = 0;
    std::vector<Window> children;
  };
  [[nodiscard]] TreePlace PlaceOf(Window window) const
  {
    TreePlace place;
    Window root = 0;
    Window* children = nullptr;
    unsigned int childCount = 0;
    place.queried = XQueryTree(display, window, &root, &place.parent, &children, &childCount) != 0;
    if (children != nullptr)
    {
      place.children.assign(children, children + childCount);
      XFree(children);
    }
    return place;
  }

  std::unique_ptr<XvfbServer> server;
  Display* display = nullptr;
  Window parent = 0;
  Window child = 0; // the editor's window, once OpenInParent opened it
  WindowDelegate editorDelegate;
  std::unique_ptr<ui::IDrawContextX11> graphics;
};

} // namespace kit::test
