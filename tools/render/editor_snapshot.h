// The picture of the editor a user would see at one moment of the input: the input runs
// through an instance of the plug-in inside this program, whose analysis reaches the editor on
// a 20 ms timer and whose editor paints on a 15 ms tick, both counted in audio time.
#pragma once

#include "tools/render/audio_source.h"
#include "tools/render/render_options.h"

#include <string>

namespace kit::render
{

// False with a one-line reason when the picture cannot be written where it should go: found
// before anything is rendered.
[[nodiscard]] bool CheckSnapshotPath(const std::string& path, std::string& error);

// Runs source up to options.snapshotAt (the middle when negative; the end when beyond it) and
// writes the editor at options.snapshotScale as PNG to options.snapshotPath. False with a
// one-line reason, and no file, when it fails. The picture's size in pixels comes back.
[[nodiscard]] bool RenderEditorSnapshot(const RenderOptions& options, AudioSource& source, int& widthPixels,
                                        int& heightPixels, std::string& error);

} // namespace kit::render
