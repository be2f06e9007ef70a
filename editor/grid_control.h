// The frequency grid over the spectrum screen: its top and bottom edges, five inner lines that
// cut the height into six bands, and eight labelled vertical marks at fixed screen positions
// (not derived from the graph's frequency axis). The labels sit in a 14-point strip above the
// screen, so the control draws (and repaints) beyond the grid: its bounds take in that strip
// while its hit area stays the grid itself. Owned by the graphics context; editor thread.
#pragma once

#include "graphics/colour.h"
#include "graphics/control.h"

namespace kit::ui
{

class GridControl : public IControl
{
public:
  // How far the labels reach out of the grid: 15 points either side of a mark, 16 above.
  static constexpr float kLabelHalfWidth = 15.0f;
  static constexpr float kLabelStripHeight = 16.0f;

  // bounds: the grid; the control's bounds grow by the label strip, its hit area does not.
  GridControl(const IBounds& bounds, int paramIndex = -1, IActionFn actionFn = {});

  void Paint(IDrawContext& drawing) override;

  void SetLineColour(const IRgba& colour);
  // The grid's own rectangle: where the lines are drawn and the control is hit.
  [[nodiscard]] const IBounds& GridArea() const noexcept { return HitBounds(); }

private:
  IRgba lineColour;
};

} // namespace kit::ui
