// Asking the user for a value: a menu of a parameter's display texts or a one-line text field,
// shown by the platform and committed back here; and the controls' context menus.
#include "graphics/draw_context.h"

#include "framework/param.h"
#include "graphics/control.h"

#include <string>

namespace kit::ui
{

namespace
{

bool ChoosesFromTexts(const IParam& param)
{
  return param.Type() == IParam::kTypeEnum || (param.Type() == IParam::kTypeBool && param.DisplayTextCount() > 0);
}

} // namespace

void IDrawContext::OpenValueEditor(IControl& control, const IBounds& bounds, int valueIndex)
{
  const IParam* param = control.ParamOfSlot(valueIndex);
  if (!param) return;
  if (ChoosesFromTexts(*param))
  {
    // promptMenu is what an open menu shows: leave it alone until that one is done.
    if (menuControl) return;
    IParam::Text current;
    param->FormatDisplay(param->Value(), false, current, true);
    promptMenu.Clear();
    for (int i = 0; i < param->DisplayTextCount(); ++i)
    {
      const std::string_view text = param->DisplayTextAt(i)->text.View();
      promptMenu.AddItem(text, text == current.View() ? IMenuItem::kChecked : 0);
    }
    promptMenu.SetRootTitle(param->Name());
    OpenMenu(control, promptMenu, bounds, valueIndex, false);
    return;
  }
  IParam::Text shown;
  param->FormatDisplay(param->Value(), false, shown, false);
  std::string text(shown.View());
  if (control.PromptShowsLabel())
  {
    text += ' ';
    text += param->Label();
  }
  OpenTextField(control, control.TextStyle(), bounds, text, valueIndex);
}

void IDrawContext::OpenTextField(IControl& control, const ITextStyle& style, const IBounds& bounds,
                                 std::string_view text, int valueIndex)
{
  // One field at a time, as the platform shows it: a second would take over the first's commit.
  if (textFieldControl) return;
  textFieldControl = &control;
  textFieldValueIndex = valueIndex;
  const int paramIndex = valueIndex < 0 ? -1 : control.ParamIndexOf(valueIndex);
  CreateTextField(paramIndex, style, bounds, control.EntryCharLimit(), text);
  control.MarkDirty(false, -1);
}

void IDrawContext::CommitTextField(std::string_view text)
{
  IControl* control = textFieldControl;
  if (!control) return;
  const int valueIndex = textFieldValueIndex;
  textFieldControl = nullptr;
  const IParam* param = valueIndex >= 0 ? control->ParamOfSlot(valueIndex) : nullptr;
  if (param)
    control->SetValueFromUser(param->ToNormalized(param->ParseText(text)), valueIndex);
  else
    control->OnTextCommitted(text, valueIndex);
}

void IDrawContext::CancelTextField() noexcept
{
  textFieldControl = nullptr;
}

void IDrawContext::OpenMenu(IControl& control, IMenu& menu, const IBounds& bounds, int valueIndex, bool isContext)
{
  if (menuControl) return;
  // The gestures the press began now last until the menu is done, not until the release.
  for (auto begun = gestureControls.begin(); begun != gestureControls.end(); ++begun)
  {
    if (begun->second != &control) continue;
    gestureControls.erase(begun);
    menuHoldsGesture = true;
    break;
  }
  ReleasePointerCapture();
  menuControl = &control;
  menuValueIndex = valueIndex;
  menuIsContext = isContext;
  bool completesLater = false;
  IMenu* chosen = CreatePopupMenu(menu, bounds, completesLater);
  if (!completesLater) CommitMenuChoice(chosen);
}

void IDrawContext::CommitMenuChoice(IMenu* menu)
{
  IControl* control = menuControl;
  if (!control) return;
  const bool holdsGesture = menuHoldsGesture;
  menuControl = nullptr;
  menuHoldsGesture = false;
  if (menuIsContext)
    control->OnContextChoice(menu ? menu->ChosenIndex() : -1);
  else
    control->OnMenuChoice(menu && menu->ChosenIndex() != -1 ? menu : nullptr, menuValueIndex);
  if (holdsGesture) EndParamGestures(*control);
}

void IDrawContext::OpenContextMenuForParam(IControl* control, int, float x, float y)
{
  if (menuControl) return;
  promptMenu.Clear();
  if (control) control->BuildContextMenu(promptMenu);
  if (control && promptMenu.NItems() > 0) OpenMenu(*control, promptMenu, IBounds(x, y, x, y), -1, true);
}

} // namespace kit::ui
