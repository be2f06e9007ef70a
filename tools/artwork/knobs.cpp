#include "tools/artwork/knobs.h"

#include "tools/artwork/palette.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace kit::artwork
{
namespace
{

constexpr double kSkirtRadius = 14.5;
constexpr double kCapRadius = 12;
// The pointer sweeps from -130 to +130 degrees about upright; the scale covers the same arc.
constexpr double kSweepDegrees = 130;
constexpr int kTicks = 11;
constexpr double kLineSize = 31;

double Radians(double degrees)
{
  return degrees * std::numbers::pi / 180;
}

void FillCircle(cairo_t* cr, Point centre, double radius)
{
  cairo_new_sub_path(cr);
  cairo_arc(cr, centre.x, centre.y, radius, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

void DrawScale(cairo_t* cr, Point c)
{
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int tick = 0; tick < kTicks; ++tick)
  {
    const double angle = Radians(-kSweepDegrees + 2 * kSweepDegrees * tick / (kTicks - 1));
    const bool end = tick == 0 || tick == kTicks - 1;
    const double inner = 17.5;
    const double outer = end ? 21 : 19.5;
    const double dx = std::sin(angle);
    const double dy = -std::cos(angle);
    cairo_set_line_width(cr, end ? 1.1 : 0.8);
    SetSource(cr, kLabelInk, end ? 0.85 : 0.55);
    cairo_move_to(cr, c.x + dx * inner, c.y + dy * inner);
    cairo_line_to(cr, c.x + dx * outer, c.y + dy * outer);
    cairo_stroke(cr);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void DrawBody(cairo_t* cr, Point c)
{
  // Soft contact shadow, offset downwards as the light comes from above.
  cairo_pattern_t* shadow = cairo_pattern_create_radial(c.x, c.y + 1.5, kSkirtRadius - 2, c.x, c.y + 1.5, 18);
  cairo_pattern_add_color_stop_rgba(shadow, 0, 0, 0, 0, 0.65);
  cairo_pattern_add_color_stop_rgba(shadow, 1, 0, 0, 0, 0);
  cairo_set_source(cr, shadow);
  FillCircle(cr, { c.x, c.y + 1.5 }, 18);
  cairo_pattern_destroy(shadow);

  // Skirt: brushed metal lit from the upper left, with fine knurling around it.
  cairo_pattern_t* skirt =
      cairo_pattern_create_linear(c.x - kSkirtRadius, c.y - kSkirtRadius, c.x + kSkirtRadius, c.y + kSkirtRadius);
  AddStop(skirt, 0, { 0.50, 0.50, 0.53 });
  AddStop(skirt, 0.5, { 0.24, 0.24, 0.26 });
  AddStop(skirt, 1, { 0.07, 0.07, 0.08 });
  cairo_set_source(cr, skirt);
  FillCircle(cr, c, kSkirtRadius);
  cairo_pattern_destroy(skirt);
  cairo_set_line_width(cr, 0.6);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.30);
  for (int ridge = 0; ridge < 48; ++ridge)
  {
    const double angle = 2 * std::numbers::pi * ridge / 48;
    cairo_move_to(cr, c.x + std::cos(angle) * (kCapRadius + 0.6), c.y + std::sin(angle) * (kCapRadius + 0.6));
    cairo_line_to(cr, c.x + std::cos(angle) * (kSkirtRadius - 0.4), c.y + std::sin(angle) * (kSkirtRadius - 0.4));
  }
  cairo_stroke(cr);
  cairo_set_line_width(cr, 0.8);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
  cairo_arc(cr, c.x, c.y, kSkirtRadius - 0.4, 0, 2 * std::numbers::pi);
  cairo_stroke(cr);

  // Cap: a dished face, darker towards the lower right, with a lit upper rim.
  cairo_pattern_t* cap = cairo_pattern_create_radial(c.x - 3, c.y - 4, 1, c.x, c.y, kCapRadius + 4);
  AddStop(cap, 0, { 0.31, 0.31, 0.33 });
  AddStop(cap, 1, { 0.10, 0.10, 0.11 });
  cairo_set_source(cr, cap);
  FillCircle(cr, c, kCapRadius);
  cairo_pattern_destroy(cap);
  cairo_set_line_width(cr, 0.7);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
  cairo_arc(cr, c.x, c.y, kCapRadius - 0.35, Radians(-200), Radians(-20));
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_arc(cr, c.x, c.y, kCapRadius - 0.35, Radians(-20), Radians(160));
  cairo_stroke(cr);
}

} // namespace

void DrawKnobBodies(cairo_t* cr)
{
  for (const Point centre : { kPowerKnob, kBitsKnob })
  {
    DrawScale(cr, centre);
    DrawBody(cr, centre);
  }
}

void DrawKnobLine(cairo_t* cr)
{
  const double centre = kLineSize / 2;
  const double tip = 4.5;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  // A dark edge keeps the line readable where it crosses the lit part of the cap.
  cairo_set_line_width(cr, 2.6);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_move_to(cr, centre, centre);
  cairo_line_to(cr, centre, tip);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1.4);
  cairo_set_source_rgb(cr, 0.96, 0.96, 0.97);
  cairo_move_to(cr, centre, centre);
  cairo_line_to(cr, centre, tip);
  cairo_stroke(cr);
}

} // namespace kit::artwork
