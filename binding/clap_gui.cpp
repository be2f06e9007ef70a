// The editor embedded in a host window of the X11 window API. The editor itself is made when
// the host gives it a parent, not at create. Main thread.
#include "binding/clap_binding.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace kit
{

bool IClapBinding::ImplementsGui() const
{
  return HasEditor();
}

bool IClapBinding::GuiIsApiSupported(const char* api, bool isFloating)
{
  return api && !isFloating && std::strcmp(api, CLAP_WINDOW_API_X11) == 0;
}

bool IClapBinding::GuiGetPreferredApi(const char**, bool*)
{
  return false;
}

bool IClapBinding::GuiCreate(const char* api, bool isFloating)
{
  return HasEditor() && GuiIsApiSupported(api, isFloating);
}

void IClapBinding::GuiDestroy()
{
  CloseEditorWindow();
  editorOpen = false;
  parentWindow = 0;
}

bool IClapBinding::GuiSetScale(double scale)
{
  // No density is zero, negative or unknown; such a scale would empty the frame buffer.
  if (!HasEditor() || !std::isfinite(scale) || scale <= 0.0) return false;
  SetEditorScreenScale(float(std::min(scale, double(std::numeric_limits<float>::max()))));
  return true;
}

bool IClapBinding::GuiShow()
{
  if (!HasEditor() || parentWindow == 0) return false;
  if (editorOpen) return true;
  editorOpen = OpenEditorWindow(reinterpret_cast<void*>(parentWindow)) != nullptr;
  return editorOpen;
}

bool IClapBinding::GuiHide()
{
  if (!HasEditor()) return false;
  CloseEditorWindow();
  editorOpen = false;
  return true;
}

bool IClapBinding::GuiGetSize(std::uint32_t* width, std::uint32_t* height)
{
  if (!HasEditor() || !width || !height) return false;
  *width = std::uint32_t(std::max(editorWidth, 0));
  *height = std::uint32_t(std::max(editorHeight, 0));
  return true;
}

bool IClapBinding::GuiCanResize()
{
  return HasEditor() && HostMayResize();
}

bool IClapBinding::GuiGetResizeHints(clap_gui_resize_hints*)
{
  return false;
}

bool IClapBinding::GuiAdjustSize(std::uint32_t* width, std::uint32_t* height)
{
  if (!HasEditor() || !width || !height) return false;
  int w = int(std::min<std::uint32_t>(*width, 1u << 30));
  int h = int(std::min<std::uint32_t>(*height, 1u << 30));
  (void)ConstrainEditorSize(w, h);
  *width = std::uint32_t(w);
  *height = std::uint32_t(h);
  return true;
}

bool IClapBinding::GuiSetSize(std::uint32_t width, std::uint32_t height)
{
  if (!HasEditor()) return false;
  // Hosts echo the size the editor asked for, some from inside the request: taking it again at
  // zoom 1 would lose the zoom.
  if (std::int64_t(width) == editorWidth && std::int64_t(height) == editorHeight) return true;
  OnHostWindowResize(int(std::min<std::uint32_t>(width, 1u << 30)), int(std::min<std::uint32_t>(height, 1u << 30)));
  return true;
}

void IClapBinding::GuiSuggestTitle(const char*) {}

bool IClapBinding::GuiSetParent(const clap_window* window)
{
  if (!window || !GuiIsApiSupported(window->api, false)) return false;
  return AttachEditorToParent(window->x11);
}

bool IClapBinding::GuiSetTransient(const clap_window*)
{
  return false;
}

bool IClapBinding::AttachEditorToParent(clap_xwnd window)
{
  if (!HasEditor() || window == 0) return false;
  parentWindow = window;
  editorOpen = OpenEditorWindow(reinterpret_cast<void*>(window)) != nullptr;
  if (!editorOpen) parentWindow = 0;
  return editorOpen;
}

bool IClapBinding::RequestEditorResize(int widthPixels, int heightPixels)
{
  if (!HasEditor()) return false;
  const bool changed = widthPixels != editorWidth || heightPixels != editorHeight;
  // Stored first: a host may answer with set_size from inside the request, and that echo
  // must find the size it repeats.
  editorWidth = widthPixels;
  editorHeight = heightPixels;
  const clap_host_gui* gui = hostLink.gui;
  if (changed && gui && gui->request_resize)
    (void)gui->request_resize(hostLink.host, std::uint32_t(std::max(widthPixels, 0)),
                              std::uint32_t(std::max(heightPixels, 0)));
  return true;
}

} // namespace kit
