// The artwork's colours and where things sit on the 500 x 525 point panel. The rectangles are
// the editor's control rectangles, so the printed parts land under the controls drawn on top.
#pragma once

#include <cairo.h>

namespace kit::artwork
{

struct Rgb
{
  double red;
  double green;
  double blue;
};

struct Point
{
  double x;
  double y;
};

struct Rect
{
  double left;
  double top;
  double right;
  double bottom;
};

// The colours that change with the dither switch: the tint of the screen and the lamps.
struct Look
{
  Rgb screenCentre;
  Rgb screenEdge;
  Rgb lampHot;
  Rgb lampCore;
  Rgb lampEdge;
};

inline constexpr Look kDitherOffLook {
  { 0.215, 0.062, 0.066 }, { 0.070, 0.018, 0.022 }, { 1.0, 0.80, 0.72 }, { 0.96, 0.16, 0.12 }, { 0.45, 0.03, 0.03 }
};
inline constexpr Look kDitherOnLook {
  { 0.062, 0.190, 0.105 }, { 0.016, 0.062, 0.034 }, { 0.82, 1.0, 0.78 }, { 0.18, 0.92, 0.32 }, { 0.03, 0.38, 0.10 }
};

inline constexpr int kFrameWidth = 500;
inline constexpr int kFrameHeight = 525;

inline constexpr Rect kScreen { 86, 80, 434, 345 };
inline constexpr Rect kMeter { 50, 462, 162, 469 };
inline constexpr Rect kPowerCaption { 350, 460, 370, 470 };
inline constexpr Rect kBitsCaption { 417, 460, 437, 470 };
inline constexpr Point kDitherLamp { 197.5, 466 };
inline constexpr Point kGraphLamp { 244, 466 };
inline constexpr Point kPowerKnob { 360.5, 429.5 };
inline constexpr Point kBitsKnob { 427.5, 429.5 };
// Printed labels of the control strip share one baseline above the lamps and the meter.
inline constexpr double kStripLabelBaseline = 455;

// The lamp cover's flat colour; the lamp sockets use it too, so a covered lamp reads as unlit.
inline constexpr Rgb kCoverColour { 0x23 / 255.0, 0x1F / 255.0, 0x20 / 255.0 };
inline constexpr Rgb kLabelInk { 0.80, 0.80, 0.82 };

inline void SetSource(cairo_t* cr, Rgb colour, double alpha = 1.0)
{
  cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, alpha);
}

inline void AddStop(cairo_pattern_t* pattern, double offset, Rgb colour, double alpha = 1.0)
{
  cairo_pattern_add_color_stop_rgba(pattern, offset, colour.red, colour.green, colour.blue, alpha);
}

} // namespace kit::artwork
