// Switches: each click steps the value to the next of a fixed number of states, wrapping to the
// first; the bitmap switch draws one frame of its picture per state. Owned by the graphics
// context; editor thread.
#pragma once

#include "editor/bitmap_base.h"
#include "graphics/control.h"

#include <cstdint>
#include <vector>

namespace kit::ui
{

class ISwitchControlBase : public IControl
{
public:
  ISwitchControlBase(const IBounds& bounds, int paramIndex, IActionFn actionFn, int stateCount);

  // Two states toggle; more step up by one state and wrap from the last to the first.
  void OnPointerDown(float x, float y, const IPointerMods& mods) override;
  void OnPointerUp(float x, float y, const IPointerMods& mods) override;
  // The states become the parameter's whole numbers from its minimum to its maximum; a slot
  // whose parameter the plug-in does not have keeps the states it was made with.
  void OnSetup() override;

  [[nodiscard]] int StateCount() const noexcept { return stateCount; }
  [[nodiscard]] bool PointerIsDown() const noexcept { return pointerIsDown; }

protected:
  int stateCount;
  std::vector<std::uint8_t> stateDisabled; // one clear flag per constructed state; nothing reads them
  bool pointerIsDown = false;
};

// A switch with one frame of its picture per state: a click steps by one frame.
class IBSwitchControl : public ISwitchControlBase, public IBitmapBase
{
public:
  // The bounds are one frame of the picture, centred on `position`; two states.
  IBSwitchControl(const IBounds& position, const IBitmapRef& bitmap, int paramIndex);

  void OnPointerDown(float x, float y, const IPointerMods& mods) override;
  void OnScaleChanged() override;
  void Paint(IDrawContext& graphics) override;
};

} // namespace kit::ui
