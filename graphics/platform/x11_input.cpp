// Input of the editor's window: until its events are mapped, the window takes none.
#include "graphics/platform/draw_context_x11.h"

namespace kit::ui
{

void IDrawContextX11::HandleButtonPress(const XButtonEvent&) {}

void IDrawContextX11::HandleButtonRelease(const XButtonEvent&) {}

void IDrawContextX11::HandleMotion(const XMotionEvent&) {}

void IDrawContextX11::HandleKey(XKeyEvent&, bool) {}

void IDrawContextX11::HandleLeave(const XCrossingEvent&)
{
  OnPointerLeave();
}

void IDrawContextX11::HandleFocusOut(const XFocusChangeEvent&) {}

IPointerMods IDrawContextX11::ModsOf(unsigned int) const noexcept
{
  return {};
}

bool IDrawContextX11::GetPointerPosition(float&, float&) const
{
  return false;
}

int IDrawContextX11::SetCursor(int kind)
{
  return IDrawContextCairo::SetCursor(kind);
}

void IDrawContextX11::HideCursor(bool hide, bool lock)
{
  IDrawContextCairo::HideCursor(hide, lock);
}

void IDrawContextX11::MoveCursor(float, float) {}

} // namespace kit::ui
