// The editor in a host's window answers the pointer whichever way the host drives it: with a
// timer and descriptor support, with a timer only, or with neither and only main-thread
// callbacks. A click on the dither lamp toggles dither, the host hears one gesture around the
// change, and the panel's tint turns from red to green on the screen.
#include "tests/window/editor_window_fixture.h"

#include <gtest/gtest.h>

namespace kit::test
{
namespace
{

TEST(EditorTicks, TheDitherLampWorksInEveryTickMode)
{
  for (const TickMode& mode : { kTimerAndFd, kTimerOnly, kCallbacksOnly })
  {
    SCOPED_TRACE(mode.name);
    const std::unique_ptr<XvfbServer> server = StartServer();
    ASSERT_NE(server, nullptr);
    EditorHost editor(*server, mode);
    ASSERT_TRUE(editor.Ready());
    ASSERT_TRUE(editor.Open());
    ASSERT_EQ(editor.Value(kDither), 0.0);
    EXPECT_TRUE(editor.ShowsTint(EditorHost::kBareScreenX, EditorHost::kBareScreenY, false));
    const std::string slug = mode.posixFdSupport ? "timer-fd" : mode.timerSupport ? "timer" : "callbacks";
    editor.KeepPicture("lamp-off-" + slug);

    editor.Click(197, 460);
    EXPECT_TRUE(editor.RunUntil([&] { return editor.Value(kDither) == 1.0; }));
    EXPECT_TRUE(
        editor.RunUntil([&] { return editor.ShowsTint(EditorHost::kBareScreenX, EditorHost::kBareScreenY, true); }));
    editor.KeepPicture("lamp-on-" + slug);
    // The release may come a tick after the press: gather what the flushes hand over until the end.
    std::vector<std::uint16_t> flushed;
    EXPECT_TRUE(editor.RunUntil(
        [&]
        {
          for (const std::uint16_t type : editor.FlushedEventTypes()) flushed.push_back(type);
          return !flushed.empty() && flushed.back() == CLAP_EVENT_PARAM_GESTURE_END;
        }));
    const std::vector<std::uint16_t> expected { CLAP_EVENT_PARAM_GESTURE_BEGIN, CLAP_EVENT_PARAM_VALUE,
                                                CLAP_EVENT_PARAM_GESTURE_END };
    EXPECT_EQ(flushed, expected);

    if (mode.posixFdSupport)
    {
      EXPECT_FALSE(editor.host.RegisteredDescriptors().empty());
    }
    if (mode.timerSupport)
    {
      bool displayTimer = false;
      for (const host::TimerRegistration& timer : editor.host.ActiveTimers()) displayTimer |= timer.periodMs == 15;
      EXPECT_TRUE(displayTimer);
    }
  }
}

TEST(EditorTicks, WithoutSharedMemoryTheFrameStillReachesTheWindow)
{
  const std::unique_ptr<XvfbServer> server = StartServer({ "-extension", "MIT-SHM" });
  ASSERT_NE(server, nullptr);
  EditorHost editor(*server, kTimerAndFd);
  ASSERT_TRUE(editor.Ready());
  ASSERT_TRUE(editor.Open());
  editor.Click(197, 460);
  EXPECT_TRUE(
      editor.RunUntil([&] { return editor.ShowsTint(EditorHost::kBareScreenX, EditorHost::kBareScreenY, true); }));
  EXPECT_EQ(editor.Value(kDither), 1.0);
  editor.KeepPicture("lamp-on-without-shm");
}

} // namespace
} // namespace kit::test
