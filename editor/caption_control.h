// The value of one parameter as text (its display text, then one space and its unit label when
// asked), with a small downward marker for a parameter chosen from a list. A click asks for a
// new value: a menu of the choices or a text field. Owned by the graphics context; editor thread.
#pragma once

#include "editor/text_control.h"

namespace kit::ui
{

class ICaptionControl : public ITextControl
{
public:
  ICaptionControl(const IBounds& bounds, int paramIndex, const ITextStyle& style, const IRgba& backgroundColour,
                  bool showLabel);

  // Left or right button: the value prompt over the caption.
  void OnPointerDown(float x, float y, const IPointerMods& mods) override;
  // Places the marker; only an enumerated parameter gets one.
  void OnBoundsChanged() override;
  void Paint(IDrawContext& graphics) override;

  [[nodiscard]] const IBounds& MarkerBounds() const noexcept { return markerBounds; }

protected:
  bool showLabel;
  IRgba markerColour { 255, 0, 0, 0 };
  IRgba markerHoverColour { 255, 255, 255, 255 };
  IBounds markerBounds;
};

} // namespace kit::ui
