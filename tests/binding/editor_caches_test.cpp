// The pictures and typefaces every open editor of the process shares are kept while any editor
// is open and let go with the last one, however the editors end: closed by the host, or still
// open when their instance is destroyed. A later editor fills the caches again and draws.
#include "binding/in_process_plugin.h"

#include "graphics/bitmap_cache.h"
#include "graphics/platform/draw_context_headless.h"
#include "graphics/typeface_cache.h"
#include "support/preference_folder.h"

#include <gtest/gtest.h>

#include <memory>

namespace kit::test
{
namespace
{

using namespace kit::ui;

// Opens the instance's editor window-less and paints its first frame.
void OpenAndPaint(InProcessPlugin& plugin)
{
  ASSERT_NE(plugin.Ombrix().OpenEditorWindow(nullptr), nullptr);
  auto* editor = dynamic_cast<IDrawContextHeadless*>(plugin.Ombrix().EditorGraphics());
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->Tick());
}

void ExpectCachesHeld(int users)
{
  EXPECT_EQ(BitmapCache::Process().Users(), users);
  EXPECT_GT(BitmapCache::Process().Size(), 0u);
  EXPECT_GT(TypefaceCount(), 0u);
}

void ExpectCachesEmpty()
{
  EXPECT_EQ(BitmapCache::Process().Users(), 0);
  EXPECT_EQ(BitmapCache::Process().Size(), 0u);
  EXPECT_EQ(TypefaceCount(), 0u);
}

TEST(EditorCaches, TheLastEditorToCloseEmptiesTheSharedCaches)
{
  const PreferenceFolder preferences;
  ExpectCachesEmpty();
  InProcessPlugin first;
  InProcessPlugin second;
  OpenAndPaint(first);
  ExpectCachesHeld(1);
  OpenAndPaint(second);
  ExpectCachesHeld(2);

  first.Ombrix().CloseEditorWindow();
  ExpectCachesHeld(1);
  second.Ombrix().CloseEditorWindow();
  ExpectCachesEmpty();

  OpenAndPaint(second);
  ExpectCachesHeld(1);
  second.Ombrix().CloseEditorWindow();
  ExpectCachesEmpty();
}

TEST(EditorCaches, InstancesDestroyedWithTheirEditorsOpenLeaveTheCachesEmpty)
{
  const PreferenceFolder preferences;
  auto first = std::make_unique<InProcessPlugin>();
  auto second = std::make_unique<InProcessPlugin>();
  OpenAndPaint(*first);
  OpenAndPaint(*second);
  ExpectCachesHeld(2);
  second.reset();
  ExpectCachesHeld(1);
  first.reset();
  ExpectCachesEmpty();
}

} // namespace
} // namespace kit::test
