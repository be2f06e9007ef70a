// The two knob bodies printed in the background with their scales, and the pointer line the
// editor rotates over them (about the centre of its 31 x 31 point picture).
#pragma once

#include <cairo.h>

namespace kit::artwork
{

// Both knob bodies with their tick scales; the same in both looks.
void DrawKnobBodies(cairo_t* cr);

// One 31 x 31 point pointer picture at the origin: a line from the centre upwards.
void DrawKnobLine(cairo_t* cr);

} // namespace kit::artwork
