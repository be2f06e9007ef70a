// Paths, strokes and fills of the Cairo backend, with the colours, gradients and blend modes
// they paint with. Cairo keeps the path in device space, mapping each point through the
// matrix in force when it is added, and strokes with the matrix in force when it draws, so a
// transform scales stroke widths and dashes as it scales the shape.
#include "graphics/draw_context_cairo.h"

#include "graphics/draw_context_cairo_state.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kit::ui
{
namespace
{

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

bool Finite(std::initializer_list<double> values) noexcept
{
  return std::all_of(values.begin(), values.end(), [](double value) { return std::isfinite(value); });
}

double ColourComponent(std::int32_t value) noexcept
{
  return double(std::clamp(value, 0, 255)) / 255.0;
}

cairo_extend_t CairoExtend(EPatternExtend extend) noexcept
{
  switch (extend)
  {
  case EPatternExtend::kNone:
    return CAIRO_EXTEND_NONE;
  case EPatternExtend::kReflect:
    return CAIRO_EXTEND_REFLECT;
  case EPatternExtend::kRepeat:
    return CAIRO_EXTEND_REPEAT;
  case EPatternExtend::kPad:
    break;
  }
  return CAIRO_EXTEND_PAD;
}

// A linear gradient runs from (0, 0) to (1, 0) and a radial one from the centre to radius 1 of
// the space the pattern's transform maps drawing coordinates into; Cairo's pattern matrix is
// that same map. A sweep gradient has no Cairo counterpart and no control uses one: it paints
// its first colour. False when the pattern cannot be used (its transform is not invertible).
bool SetGradientSource(cairo_t* context, const IFillPattern& pattern, double opacity) noexcept
{
  if (!pattern.transform.Usable()) return false;
  cairo_pattern_t* gradient = pattern.type == EPatternType::kLinear
                                  ? cairo_pattern_create_linear(0.0, 0.0, 1.0, 0.0)
                                  : cairo_pattern_create_radial(0.0, 0.0, 0.0, 0.0, 0.0, 1.0);
  const int stopCount = std::min(pattern.stopCount, IFillPattern::kMaxStops);
  for (int index = 0; index < stopCount; ++index)
  {
    const IColorStop& stop = pattern.stops[std::size_t(index)];
    const double offset = std::isfinite(stop.offset) ? std::clamp(double(stop.offset), 0.0, 1.0) : 0.0;
    cairo_pattern_add_color_stop_rgba(gradient, offset, ColourComponent(stop.colour.R), ColourComponent(stop.colour.G),
                                      ColourComponent(stop.colour.B), ColourComponent(stop.colour.A) * opacity);
  }
  const ITransform2D& map = pattern.transform;
  const cairo_matrix_t matrix { map.xx, map.yx, map.xy, map.yy, map.tx, map.ty };
  cairo_pattern_set_matrix(gradient, &matrix);
  cairo_pattern_set_extend(gradient, CairoExtend(pattern.extend));
  const bool made = cairo_pattern_status(gradient) == CAIRO_STATUS_SUCCESS;
  if (made) cairo_set_source(context, gradient);
  cairo_pattern_destroy(gradient);
  return made;
}

bool SetPatternSource(cairo_t* context, const IFillPattern& pattern, const IBlending* blend) noexcept
{
  const double opacity = BlendOpacity(blend);
  if (pattern.stopCount >= 2 && (pattern.type == EPatternType::kLinear || pattern.type == EPatternType::kRadial))
    return SetGradientSource(context, pattern, opacity);
  SetSourceColour(context, pattern.stops[0].colour, opacity);
  return true;
}

cairo_line_cap_t CairoCap(ELineCap cap) noexcept
{
  switch (cap)
  {
  case ELineCap::kRound:
    return CAIRO_LINE_CAP_ROUND;
  case ELineCap::kSquare:
    return CAIRO_LINE_CAP_SQUARE;
  case ELineCap::kButt:
    break;
  }
  return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t CairoJoin(ELineJoin join) noexcept
{
  switch (join)
  {
  case ELineJoin::kRound:
    return CAIRO_LINE_JOIN_ROUND;
  case ELineJoin::kBevel:
    return CAIRO_LINE_JOIN_BEVEL;
  case ELineJoin::kMiter:
    break;
  }
  return CAIRO_LINE_JOIN_MITER;
}

// The style's dash lengths, repeated once more when their count is odd so that dashes and gaps
// alternate the same way on every round. A pattern Cairo would refuse (a negative or non-finite
// length or offset, or nothing but zeros), which would stop the context drawing for good,
// strokes solid instead.
void SetDash(cairo_t* context, const IStrokeStyle& style) noexcept
{
  const int count = std::min(style.dashCount, IStrokeStyle::kMaxDashes);
  if (count <= 0)
  {
    cairo_set_dash(context, nullptr, 0, 0.0);
    return;
  }
  std::array<double, 2 * IStrokeStyle::kMaxDashes> lengths {};
  bool anyLength = false;
  for (int index = 0; index < count; ++index)
  {
    const double length = style.dashes[std::size_t(index)];
    if (!(length >= 0.0) || !std::isfinite(length) || !std::isfinite(style.dashOffset))
    {
      cairo_set_dash(context, nullptr, 0, 0.0);
      return;
    }
    anyLength = anyLength || length > 0.0;
    lengths[std::size_t(index)] = length;
    lengths[std::size_t(index + count)] = length;
  }
  if (!anyLength)
  {
    cairo_set_dash(context, nullptr, 0, 0.0);
    return;
  }
  cairo_set_dash(context, lengths.data(), count % 2 == 1 ? 2 * count : count, style.dashOffset);
}

// Draws an unbounded operator only where the stroke covers: the operator's result over a copy
// of the destination, put back through the stroke's own coverage. The path stays.
void StrokeBounded(cairo_t* context) noexcept
{
  cairo_pattern_t* source = cairo_pattern_reference(cairo_get_source(context));
  const cairo_operator_t blendOperator = cairo_get_operator(context);
  cairo_surface_t* destination = cairo_get_group_target(context);
  cairo_matrix_t matrix;
  cairo_get_matrix(context, &matrix);

  cairo_push_group(context);
  cairo_identity_matrix(context);
  cairo_set_source_surface(context, destination, 0.0, 0.0);
  cairo_set_operator(context, CAIRO_OPERATOR_SOURCE);
  cairo_paint(context);
  cairo_set_matrix(context, &matrix);
  cairo_set_source(context, source);
  cairo_set_operator(context, blendOperator);
  cairo_stroke_preserve(context);
  cairo_pattern_t* blended = cairo_pop_group(context);

  cairo_push_group_with_content(context, CAIRO_CONTENT_ALPHA);
  cairo_set_source_rgba(context, 0.0, 0.0, 0.0, 1.0);
  cairo_set_operator(context, CAIRO_OPERATOR_OVER);
  cairo_stroke_preserve(context);
  cairo_pattern_t* coverage = cairo_pop_group(context);

  cairo_set_source(context, blended);
  cairo_set_operator(context, CAIRO_OPERATOR_SOURCE);
  cairo_mask(context, coverage);
  cairo_set_source(context, source);
  cairo_set_operator(context, blendOperator);
  cairo_pattern_destroy(coverage);
  cairo_pattern_destroy(blended);
  cairo_pattern_destroy(source);
}

// The same for a fill: the path as a clip bounds the paint. The path stays.
void FillBounded(cairo_t* context) noexcept
{
  cairo_save(context);
  cairo_clip_preserve(context);
  cairo_paint(context);
  cairo_restore(context);
}

} // namespace

double BlendOpacity(const IBlending* blend) noexcept
{
  if (blend == nullptr) return 1.0;
  if (!std::isfinite(blend->opacity)) return 0.0;
  return std::clamp(double(blend->opacity), 0.0, 1.0);
}

void SetBlendOperator(cairo_t* context, const IBlending* blend) noexcept
{
  cairo_operator_t blendOperator = CAIRO_OPERATOR_OVER;
  if (blend != nullptr)
  {
    switch (blend->mode)
    {
    case EBlend::kSrcIn:
      blendOperator = CAIRO_OPERATOR_IN;
      break;
    case EBlend::kSrcOut:
      blendOperator = CAIRO_OPERATOR_OUT;
      break;
    case EBlend::kSrcAtop:
      blendOperator = CAIRO_OPERATOR_ATOP;
      break;
    case EBlend::kDstOver:
      blendOperator = CAIRO_OPERATOR_DEST_OVER;
      break;
    case EBlend::kDstIn:
      blendOperator = CAIRO_OPERATOR_DEST_IN;
      break;
    case EBlend::kDstOut:
      blendOperator = CAIRO_OPERATOR_DEST_OUT;
      break;
    case EBlend::kDstAtop:
      blendOperator = CAIRO_OPERATOR_DEST_ATOP;
      break;
    case EBlend::kAdd:
      blendOperator = CAIRO_OPERATOR_ADD;
      break;
    case EBlend::kXOR:
      blendOperator = CAIRO_OPERATOR_XOR;
      break;
    case EBlend::kSrcOver:
      break;
    }
  }
  cairo_set_operator(context, blendOperator);
}

bool BlendIsUnbounded(const IBlending* blend) noexcept
{
  if (blend == nullptr) return false;
  return blend->mode == EBlend::kSrcIn || blend->mode == EBlend::kSrcOut || blend->mode == EBlend::kDstIn ||
         blend->mode == EBlend::kDstAtop;
}

void SetSourceColour(cairo_t* context, const IRgba& colour, double opacity) noexcept
{
  const int alpha = std::clamp(int(std::trunc(double(std::clamp(colour.A, 0, 255)) * opacity)), 0, 255);
  cairo_set_source_rgba(context, ColourComponent(colour.R), ColourComponent(colour.G), ColourComponent(colour.B),
                        double(alpha) / 255.0);
}

void IDrawContextCairo::PathClear()
{
  state->pathSpoiled = false;
  if (state->context != nullptr) cairo_new_path(state->context);
}

void IDrawContextCairo::PathClose()
{
  if (state->context != nullptr && state->drawMatrixUsable) cairo_close_path(state->context);
}

void IDrawContextCairo::PathArc(float cx, float cy, float r, float a1, float a2, bool counterClockwise)
{
  cairo_t* context = state->context;
  if (context == nullptr) return;
  if (!state->drawMatrixUsable || !Finite({ cx, cy, r, a1, a2 }) || r < 0.0f)
  {
    state->pathSpoiled = true;
    return;
  }
  double sweep = double(a2) - double(a1);
  if (std::abs(sweep) >= 360.0)
  {
    cairo_new_sub_path(context);
    cairo_arc(context, cx, cy, r, 0.0, 2.0 * std::numbers::pi);
    cairo_close_path(context);
    return;
  }
  if (counterClockwise)
    while (sweep > 0.0) sweep -= 360.0;
  else
    while (sweep < 0.0) sweep += 360.0;
  // 0 degrees points up here and right in Cairo; both grow clockwise on the screen.
  const double start = (double(a1) - 90.0) * kRadiansPerDegree;
  const double end = start + sweep * kRadiansPerDegree;
  if (sweep >= 0.0)
    cairo_arc(context, cx, cy, r, start, end);
  else
    cairo_arc_negative(context, cx, cy, r, start, end);
}

void IDrawContextCairo::PathMoveTo(float x, float y)
{
  cairo_t* context = state->context;
  if (context == nullptr) return;
  if (!state->drawMatrixUsable || !Finite({ x, y }))
  {
    state->pathSpoiled = true;
    return;
  }
  cairo_move_to(context, x, y);
}

void IDrawContextCairo::PathLineTo(float x, float y)
{
  cairo_t* context = state->context;
  if (context == nullptr) return;
  if (!state->drawMatrixUsable || !Finite({ x, y }))
  {
    state->pathSpoiled = true;
    return;
  }
  cairo_line_to(context, x, y);
}

void IDrawContextCairo::PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x2, float y2)
{
  cairo_t* context = state->context;
  if (context == nullptr) return;
  if (!state->drawMatrixUsable || !Finite({ c1x, c1y, c2x, c2y, x2, y2 }))
  {
    state->pathSpoiled = true;
    return;
  }
  // A curve without a start begins at the origin.
  if (!cairo_has_current_point(context)) cairo_move_to(context, 0.0, 0.0);
  cairo_curve_to(context, c1x, c1y, c2x, c2y, x2, y2);
}

void IDrawContextCairo::PathQuadTo(float cx, float cy, float x2, float y2)
{
  cairo_t* context = state->context;
  if (context == nullptr) return;
  if (!state->drawMatrixUsable || !Finite({ cx, cy, x2, y2 }))
  {
    state->pathSpoiled = true;
    return;
  }
  if (!cairo_has_current_point(context)) cairo_move_to(context, 0.0, 0.0);
  double x0 = 0.0;
  double y0 = 0.0;
  cairo_get_current_point(context, &x0, &y0);
  // The quadratic as the cubic with its control points two thirds of the way to the control.
  cairo_curve_to(context, x0 + 2.0 / 3.0 * (cx - x0), y0 + 2.0 / 3.0 * (cy - y0), x2 + 2.0 / 3.0 * (cx - x2),
                 y2 + 2.0 / 3.0 * (cy - y2), x2, y2);
}

void IDrawContextCairo::PathStroke(const IFillPattern& pattern, float thickness, const IStrokeStyle& style,
                                   const IBlending* blend)
{
  cairo_t* context = state->context;
  if (context == nullptr) return;
  const bool drawable = state->drawMatrixUsable && !state->pathSpoiled && std::isfinite(thickness) &&
                        thickness > 0.0f && SetPatternSource(context, pattern, blend);
  if (drawable)
  {
    SetBlendOperator(context, blend);
    cairo_set_line_width(context, thickness);
    cairo_set_line_cap(context, CairoCap(style.cap));
    cairo_set_line_join(context, CairoJoin(style.join));
    cairo_set_miter_limit(context, std::isfinite(style.miterLimit) ? style.miterLimit : IStrokeStyle {}.miterLimit);
    SetDash(context, style);
    if (BlendIsUnbounded(blend))
      StrokeBounded(context);
    else
      cairo_stroke_preserve(context);
  }
  if (!style.preserve) PathClear();
}

void IDrawContextCairo::PathFill(const IFillPattern& pattern, const IFillStyle& style, const IBlending* blend)
{
  cairo_t* context = state->context;
  if (context == nullptr) return;
  const bool drawable = state->drawMatrixUsable && !state->pathSpoiled && SetPatternSource(context, pattern, blend);
  if (drawable)
  {
    SetBlendOperator(context, blend);
    cairo_set_fill_rule(context,
                        style.rule == EFillRule::kEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    if (BlendIsUnbounded(blend))
      FillBounded(context);
    else
      cairo_fill_preserve(context);
  }
  if (!style.preserve) PathClear();
}

} // namespace kit::ui
