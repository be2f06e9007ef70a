// The gui extension with a real X11 parent: what a host may ask and in what order, a second
// parent taking the editor over, and a host that destroys its window before it hides or
// destroys the editor.
#include "tests/window/editor_window_fixture.h"

#include <gtest/gtest.h>

namespace kit::test
{
namespace
{

struct EditorGui : ::testing::Test
{
  void SetUp() override
  {
    server = StartServer();
    ASSERT_NE(server, nullptr);
    editor = std::make_unique<EditorHost>(*server, kTimerAndFd);
    ASSERT_TRUE(editor->Ready());
  }

  const PreferenceFolder preferences;
  std::unique_ptr<XvfbServer> server;
  std::unique_ptr<EditorHost> editor;
};

TEST_F(EditorGui, TheCallsAnswerAsTheExtensionSays)
{
  const clap_plugin_gui& gui = *editor->gui;
  const clap_plugin* plugin = editor->Plugin();
  EXPECT_FALSE(gui.is_api_supported(plugin, CLAP_WINDOW_API_X11, true));
  EXPECT_TRUE(gui.is_api_supported(plugin, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(gui.create(plugin, CLAP_WINDOW_API_WIN32, false));
  ASSERT_TRUE(gui.create(plugin, CLAP_WINDOW_API_X11, false));
  editor->created = true;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  EXPECT_TRUE(gui.get_size(plugin, &width, &height));
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(500u, 525u));
  width = 100;
  height = 2000;
  EXPECT_TRUE(gui.adjust_size(plugin, &width, &height));
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(166u, 1575u));
  EXPECT_FALSE(gui.can_resize(plugin));
  EXPECT_FALSE(gui.show(plugin));

  ASSERT_TRUE(editor->Attach(*editor->parent));
  EXPECT_TRUE(gui.show(plugin));
  EXPECT_TRUE(editor->WaitForPanel());
  EXPECT_TRUE(gui.hide(plugin));
  EXPECT_EQ(editor->EditorWindow(), 0u);
  gui.destroy(plugin);
  editor->created = false;
  EXPECT_EQ(editor->EditorWindow(), 0u);
}

TEST_F(EditorGui, ASecondParentTakesTheEditorOver)
{
  ASSERT_TRUE(editor->Open());
  std::string error;
  const std::unique_ptr<host::HostWindow> second =
      host::HostWindow::Create(server->DisplayName().c_str(), 500, 525, "second", error);
  ASSERT_NE(second, nullptr) << error;
  ASSERT_TRUE(editor->Attach(*second));
  EXPECT_TRUE(editor->RunUntil([&] { return editor->ChildOf(second->Id()) != 0; }));
  EXPECT_EQ(editor->EditorWindow(), 0u);
  const Window moved = editor->ChildOf(second->Id());
  EXPECT_TRUE(editor->RunUntil(
      [&]
      {
        const WindowPicture picture = ReadWindow(editor->input, moved);
        return picture.width == 500 && picture.Red(95, 150) > picture.Green(95, 150);
      }));
  editor->gui->destroy(editor->Plugin());
  editor->created = false;
  EXPECT_EQ(editor->ChildOf(second->Id()), 0u);
}

TEST_F(EditorGui, AHostThatDestroysItsWindowFirstKeepsRunning)
{
  ASSERT_TRUE(editor->Open());
  editor->parent->Destroy();
  // The editor hears of its window's end through the host's loop; nothing to wait for but that.
  editor->RunFor(std::chrono::milliseconds(100));
  EXPECT_TRUE(editor->gui->hide(editor->Plugin()));
  EXPECT_FALSE(editor->gui->show(editor->Plugin()));
  editor->gui->destroy(editor->Plugin());
  editor->created = false;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  EXPECT_TRUE(editor->gui->get_size(editor->Plugin(), &width, &height));

  // The instance still works, and a new window takes a new editor.
  std::string error;
  const std::unique_ptr<host::HostWindow> next =
      host::HostWindow::Create(server->DisplayName().c_str(), 500, 525, "next", error);
  ASSERT_NE(next, nullptr) << error;
  ASSERT_TRUE(editor->gui->create(editor->Plugin(), CLAP_WINDOW_API_X11, false));
  editor->created = true;
  ASSERT_TRUE(editor->Attach(*next));
  EXPECT_TRUE(editor->RunUntil([&] { return editor->ChildOf(next->Id()) != 0; }));
}

} // namespace
} // namespace kit::test
