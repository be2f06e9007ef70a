// The brushed front plate with what is printed on it or pressed into it: the product and maker
// names, the control labels, the meter slot and the caption slots. The same in both looks.
#pragma once

#include <cairo.h>

namespace kit::artwork
{

// Draws one 500 x 525 point frame's plate; the current font must be Roboto.
void DrawPanel(cairo_t* cr);

} // namespace kit::artwork
