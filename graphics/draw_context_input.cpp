// Pointer and key input: which control an event reaches, pointer capture by touch, hover, and
// the parameter gestures that a press begins and its release ends.
#include "graphics/draw_context.h"

#include "binding/editor_delegate.h"
#include "graphics/control.h"

#include <algorithm>
#include <array>

namespace kit::ui
{

IControl* IDrawContext::FindPointerTarget(float x, float y, bool capture, bool hover, std::int64_t touchId)
{
  if (const auto held = capturedControls.find(touchId); held != capturedControls.end()) return held->second;
  IControl* target = nullptr;
  int targetIndex = -1;
  if (!hover || hoverEnabled)
  {
    // Hover never reaches the background at index 0.
    const int lowest = hover ? 1 : 0;
    for (int i = NControls() - 1; i >= lowest; --i)
    {
      IControl* control = controls[std::size_t(i)].get();
      if (control->IsHidden() || control->IgnoresPointer()) continue;
      if (control->IsDisabled() && !(hover ? control->PointerOverWhenDisabled() : control->PointerWhenDisabled()))
        continue;
      if (control->HitTest(x, y))
      {
        target = control;
        targetIndex = i;
        break;
      }
    }
  }
  if (capture && target)
  {
    if (multiTouchEnabled && !target->AcceptsTouch())
    {
      const bool heldElsewhere = std::any_of(capturedControls.begin(), capturedControls.end(),
                                             [target](const auto& entry) { return entry.second == target; });
      if (heldElsewhere) return nullptr;
    }
    capturedControls[touchId] = target;
  }
  if (hover) hoverIndex = target ? targetIndex : -1;
  return target;
}

void IDrawContext::ReleasePointerCapture()
{
  // Letting go other than by the release still ends what the press began.
  while (!gestureControls.empty()) EndGestureOfTouch(gestureControls.begin()->first);
  capturedControls.clear();
  if (cursorHidden) HideCursor(false, false);
}

bool IDrawContext::ControlIsCaptured(const IControl& control) const
{
  return std::any_of(capturedControls.begin(), capturedControls.end(),
                     [&control](const auto& entry) { return entry.second == &control; });
}

void IDrawContext::OnPointerDown(std::span<const IPointerEvent> events)
{
  if (events.size() == 1)
  {
    pointerDownX = events.front().x;
    pointerDownY = events.front().y;
  }
  for (const IPointerEvent& event : events)
  {
    IControl* target = FindPointerTarget(event.x, event.y, true, false, event.mods.touchId);
    if (!target) continue;
    const int valueIndex = target->ValueIndexAt(event.x, event.y);
    const int paramIndex = target->ParamIndexOf(valueIndex < 0 ? 0 : valueIndex);
    if (event.mods.R && paramIndex >= 0)
    {
      ReleasePointerCapture();
      OpenContextMenuForParam(target, paramIndex, event.x, event.y);
      return;
    }
    // A second press of the same touch (another button) keeps the gesture already begun.
    if (gestureControls.find(event.mods.touchId) == gestureControls.end())
    {
      BeginParamGestures(*target);
      gestureControls[event.mods.touchId] = target;
    }
    target->OnPointerDown(event.x, event.y, event.mods);
  }
}

void IDrawContext::OnPointerUp(std::span<const IPointerEvent> events)
{
  if (!capturedControls.empty())
  {
    for (const IPointerEvent& event : events)
    {
      const auto held = capturedControls.find(event.mods.touchId);
      if (held == capturedControls.end()) continue;
      IControl* control = held->second;
      control->OnPointerUp(event.x, event.y, event.mods);
      EndGestureOfTouch(event.mods.touchId);
      capturedControls.erase(event.mods.touchId);
    }
  }
  if (resizeGestureActive)
  {
    FinishResizeGesture();
    resizeDragShift = false;
  }
  if (pendingScale > 0.0f)
  {
    const float scale = pendingScale;
    pendingScale = 0.0f;
    resizeGestureActive = true;
    resizeDragShift = false;
    ApplySize(width, height, scale, true);
    FinishResizeGesture();
  }
  if (events.size() == 1 && events.front().mods.touchId == 0)
    (void)OnPointerHover(events.front().x, events.front().y, events.front().mods);
}

void IDrawContext::OnPointerDrag(std::span<const IPointerEvent> events)
{
  if (resizeGestureActive && events.size() == 1)
  {
    const IPointerEvent& event = events.front();
    resizeDragShift = event.mods.S;
    const float zoom = std::min(drawScale * event.y / pointerDownY, drawScale * event.x / pointerDownX);
    ApplySize(width, height, zoom, true);
    return;
  }
  if (capturedControls.empty() || textFieldControl) return;
  for (const IPointerEvent& event : events)
  {
    const auto held = capturedControls.find(event.mods.touchId);
    if (held == capturedControls.end()) continue;
    if (event.dX == 0.0f && event.dY == 0.0f) continue;
    held->second->OnPointerDrag(event.x, event.y, event.dX, event.dY, event.mods);
  }
}

bool IDrawContext::OnPointerDoubleClick(float x, float y, const IPointerMods& mods)
{
  IControl* target = FindPointerTarget(x, y, true, false, mods.touchId);
  if (!target) return false;
  if (target->DoubleClickAsSingle())
  {
    const std::array<IPointerEvent, 1> press { IPointerEvent { x, y, 0.0f, 0.0f, mods } };
    OnPointerDown(press);
  }
  else
  {
    target->OnPointerDoubleClick(x, y, mods);
    ReleasePointerCapture();
  }
  return true;
}

bool IDrawContext::OnPointerWheel(float x, float y, const IPointerMods& mods, float delta)
{
  IControl* target = FindPointerTarget(x, y, false, false, mods.touchId);
  if (!target) return false;
  target->OnPointerWheel(x, y, mods, delta);
  return true;
}

bool IDrawContext::OnPointerHover(float x, float y, const IPointerMods& mods)
{
  IControl* target = FindPointerTarget(x, y, false, true, mods.touchId);
  if (target != hoverControl)
  {
    if (hoverControl) hoverControl->OnPointerLeave();
    hoverControl = target;
  }
  if (target) target->OnPointerHover(x, y, mods);
  return target != nullptr;
}

void IDrawContext::OnPointerLeave()
{
  const int kindBefore = SetCursor(int(ECursor::kArrow));
  savedCursor = kindBefore;
  for (const auto& control : controls) control->OnPointerLeave();
  hoverControl = nullptr;
  hoverIndex = -1;
}

bool IDrawContext::OnKeyDown(float x, float y, const IKeyEvent& key)
{
  IControl* target = FindPointerTarget(x, y, false, false);
  if (!target || target == GetControl(0)) return false;
  return target->OnKeyDown(x, y, key);
}

bool IDrawContext::OnKeyUp(float x, float y, const IKeyEvent& key)
{
  IControl* target = FindPointerTarget(x, y, false, false);
  if (!target || target == GetControl(0)) return false;
  return target->OnKeyUp(x, y, key);
}

void IDrawContext::FinishResizeGesture()
{
  resizeGestureActive = false;
  for (const auto& control : controls) control->OnScaleChanged();
  MarkAllControlsDirty();
}

void IDrawContext::BeginParamGestures(const IControl& control)
{
  for (int slot = 0; slot < control.NumValues(); ++slot)
  {
    const int paramIndex = control.ParamIndexOf(slot);
    if (delegate.GetParam(paramIndex)) delegate.BeginParamGestureFromEditor(paramIndex);
  }
}

void IDrawContext::EndParamGestures(const IControl& control)
{
  for (int slot = 0; slot < control.NumValues(); ++slot)
  {
    const int paramIndex = control.ParamIndexOf(slot);
    if (delegate.GetParam(paramIndex)) delegate.EndParamGestureFromEditor(paramIndex);
  }
}

void IDrawContext::EndGestureOfTouch(std::int64_t touchId)
{
  const auto begun = gestureControls.find(touchId);
  if (begun == gestureControls.end()) return;
  const IControl* control = begun->second;
  gestureControls.erase(begun);
  EndParamGestures(*control);
}

} // namespace kit::ui
