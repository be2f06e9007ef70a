// The gui extension as a host embedding the editor drives it: embedded X11 only, the size and
// its limits, and the order create, set_parent, show, hide, destroy. The editor window itself
// does not exist yet, so a parent is accepted by nobody and show stays false.
#include "tests/plugin/plugin_fixture.h"

#include <gtest/gtest.h>

namespace kit::test
{
namespace
{

using host::HostFunction;

TEST(Gui, OnlyEmbeddedX11IsSupported)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& gui = p.Extension<clap_plugin_gui>(CLAP_EXT_GUI);
  struct Case
  {
    const char* api;
    bool floating;
    bool supported;
  };
  const Case cases[] = {
    { CLAP_WINDOW_API_X11, false, true },
    { CLAP_WINDOW_API_X11, true, false },
    { CLAP_WINDOW_API_WIN32, false, false },
    { CLAP_WINDOW_API_COCOA, false, false },
    { CLAP_WINDOW_API_WAYLAND, false, false },
    { "X11", false, false },
    { "", false, false },
    { nullptr, false, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.api ? c.api : "(null)") + (c.floating ? " floating" : " embedded"));
    EXPECT_EQ(gui.is_api_supported(p.Plugin(), c.api, c.floating), c.supported);
    EXPECT_EQ(gui.create(p.Plugin(), c.api, c.floating), c.supported);
    if (c.supported) gui.destroy(p.Plugin());
  }
  const char* api = "unchanged";
  bool floating = true;
  EXPECT_FALSE(gui.get_preferred_api(p.Plugin(), &api, &floating));
  EXPECT_STREQ(api, "unchanged");
}

TEST(Gui, SizeIs500By525AndAdjustingKeepsItInsideTheLimits)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& gui = p.Extension<clap_plugin_gui>(CLAP_EXT_GUI);
  ASSERT_TRUE(gui.create(p.Plugin(), CLAP_WINDOW_API_X11, false));
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  ASSERT_TRUE(gui.get_size(p.Plugin(), &width, &height));
  EXPECT_EQ(width, 500u);
  EXPECT_EQ(height, 525u);
  EXPECT_FALSE(gui.get_size(p.Plugin(), nullptr, &height));
  EXPECT_FALSE(gui.can_resize(p.Plugin()));
  clap_gui_resize_hints hints {};
  EXPECT_FALSE(gui.get_resize_hints(p.Plugin(), &hints));

  // limits: width 166..1500, height 175..1575
  struct Case
  {
    std::uint32_t width, height, adjustedWidth, adjustedHeight;
  };
  const Case cases[] = {
    { 100, 2000, 166, 1575 }, { 2000, 100, 1500, 175 }, { 0, 0, 166, 175 },
    { 500, 525, 500, 525 },   { 166, 1575, 166, 1575 }, { 0xFFFFFFFFu, 0xFFFFFFFFu, 1500, 1575 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    width = c.width;
    height = c.height;
    ASSERT_TRUE(gui.adjust_size(p.Plugin(), &width, &height));
    EXPECT_EQ(width, c.adjustedWidth);
    EXPECT_EQ(height, c.adjustedHeight);
  }
  EXPECT_FALSE(gui.adjust_size(p.Plugin(), nullptr, &height));
  gui.destroy(p.Plugin());
}

TEST(Gui, WithoutAnEditorWindowNoParentIsTakenAndShowStaysFalse)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& gui = p.Extension<clap_plugin_gui>(CLAP_EXT_GUI);
  ASSERT_TRUE(gui.create(p.Plugin(), CLAP_WINDOW_API_X11, false));
  EXPECT_TRUE(gui.set_scale(p.Plugin(), 2.0));
  EXPECT_FALSE(gui.show(p.Plugin())); // before any parent

  clap_window window {};
  window.api = CLAP_WINDOW_API_X11;
  window.x11 = 0x2a00007;
  EXPECT_FALSE(gui.set_parent(p.Plugin(), &window));
  EXPECT_FALSE(gui.show(p.Plugin()));
  clap_window noWindow {};
  noWindow.api = CLAP_WINDOW_API_X11;
  EXPECT_FALSE(gui.set_parent(p.Plugin(), &noWindow));
  clap_window otherApi {};
  otherApi.api = CLAP_WINDOW_API_WIN32;
  otherApi.x11 = 0x2a00007;
  EXPECT_FALSE(gui.set_parent(p.Plugin(), &otherApi));
  EXPECT_FALSE(gui.set_parent(p.Plugin(), nullptr));
  EXPECT_FALSE(gui.set_transient(p.Plugin(), &window));
  gui.suggest_title(p.Plugin(), "Track 1 - Ombrix");
  EXPECT_TRUE(gui.set_size(p.Plugin(), 800, 840));

  EXPECT_TRUE(gui.hide(p.Plugin()));
  EXPECT_FALSE(gui.show(p.Plugin()));
  gui.destroy(p.Plugin());
  // A second editor life after the first.
  EXPECT_TRUE(gui.create(p.Plugin(), CLAP_WINDOW_API_X11, false));
  EXPECT_TRUE(gui.hide(p.Plugin()));
  gui.destroy(p.Plugin());
  EXPECT_EQ(p.host.Journal().Count(HostFunction::GuiRequestResize), 0u);
  EXPECT_EQ(p.host.Journal().Count(HostFunction::GuiClosed), 0u);
}

// The instance takes its gui down with it when the host forgets to, also while active.
TEST(Gui, DestroyingTheInstanceWithACreatedGuiIsFine)
{
  for (const bool active : { false, true })
  {
    SCOPED_TRACE(active ? "active" : "inactive");
    host::Host host;
    auto library = LoadOmbrix();
    ASSERT_NE(library, nullptr);
    RawInstance raw(host, *library);
    ASSERT_NE(raw.Plugin(), nullptr);
    ASSERT_TRUE(raw.Init());
    const auto* gui = static_cast<const clap_plugin_gui*>(raw.Plugin()->get_extension(raw.Plugin(), CLAP_EXT_GUI));
    ASSERT_NE(gui, nullptr);
    ASSERT_TRUE(gui->create(raw.Plugin(), CLAP_WINDOW_API_X11, false));
    if (active)
    {
      ASSERT_TRUE(raw.Activate());
    }
    raw.Destroy();
    const auto outside = host.Journal().CallsOutsideInstanceLife();
    ASSERT_EQ(outside.size(), 1u);
    EXPECT_EQ(outside[0].function, HostFunction::UnregisterTimer);
  }
}

} // namespace
} // namespace kit::test
