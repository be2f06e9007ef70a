#include "graphics/control.h"

#include "binding/editor_delegate.h"
#include "framework/param.h"
#include "graphics/draw_context.h"
#include "graphics/menu.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace kit::ui
{

IControl::IControl(const IBounds& controlBounds, int paramIndex, IActionFn action)
    : bounds(controlBounds)
    , hitBounds(controlBounds)
    , actionFn(std::move(action))
    , values { IControlValue { paramIndex, 0.0 } }
{
}

IControl::~IControl() = default;

void IControl::OnPointerDown(float x, float y, const IPointerMods& mods)
{
  if (!mods.R) return;
  const int valueIndex = ValueIndexAt(x, y);
  if (valueIndex < 0) return;
  const IParam* param = ParamOfSlot(valueIndex);
  if (!param || promptDisabled) return;
  // A menu covers the control; a typed number gets a small field over its centre.
  const IBounds area = param->DisplayTextCount() > 0 ? bounds
                                                     : IBounds(bounds.MidX() - 20.0f, bounds.MidY() - 8.0f,
                                                               bounds.MidX() + 20.0f, bounds.MidY() + 8.0f);
  if (graphics) graphics->OpenValueEditor(*this, area, valueIndex);
  MarkDirty(false, -1);
}

void IControl::OnPointerUp(float, float, const IPointerMods&) {}

void IControl::OnPointerDrag(float, float, float, float, const IPointerMods&) {}

void IControl::OnPointerDoubleClick(float x, float y, const IPointerMods&)
{
  ResetToDefault(ValueIndexAt(x, y));
}

void IControl::OnPointerWheel(float, float, const IPointerMods&, float) {}

bool IControl::OnKeyDown(float, float, const IKeyEvent&)
{
  return false;
}

bool IControl::OnKeyUp(float, float, const IKeyEvent&)
{
  return false;
}

void IControl::OnPointerHover(float, float, const IPointerMods&)
{
  const bool wasOver = pointerIsOver;
  pointerIsOver = true;
  if (!wasOver) MarkDirty(false, -1);
}

void IControl::OnPointerLeave()
{
  const bool wasOver = pointerIsOver;
  pointerIsOver = false;
  if (wasOver) MarkDirty(false, -1);
}

void IControl::HandlePointerNotice(float, float, const IPointerMods&) {}

void IControl::HandleDroppedPath(std::string_view) {}

void IControl::HandleDroppedPaths(const std::vector<std::string>& paths)
{
  if (!paths.empty()) HandleDroppedPath(paths.front());
}

bool IControl::AcceptsDrops() const
{
  return false;
}

void IControl::OnScaleChanged() {}

void IControl::OnBoundsChanged() {}

void IControl::OnSetup() {}

void IControl::OnAdded() {}

void IControl::ReceivePacket(int, int, const void*) {}

void IControl::ReceiveMidi(const MidiMessage&) {}

bool IControl::HandleGesture(const IGestureInfo& info)
{
  const auto found = gestureHandlers.find(info.kind);
  if (found == gestureHandlers.end()) return false;
  lastGesture = info.kind;
  found->second(*this, info);
  return true;
}

void IControl::BuildContextMenu(IMenu&) {}

void IControl::OnMenuChoice(IMenu* menu, int valueIndex)
{
  if (!menu || valueIndex < 0) return;
  const IParam* param = ParamOfSlot(valueIndex);
  if (!param || promptDisabled) return;
  // The items are the display texts in order, so the item's position is the real value.
  SetValueFromUser(param->UnitFromRealClamped(double(menu->ChosenIndex())), valueIndex);
}

void IControl::HandleMenuNotice(IMenu*) {}

void IControl::OnTextCommitted(std::string_view, int) {}

void IControl::OnContextChoice(int) {}

void IControl::PaintHostHighlight(IDrawContext& drawContext)
{
  if (!highlighted) return;
  drawContext.PaintCircle(highlightColour, bounds.right - 5.0f, bounds.top + 5.0f, 2.0f);
}

void IControl::SetParamIndex(int paramIndex, int valueIndex)
{
  // Nothing may escape into the host: a slot that does not exist changes nothing.
  assert(HasSlot(valueIndex) && "SetParamIndex: no such value slot");
  if (!HasSlot(valueIndex)) return;
  values[std::size_t(valueIndex)].paramIndex = paramIndex;
  MarkDirty(false, -1);
}

int IControl::ValueIndexAt(float, float) const
{
  return NumValues() == 1 ? 0 : -1;
}

void IControl::ApplyHostValue(double value, int valueIndex)
{
  if (!HasSlot(valueIndex)) return;
  // The user's drag wins over the host's echo of older values.
  if (graphics && graphics->ControlIsCaptured(*this)) return;
  if (value == GetValue(valueIndex)) return;
  SetValue(value, valueIndex);
  MarkDirty(false, -1);
}

void IControl::SetValueFromUser(double value, int valueIndex)
{
  if (!HasSlot(valueIndex)) return;
  if (value == GetValue(valueIndex)) return;
  SetValue(value, valueIndex);
  MarkDirty(true, valueIndex);
}

void IControl::ResetToDefault(int valueIndex)
{
  if (NumValues() == 1) valueIndex = 0;
  const auto reset = [this](int slot)
  {
    if (const IParam* param = ParamOfSlot(slot)) SetValue(param->UnitFromRealClamped(param->DefaultValue(false)), slot);
  };
  if (valueIndex >= 0)
    reset(valueIndex);
  else
    for (int slot = 0; slot < NumValues(); ++slot) reset(slot);
  MarkDirty(true, valueIndex);
}

void IControl::SetValue(double value, int valueIndex)
{
  if (!HasSlot(valueIndex)) return;
  const auto slot = std::size_t(valueIndex);
  values[slot].value = value;
  if (std::isnan(value)) return;
  if (lastNumbers.size() < values.size()) lastNumbers.resize(values.size(), 0.0);
  lastNumbers[slot] = value;
}

void IControl::SetTextStyle(const ITextStyle& style)
{
  textStyle = style;
}

void IControl::MoveTo(float x, float y)
{
  const float hitOffsetX = hitBounds.left - bounds.left;
  const float hitOffsetY = hitBounds.top - bounds.top;
  const float hitWidth = hitBounds.W();
  const float hitHeight = hitBounds.H();
  const float left = std::max(0.0f, x);
  const float top = std::max(0.0f, y);
  bounds = IBounds(left, top, left + bounds.W(), top + bounds.H());
  pointerIsOver = false;
  OnBoundsChanged();
  const float hitLeft = bounds.left + hitOffsetX;
  const float hitTop = bounds.top + hitOffsetY;
  hitBounds = IBounds(hitLeft, hitTop, hitLeft + hitWidth, hitTop + hitHeight);
  pointerIsOver = false;
}

void IControl::ResizeTo(float newWidth, float newHeight)
{
  hitBounds =
      IBounds(bounds.left, bounds.top, bounds.left + std::max(0.0f, newWidth), bounds.top + std::max(0.0f, newHeight));
  bounds = hitBounds;
  pointerIsOver = false;
  OnBoundsChanged();
}

void IControl::SetHidden(bool hide)
{
  hidden = hide;
  MarkDirty(false, -1);
}

void IControl::SetDisabled(bool disable)
{
  disabled = disable;
  blend.opacity = disable ? kDisabledOpacity : 1.0f;
  MarkDirty(false, -1);
}

void IControl::SetPointerIgnored(bool ignore)
{
  ignoresPointer = ignore;
}

bool IControl::HitTest(float x, float y) const
{
  return hitBounds.Contains(x, y);
}

void IControl::MarkDirty(bool triggerAction, int valueIndex)
{
  if (NumValues() == 1) valueIndex = 0;
  if (valueIndex >= 0)
  {
    if (HasSlot(valueIndex)) SetValue(ClampedValue(valueIndex), valueIndex);
  }
  else
  {
    for (int slot = 0; slot < NumValues(); ++slot) SetValue(ClampedValue(slot), slot);
  }
  dirty = true;
  if (!triggerAction) return;
  if (valueIndex >= 0)
  {
    if (HasSlot(valueIndex)) ReportSlot(valueIndex);
  }
  else
  {
    for (int slot = 0; slot < NumValues(); ++slot) ReportSlot(slot);
  }
  if (actionFn) actionFn(*this);
}

void IControl::MarkClean()
{
  dirty = false;
}

bool IControl::NeedsPaint() const
{
  return animationFn ? true : dirty;
}

void IControl::HandleIdleNotice() {}

bool IControl::WantsGestures() const
{
  return !gestureHandlers.empty() && !animationFn;
}

void IControl::SnapToPointer(float x, float y, int direction, const IBounds& area, int valueIndex, double low,
                             double high)
{
  const float px = x < area.left ? area.left : std::min(x, area.right);
  const float py = y < area.top ? area.top : std::min(y, area.bottom);
  double v = direction == 1 ? double(px - area.left) / double(area.right - area.left)
                            : 1.0 - double(py - area.top) / double(area.bottom - area.top);
  // An area without extent along the direction gives no position: the value stays.
  if (!std::isfinite(v)) return;
  v = std::round(v * 1000.0) / 1000.0;
  v = std::clamp(v, low, std::max(low, high));
  if (valueIndex == -1)
    for (int slot = 0; slot < NumValues(); ++slot) SetValue(v, slot);
  else
    SetValue(v, valueIndex);
  MarkDirty(true, valueIndex);
}

void IControl::FinishAnimation()
{
  animationFn = nullptr;
  MarkDirty(false, -1);
  if (animationEndFn)
  {
    const IActionFn endFn = animationEndFn; // the callable may set a new one
    endFn(*this);
  }
}

void IControl::StepAnimation()
{
  if (!animationFn) return;
  // A copy: the animation may finish itself, which clears animationFn while it runs.
  const IActionFn step = animationFn;
  step(*this);
}

double IControl::GetValue(int valueIndex) const noexcept
{
  return HasSlot(valueIndex) ? values[std::size_t(valueIndex)].value : 0.0;
}

int IControl::ParamIndexOf(int valueIndex) const noexcept
{
  return HasSlot(valueIndex) ? values[std::size_t(valueIndex)].paramIndex : -1;
}

const IParam* IControl::ParamOfSlot(int valueIndex) const noexcept
{
  if (!delegate) return nullptr;
  return static_cast<const IEditorDelegate*>(delegate)->GetParam(ParamIndexOf(valueIndex));
}

int IControl::SlotOfParam(int paramIndex) const noexcept
{
  for (int slot = 0; slot < NumValues(); ++slot)
  {
    if (values[std::size_t(slot)].paramIndex == paramIndex) return slot;
  }
  return -1;
}

void IControl::Attach(IEditorDelegate* editorDelegate, IDrawContext* drawContext, std::string_view groupName)
{
  delegate = editorDelegate;
  graphics = drawContext;
  OnSetup();
  OnBoundsChanged();
  OnScaleChanged();
  group = groupName;
}

void IControl::AttachGestureHandler(int kind, IGestureFn handler)
{
  gestureHandlers[kind] = std::move(handler);
}

double IControl::ClampedValue(int valueIndex) const noexcept
{
  double value = GetValue(valueIndex);
  if (std::isnan(value))
  {
    const auto slot = std::size_t(valueIndex);
    value = slot < lastNumbers.size() ? lastNumbers[slot] : 0.0;
  }
  return std::clamp(value, 0.0, 1.0);
}

void IControl::ReportSlot(int valueIndex)
{
  const int paramIndex = ParamIndexOf(valueIndex);
  if (paramIndex < 0) return;
  // Only parameters the plug-in has reach the host; the peers follow any linked slot.
  if (delegate && delegate->GetParam(paramIndex)) delegate->SetParamFromEditor(paramIndex, GetValue(valueIndex));
  if (graphics) graphics->UpdatePeerControls(*this, valueIndex);
}

} // namespace kit::ui
