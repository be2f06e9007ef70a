// The two indicator lamps printed in the background, lit in the look's colour, and the small
// cover the editor lays over the graph lamp while the graph is switched off.
#pragma once

#include "tools/artwork/palette.h"

#include <cairo.h>

namespace kit::artwork
{

// The dither lamp (with a halo spilling onto the plate) and the graph lamp (whose glow stays
// inside its socket, so the 8 x 8 point cover hides all of it).
void DrawLamps(cairo_t* cr, const Look& look);

// One 8 x 8 point cover at the origin: the socket's colour with the four corner points cut
// away, so that over a lamp it reads as the same socket, unlit.
void DrawLampCover(cairo_t* cr);

} // namespace kit::artwork
