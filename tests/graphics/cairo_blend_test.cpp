// The ten blend modes and the opacity of the Cairo backend against Porter–Duff compositing
// worked by hand on premultiplied pixels: result = source × Fa + destination × Fb.
#include "graphics/draw_context_cairo.h"
#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace kit::ui
{
namespace
{

using test::OpenEditor;
using test::Pixel;

struct Premultiplied
{
  double b, g, r, a; // 0 … 1
};

Premultiplied FromColour(const IRgba& colour, double opacity)
{
  const double alpha = std::trunc(colour.A * opacity) / 255.0;
  return { colour.B / 255.0 * alpha, colour.G / 255.0 * alpha, colour.R / 255.0 * alpha, alpha };
}

struct Factors
{
  double source, destination;
};

// Fa and Fb of each mode, from the source's and the destination's alpha.
Factors PorterDuff(EBlend mode, double as, double ad)
{
  switch (mode)
  {
  case EBlend::kSrcOver:
    return { 1.0, 1.0 - as };
  case EBlend::kSrcIn:
    return { ad, 0.0 };
  case EBlend::kSrcOut:
    return { 1.0 - ad, 0.0 };
  case EBlend::kSrcAtop:
    return { ad, 1.0 - as };
  case EBlend::kDstOver:
    return { 1.0 - ad, 1.0 };
  case EBlend::kDstIn:
    return { 0.0, as };
  case EBlend::kDstOut:
    return { 0.0, 1.0 - as };
  case EBlend::kDstAtop:
    return { 1.0 - ad, as };
  case EBlend::kAdd:
    return { 1.0, 1.0 };
  case EBlend::kXOR:
    return { 1.0 - ad, 1.0 - as };
  }
  return { 0.0, 0.0 };
}

Pixel Composite(const Premultiplied& s, const Premultiplied& d, EBlend mode)
{
  const Factors f = PorterDuff(mode, s.a, d.a);
  const auto channel = [&](double source, double destination)
  { return int(std::lround(std::min(1.0, source * f.source + destination * f.destination) * 255.0)); };
  return { channel(s.b, d.b), channel(s.g, d.g), channel(s.r, d.r), channel(s.a, d.a) };
}

void ExpectNear(const Pixel& actual, const Pixel& expected)
{
  EXPECT_NEAR(actual.b, expected.b, 1);
  EXPECT_NEAR(actual.g, expected.g, 1);
  EXPECT_NEAR(actual.r, expected.r, 1);
  EXPECT_NEAR(actual.a, expected.a, 1);
}

const char* Name(EBlend mode)
{
  static const char* const names[] = { "source-over", "source-in", "source-out", "source-atop", "dest-over",
                                       "dest-in",     "dest-out",  "dest-atop",  "add",         "xor" };
  return names[int(mode)];
}

constexpr EBlend kModes[] = { EBlend::kSrcOver, EBlend::kSrcIn,  EBlend::kSrcOut,  EBlend::kSrcAtop, EBlend::kDstOver,
                              EBlend::kDstIn,   EBlend::kDstOut, EBlend::kDstAtop, EBlend::kAdd,     EBlend::kXOR };

struct Colours
{
  IRgba destination;
  IRgba source;
  float opacity;
};
const Colours kColourCases[] = {
  { { 160, 255, 0, 0 }, { 200, 0, 0, 255 }, 1.0f },
  { { 255, 0, 255, 0 }, { 128, 255, 255, 0 }, 1.0f },
  { { 100, 255, 255, 255 }, { 255, 0, 255, 255 }, 0.5f },
  { { 220, 0, 0, 255 }, { 180, 255, 0, 255 }, 0.25f },
};

// The destination rectangle covers (0, 0, 60, 40); the source shape covers x 20 … 40 only, so
// (30, 20) shows the blend, (10, 20) a destination pixel the source does not reach, and
// (50, 20) a destination pixel on the other side.
void PaintDestination(OpenEditor& editor, const IRgba& colour)
{
  editor->PaintRect(colour, { 0, 0, 60, 40 });
}

// Draws the source shape over x 20 … 40 with each mode and colour case and checks the blend
// where it covers and the destination where it does not.
void ExpectEachModeCompositesOnlyWhereItCovers(
    const std::function<void(OpenEditor&, const IRgba&, const IBlending&)>& drawSource)
{
  for (const Colours& colours : kColourCases)
  {
    for (const EBlend mode : kModes)
    {
      SCOPED_TRACE(testing::Message() << Name(mode) << ", source alpha " << colours.source.A << ", opacity "
                                      << colours.opacity);
      OpenEditor editor(60, 40);
      PaintDestination(editor, colours.destination);
      drawSource(editor, colours.source, IBlending { mode, colours.opacity });
      editor->EndFrame();
      const Premultiplied d = FromColour(colours.destination, 1.0);
      const Premultiplied s = FromColour(colours.source, colours.opacity);
      ExpectNear(editor.At(30, 20), Composite(s, d, mode));
      const Pixel untouched = Composite({ 0, 0, 0, 0 }, d, EBlend::kSrcOver);
      ExpectNear(editor.At(10, 20), untouched);
      ExpectNear(editor.At(50, 20), untouched);
    }
  }
}

TEST(CairoBlend, FillCompositesEachModeAsPorterDuffAndOnlyWhereItCovers)
{
  ExpectEachModeCompositesOnlyWhereItCovers([](OpenEditor& editor, const IRgba& colour, const IBlending& blend)
                                            { editor->PaintRect(colour, { 20, 0, 40, 40 }, &blend); });
}

TEST(CairoBlend, StrokeCompositesEachModeAsPorterDuffAndOnlyWhereItCovers)
{
  ExpectEachModeCompositesOnlyWhereItCovers([](OpenEditor& editor, const IRgba& colour, const IBlending& blend)
                                            { editor->StrokeLine(colour, 30, -5, 30, 45, &blend, 20.0f); });
}

// Opacity scales the colour's alpha as trunc(alpha × opacity), limited to 0 … 255.
TEST(CairoBlend, OpacityScalesAlphaTruncated)
{
  struct Case
  {
    int alpha;
    float opacity;
    int stored;
  };
  const Case cases[] = { { 255, 0.5f, 127 }, { 255, 1.0f, 255 }, { 200, 0.3f, 60 }, { 255, 0.0f, 0 },
                         { 255, 2.0f, 255 }, { 255, -1.0f, 0 },  { 255, NAN, 0 },   { 300, 1.0f, 255 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "alpha " << c.alpha << " at opacity " << c.opacity);
    OpenEditor editor(10, 10);
    const IBlending blend { EBlend::kSrcOver, c.opacity };
    editor->PaintRect({ c.alpha, 255, 255, 255 }, { 0, 0, 10, 10 }, &blend);
    editor->EndFrame();
    EXPECT_EQ(editor.At(5, 5).a, c.stored);
    EXPECT_EQ(editor.At(5, 5).r, c.stored);
  }
}

// Gradients: a left-to-right linear gradient from its pattern transform.
TEST(CairoBlend, LinearGradientRunsAlongItsPatternTransform)
{
  OpenEditor editor(100, 10);
  IFillPattern pattern;
  pattern.type = EPatternType::kLinear;
  pattern.stopCount = 2;
  pattern.stops[0] = { { 255, 0, 0, 0 }, 0.0f };
  pattern.stops[1] = { { 255, 255, 255, 255 }, 1.0f };
  pattern.transform = ITransform2D {}.Scaled(0.01, 1.0); // x 0 … 100 maps to 0 … 1
  editor->PathClear();
  editor->PathMoveTo(0, 0);
  editor->PathLineTo(100, 0);
  editor->PathLineTo(100, 10);
  editor->PathLineTo(0, 10);
  editor->PathClose();
  editor->PathFill(pattern);
  editor->EndFrame();
  for (const int x : { 0, 25, 50, 75, 99 })
  {
    SCOPED_TRACE(x);
    EXPECT_NEAR(editor.At(x, 5).r, (x + 0.5) / 100.0 * 255.0, 2.0);
    EXPECT_EQ(editor.At(x, 5).a, 255);
  }
}

} // namespace
} // namespace kit::ui
