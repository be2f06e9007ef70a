// The text field and the popup menu of the editor's window: until they are drawn, none opens.
#include "graphics/platform/draw_context_x11.h"

namespace kit::ui
{

void IDrawContextX11::CreateTextField(int, const ITextStyle&, const IBounds&, int, std::string_view) {}

void IDrawContextX11::EndTextEntry() {}

IMenu* IDrawContextX11::CreatePopupMenu(IMenu&, const IBounds&, bool& completesLater)
{
  completesLater = false;
  return nullptr;
}

bool IDrawContextX11::TickPrompts()
{
  return false;
}

void IDrawContextX11::CloseTextField() {}

void IDrawContextX11::CloseMenu() {}

void IDrawContextX11::PaintPrompts() {}

bool IDrawContextX11::PromptTakesButton(const XButtonEvent&)
{
  return false;
}

bool IDrawContextX11::PromptTakesMotion(const XMotionEvent&)
{
  return false;
}

bool IDrawContextX11::PromptTakesKey(XKeyEvent&, bool)
{
  return false;
}

void IDrawContextX11::RepaintLogical(const IBounds&) {}

} // namespace kit::ui
