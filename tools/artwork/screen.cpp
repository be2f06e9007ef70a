#include "tools/artwork/screen.h"

#include "tools/artwork/canvas.h"
#include "tools/artwork/text.h"

#include <initializer_list>
#include <numbers>

namespace kit::artwork
{
namespace
{

// The plate reaches above the screen far enough to hold the grid's frequency labels
// (14 points above the screen's top edge) and left far enough for the legend.
constexpr Rect kPlate { 54, 56, 446, 357 };

void DrawPlate(cairo_t* cr)
{
  // Recessed: a lit lip below, a shadowed wall above.
  AddRoundedRect(cr, { kPlate.left, kPlate.top + 1, kPlate.right, kPlate.bottom + 1 }, 9);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.09);
  cairo_fill(cr);
  AddRoundedRect(cr, kPlate, 9);
  cairo_pattern_t* floor = cairo_pattern_create_linear(0, kPlate.top, 0, kPlate.bottom);
  AddStop(floor, 0, { 0.030, 0.030, 0.034 });
  AddStop(floor, 0.08, { 0.058, 0.058, 0.063 });
  AddStop(floor, 1, { 0.072, 0.072, 0.078 });
  cairo_set_source(cr, floor);
  cairo_fill(cr);
  cairo_pattern_destroy(floor);
}

void DrawGlass(cairo_t* cr, const Look& look)
{
  const Rect s = kScreen;
  const double centreX = (s.left + s.right) / 2;
  const double centreY = (s.top + s.bottom) / 2;

  // A dark bezel line just outside the glass, then the glass with its tint fading to a vignette.
  cairo_rectangle(cr, s.left - 2, s.top - 2, s.right - s.left + 4, s.bottom - s.top + 4);
  cairo_set_source_rgb(cr, 0.012, 0.012, 0.014);
  cairo_fill(cr);

  cairo_save(cr);
  cairo_rectangle(cr, s.left, s.top, s.right - s.left, s.bottom - s.top);
  cairo_clip(cr);
  cairo_translate(cr, centreX, centreY);
  cairo_scale(cr, (s.right - s.left) / (s.bottom - s.top), 1);
  cairo_pattern_t* tint = cairo_pattern_create_radial(0, 0, 0, 0, 0, (s.bottom - s.top) * 0.78);
  AddStop(tint, 0, look.screenCentre);
  AddStop(tint, 0.55,
          { (look.screenCentre.red + look.screenEdge.red) / 2, (look.screenCentre.green + look.screenEdge.green) / 2,
            (look.screenCentre.blue + look.screenEdge.blue) / 2 });
  AddStop(tint, 1, look.screenEdge);
  cairo_set_source(cr, tint);
  cairo_paint(cr);
  cairo_pattern_destroy(tint);
  cairo_restore(cr);

  cairo_save(cr);
  cairo_rectangle(cr, s.left, s.top, s.right - s.left, s.bottom - s.top);
  cairo_clip(cr);
  // Inner shadow where the glass meets the bezel, deepest along the top.
  cairo_pattern_t* topShadow = cairo_pattern_create_linear(0, s.top, 0, s.top + 10);
  cairo_pattern_add_color_stop_rgba(topShadow, 0, 0, 0, 0, 0.55);
  cairo_pattern_add_color_stop_rgba(topShadow, 1, 0, 0, 0, 0);
  cairo_set_source(cr, topShadow);
  cairo_paint(cr);
  cairo_pattern_destroy(topShadow);
  for (const double edge : { s.left, s.right })
  {
    cairo_pattern_t* sideShadow = cairo_pattern_create_linear(edge, 0, edge + (edge == s.left ? 6 : -6), 0);
    cairo_pattern_add_color_stop_rgba(sideShadow, 0, 0, 0, 0, 0.35);
    cairo_pattern_add_color_stop_rgba(sideShadow, 1, 0, 0, 0, 0);
    cairo_set_source(cr, sideShadow);
    cairo_paint(cr);
    cairo_pattern_destroy(sideShadow);
  }
  // A faint reflection across the upper left of the glass.
  cairo_move_to(cr, s.left, s.top);
  cairo_line_to(cr, s.left + 230, s.top);
  cairo_line_to(cr, s.left + 90, s.bottom);
  cairo_line_to(cr, s.left, s.bottom);
  cairo_close_path(cr);
  cairo_pattern_t* reflection = cairo_pattern_create_linear(s.left, s.top, s.left + 160, s.bottom);
  cairo_pattern_add_color_stop_rgba(reflection, 0, 1, 1, 1, 0.045);
  cairo_pattern_add_color_stop_rgba(reflection, 1, 1, 1, 1, 0);
  cairo_set_source(cr, reflection);
  cairo_fill(cr);
  cairo_pattern_destroy(reflection);
  cairo_restore(cr);
}

// Each half of the screen is named on the plate beside it, reading upwards: the mirrored signal
// spectrum fills the upper half in light lines, the noise rises in the lower half in darker ones.
void DrawLegend(cairo_t* cr)
{
  const double x = kScreen.left - 11;
  const double middle = (kScreen.top + kScreen.bottom) / 2;
  struct Entry
  {
    const char* text;
    double top;
    double bottom;
    Rgb ink;
  };
  const Entry entries[] = { { "SIGNAL", kScreen.top + 6, middle - 4, { 0.90, 0.90, 0.92 } },
                            { "NOISE", middle + 4, kScreen.bottom - 6, { 0.42, 0.50, 0.54 } } };
  for (const Entry& entry : entries)
  {
    const double centreY = (entry.top + entry.bottom) / 2;
    cairo_save(cr);
    cairo_translate(cr, x, centreY);
    cairo_rotate(cr, -std::numbers::pi / 2);
    PrintLabel(cr, { entry.text, 0, 2.5, 7, 1.6, Align::Centre }, entry.ink);
    cairo_restore(cr);
    // A hairline marks the extent of the half the name belongs to.
    SetSource(cr, entry.ink, 0.35);
    cairo_set_line_width(cr, 1);
    for (const double y : { entry.top, entry.bottom })
    {
      cairo_move_to(cr, x - 3, y + (y == entry.top ? 0.5 : -0.5));
      cairo_line_to(cr, x + 3, y + (y == entry.top ? 0.5 : -0.5));
    }
    cairo_move_to(cr, x + 0.5, entry.top);
    cairo_line_to(cr, x + 0.5, centreY - 22);
    cairo_move_to(cr, x + 0.5, centreY + 22);
    cairo_line_to(cr, x + 0.5, entry.bottom);
    cairo_stroke(cr);
  }
}

} // namespace

void DrawScreen(cairo_t* cr, const Look& look)
{
  DrawPlate(cr);
  DrawGlass(cr, look);
  DrawLegend(cr);
}

} // namespace kit::artwork
