// How ombrix-host prints a parameter change: the parameter's name and the plug-in's own text
// for the value, through its params extension. Main thread.
#pragma once

#include "binding/clap_abi.h"
#include "tools/ombrix-host/audio_block.h"

#include <string>

namespace kit::live
{

// "Target Bits: 20". The id stands for an unknown name and the number for a value the
// plug-in has no text for.
[[nodiscard]] std::string ParamChangeText(const clap_plugin& plugin, const clap_plugin_params* params,
                                          const ParamChange& change);

} // namespace kit::live
