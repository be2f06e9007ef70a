#include "editor/grid_control.h"

#include "graphics/draw_context.h"
#include "graphics/text_style.h"

#include <array>
#include <string_view>

namespace kit::ui
{

namespace
{

struct Mark
{
  float fraction; // of the width, from the left edge
  std::string_view label;
};

constexpr std::array<Mark, 9> kMarks { {
    { 0.0f, "100" },
    { 0.13f, "500" },
    { 0.27f, "1k" },
    { 0.48f, "2k" },
    { 0.63f, "3k" },
    { 0.74f, "4k" },
    { 0.82f, "5k" },
    { 0.97f, "10k" },
    { 1.0f, "" },
} };

constexpr int kBands = 6;
constexpr float kLabelGap = 2.0f; // between a label's box and the grid's top edge

ITextStyle LabelStyle()
{
  ITextStyle style;
  style.SetFont("Roboto-Regular");
  style.size = 12.0f;
  style.colour = IRgba(255, 255, 255, 255);
  style.entryBackground = IRgba(0, 0, 0, 0);
  style.entryForeground = IRgba(0, 0, 0, 0);
  style.angle = 0.0f;
  style.align = EAlign::kCenter;
  style.valign = EVAlign::kMiddle;
  return style;
}

// The grid with the label strip above it, as wide as the outermost labels reach.
IBounds WithLabelStrip(const IBounds& grid)
{
  return grid.Union(IBounds(grid.left - GridControl::kLabelHalfWidth, grid.top - GridControl::kLabelStripHeight,
                            grid.right + GridControl::kLabelHalfWidth, grid.top));
}

bool Meets(const IBounds& a, const IBounds& b)
{
  const IBounds common = a.Intersect(b);
  return common.W() > 0.0f && common.H() > 0.0f;
}

} // namespace

GridControl::GridControl(const IBounds& gridBounds, int paramIndex, IActionFn action)
    : IControl(gridBounds, paramIndex, std::move(action))
{
  SetBounds(WithLabelStrip(gridBounds));
}

void GridControl::Paint(IDrawContext& drawing)
{
  const IBounds& grid = GridArea();
  const float left = grid.left;
  const float top = grid.top;
  const float right = grid.right;
  const float bottom = grid.bottom;
  drawing.StrokeLine(lineColour, left, top, right, top);
  drawing.StrokeLine(lineColour, left, bottom, right, bottom);
  for (int band = 1; band < kBands; ++band)
  {
    const float y = top + float(band) * (bottom - top) / float(kBands);
    drawing.StrokeLine(lineColour, left, y, right, y);
  }
  const ITextStyle style = LabelStyle();
  for (const Mark& mark : kMarks)
  {
    const float x = left + mark.fraction * (right - left);
    drawing.StrokeLine(lineColour, x, top, x, bottom);
    const IBounds box(x - kLabelHalfWidth, top - kLabelStripHeight, x + kLabelHalfWidth, top - kLabelGap);
    // The graphs repaint the grid every frame below the strip: no text to lay out there.
    if (mark.label.empty() || !Meets(box, drawing.ClipBounds())) continue;
    drawing.RenderText(style, mark.label, box);
  }
}

void GridControl::SetLineColour(const IRgba& colour)
{
  lineColour = colour;
  MarkDirty(false, -1);
}

} // namespace kit::ui
