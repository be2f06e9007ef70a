#include "tools/artwork/panel.h"

#include "tools/artwork/canvas.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/text.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace kit::artwork
{
namespace
{

// An integer hash (two multiply-xorshift rounds) stands in for random numbers: the brushing
// looks irregular but is the same on every run and in both frames.
double Noise(std::uint32_t n)
{
  n ^= n >> 16;
  n *= 0x7feb352dU;
  n ^= n >> 15;
  n *= 0x846ca68bU;
  n ^= n >> 16;
  return n / 4294967296.0;
}

void DrawGround(cairo_t* cr)
{
  cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, 0, kFrameHeight);
  AddStop(shade, 0, { 0.215, 0.215, 0.228 });
  AddStop(shade, 0.55, { 0.165, 0.165, 0.176 });
  AddStop(shade, 1, { 0.118, 0.118, 0.128 });
  cairo_set_source(cr, shade);
  cairo_paint(cr);
  cairo_pattern_destroy(shade);

  // Brushing: every point row a little lighter or darker, then long thin streaks across.
  for (int row = 0; row < kFrameHeight; ++row)
  {
    const double grain = Noise(std::uint32_t(row)) - 0.5;
    const double tone = grain > 0 ? 1 : 0;
    cairo_set_source_rgba(cr, tone, tone, tone, 0.05 * std::abs(grain));
    cairo_rectangle(cr, 0, row, kFrameWidth, 1);
    cairo_fill(cr);
  }
  cairo_set_line_width(cr, 0.5);
  for (std::uint32_t streak = 0; streak < 900; ++streak)
  {
    const double y = 0.25 * double(int(Noise(streak * 4 + 1000) * kFrameHeight * 4)) + 0.25;
    const double x = Noise(streak * 4 + 1001) * (kFrameWidth + 120) - 120;
    const double length = 40 + Noise(streak * 4 + 1002) * 260;
    const bool light = Noise(streak * 4 + 1003) > 0.45;
    const double tone = light ? 1 : 0;
    cairo_set_source_rgba(cr, tone, tone, tone, light ? 0.035 : 0.06);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + length, y);
    cairo_stroke(cr);
  }

  // Light falls from above: a broad soft sheen over the upper half.
  cairo_pattern_t* sheen = cairo_pattern_create_radial(250, -160, 40, 250, -160, 560);
  cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, 0.10);
  cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0);
  cairo_set_source(cr, sheen);
  cairo_paint(cr);
  cairo_pattern_destroy(sheen);

  // Bevelled plate edge: lit top and left, shaded bottom and right.
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
  cairo_move_to(cr, 0.5, kFrameHeight - 0.5);
  cairo_line_to(cr, 0.5, 0.5);
  cairo_line_to(cr, kFrameWidth - 0.5, 0.5);
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_move_to(cr, kFrameWidth - 0.5, 0.5);
  cairo_line_to(cr, kFrameWidth - 0.5, kFrameHeight - 0.5);
  cairo_line_to(cr, 0.5, kFrameHeight - 0.5);
  cairo_stroke(cr);
}

// A milled groove: a dark cut with its lower lip catching the light.
void DrawGroove(cairo_t* cr, double left, double right, double y)
{
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_move_to(cr, left, y + 0.5);
  cairo_line_to(cr, right, y + 0.5);
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.07);
  cairo_move_to(cr, left, y + 1.5);
  cairo_line_to(cr, right, y + 1.5);
  cairo_stroke(cr);
}

// A slot pressed into the plate: dark floor, shadowed upper wall, lit lower lip.
void DrawRecess(cairo_t* cr, Rect r, double radius)
{
  AddRoundedRect(cr, { r.left, r.top + 0.5, r.right, r.bottom + 0.5 }, radius);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
  cairo_fill(cr);
  AddRoundedRect(cr, r, radius);
  cairo_pattern_t* floor = cairo_pattern_create_linear(0, r.top, 0, r.bottom);
  AddStop(floor, 0, { 0.020, 0.020, 0.022 });
  AddStop(floor, 1, { 0.060, 0.058, 0.062 });
  cairo_set_source(cr, floor);
  cairo_fill(cr);
  cairo_pattern_destroy(floor);
}

void PrintNames(cairo_t* cr)
{
  PrintLabel(cr, { "OMBRIX", 28, 40, 23, 7, Align::Left }, { 0.90, 0.90, 0.91 });
  PrintLabel(cr, { "MASTERING DITHER", 472, 39.5, 8, 2.2, Align::Right }, { 0.60, 0.60, 0.63 });
  PrintLabel(cr, { "Felgard", 28, 500, 11, 0.6, Align::Left }, { 0.55, 0.55, 0.58 });
}

void PrintControlLabels(cairo_t* cr)
{
  const double centreMeter = (kMeter.left + kMeter.right) / 2;
  PrintLabel(cr, { "ADAPTIVE ADJUSTMENT", centreMeter, kStripLabelBaseline, 7, 1.1, Align::Centre }, kLabelInk);
  PrintLabel(cr, { "DITHER", kDitherLamp.x, kStripLabelBaseline, 7, 0.9, Align::Centre }, kLabelInk);
  PrintLabel(cr, { "GRAPH", kGraphLamp.x, kStripLabelBaseline, 7, 0.9, Align::Centre }, kLabelInk);
  PrintLabel(cr, { "POWER", kPowerKnob.x, 402, 7, 1.1, Align::Centre }, kLabelInk);
  PrintLabel(cr, { "BITS", kBitsKnob.x, 402, 7, 1.1, Align::Centre }, kLabelInk);
  // The ends of each knob's range, beside the longer end ticks of its scale.
  constexpr Rgb endInk { 0.62, 0.62, 0.65 };
  PrintLabel(cr, { "OFF", kPowerKnob.x - 17, 450, 5.5, 0.4, Align::Centre }, endInk);
  PrintLabel(cr, { "12", kPowerKnob.x + 17, 450, 5.5, 0.4, Align::Centre }, endInk);
  PrintLabel(cr, { "6", kBitsKnob.x - 17, 450, 5.5, 0.4, Align::Centre }, endInk);
  PrintLabel(cr, { "32", kBitsKnob.x + 17, 450, 5.5, 0.4, Align::Centre }, endInk);
}

} // namespace

void DrawPanel(cairo_t* cr)
{
  DrawGround(cr);
  DrawGroove(cr, 20, kFrameWidth - 20, 380);
  DrawGroove(cr, 20, kFrameWidth - 20, 483);
  // The meter bar's rows span kMeter with round ends; the slot leaves a small margin around it.
  DrawRecess(cr, { kMeter.left - 2, kMeter.top - 1.5, kMeter.right + 2, kMeter.bottom + 1.5 }, 5);
  // Caption text is 12 points tall, taller than the caption rectangles, so the slots are wider and taller.
  for (const Rect caption : { kPowerCaption, kBitsCaption })
  {
    const double centreX = (caption.left + caption.right) / 2;
    const double centreY = (caption.top + caption.bottom) / 2;
    DrawRecess(cr, { centreX - 15, centreY - 7.5, centreX + 15, centreY + 7.5 }, 3);
  }
  PrintNames(cr);
  PrintControlLabels(cr);
}

} // namespace kit::artwork
