// Editors on two threads share the process-wide typeface cache behind its lock: loading one
// font identifier at the same time makes one face, which both draw with.
#include "graphics/draw_context_cairo.h"
#include "graphics/typeface_cache.h"
#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <latch>
#include <thread>

namespace kit::ui
{
namespace
{

using test::OpenEditor;

TEST(CairoTypefaceThreads, EditorsLoadingOneFontTogetherShareOneFace)
{
  std::latch loaded(3);
  std::latch checked(1);
  std::array<cairo_font_face_t*, 2> faces {};
  std::array<bool, 2> drew {};
  const auto runEditor = [&](std::size_t index)
  {
    OpenEditor editor(120, 40);
    const bool made = editor->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf");
    Typeface typeface;
    if (made && FindTypeface("Roboto-Regular", typeface)) faces[index] = typeface.fontFace;
    ITextStyle style;
    style.colour = { 255, 0, 0, 0 };
    editor->RenderText(style, "Psychoacoustic", { 0, 0, 120, 40 });
    editor->EndFrame();
    const auto bytes = editor->FrameBufferBytes();
    drew[index] = std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte != 0; });
    loaded.count_down();
    checked.wait(); // both editors stay open until the cache has been looked at
  };
  std::thread first(runEditor, 0);
  std::thread second(runEditor, 1);
  loaded.arrive_and_wait();
  EXPECT_EQ(TypefaceCount(), 1u);
  checked.count_down();
  first.join();
  second.join();
  EXPECT_NE(faces[0], nullptr);
  EXPECT_EQ(faces[0], faces[1]);
  EXPECT_TRUE(drew[0]);
  EXPECT_TRUE(drew[1]);
  EXPECT_EQ(TypefaceCount(), 0u);
}

} // namespace
} // namespace kit::ui
