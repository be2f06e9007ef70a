// A Cairo context that once fails ignores every later drawing call. The backend never hands it
// a matrix, dash or point it would fail on, and a context that failed anyway is made anew at the
// end of the frame, with everything marked for repainting.
#include "graphics/control.h"
#include "graphics/draw_context_cairo.h"
#include "tests/graphics/cairo_test_support.h"

#include <cairo.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace kit::ui
{
namespace
{

using test::OpenEditor;
using test::PaintingControl;

constexpr IRgba kWhite { 255, 255, 255, 255 };

cairo_status_t Status(IDrawContext& graphics)
{
  return cairo_status(static_cast<cairo_t*>(graphics.DrawingContext()));
}

TEST(CairoStickyError, DrawingThatCairoWouldFailOnDrawsNothingAndLaterDrawingPaints)
{
  struct Case
  {
    std::string name;
    std::function<void(IDrawContext&, const IBitmapRef&)> faulty;
  };
  const auto dashed = [](IDrawContext& graphics, std::initializer_list<float> dashes, float offset)
  {
    IStrokeStyle style;
    int count = 0;
    for (const float dash : dashes) style.dashes[std::size_t(count++)] = dash;
    style.dashCount = count;
    style.dashOffset = offset;
    graphics.PathClear();
    graphics.PathMoveTo(0, 45);
    graphics.PathLineTo(100, 45);
    graphics.PathStroke(IFillPattern::Solid(kWhite), 2.0f, style);
  };
  const std::vector<Case> cases = {
    { "NaN rotation",
      [](IDrawContext& graphics, const IBitmapRef&)
      {
        graphics.PathTransformRotate(NAN);
        graphics.PaintRect(kWhite, { 0, 0, 50, 50 });
        graphics.BlitBitmap({}, { 0, 0, 10, 10 }, 0, 0);
      } },
    { "zero scale",
      [](IDrawContext& graphics, const IBitmapRef&)
      {
        graphics.PathTransformScale(0, 1);
        graphics.PaintCircle(kWhite, 10, 10, 5);
      } },
    { "infinite translation",
      [](IDrawContext& graphics, const IBitmapRef&)
      {
        graphics.PathTransformTranslate(INFINITY, 0);
        graphics.StrokeLine(kWhite, 0, 0, 10, 10);
      } },
    { "fitted blit into zero-size bounds",
      [](IDrawContext& graphics, const IBitmapRef& bitmap)
      {
        graphics.BlitFittedBitmap(bitmap, { 10, 10, 10, 30 });
        graphics.BlitFittedBitmap(bitmap, { 10, 10, 30, 10 });
      } },
    { "fitted blit of a zero-size picture",
      [](IDrawContext& graphics, const IBitmapRef& bitmap)
      {
        IBitmapRef empty = bitmap;
        empty.width = 0;
        empty.height = 0;
        graphics.BlitFittedBitmap(empty, { 10, 10, 30, 30 });
      } },
    { "NaN point",
      [](IDrawContext& graphics, const IBitmapRef&)
      {
        graphics.StrokeLine(kWhite, 0, 0, NAN, 10);
        graphics.PathArc(NAN, 10, 5, 0, 90);
        graphics.PathFill(IFillPattern::Solid(kWhite));
      } },
    { "non-finite text position",
      [](IDrawContext& graphics, const IBitmapRef&)
      {
        ITextStyle style;
        graphics.RenderText(style, "Hello", { NAN, 0, 100, 20 });
        style.size = INFINITY;
        graphics.RenderText(style, "Hello", { 0, 0, 100, 20 });
      } },
    { "all-zero dash",
      [&](IDrawContext& graphics, const IBitmapRef&) {
        dashed(graphics, { 0, 0 }, 0);
      } },
    { "negative dash",
      [&](IDrawContext& graphics, const IBitmapRef&) {
        dashed(graphics, { 4, -1 }, 0);
      } },
    { "NaN dash",
      [&](IDrawContext& graphics, const IBitmapRef&) {
        dashed(graphics, { NAN, 3 }, 0);
      } },
    { "NaN dash offset",
      [&](IDrawContext& graphics, const IBitmapRef&) {
        dashed(graphics, { 4, 4 }, NAN);
      } },
    { "NaN line width",
      [](IDrawContext& graphics, const IBitmapRef&) { graphics.StrokeLine(kWhite, 0, 5, 9, 5, nullptr, NAN); } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    OpenEditor editor(100, 100);
    ASSERT_TRUE(editor->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
    const IBitmapRef bitmap = editor->LoadBitmapByName("knob_line.png");
    ASSERT_TRUE(bitmap.IsValid());
    editor->PathTransformSave();
    c.faulty(*editor, bitmap);
    editor->PathTransformRestore();
    EXPECT_EQ(Status(*editor), CAIRO_STATUS_SUCCESS);
    editor->PaintRect({ 255, 0, 255, 0 }, { 60, 60, 100, 100 });
    editor->EndFrame();
    EXPECT_EQ(editor.At(80, 80).g, 255);
    EXPECT_EQ(editor.At(80, 80).a, 255);
  }
}

// A dash pattern Cairo would refuse strokes the line solid.
TEST(CairoStickyError, UnusableDashStrokesSolid)
{
  const std::initializer_list<float> patterns[] = { { 0, 0 }, { 0 }, { 4, -1, 3 }, { NAN }, { INFINITY, 2 } };
  for (const auto& dashes : patterns)
  {
    SCOPED_TRACE(testing::Message() << dashes.size() << " lengths from " << *dashes.begin());
    OpenEditor editor(100, 20);
    IStrokeStyle style;
    int count = 0;
    for (const float dash : dashes) style.dashes[std::size_t(count++)] = dash;
    style.dashCount = count;
    editor->PathClear();
    editor->PathMoveTo(0, 10);
    editor->PathLineTo(100, 10);
    editor->PathStroke(IFillPattern::Solid(kWhite), 4.0f, style);
    editor->EndFrame();
    for (int x = 0; x < 100; ++x) ASSERT_EQ(editor.At(x, 10).a, 255) << "column " << x;
  }
}

// However the context fails, the end of the frame gives a working one and the next tick
// repaints every control.
TEST(CairoStickyError, FailedContextIsMadeAnewAndEverythingRepainted)
{
  OpenEditor editor(100, 100);
  int paints = 0;
  bool fail = true;
  editor->AddControl(std::make_unique<PaintingControl>(
      IBounds { 0, 0, 100, 100 },
      [&](IDrawContext& graphics)
      {
        ++paints;
        if (fail)
        {
          const double bad = -1.0;
          cairo_set_dash(static_cast<cairo_t*>(graphics.DrawingContext()), &bad, 1, 0.0);
        }
        graphics.PaintRect({ 255, 0, 0, 255 }, { 10, 10, 90, 90 });
      }));
  IControl* other = editor->AddControl(std::make_unique<PaintingControl>(IBounds { 0, 0, 50, 50 },
                                                                         [](IDrawContext& graphics) {
                                                                           graphics.PaintRect(kWhite, { 0, 0, 5, 5 });
                                                                         }));
  ASSERT_TRUE(editor->Tick());
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(editor.At(50, 50).a, 0); // the failed context drew nothing
  EXPECT_EQ(Status(*editor), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(other->IsDirty());

  fail = false;
  ASSERT_TRUE(editor->Tick());
  EXPECT_EQ(paints, 2);
  EXPECT_EQ(editor.At(50, 50).b, 255);
  EXPECT_EQ(editor.At(2, 2).g, 255);
  EXPECT_FALSE(editor->Tick());
}

} // namespace
} // namespace kit::ui
