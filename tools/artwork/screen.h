// The recessed display: a dark plate carrying the grid labels, the tinted glass the spectra are
// drawn over, and the SIGNAL / NOISE legend on its left edge. Only the tint follows the look.
#pragma once

#include "tools/artwork/palette.h"

#include <cairo.h>

namespace kit::artwork
{

// Draws the display for one frame; the current font must be Roboto.
void DrawScreen(cairo_t* cr, const Look& look);

} // namespace kit::artwork
