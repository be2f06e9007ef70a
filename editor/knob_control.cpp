#include "editor/knob_control.h"

#include "framework/param.h"
#include "graphics/draw_context.h"

#include <algorithm>
#include <cmath>

namespace kit::ui
{

namespace
{

constexpr double kFineFactor = 10.0;
constexpr double kWheelIncrement = 0.01;
constexpr double kFineWheelIncrement = 0.001;

bool WantsFine(const IPointerMods& mods)
{
  return mods.S || mods.C;
}

bool IsStepped(const IParam* param)
{
  return param && param->Stepped() && param->Step() > 0.0;
}

} // namespace

IKnobControlBase::IKnobControlBase(const IBounds& controlBounds, int paramIndex, int dragDirection, double dragGearing)
    : IControl(controlBounds, paramIndex)
    , direction(dragDirection)
    , gearing(dragGearing)
{
}

void IKnobControlBase::OnPointerDown(float x, float y, const IPointerMods& mods)
{
  pointerIsDown = true;
  dragValue = GetValue(0);
  // Locked: the window puts the pointer back where the drag began when it shows it again.
  if (cursorHiddenWhileDragging && graphics) graphics->HideCursor(true, true);
  IControl::OnPointerDown(x, y, mods);
}

void IKnobControlBase::OnPointerUp(float, float, const IPointerMods&)
{
  if (cursorHiddenWhileDragging && graphics) graphics->HideCursor(false, false);
  pointerIsDown = false;
  MarkDirty(false, -1);
}

void IKnobControlBase::OnPointerDrag(float, float, float dX, float dY, const IPointerMods& mods)
{
  const double effectiveGearing = WantsFine(mods) ? gearing * kFineFactor : gearing;
  const IBounds area = KnobDragBounds();
  // Moving up raises the value, hence top − bottom.
  const double change = direction == kHorizontal ? double(dX) / double(area.right - area.left) / effectiveGearing
                                                 : double(dY) / double(area.top - area.bottom) / effectiveGearing;
  // An area without extent along the drag (or a gearing of 0) maps no movement to a value.
  if (!std::isfinite(change)) return;
  dragValue = std::clamp(dragValue + change, 0.0, 1.0);
  double value = dragValue;
  const IParam* param = ParamOfSlot(0);
  if (IsStepped(param)) value = param->UnitFromRealClamped(param->FromNormalized(dragValue));
  SetValue(value, 0);
  MarkDirty(true, -1);
}

void IKnobControlBase::OnPointerWheel(float, float, const IPointerMods& mods, float delta)
{
  const IParam* param = ParamOfSlot(0);
  double value = GetValue(0);
  if (IsStepped(param))
  {
    if (delta == 0.0f) return;
    double real = param->Conform(param->FromNormalized(value));
    real += delta > 0.0f ? param->Step() : -param->Step();
    value = param->UnitFromRealClamped(real);
  }
  else
  {
    value += double(delta) * (WantsFine(mods) ? kFineWheelIncrement : kWheelIncrement);
  }
  SetValue(value, 0);
  MarkDirty(true, -1);
}

IBounds IKnobControlBase::KnobDragBounds() const
{
  return hitBounds;
}

IBKnobControl::IBKnobControl(const IBounds& position, const IBitmapRef& picture, int paramIndex, int dragDirection,
                             double dragGearing)
    : IKnobControlBase(FrameBoundsCentredOn(position, picture), paramIndex, dragDirection, dragGearing)
    , IBitmapBase(*this, picture)
{
}

void IBKnobControl::OnScaleChanged()
{
  ReloadForScale();
}

void IBKnobControl::Paint(IDrawContext& drawContext)
{
  PaintFrameForValue(drawContext, GetValue(0));
}

void IBKnobRotaterControl::Paint(IDrawContext& drawContext)
{
  const double angle = GetValue(0) * kSweepDegrees - 0.5 * kSweepDegrees;
  drawContext.BlitRotatedBitmap(bitmap, bounds.MidX(), bounds.MidY(), angle, &blend);
}

} // namespace kit::ui
