// Runs audio through the real plug-in as a host would: settings flushed before activation,
// 64-bit blocks on a processing plug-in, main-thread idle between blocks.
#pragma once

#include "tools/render/audio_source.h"
#include "tools/render/render_options.h"

#include <functional>
#include <string>

namespace kit::render
{

// Takes each rendered block: interleaved input and output of frames frames. False with a
// reason stops the run.
using BlockSink =
    std::function<bool(const double* input, const double* output, std::int64_t frames, std::string& error)>;

// Dithers everything source holds, block by block, into sink. False with a one-line reason
// when the plug-in cannot be loaded, refuses the sample rate, fails a block, the source
// cannot be read, or the sink stops.
[[nodiscard]] bool RenderThroughPlugin(const std::string& pluginPath, const RenderOptions& options, AudioSource& source,
                                       const BlockSink& sink, std::string& error);

} // namespace kit::render
