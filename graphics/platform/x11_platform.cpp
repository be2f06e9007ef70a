// The plug-in shows its editor in a child of the host's X11 window.
#include "graphics/platform/draw_context_x11.h"
#include "graphics/platform/platform_draw_context.h"

#include <new>

namespace kit::ui
{

std::unique_ptr<IDrawContext> MakePlatformDrawContext(IEditorDelegate& editorDelegate, int width, int height, int fps,
                                                      float drawScale)
{
  return std::unique_ptr<IDrawContext>(new (std::nothrow)
                                           IDrawContextX11(editorDelegate, width, height, fps, drawScale));
}

} // namespace kit::ui
