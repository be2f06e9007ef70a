// Programs without a window system show the editor through the headless layer.
#include "graphics/platform/draw_context_headless.h"
#include "graphics/platform/platform_draw_context.h"

#include <new>

namespace kit::ui
{

std::unique_ptr<IDrawContext> MakePlatformDrawContext(IEditorDelegate& editorDelegate, int width, int height, int fps,
                                                      float drawScale)
{
  return std::unique_ptr<IDrawContext>(new (std::nothrow)
                                           IDrawContextHeadless(editorDelegate, width, height, fps, drawScale));
}

} // namespace kit::ui
