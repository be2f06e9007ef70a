// A host that loads Ombrix.clap, processes, opens the editor in its window, clicks in it, closes
// it and unloads the plug-in again, a hundred times in one process on one X server, leaves
// nothing allocated behind: in the AddressSanitizer build LeakSanitizer checks the heap after
// the last round and the test fails on any leak it reports. The editor's X connection, its
// pictures, typefaces and shared-memory frame all go with each round.
#include "tests/window/editor_window_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace kit::test
{
namespace
{

constexpr std::uint32_t kFrames = 256;

// One round on a fresh library and instance. Whether every step answered.
bool UseOnce(const XvfbServer& server, int round)
{
  EditorHost editor(server, round % 2 == 0 ? kTimerAndFd : kCallbacksOnly);
  if (!editor.Ready() || !editor.instance->Activate(48000.0, 1, kFrames) || !editor.instance->StartProcessing())
    return false;
  std::vector<double> left(kFrames, 0.3);
  std::vector<double> right(kFrames, -0.3);
  double* channels[] = { left.data(), right.data() };
  if (editor.instance->Process64(channels, channels, 2, kFrames) == CLAP_PROCESS_ERROR || !std::isfinite(left[0]))
    return false;
  if (!editor.Open()) return false;
  editor.Click(197, 460);
  if (!editor.RunUntil([&] { return editor.Value(kDither) == 1.0; })) return false;
  if (!editor.gui->hide(editor.Plugin()) || !editor.gui->show(editor.Plugin()) || !editor.WaitForPanel()) return false;
  editor.instance->StopProcessing();
  editor.instance->Deactivate();
  return true;
}

TEST(EditorLoadUnload, AHundredRoundsWithTheEditorOpenLeakNothing)
{
  const PreferenceFolder preferences;
  const std::unique_ptr<XvfbServer> server = StartServer();
  ASSERT_NE(server, nullptr);
  for (int round = 0; round < 100; ++round) ASSERT_TRUE(UseOnce(*server, round)) << "round " << round;
#if defined(__SANITIZE_ADDRESS__)
  // Non-zero when LeakSanitizer found memory that nothing points at any more; it prints each.
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

} // namespace
} // namespace kit::test
