// A two-frame bitmap switch whose clickable area is a small spot of its own, apart from what it
// draws: a picture of the whole editor switched by clicking its lamp. Owned by the graphics
// context; editor thread.
#pragma once

#include "editor/switch_control.h"

namespace kit::ui
{

class BackgroundSwitchControl : public IBSwitchControl
{
public:
  // Nothing is clickable until SetHitArea.
  BackgroundSwitchControl(const IBounds& position, const IBitmapRef& bitmap, int paramIndex);

  // left ≤ x < right and top ≤ y < bottom of the hit area; never for an all-zero one.
  [[nodiscard]] bool HitTest(float x, float y) const override;

  void SetHitArea(const IBounds& area) noexcept { hitArea = area; }
  [[nodiscard]] const IBounds& HitArea() const noexcept { return hitArea; }

private:
  IBounds hitArea;
};

} // namespace kit::ui
