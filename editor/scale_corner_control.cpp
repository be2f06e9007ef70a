#include "editor/scale_corner_control.h"

#include "graphics/draw_context.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

namespace kit::ui
{

namespace
{

constexpr float kScaleTolerance = 0.0001f; // zooms closer than this count as the same
constexpr float kLabelMargin = 72.0f;      // room left of and above the grab area for the label
// The label box, its distance from the triangle and its text, in screen pixels.
constexpr float kLabelWidth = 58.0f;
constexpr float kLabelHeight = 20.0f;
constexpr float kLabelGap = 8.0f;
constexpr float kLabelRadius = 4.0f;
constexpr float kLabelTextSize = 12.0f;
constexpr IRgba kLabelFill { 220, 24, 24, 24 };
constexpr IRgba kLabelOutline { 220, 255, 255, 255 };
constexpr int kResizeCursor = int(ECursor::kSizeNWSE);

// The zoom to divide screen sizes by; a zoom of 0 or below counts as tiny.
float ZoomOf(const IDrawContext& drawing)
{
  return std::max(kScaleTolerance, drawing.DrawScale());
}

} // namespace

float SnapScale(float zoom, const std::vector<float>& choices)
{
  float best = zoom;
  float distance = std::numeric_limits<float>::max();
  for (const float choice : choices)
  {
    const float d = std::fabs(zoom - choice);
    // Within the tolerance two choices are equally near, and the smaller wins whatever the
    // order of the list.
    const bool nearer = d < distance - kScaleTolerance;
    const bool tie = std::fabs(d - distance) <= kScaleTolerance;
    if (nearer || (tie && choice < best))
    {
      best = choice;
      distance = d;
    }
  }
  return best;
}

IRasterScaleCornerDragControl::IRasterScaleCornerDragControl(const IBounds& editorBounds, float size,
                                                             std::vector<float> choices, const IRgba& idle,
                                                             const IRgba& hover, const IRgba& drag,
                                                             const ITextStyle& style)
    : IControl(IBounds(editorBounds.right - 2.0f * size + 1.0f, editorBounds.bottom - 2.0f * size + 1.0f,
                       editorBounds.right - 1.0f, editorBounds.bottom - 1.0f))
    , cornerSize(size)
    , triangleArea(editorBounds.right - size + 1.0f, editorBounds.bottom - size + 1.0f, editorBounds.right - 1.0f,
                   editorBounds.bottom - 1.0f)
    , labelStyle(style)
    , idleColour(idle)
    , hoverColour(hover)
    , dragColour(drag)
    , scaleChoices(std::move(choices))
{
  std::sort(scaleChoices.begin(), scaleChoices.end());
}

void IRasterScaleCornerDragControl::OnPointerDown(float, float, const IPointerMods& mods)
{
  if (mods.R) return;
  startScale = graphics->DrawScale();
  graphics->SetResizeGestureActive(true);
  graphics->SetResizeDragShift(false);
}

void IRasterScaleCornerDragControl::OnPointerUp(float, float, const IPointerMods& mods)
{
  if (mods.S) return;
  const float zoom = graphics->DrawScale();
  if (std::fabs(zoom - startScale) <= kScaleTolerance) return;
  const float target = SnapScale(zoom, scaleChoices);
  if (std::fabs(target - zoom) > kScaleTolerance) graphics->SetPendingScale(target);
}

void IRasterScaleCornerDragControl::OnPointerDoubleClick(float, float, const IPointerMods&)
{
  graphics->SetResizeGestureActive(true);
  graphics->SetResizeDragShift(false);
  graphics->ApplySize(graphics->Width(), graphics->Height(), 1.0f, true);
  graphics->FinishResizeGesture();
}

void IRasterScaleCornerDragControl::OnPointerHover(float x, float y, const IPointerMods& mods)
{
  if (!cursorChanged)
  {
    savedCursorKind = graphics->SetCursor(kResizeCursor);
    cursorChanged = true;
  }
  IControl::OnPointerHover(x, y, mods);
}

void IRasterScaleCornerDragControl::OnPointerLeave()
{
  if (cursorChanged) (void)graphics->SetCursor(savedCursorKind);
  cursorChanged = false;
  IControl::OnPointerLeave();
}

void IRasterScaleCornerDragControl::OnScaleChanged()
{
  Place();
}

void IRasterScaleCornerDragControl::OnBoundsChanged()
{
  Place();
}

void IRasterScaleCornerDragControl::OnAdded()
{
  graphics->EnableHover(true);
  Place();
}

void IRasterScaleCornerDragControl::Paint(IDrawContext& drawing)
{
  const bool zooming = drawing.ResizeGestureActive();
  const IRgba& colour = zooming ? dragColour : pointerIsOver ? hoverColour : idleColour;
  const IBounds& t = triangleArea;
  drawing.PaintTriangle(colour, t.left, t.bottom, t.right, t.top, t.right, t.bottom);

  const float zoom = drawing.DrawScale();
  if (!zooming || drawing.ResizeDragShift() || std::fabs(zoom - startScale) <= kScaleTolerance) return;
  const float target = SnapScale(zoom, scaleChoices);
  const float k = 1.0f / ZoomOf(drawing);
  const IBounds box(t.left - kLabelWidth * k - kLabelGap * k, t.top - kLabelHeight * k - kLabelGap * k,
                    t.left - kLabelGap * k, t.top - kLabelGap * k);
  char text[16];
  std::snprintf(text, sizeof text, "%d%%", int(std::lround(target * 100.0f)));
  drawing.PaintRoundRect(kLabelFill, box, kLabelRadius * k);
  drawing.OutlineRoundRect(kLabelOutline, box, kLabelRadius * k, nullptr, 1.0f);
  ITextStyle style = labelStyle;
  style.size = kLabelTextSize * k;
  drawing.RenderText(style, text, box);
}

bool IRasterScaleCornerDragControl::HitTest(float x, float y) const
{
  return grabArea.Contains(x, y);
}

void IRasterScaleCornerDragControl::Place()
{
  if (!graphics) return;
  const float w = float(graphics->Width());
  const float h = float(graphics->Height());
  const float zoom = ZoomOf(*graphics);
  const float g = 2.0f * cornerSize / zoom;
  const float k = 1.0f / zoom;
  grabArea = IBounds(w - g + 1.0f, h - g + 1.0f, w - 1.0f, h - 1.0f);
  triangleArea = IBounds(w - cornerSize * k + 1.0f, h - cornerSize * k + 1.0f, w - 1.0f, h - 1.0f);
  SetTargetAndDrawBounds(IBounds(w - g + 1.0f - kLabelMargin * k, h - g + 1.0f - kLabelMargin * k, w - 1.0f, h - 1.0f));
}

} // namespace kit::ui
