// Runs audio through the real plug-in as a host would: settings flushed before activation,
// 64-bit blocks on a processing plug-in, main-thread idle between blocks.
#pragma once

#include "tools/render/audio_file.h"
#include "tools/render/render_options.h"

#include <functional>
#include <string>

namespace kit::render
{

// Called after every block with the frames done so far.
using RenderProgress = std::function<void(std::int64_t framesDone)>;

// Dithers input into output (same channels, frames and rate). False with a one-line reason
// when the plug-in cannot be loaded, refuses the sample rate, or fails a block.
[[nodiscard]] bool RenderThroughPlugin(const std::string& pluginPath, const RenderOptions& options,
                                       const AudioData& input, AudioData& output, const RenderProgress& progress,
                                       std::string& error);

} // namespace kit::render
