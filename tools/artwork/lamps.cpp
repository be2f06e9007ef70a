#include "tools/artwork/lamps.h"

#include <numbers>

namespace kit::artwork
{
namespace
{

constexpr double kBezelRadius = 6.75;
// Covers the cover's corners (5 points from the centre once the corner points are cut away).
constexpr double kSocketRadius = 5.5;
constexpr double kLensRadius = 3.6;
// The cover reaches 4 points from the centre along the axes; the graph lamp's glow stays within.
constexpr double kCoveredGlowRadius = 4;

void FillCircle(cairo_t* cr, Point centre, double radius)
{
  cairo_new_sub_path(cr);
  cairo_arc(cr, centre.x, centre.y, radius, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

void DrawLamp(cairo_t* cr, Point c, const Look& look, bool halo)
{
  if (halo)
  {
    cairo_pattern_t* spill = cairo_pattern_create_radial(c.x, c.y, kBezelRadius - 1, c.x, c.y, 16);
    AddStop(spill, 0, look.lampCore, 0.30);
    AddStop(spill, 0.4, look.lampCore, 0.10);
    AddStop(spill, 1, look.lampCore, 0);
    cairo_set_source(cr, spill);
    FillCircle(cr, c, 16);
    cairo_pattern_destroy(spill);
  }

  // A turned metal bezel, lit from the upper left.
  cairo_pattern_t* bezel =
      cairo_pattern_create_linear(c.x - kBezelRadius, c.y - kBezelRadius, c.x + kBezelRadius, c.y + kBezelRadius);
  AddStop(bezel, 0, { 0.55, 0.55, 0.58 });
  AddStop(bezel, 0.5, { 0.26, 0.26, 0.28 });
  AddStop(bezel, 1, { 0.08, 0.08, 0.09 });
  cairo_set_source(cr, bezel);
  FillCircle(cr, c, kBezelRadius);
  cairo_pattern_destroy(bezel);
  SetSource(cr, kCoverColour);
  FillCircle(cr, c, kSocketRadius);

  const double glowRadius = halo ? kSocketRadius : kCoveredGlowRadius;
  cairo_pattern_t* glow = cairo_pattern_create_radial(c.x, c.y, kLensRadius - 0.5, c.x, c.y, glowRadius);
  AddStop(glow, 0, look.lampCore, 0.55);
  AddStop(glow, 1, look.lampCore, 0);
  cairo_set_source(cr, glow);
  FillCircle(cr, c, glowRadius);
  cairo_pattern_destroy(glow);

  // The lens: white-hot middle, saturated body, darker rim, and one specular glint.
  cairo_pattern_t* lens = cairo_pattern_create_radial(c.x - 0.6, c.y - 0.7, 0, c.x, c.y, kLensRadius);
  AddStop(lens, 0, look.lampHot);
  AddStop(lens, 0.45, look.lampCore);
  AddStop(lens, 1, look.lampEdge);
  cairo_set_source(cr, lens);
  FillCircle(cr, c, kLensRadius);
  cairo_pattern_destroy(lens);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
  FillCircle(cr, { c.x - 1.2, c.y - 1.3 }, 0.8);
}

} // namespace

void DrawLamps(cairo_t* cr, const Look& look)
{
  DrawLamp(cr, kDitherLamp, look, true);
  DrawLamp(cr, kGraphLamp, look, false);
}

void DrawLampCover(cairo_t* cr)
{
  // Whole points without antialiasing: the cut corners are exactly one point square at any scale.
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  SetSource(cr, kCoverColour);
  cairo_move_to(cr, 1, 0);
  cairo_line_to(cr, 7, 0);
  cairo_line_to(cr, 7, 1);
  cairo_line_to(cr, 8, 1);
  cairo_line_to(cr, 8, 7);
  cairo_line_to(cr, 7, 7);
  cairo_line_to(cr, 7, 8);
  cairo_line_to(cr, 1, 8);
  cairo_line_to(cr, 1, 7);
  cairo_line_to(cr, 0, 7);
  cairo_line_to(cr, 0, 1);
  cairo_line_to(cr, 1, 1);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_restore(cr);
}

} // namespace kit::artwork
