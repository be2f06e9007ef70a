// Text in the Cairo backend. A text style's size is the distance from the font's ascender to
// its descender, so the em size is size × unitsPerEm / (ascender − descender) with the font's
// own values, and a line of that size fits its bounds exactly. Glyphs are placed from Cairo's
// unhinted advances, so measuring agrees with drawing at every scale.
#include "graphics/draw_context_cairo.h"

#include "graphics/draw_context_cairo_state.h"
#include "graphics/typeface_cache.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace kit::ui
{
namespace
{

struct ScaledFontRelease
{
  void operator()(cairo_scaled_font_t* font) const noexcept { cairo_scaled_font_destroy(font); }
};
struct FontOptionsRelease
{
  void operator()(cairo_font_options_t* options) const noexcept { cairo_font_options_destroy(options); }
};
struct GlyphsRelease
{
  void operator()(cairo_glyph_t* glyphs) const noexcept { cairo_glyph_free(glyphs); }
};

// Slight hinting keeps stems crisp without moving glyphs; unhinted metrics keep advances
// independent of the scale. Grey antialiasing: the frame buffer has no fixed subpixel order.
std::unique_ptr<cairo_font_options_t, FontOptionsRelease> TextOptions()
{
  std::unique_ptr<cairo_font_options_t, FontOptionsRelease> options(cairo_font_options_create());
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  return options;
}

// A line of text ready to draw: its glyphs placed at the baseline origin (x, y), and its box.
struct PreparedText
{
  cairo_font_face_t* fontFace = nullptr;
  double fontSize = 0.0;
  std::unique_ptr<cairo_glyph_t, GlyphsRelease> glyphs;
  int glyphCount = 0;
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double ascent = 0.0; // negative: above the baseline
  double size = 0.0;   // the style's size, ascent to descent
};

bool PrepareText(const ITextStyle& style, std::string_view text, const IBounds& bounds, PreparedText& prepared)
{
  Typeface typeface;
  if (!FindTypeface(style.Font(), typeface) || !typeface.complete) return false;
  const double lineUnits = double(typeface.ascender) - double(typeface.descender);
  const double fontSize = double(style.size) * double(typeface.unitsPerEm) / lineUnits;
  if (!(fontSize > 0.0) || !std::isfinite(fontSize)) return false;
  const double ascent = -double(typeface.ascender) * fontSize / double(typeface.unitsPerEm);
  const double descent = -double(typeface.descender) * fontSize / double(typeface.unitsPerEm);

  cairo_matrix_t fontMatrix;
  cairo_matrix_init_scale(&fontMatrix, fontSize, fontSize);
  cairo_matrix_t identity;
  cairo_matrix_init_identity(&identity);
  const auto options = TextOptions();
  const std::unique_ptr<cairo_scaled_font_t, ScaledFontRelease> font(
      cairo_scaled_font_create(typeface.fontFace, &fontMatrix, &identity, options.get()));
  if (cairo_scaled_font_status(font.get()) != CAIRO_STATUS_SUCCESS) return false;

  // Text that is not UTF-8 is refused here rather than by the drawing context, which would
  // stop drawing for good.
  cairo_glyph_t* glyphs = nullptr;
  int glyphCount = 0;
  if (cairo_scaled_font_text_to_glyphs(font.get(), 0.0, 0.0, text.data(), int(text.size()), &glyphs, &glyphCount,
                                       nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS)
    return false;
  prepared.glyphs.reset(glyphs);
  prepared.glyphCount = glyphCount;
  cairo_text_extents_t extents;
  cairo_scaled_font_glyph_extents(font.get(), glyphs, glyphCount, &extents);
  const double width = extents.x_advance;
  const double size = style.size;

  double x = bounds.left;
  if (style.align == EAlign::kCenter) x = bounds.MidX() - width / 2.0;
  if (style.align == EAlign::kFar) x = bounds.right - width;
  double y = bounds.top - ascent;
  if (style.valign == EVAlign::kMiddle) y = bounds.MidY() - descent + size / 2.0;
  if (style.valign == EVAlign::kBottom) y = bounds.bottom - descent;

  prepared.fontFace = typeface.fontFace;
  prepared.fontSize = fontSize;
  prepared.x = x;
  prepared.y = y;
  prepared.width = width;
  prepared.ascent = ascent;
  prepared.size = size;
  return std::isfinite(x) && std::isfinite(y);
}

IBounds BoxOf(const PreparedText& text)
{
  return { float(text.x), float(text.y + text.ascent), float(text.x + text.width),
           float(text.y + text.ascent + text.size) };
}

// The box around the prepared box turned by the style's angle about the origin, and the move
// that places it in the caller's bounds as the alignment asks.
struct RotatedPlacement
{
  IBounds box;
  double dx = 0.0;
  double dy = 0.0;
};

RotatedPlacement PlaceRotated(const PreparedText& text, const ITextStyle& style, const IBounds& bounds)
{
  const double radians = double(style.angle) * std::numbers::pi / 180.0;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const IBounds box = BoxOf(text);
  const double xs[] = { box.left, box.right, box.right, box.left };
  const double ys[] = { box.top, box.top, box.bottom, box.bottom };
  double left = INFINITY;
  double top = INFINITY;
  double right = -INFINITY;
  double bottom = -INFINITY;
  for (int corner = 0; corner < 4; ++corner)
  {
    const double x = c * xs[corner] - s * ys[corner];
    const double y = s * xs[corner] + c * ys[corner];
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  RotatedPlacement placement;
  placement.dx = bounds.left - left;
  if (style.align == EAlign::kCenter) placement.dx = double(bounds.MidX()) - (left + right) / 2.0;
  if (style.align == EAlign::kFar) placement.dx = bounds.right - right;
  placement.dy = bounds.top - top;
  if (style.valign == EVAlign::kMiddle) placement.dy = double(bounds.MidY()) - (top + bottom) / 2.0;
  if (style.valign == EVAlign::kBottom) placement.dy = bounds.bottom - bottom;
  placement.box = { float(left + placement.dx), float(top + placement.dy), float(right + placement.dx),
                    float(bottom + placement.dy) };
  return placement;
}

} // namespace

bool IDrawContextCairo::MakeBackendFont(std::string_view fontId, std::string_view fileName)
{
  return AddTypeface(fontId, fileName);
}

float IDrawContextCairo::DoMeasureText(const ITextStyle& style, std::string_view text, IBounds& bounds)
{
  PreparedText prepared;
  if (!std::isfinite(style.angle) || !PrepareText(style, text, bounds, prepared))
  {
    bounds = {};
    return 0.0f;
  }
  bounds = style.angle == 0.0f ? BoxOf(prepared) : PlaceRotated(prepared, style, bounds).box;
  return bounds.W();
}

void IDrawContextCairo::DoDrawText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                                   const IBlending* blend)
{
  cairo_t* context = state->context;
  PreparedText prepared;
  if (context == nullptr || !state->drawMatrixUsable || !std::isfinite(style.angle) ||
      !PrepareText(style, text, bounds, prepared))
    return;
  cairo_save(context);
  if (style.angle != 0.0f)
  {
    const RotatedPlacement placement = PlaceRotated(prepared, style, bounds);
    if (!std::isfinite(placement.dx) || !std::isfinite(placement.dy))
    {
      cairo_restore(context);
      return;
    }
    cairo_translate(context, placement.dx, placement.dy);
    cairo_rotate(context, double(style.angle) * std::numbers::pi / 180.0);
  }
  cairo_set_font_face(context, prepared.fontFace);
  cairo_set_font_size(context, prepared.fontSize);
  cairo_set_font_options(context, TextOptions().get());
  // The text's own colour at the blending's opacity; its mode is not applied to text.
  SetSourceColour(context, style.colour, BlendOpacity(blend));
  cairo_set_operator(context, CAIRO_OPERATOR_OVER);
  cairo_glyph_t* glyphs = prepared.glyphs.get();
  for (int index = 0; index < prepared.glyphCount; ++index)
  {
    glyphs[index].x += prepared.x;
    glyphs[index].y += prepared.y;
  }
  cairo_show_glyphs(context, glyphs, prepared.glyphCount);
  cairo_restore(context);
}

} // namespace kit::ui
