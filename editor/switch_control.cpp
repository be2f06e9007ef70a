#include "editor/switch_control.h"

#include "framework/param.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kit::ui
{

namespace
{

// Repeated additions of 1 / (n − 1) may land one unit in the last place above 1 at the last
// state; that is still the last state, not a wrap.
const double kLastStateLimit = std::nextafter(1.0, 2.0);
// A bitmap switch wraps past its last frame with more room for rounding.
constexpr double kLastFrameLimit = 1.001;

} // namespace

ISwitchControlBase::ISwitchControlBase(const IBounds& controlBounds, int paramIndex, IActionFn action, int states)
    : IControl(controlBounds, paramIndex, std::move(action))
    , stateCount(states)
    , stateDisabled(std::size_t(std::max(0, states)), 0)
{
  MarkDirty(false, -1);
  doubleClickAsSingle = true;
}

void ISwitchControlBase::OnPointerDown(float, float, const IPointerMods&)
{
  double value = GetValue(0);
  if (stateCount == 2)
  {
    value = value == 0.0 ? 1.0 : 0.0;
  }
  else
  {
    value += 1.0 / double(stateCount - 1);
    if (value > kLastStateLimit) value = 0.0;
  }
  SetValue(value, 0);
  pointerIsDown = true;
  MarkDirty(true, -1);
}

void ISwitchControlBase::OnPointerUp(float, float, const IPointerMods&)
{
  pointerIsDown = false;
  MarkDirty(false, -1);
}

void ISwitchControlBase::OnSetup()
{
  if (ParamIndexOf(0) < 0) return;
  const IParam* param = ParamOfSlot(0);
  if (!param) return;
  const double range = param->Max() - param->Min();
  // A range that gives no countable number of states leaves the count as it is.
  if (!(range >= 0.0 && range < double(INT_MAX))) return;
  stateCount = int(range) + 1;
}

IBSwitchControl::IBSwitchControl(const IBounds& position, const IBitmapRef& picture, int paramIndex)
    : ISwitchControlBase(FrameBoundsCentredOn(position, picture), paramIndex, {}, 2)
    , IBitmapBase(*this, picture)
{
}

void IBSwitchControl::OnPointerDown(float, float, const IPointerMods&)
{
  const int frames = bitmap.frameCount;
  double value = GetValue(0) + (frames >= 2 ? 1.0 / double(frames - 1) : 1.0);
  if (value > kLastFrameLimit) value = 0.0;
  SetValue(value, 0);
  MarkDirty(true, -1);
}

void IBSwitchControl::OnScaleChanged()
{
  ReloadForScale();
}

void IBSwitchControl::Paint(IDrawContext& drawContext)
{
  PaintFrameForValue(drawContext, GetValue(0));
}

} // namespace kit::ui
