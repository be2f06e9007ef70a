// Hosts that break the rules while the editor is open in their window, one way per row: gui,
// timer and descriptor calls from a thread the host's own thread check calls foreign, host
// records with null functions or refusing what the editor asks, gui calls out of order and
// parents that are no windows. Every row must leave the plug-in standing, answer false where
// the gui extension has an answer, and log only what the editor reports of its window (to the
// host's log, or the error stream without one).
#include "tests/support/stderr_capture.h"
#include "tests/window/editor_window_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace kit::test
{
namespace
{

using host::HostFunction;

const char* const kNoTick = "the host gives the editor no display tick; it repaints only when exposed";
const char* const kNoParent = "the host's window for the editor does not exist";

struct Row
{
  const char* name;
  std::function<void(host::HostConfig&)> configure;
  std::function<void(EditorHost&)> misbehave;
  std::vector<std::string> logs; // what the plug-in logged, in order
};

host::HostConfig WithNull(std::initializer_list<HostFunction> functions)
{
  host::HostConfig config;
  config.offered.posixFdSupport = true;
  config.nullFunctions = functions;
  return config;
}

// A click on the dither lamp still turns dither on and the panel green: the editor reads its
// input and repaints, whatever way the host left it to tick.
void ExpectTheLampWorks(EditorHost& editor)
{
  ASSERT_EQ(editor.Value(kDither), 0.0);
  editor.Click(197, 460);
  EXPECT_TRUE(editor.RunUntil([&] { return editor.Value(kDither) == 1.0; }));
  EXPECT_TRUE(editor.WaitForPanel());
}

// Runs call on a thread of its own, which the host's thread check calls foreign.
void OnAnotherThread(const std::function<void()>& call)
{
  std::thread other(call);
  other.join();
}

void OpenAndExpectTheLampWorks(EditorHost& editor)
{
  ASSERT_TRUE(editor.Open());
  ExpectTheLampWorks(editor);
}

// create, then set_parent to a window id the server never made: refused.
void CreateAndGiveAMissingParent(EditorHost& editor)
{
  ASSERT_TRUE(editor.gui->create(editor.Plugin(), CLAP_WINDOW_API_X11, false));
  editor.created = true;
  clap_window missing {};
  missing.api = CLAP_WINDOW_API_X11;
  missing.x11 = 0x7ffffff0;
  EXPECT_FALSE(editor.gui->set_parent(editor.Plugin(), &missing));
}

std::vector<Row> WrongThreadRows()
{
  return {
    { "gui, timer and descriptor calls from another thread",
      [](host::HostConfig& c) { c.offered.posixFdSupport = true; },
      [](EditorHost& editor)
      {
        const clap_plugin_gui& gui = *editor.gui;
        const clap_plugin* plugin = editor.Plugin();
        OnAnotherThread([&] { EXPECT_FALSE(gui.create(plugin, CLAP_WINDOW_API_X11, false)); });
        ASSERT_TRUE(editor.Open());
        const Window window = editor.EditorWindow();
        OnAnotherThread(
            [&]
            {
              std::uint32_t width = 100;
              std::uint32_t height = 100;
              clap_window parent {};
              parent.api = CLAP_WINDOW_API_X11;
              parent.x11 = editor.parent->Id();
              EXPECT_FALSE(gui.is_api_supported(plugin, CLAP_WINDOW_API_X11, false));
              EXPECT_FALSE(gui.get_size(plugin, &width, &height));
              EXPECT_FALSE(gui.adjust_size(plugin, &width, &height));
              EXPECT_FALSE(gui.set_size(plugin, 750, 787));
              EXPECT_FALSE(gui.set_scale(plugin, 2.0));
              EXPECT_FALSE(gui.set_parent(plugin, &parent));
              EXPECT_FALSE(gui.hide(plugin));
              EXPECT_FALSE(gui.show(plugin));
              gui.suggest_title(plugin, "elsewhere");
              gui.destroy(plugin);
              // The editor's ticks and its connection's descriptor, run here, would draw and
              // read X events beside the main thread.
              const auto* timers = editor.instance->Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT);
              const auto* fds = editor.instance->Extension<clap_plugin_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
              for (const host::TimerRegistration& timer : editor.host.ActiveTimers())
                timers->on_timer(plugin, timer.id);
              for (const host::DescriptorRegistration& fd : editor.host.RegisteredDescriptors())
                fds->on_fd(plugin, fd.fd, CLAP_POSIX_FD_READ);
            });
        // Nothing of that reached the editor: the same window, its size, and it still works.
        EXPECT_EQ(editor.EditorWindow(), window);
        EXPECT_EQ(editor.EditorWindowSize(), std::make_pair(500, 525));
        ExpectTheLampWorks(editor);
      },
      {} },
    { "callbacks run on another thread",
      [](host::HostConfig& c) { c.offered.timerSupport = false; },
      [](EditorHost& editor)
      {
        ASSERT_TRUE(editor.Open());
        // The ticks the editor asked for are dropped there, and asked for again.
        OnAnotherThread(
            [&]
            {
              for (int i = 0; i < 20; ++i) editor.Plugin()->on_main_thread(editor.Plugin());
            });
        ExpectTheLampWorks(editor);
      },
      {} },
  };
}

std::vector<Row> HostRecordRows()
{
  using F = HostFunction;
  const auto densityTwo = [](EditorHost& editor)
  {
    ASSERT_TRUE(editor.Open());
    // The editor sizes its own window whatever the host does with the request.
    ASSERT_TRUE(editor.gui->set_scale(editor.Plugin(), 2.0));
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    EXPECT_TRUE(editor.gui->get_size(editor.Plugin(), &width, &height));
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(1000u, 1050u));
    EXPECT_TRUE(editor.RunUntil([&] { return editor.EditorWindowSize() == std::make_pair(1000, 1050); }));
    editor.scale = 2;
    EXPECT_TRUE(editor.WaitForPanel());
  };
  return {
    { "gui without request_resize",
      [](host::HostConfig& c) { c = WithNull({ F::GuiRequestResize }); },
      densityTwo,
      {} },
    { "a host that refuses every resize",
      [](host::HostConfig& c) { c.resizeRequestSucceeds = false; },
      densityTwo,
      {} },
    { "posix fd support without functions",
      [](host::HostConfig& c) {
        c = WithNull({ F::PosixFdRegister, F::PosixFdModify, F::PosixFdUnregister });
      },
      [](EditorHost& editor)
      {
        OpenAndExpectTheLampWorks(editor);
        EXPECT_TRUE(editor.host.RegisteredDescriptors().empty());
      },
      {} },
    { "a host that refuses the descriptor",
      [](host::HostConfig& c)
      {
        c.offered.posixFdSupport = true;
        c.descriptorRegistrationSucceeds = false;
      },
      OpenAndExpectTheLampWorks,
      {} },
    { "timer support without functions",
      [](host::HostConfig& c) {
        c = WithNull({ F::RegisterTimer, F::UnregisterTimer });
      },
      OpenAndExpectTheLampWorks,
      {} },
    { "a host that refuses every timer",
      [](host::HostConfig& c) { c.timerRegistrationSucceeds = false; },
      OpenAndExpectTheLampWorks,
      {} },
    { "no get_extension",
      [](host::HostConfig& c) { c = WithNull({ F::GetExtension }); },
      OpenAndExpectTheLampWorks,
      {} },
    { "thread check without functions",
      [](host::HostConfig& c) {
        c = WithNull({ F::IsMainThread, F::IsAudioThread });
      },
      OpenAndExpectTheLampWorks,
      {} },
    { "log without its function",
      [](host::HostConfig& c) { c = WithNull({ F::Log }); },
      [](EditorHost& editor)
      {
        CreateAndGiveAMissingParent(editor);
        OpenAndExpectTheLampWorks(editor);
      },
      { kNoParent } },
    { "no timers, no descriptor and no request_callback",
      [](host::HostConfig& c)
      {
        c = WithNull({ F::RequestCallback });
        c.offered.timerSupport = false;
        c.offered.posixFdSupport = false;
      },
      [](EditorHost& editor)
      {
        // Nothing can ever tick the editor: it opens, says so once, and closes cleanly.
        ASSERT_TRUE(editor.gui->create(editor.Plugin(), CLAP_WINDOW_API_X11, false));
        editor.created = true;
        ASSERT_TRUE(editor.Attach(*editor.parent));
        EXPECT_TRUE(editor.gui->show(editor.Plugin()));
        EXPECT_NE(editor.EditorWindow(), 0u);
      },
      { kNoTick } },
  };
}

std::vector<Row> OutOfOrderRows()
{
  return {
    { "set_parent and show before create",
      {},
      [](EditorHost& editor)
      {
        EXPECT_FALSE(editor.Attach(*editor.parent));
        EXPECT_FALSE(editor.gui->show(editor.Plugin()));
        EXPECT_EQ(editor.EditorWindow(), 0u);
        EXPECT_TRUE(editor.gui->hide(editor.Plugin()));
        editor.gui->destroy(editor.Plugin());
        OpenAndExpectTheLampWorks(editor);
      },
      {} },
    { "create twice, show twice, destroy twice",
      {},
      [](EditorHost& editor)
      {
        ASSERT_TRUE(editor.Open());
        const Window window = editor.EditorWindow();
        EXPECT_TRUE(editor.gui->create(editor.Plugin(), CLAP_WINDOW_API_X11, false));
        EXPECT_TRUE(editor.gui->show(editor.Plugin()));
        EXPECT_TRUE(editor.gui->show(editor.Plugin()));
        EXPECT_EQ(editor.EditorWindow(), window);
        ExpectTheLampWorks(editor);
        editor.gui->destroy(editor.Plugin());
        editor.gui->destroy(editor.Plugin());
        editor.created = false;
        EXPECT_EQ(editor.EditorWindow(), 0u);
      },
      {} },
    { "the instance destroyed with its editor shown",
      {},
      [](EditorHost& editor)
      {
        ASSERT_TRUE(editor.Open());
        editor.created = false;
        editor.instance.reset();
        EXPECT_TRUE(editor.RunUntil([&] { return editor.EditorWindow() == 0; }));
      },
      {} },
  };
}

std::vector<Row> BadParentRows()
{
  return {
    { "parents that are no windows of the X11 kind",
      {},
      [](EditorHost& editor)
      {
        CreateAndGiveAMissingParent(editor);
        clap_window none {};
        none.api = CLAP_WINDOW_API_X11;
        EXPECT_FALSE(editor.gui->set_parent(editor.Plugin(), &none));
        clap_window otherApi {};
        otherApi.api = CLAP_WINDOW_API_WAYLAND;
        otherApi.x11 = editor.parent->Id();
        EXPECT_FALSE(editor.gui->set_parent(editor.Plugin(), &otherApi));
        EXPECT_FALSE(editor.gui->set_parent(editor.Plugin(), nullptr));
        EXPECT_FALSE(editor.gui->show(editor.Plugin()));
        // The editor still opens in a real window afterwards.
        ASSERT_TRUE(editor.Attach(*editor.parent));
        EXPECT_TRUE(editor.gui->show(editor.Plugin()));
        EXPECT_TRUE(editor.WaitForPanel());
      },
      { kNoParent } },
  };
}

struct EditorMisbehaviour : ::testing::Test
{
  void SetUp() override
  {
    server = StartServer();
    ASSERT_NE(server, nullptr);
  }

  void RunRows(const std::vector<Row>& rows) const
  {
    for (const Row& row : rows)
    {
      SCOPED_TRACE(row.name);
      host::HostConfig config;
      if (row.configure) row.configure(config);
      std::vector<std::string> logged;
      StderrCapture capture;
      {
        EditorHost editor(*server, std::move(config));
        ASSERT_TRUE(editor.instance && editor.parent && editor.input && editor.loop);
        row.misbehave(editor);
        // Whatever the host did, the instance still answers.
        if (editor.instance)
        {
          double value = -1.0;
          EXPECT_TRUE(editor.params->get_value(editor.Plugin(), kDither, &value));
        }
        for (const host::LogEntry& entry : editor.host.Journal().Logs()) logged.push_back(entry.text);
      }
      std::istringstream lines(capture.Text());
      for (std::string line; std::getline(lines, line);)
        if (!line.empty()) logged.push_back(line);
      EXPECT_EQ(logged, row.logs);
    }
  }

  const PreferenceFolder preferences;
  std::unique_ptr<XvfbServer> server;
};

TEST_F(EditorMisbehaviour, CallsOnTheWrongThread)
{
  RunRows(WrongThreadRows());
}

TEST_F(EditorMisbehaviour, HostRecordsWithNullFunctionsOrRefusals)
{
  RunRows(HostRecordRows());
}

TEST_F(EditorMisbehaviour, GuiCallsOutOfOrder)
{
  RunRows(OutOfOrderRows());
}

TEST_F(EditorMisbehaviour, ParentsThatAreNoWindows)
{
  RunRows(BadParentRows());
}

} // namespace
} // namespace kit::test
