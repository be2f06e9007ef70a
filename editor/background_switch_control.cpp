#include "editor/background_switch_control.h"

namespace kit::ui
{

BackgroundSwitchControl::BackgroundSwitchControl(const IBounds& position, const IBitmapRef& picture, int paramIndex)
    : IBSwitchControl(position, picture, paramIndex)
{
}

bool BackgroundSwitchControl::HitTest(float x, float y) const
{
  return hitArea.Contains(x, y);
}

} // namespace kit::ui
