// The text field and the popup menu, drawn by the editor over its own controls: opening them,
// feeding them pointer and keys, painting them after the controls, and handing their outcome
// back to the dispatch. A field's commit or cancel waits for the next display tick.
#include "graphics/platform/draw_context_x11.h"
#include "graphics/platform/x11_keys.h"

#include "binding/editor_delegate.h"

#include <string>

namespace kit::ui
{

namespace
{

// The menu's panels in the editor's own font, dark on the view's light panels.
ITextStyle MenuTextStyle()
{
  ITextStyle style;
  style.size = 14.0f;
  style.colour = IRgba(255, 24, 24, 24);
  style.align = EAlign::kNear;
  return style;
}

} // namespace

void IDrawContextX11::CreateTextField(int paramIndex, const ITextStyle& style, const IBounds& bounds, int charLimit,
                                      std::string_view text)
{
  if (textEntry) return;
  textEntry = std::make_unique<ITextEntry>(Delegate().GetParam(paramIndex), style, bounds, charLimit, text);
  textFieldState = ETextFieldState::kFocused;
  RepaintLogical(textEntry->Bounds());
}

void IDrawContextX11::EndTextEntry()
{
  if (textEntry) textFieldState = ETextFieldState::kCancel;
}

IMenu* IDrawContextX11::CreatePopupMenu(IMenu& menu, const IBounds& bounds, bool& completesLater)
{
  completesLater = true;
  if (menuView) return nullptr;
  menuView = std::make_unique<IPopupMenuView>(*this, menu, bounds, IBounds(0.0f, 0.0f, float(Width()), float(Height())),
                                              MenuTextStyle());
  shownMenu = &menu;
  RepaintLogical(menuView->Bounds());
  return nullptr;
}

bool IDrawContextX11::TickPrompts()
{
  tickPaintsField = false;
  // A menu whose control went (the controls were cleared) has nobody left to answer.
  if (menuView && !MenuControl())
  {
    const IBounds area = menuView->Bounds();
    CloseMenu();
    RepaintLogical(area);
  }
  if (!textEntry) return false;
  switch (textFieldState)
  {
  case ETextFieldState::kCancel:
  {
    const IBounds area = textEntry->Bounds();
    CancelTextField();
    CloseTextField();
    RepaintLogical(area);
    return true;
  }
  case ETextFieldState::kCommit:
  {
    const IBounds area = textEntry->Bounds();
    const std::string text = textEntry->Text();
    CloseTextField();
    CommitTextField(text);
    RepaintLogical(area);
    return true;
  }
  case ETextFieldState::kFocused:
  case ETextFieldState::kPainted:
    // While a field is open the editor paints at most every second tick.
    textFieldState = ETextFieldState::kNone;
    return true;
  case ETextFieldState::kNone:
    tickPaintsField = true;
    return false;
  }
  return false;
}

void IDrawContextX11::CloseTextField()
{
  textEntry.reset();
  textFieldState = ETextFieldState::kNone;
}

void IDrawContextX11::CloseMenu()
{
  menuView.reset();
  shownMenu = nullptr;
}

void IDrawContextX11::PaintPrompts()
{
  if (textEntry)
  {
    ClipToPrompt(textEntry->Bounds());
    textEntry->Paint(*this);
    if (tickPaintsField && textFieldState == ETextFieldState::kNone) textFieldState = ETextFieldState::kPainted;
    tickPaintsField = false;
  }
  if (menuView)
  {
    ClipToPrompt(menuView->Bounds());
    menuView->Paint(*this);
  }
}

void IDrawContextX11::ClipToPrompt(const IBounds& bounds)
{
  // The controls left their own clip and transform behind; a prompt is drawn over all of them.
  const IBounds area = bounds.PixelAligned(TotalScale());
  PathTransformReset(true);
  PathClear();
  PathClipRegion(area);
  clipBounds = area;
}

bool IDrawContextX11::PromptTakesButton(const XButtonEvent& event)
{
  const float scale = TotalScale();
  const float x = float(event.x) / scale;
  const float y = float(event.y) / scale;
  if (textEntry)
  {
    // Once the field is done, nothing more reaches it or the controls under it.
    if (textFieldState == ETextFieldState::kCancel || textFieldState == ETextFieldState::kCommit) return true;
    if (event.button == Button4 || event.button == Button5)
    {
      textFieldState = ETextFieldState::kCancel;
    }
    else if (event.button == Button1 || event.button == Button3)
    {
      SetLastPointer(x, y);
      ApplyEntryResult(textEntry->OnPointerDown(*this, x, y));
    }
    return true;
  }
  if (menuView)
  {
    if (event.button == Button1 || event.button == Button3)
    {
      SetLastPointer(x, y);
      const IBounds before = menuView->Bounds();
      ApplyMenuResult(menuView->OnPointerDown(*this, x, y), before);
    }
    return true;
  }
  return false;
}

bool IDrawContextX11::PromptTakesMotion(const XMotionEvent& event)
{
  if (!menuView) return false;
  const float scale = TotalScale();
  const float x = float(event.x) / scale;
  const float y = float(event.y) / scale;
  SetLastPointer(x, y);
  const IBounds before = menuView->Bounds();
  ApplyMenuResult(menuView->OnPointerMove(*this, x, y), before);
  return true;
}

bool IDrawContextX11::PromptTakesKey(XKeyEvent& event, bool down)
{
  if (!textEntry && !menuView) return false;
  // Releases of keys a prompt takes mean nothing to the controls either.
  if (!down) return true;
  const X11Key key = LookupKey(event);
  if (textEntry)
  {
    if (textFieldState == ETextFieldState::kCancel || textFieldState == ETextFieldState::kCommit) return true;
    if (const auto entryKey = EntryKeyOf(key.keysym, (event.state & ControlMask) != 0))
      ApplyEntryResult(textEntry->OnKey(*entryKey, (event.state & ShiftMask) != 0));
    else if (!key.text.empty() && (event.state & ControlMask) == 0)
      ApplyEntryResult(textEntry->OnCharacter(key.text));
    return true;
  }
  if (const auto menuKey = MenuKeyOf(key.keysym))
  {
    const IBounds before = menuView->Bounds();
    ApplyMenuResult(menuView->OnKey(*this, *menuKey), before);
  }
  return true;
}

void IDrawContextX11::ApplyEntryResult(ITextEntry::EResult result)
{
  switch (result)
  {
  case ITextEntry::EResult::kChanged:
    RepaintLogical(textEntry->Bounds());
    break;
  case ITextEntry::EResult::kCommit:
    textFieldState = ETextFieldState::kCommit;
    break;
  case ITextEntry::EResult::kCancel:
    textFieldState = ETextFieldState::kCancel;
    break;
  case ITextEntry::EResult::kIgnored:
    break;
  }
}

void IDrawContextX11::ApplyMenuResult(IPopupMenuView::EResult result, const IBounds& before)
{
  switch (result)
  {
  case IPopupMenuView::EResult::kChanged:
    RepaintLogical(before.Union(menuView->Bounds()));
    break;
  case IPopupMenuView::EResult::kChosen:
  {
    IMenu* chosen = menuView->ChosenMenu();
    const IBounds area = before.Union(menuView->Bounds());
    if (chosen && chosen->Completion()) chosen->Completion()(*chosen);
    CloseMenu();
    RepaintLogical(area);
    CommitMenuChoice(chosen);
    break;
  }
  case IPopupMenuView::EResult::kDismissed:
  {
    const IBounds area = before.Union(menuView->Bounds());
    CloseMenu();
    RepaintLogical(area);
    CommitMenuChoice(nullptr);
    break;
  }
  case IPopupMenuView::EResult::kIgnored:
    break;
  }
}

void IDrawContextX11::RepaintLogical(const IBounds& bounds)
{
  if (!CanCallX() || bounds.Empty()) return;
  IBoundsList regions;
  regions.Add(bounds);
  PaintLogical(regions);
}

} // namespace kit::ui
