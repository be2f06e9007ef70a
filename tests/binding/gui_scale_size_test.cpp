// The gui extension's answers that reach an open editor: a display scale from the host, which
// must be a real density, and a host size, which leaves the zoom alone when it only repeats the
// size the editor asked for. The editor opens window-less, as the test program's platform
// layer makes it.
#include "binding/hosted_plugin.h"
#include "graphics/draw_context.h"
#include "support/preference_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace kit::test
{
namespace
{

struct OpenEditor
{
  explicit OpenEditor(host::HostConfig config = {})
      : hosted(std::move(config))
  {
    if (!hosted.instance) return;
    gui = hosted.instance->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
    EXPECT_NE(gui, nullptr);
    if (!gui) return;
    EXPECT_TRUE(gui->create(Plugin(), CLAP_WINDOW_API_X11, false));
    EXPECT_NE(hosted.Ombrix().OpenEditorWindow(nullptr), nullptr);
  }
  ~OpenEditor()
  {
    if (gui) gui->destroy(Plugin());
  }
  OpenEditor(const OpenEditor&) = delete;
  OpenEditor& operator=(const OpenEditor&) = delete;

  [[nodiscard]] const clap_plugin* Plugin() const { return hosted.instance->Plugin(); }
  [[nodiscard]] ui::IDrawContext* Editor() const { return hosted.Ombrix().EditorGraphics(); }
  [[nodiscard]] std::vector<std::uint32_t> Size() const
  {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    EXPECT_TRUE(gui->get_size(Plugin(), &width, &height));
    return { width, height };
  }

  PreferenceFolder preferences; // before the plug-in, so that it outlives the editor
  HostedPlugin hosted;
  const clap_plugin_gui* gui = nullptr;
};

TEST(GuiScaleAndSize, AScaleThatIsNoDensityIsRefusedAndChangesNothing)
{
  OpenEditor open;
  ASSERT_NE(open.Editor(), nullptr);
  ASSERT_TRUE(open.gui->set_scale(open.Plugin(), 2.0));
  ASSERT_EQ(open.Editor()->ScreenScale(), 2.0f);
  const std::vector<std::uint32_t> size = open.Size();
  const auto asked = open.hosted.host.Journal().ResizeRequests().size();
  const double refused[] = {
    0.0, -0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()
  };
  for (const double scale : refused)
  {
    SCOPED_TRACE(scale);
    EXPECT_FALSE(open.gui->set_scale(open.Plugin(), scale));
    EXPECT_EQ(open.Editor()->ScreenScale(), 2.0f);
    EXPECT_EQ(open.Size(), size);
  }
  EXPECT_EQ(open.hosted.host.Journal().ResizeRequests().size(), asked);
  // A huge finite scale is a scale: the editor takes its largest density.
  EXPECT_TRUE(open.gui->set_scale(open.Plugin(), 1e300));
  EXPECT_GT(open.Editor()->ScreenScale(), 2.0f);
  EXPECT_TRUE(open.gui->set_scale(open.Plugin(), 1.0));
  EXPECT_EQ(open.Editor()->ScreenScale(), 1.0f);
}

// Zoom 1.5 asks the host for 750 x 787 (525 x 1.5 = 787.5, whole pixels). The host answering
// with set_size at that size leaves the zoom; another size is taken at zoom 1.
TEST(GuiScaleAndSize, ASetSizeThatEchoesTheRequestKeepsTheZoom)
{
  OpenEditor open;
  ASSERT_NE(open.Editor(), nullptr);
  open.Editor()->ApplySize(500, 525, 1.5f, true);
  const auto requests = open.hosted.host.Journal().ResizeRequests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().width, 750u);
  EXPECT_EQ(requests.back().height, 787u);

  EXPECT_TRUE(open.gui->set_size(open.Plugin(), 750, 787));
  EXPECT_EQ(open.Editor()->DrawScale(), 1.5f);
  EXPECT_EQ(open.Editor()->Width(), 500);
  EXPECT_EQ(open.Size(), (std::vector<std::uint32_t> { 750, 787 }));

  EXPECT_TRUE(open.gui->set_size(open.Plugin(), 800, 840));
  EXPECT_EQ(open.Editor()->DrawScale(), 1.0f);
  EXPECT_EQ(open.Editor()->Width(), 800);
  EXPECT_EQ(open.Editor()->Height(), 840);
}

// Some hosts answer request_resize with set_size before they return.
TEST(GuiScaleAndSize, ASetSizeFromInsideTheRequestKeepsTheZoom)
{
  OpenEditor open;
  ASSERT_NE(open.Editor(), nullptr);
  int echoes = 0;
  open.hosted.host.SetResizeHandler(
      [&](std::uint32_t width, std::uint32_t height)
      {
        ++echoes;
        EXPECT_TRUE(open.gui->set_size(open.Plugin(), width, height));
        return true;
      });
  open.Editor()->ApplySize(500, 525, 2.0f, true);
  EXPECT_EQ(echoes, 1);
  EXPECT_EQ(open.Editor()->DrawScale(), 2.0f);
  EXPECT_EQ(open.Editor()->Width(), 500);
  EXPECT_EQ(open.Size(), (std::vector<std::uint32_t> { 1000, 1050 }));
  open.hosted.host.SetResizeHandler({});
}

} // namespace
} // namespace kit::test
