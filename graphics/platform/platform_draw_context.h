// The editor's drawing context on the platform a program is linked with: each platform layer
// defines this once, so the plug-in's editor code names no window system.
#pragma once

#include "graphics/draw_context.h"

#include <memory>

namespace kit::ui
{

// A context of width × height logical units at drawScale, painting fps times a second once
// its window is open; null when it cannot be made.
[[nodiscard]] std::unique_ptr<IDrawContext> MakePlatformDrawContext(IEditorDelegate& editorDelegate, int width,
                                                                    int height, int fps, float drawScale);

} // namespace kit::ui
