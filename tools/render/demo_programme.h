// The built-in programme ombrix-render dithers when no input is given: about ten seconds in
// which the adaptive dither and the noise shaping can be heard and measured.
#pragma once

#include "tools/render/audio_file.h"

namespace kit::render
{

// Stereo at 48 kHz: a slowly decaying chord, a quiet passage around -60 dBFS, then digital
// silence. The same samples on every machine.
[[nodiscard]] AudioData DemoProgramme();

} // namespace kit::render
