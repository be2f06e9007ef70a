// The zoom handle in the editor's lower-right corner: dragging it zooms the whole editor, the
// release snaps the zoom to the nearest preset unless shift is held, a double click returns to
// 100 %. The dispatch turns the drag into zoom steps; this control starts the gesture, picks the
// snap target, draws the triangle and the percentage label and sets the cursor. Editor thread.
#pragma once

#include "graphics/bounds.h"
#include "graphics/colour.h"
#include "graphics/control.h"
#include "graphics/text_style.h"

#include <vector>

namespace kit::ui
{

// The choice nearest to zoom; a tie within 0.0001 goes to the smaller choice. No choices: zoom.
[[nodiscard]] float SnapScale(float zoom, const std::vector<float>& choices);

class IRasterScaleCornerDragControl : public IControl
{
public:
  // editorBounds: the whole editor (0, 0, width, height); cornerSize: the triangle's side in
  // screen pixels. The choices are kept sorted ascending.
  IRasterScaleCornerDragControl(const IBounds& editorBounds, float cornerSize, std::vector<float> scaleChoices,
                                const IRgba& idleColour, const IRgba& hoverColour, const IRgba& dragColour,
                                const ITextStyle& labelStyle);

  void OnPointerDown(float x, float y, const IPointerMods& mods) override;
  void OnPointerUp(float x, float y, const IPointerMods& mods) override;
  void OnPointerDoubleClick(float x, float y, const IPointerMods& mods) override;
  void OnPointerHover(float x, float y, const IPointerMods& mods) override;
  void OnPointerLeave() override;
  void OnScaleChanged() override;
  void OnBoundsChanged() override;
  void OnAdded() override;
  void Paint(IDrawContext& drawing) override;
  [[nodiscard]] bool HitTest(float x, float y) const override;

  // Where the pointer is taken and where the triangle is drawn, in editor units.
  [[nodiscard]] const IBounds& GrabArea() const noexcept { return grabArea; }
  [[nodiscard]] const IBounds& TriangleArea() const noexcept { return triangleArea; }

private:
  // Keeps the corner the same size on screen at the current zoom.
  void Place();

  float cornerSize;
  float startScale = 1.0f;
  bool cursorChanged = false;
  int savedCursorKind = 0;
  IBounds grabArea;
  IBounds triangleArea;
  ITextStyle labelStyle;
  IRgba idleColour;
  IRgba hoverColour;
  IRgba dragColour;
  std::vector<float> scaleChoices;
};

} // namespace kit::ui
