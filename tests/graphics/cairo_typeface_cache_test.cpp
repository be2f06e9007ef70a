// The process-wide typeface cache: one entry per font identifier shared by every editor, emptied
// when the last one goes, and FreeType faces that outlive Cairo's own use of them, so that an
// editor closed and opened again draws its text exactly as before.
#include "graphics/control.h"
#include "graphics/draw_context_cairo.h"
#include "graphics/typeface_cache.h"
#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace kit::ui
{
namespace
{

using test::OpenEditor;
using test::PaintingControl;

void LayOutCaption(IDrawContext& graphics)
{
  ASSERT_TRUE(graphics.LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  graphics.AddControl(
      std::make_unique<PaintingControl>(IBounds { 0, 0, 200, 60 },
                                        [](IDrawContext& drawing)
                                        {
                                          ITextStyle style;
                                          style.size = 24.0f;
                                          style.colour = { 255, 20, 40, 60 };
                                          drawing.RenderText(style, "24 bits ADAPTIVE", { 0, 0, 200, 60 });
                                          style.angle = 30.0f;
                                          style.size = 11.0f;
                                          drawing.RenderText(style, "GRAPH", { 150, 0, 200, 60 });
                                        }));
}

// Opens an editor that lays out a caption, paints it, closes the window and the editor.
std::vector<std::uint8_t> DrawCaptionInAFreshEditor(float density)
{
  test::LayoutDelegate editorDelegate;
  editorDelegate.layout = LayOutCaption;
  IDrawContextHeadless editor(editorDelegate, 200, 60, 60, 1.0f);
  editor.SetDisplayDensity(density);
  EXPECT_NE(editor.OpenWindow(nullptr), nullptr);
  EXPECT_TRUE(editor.Tick());
  const auto bytes = editor.FrameBufferBytes();
  std::vector<std::uint8_t> pixels(bytes.begin(), bytes.end());
  editor.CloseWindow();
  return pixels;
}

TEST(CairoTypefaceCache, EditorOpenedAgainDrawsTextIdentically)
{
  for (const float density : { 1.0f, 2.0f })
  {
    SCOPED_TRACE(density);
    const std::vector<std::uint8_t> first = DrawCaptionInAFreshEditor(density);
    EXPECT_EQ(TypefaceCount(), 0u);
    ASSERT_TRUE(std::any_of(first.begin(), first.end(), [](std::uint8_t byte) { return byte != 0; }));
    const std::vector<std::uint8_t> second = DrawCaptionInAFreshEditor(density);
    EXPECT_EQ(first, second);
    const std::vector<std::uint8_t> third = DrawCaptionInAFreshEditor(density);
    EXPECT_EQ(first, third);
  }
}

TEST(CairoTypefaceCache, SecondLoadOfAnIdentifierAddsNothing)
{
  auto first = std::make_unique<OpenEditor>(100, 40);
  ASSERT_TRUE((*first)->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  EXPECT_EQ(TypefaceCount(), 1u);
  Typeface loaded;
  ASSERT_TRUE(FindTypeface("Roboto-Regular", loaded));
  EXPECT_TRUE(loaded.complete);
  EXPECT_EQ(loaded.unitsPerEm, 2048);

  auto second = std::make_unique<OpenEditor>(100, 40);
  EXPECT_TRUE((*second)->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  // The identifier is taken: even another file name finds the face already made.
  EXPECT_TRUE((*second)->LoadFontByName("Roboto-Regular", "no-such-font.ttf"));
  EXPECT_EQ(TypefaceCount(), 1u);
  Typeface again;
  ASSERT_TRUE(FindTypeface("Roboto-Regular", again));
  EXPECT_EQ(again.fontFace, loaded.fontFace);

  // The first editor going leaves the cache to the second, which still draws.
  first.reset();
  EXPECT_EQ(TypefaceCount(), 1u);
  ITextStyle style;
  style.colour = { 255, 0, 0, 0 };
  (*second)->RenderText(style, "Hi", { 0, 0, 100, 40 });
  (*second)->EndFrame();
  const auto bytes = (*second)->FrameBufferBytes();
  EXPECT_TRUE(std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte != 0; }));
  second.reset();
  EXPECT_EQ(TypefaceCount(), 0u);
  EXPECT_FALSE(FindTypeface("Roboto-Regular", again));
}

TEST(CairoTypefaceCache, FontThatIsMissingOrNotAFontIsNotLoaded)
{
  OpenEditor editor(100, 40);
  EXPECT_FALSE(editor->LoadFontByName("missing", "no-such-font.ttf"));
  EXPECT_FALSE(editor->LoadFontByName("picture", "bg.png"));
  EXPECT_FALSE(editor->LoadFontByName("empty", ""));
  EXPECT_EQ(TypefaceCount(), 0u);
}

} // namespace
} // namespace kit::ui
