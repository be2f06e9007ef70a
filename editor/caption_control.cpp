#include "editor/caption_control.h"

#include "framework/param.h"
#include "graphics/draw_context.h"

namespace kit::ui
{

namespace
{

// The marker's height as a share of the text size; its width is half the text size.
constexpr float kMarkerHeightShare = 0.33f;
constexpr IBlending kMarkerBlend { EBlend::kSrcOver, 0.5f };

} // namespace

ICaptionControl::ICaptionControl(const IBounds& controlBounds, int paramIndex, const ITextStyle& style,
                                 const IRgba& background, bool withLabel)
    : ITextControl(controlBounds, "", style, background, false)
    , showLabel(withLabel)
{
  values[0].paramIndex = paramIndex;
  MarkDirty(false, -1);
  promptDisabled = false;
  doubleClickAsSingle = true;
  ignoresPointer = false;
}

void ICaptionControl::OnPointerDown(float, float, const IPointerMods& mods)
{
  if (!(mods.L || mods.R) || promptDisabled || !ParamOfSlot(0) || !graphics) return;
  graphics->OpenValueEditor(*this, bounds, 0);
}

void ICaptionControl::OnBoundsChanged()
{
  const IParam* param = ParamOfSlot(0);
  if (!param || param->Type() != IParam::kTypeEnum)
  {
    markerBounds = {};
    return;
  }
  const float size = textStyle.size;
  // The marker sits on the side the text leaves free: the left of right-aligned text.
  const float cellLeft = textStyle.align == EAlign::kFar ? bounds.left : bounds.right - size;
  const float left = cellLeft + 0.5f * size - 0.25f * size;
  const float top = bounds.MidY() - 0.5f * kMarkerHeightShare * size;
  markerBounds = IBounds(left, top, left + 0.5f * size, top + kMarkerHeightShare * size);
}

void ICaptionControl::Paint(IDrawContext& drawContext)
{
  if (const IParam* param = ParamOfSlot(0))
  {
    IParam::Text shown;
    param->FormatDisplay(param->Value(), false, shown, true);
    text = shown.View();
    if (showLabel)
    {
      text += ' ';
      text += param->LabelForValue();
    }
  }
  ITextControl::Paint(drawContext);
  if (markerBounds.W() > 0.0f)
  {
    const IBounds& m = markerBounds;
    if (pointerIsOver)
      drawContext.PaintTriangle(markerHoverColour, m.left, m.top, m.right, m.top, m.MidX(), m.bottom);
    else
      drawContext.PaintTriangle(markerColour, m.left, m.top, m.right, m.top, m.MidX(), m.bottom, &kMarkerBlend);
  }
}

} // namespace kit::ui
