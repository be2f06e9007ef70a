// The shape primitives, each built from the backend's path operations: clear the path, add
// the shape, then stroke or fill it with one colour.
#include "graphics/draw_context.h"

namespace kit::ui
{

namespace
{

IStrokeStyle Dashed(float dashLength)
{
  IStrokeStyle style;
  style.dashes[0] = dashLength;
  style.dashCount = 1;
  return style;
}

} // namespace

void IDrawContext::PaintPixel(const IRgba& colour, float x, float y, const IBlending* blend)
{
  PaintRect(colour, IBounds(x, y, x + 1.0f, y + 1.0f), blend);
}

void IDrawContext::StrokeLine(const IRgba& colour, float x1, float y1, float x2, float y2, const IBlending* blend,
                              float thickness)
{
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::StrokeDottedLine(const IRgba& colour, float x1, float y1, float x2, float y2, const IBlending* blend,
                                    float thickness, float dashLength)
{
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(IFillPattern::Solid(colour), thickness, Dashed(dashLength), blend);
}

void IDrawContext::OutlineTriangle(const IRgba& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                                   const IBlending* blend, float thickness)
{
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathLineTo(x3, y3);
  PathClose();
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::PaintTriangle(const IRgba& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                                 const IBlending* blend)
{
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathLineTo(x3, y3);
  PathClose();
  PathFill(IFillPattern::Solid(colour), {}, blend);
}

void IDrawContext::PathRect(const IBounds& bounds)
{
  PathMoveTo(bounds.left, bounds.top);
  PathLineTo(bounds.right, bounds.top);
  PathLineTo(bounds.right, bounds.bottom);
  PathLineTo(bounds.left, bounds.bottom);
  PathClose();
}

void IDrawContext::PathRoundRect(const IBounds& bounds, float topLeft, float topRight, float bottomRight,
                                 float bottomLeft)
{
  if (topLeft <= 0.0f && topRight <= 0.0f && bottomRight <= 0.0f && bottomLeft <= 0.0f)
  {
    PathRect(bounds);
    return;
  }
  PathMoveTo(bounds.left, bounds.top + topLeft);
  PathArc(bounds.left + topLeft, bounds.top + topLeft, topLeft, 270.0f, 360.0f);
  PathArc(bounds.right - topRight, bounds.top + topRight, topRight, 0.0f, 90.0f);
  PathArc(bounds.right - bottomRight, bounds.bottom - bottomRight, bottomRight, 90.0f, 180.0f);
  PathArc(bounds.left + bottomLeft, bounds.bottom - bottomLeft, bottomLeft, 180.0f, 270.0f);
  PathClose();
}

void IDrawContext::PathCircle(float cx, float cy, float r)
{
  PathMoveTo(cx, cy - r);
  PathArc(cx, cy, r, 0.0f, 360.0f);
  PathClose();
}

bool IDrawContext::PathEllipse(float x, float y, float r1, float r2, float angle)
{
  if (r1 <= 0.0f || r2 <= 0.0f) return false;
  PathClear();
  // The points are mapped as they are added, so the stroke keeps its own width.
  PathTransformSave();
  PathTransformTranslate(x, y);
  PathTransformRotate(angle);
  PathTransformScale(r1, r2);
  PathCircle(0.0f, 0.0f, 1.0f);
  PathTransformRestore();
  return true;
}

void IDrawContext::PathPolygon(const float* xs, const float* ys, int count)
{
  PathMoveTo(xs[0], ys[0]);
  for (int i = 1; i < count; ++i) PathLineTo(xs[i], ys[i]);
  PathClose();
}

void IDrawContext::OutlineRect(const IRgba& colour, const IBounds& bounds, const IBlending* blend, float thickness)
{
  PathClear();
  PathRect(bounds);
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::PaintRect(const IRgba& colour, const IBounds& bounds, const IBlending* blend)
{
  PathClear();
  PathRect(bounds);
  PathFill(IFillPattern::Solid(colour), {}, blend);
}

void IDrawContext::OutlineDottedRect(const IRgba& colour, const IBounds& bounds, const IBlending* blend,
                                     float thickness, float dashLength)
{
  PathClear();
  PathRect(bounds);
  PathStroke(IFillPattern::Solid(colour), thickness, Dashed(dashLength), blend);
}

void IDrawContext::OutlineRoundRect(const IRgba& colour, const IBounds& bounds, float topLeft, float topRight,
                                    float bottomRight, float bottomLeft, const IBlending* blend, float thickness)
{
  PathClear();
  PathRoundRect(bounds, topLeft, topRight, bottomRight, bottomLeft);
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::OutlineRoundRect(const IRgba& colour, const IBounds& bounds, float radius, const IBlending* blend,
                                    float thickness)
{
  OutlineRoundRect(colour, bounds, radius, radius, radius, radius, blend, thickness);
}

void IDrawContext::PaintRoundRect(const IRgba& colour, const IBounds& bounds, float topLeft, float topRight,
                                  float bottomRight, float bottomLeft, const IBlending* blend)
{
  PathClear();
  PathRoundRect(bounds, topLeft, topRight, bottomRight, bottomLeft);
  PathFill(IFillPattern::Solid(colour), {}, blend);
}

void IDrawContext::PaintRoundRect(const IRgba& colour, const IBounds& bounds, float radius, const IBlending* blend)
{
  PaintRoundRect(colour, bounds, radius, radius, radius, radius, blend);
}

void IDrawContext::OutlineArc(const IRgba& colour, float cx, float cy, float r, float a1, float a2,
                              const IBlending* blend, float thickness)
{
  PathClear();
  PathArc(cx, cy, r, a1, a2);
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::PaintArcSector(const IRgba& colour, float cx, float cy, float r, float a1, float a2,
                                  const IBlending* blend)
{
  PathClear();
  PathMoveTo(cx, cy);
  PathArc(cx, cy, r, a1, a2);
  PathClose();
  PathFill(IFillPattern::Solid(colour), {}, blend);
}

void IDrawContext::OutlineCircle(const IRgba& colour, float cx, float cy, float r, const IBlending* blend,
                                 float thickness)
{
  PathClear();
  PathCircle(cx, cy, r);
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::PaintCircle(const IRgba& colour, float cx, float cy, float r, const IBlending* blend)
{
  PathClear();
  PathCircle(cx, cy, r);
  PathFill(IFillPattern::Solid(colour), {}, blend);
}

void IDrawContext::OutlineEllipse(const IRgba& colour, float x, float y, float r1, float r2, float angle,
                                  const IBlending* blend, float thickness)
{
  if (PathEllipse(x, y, r1, r2, angle)) PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::OutlineEllipse(const IRgba& colour, const IBounds& bounds, const IBlending* blend, float thickness)
{
  OutlineEllipse(colour, bounds.MidX(), bounds.MidY(), 0.5f * bounds.W(), 0.5f * bounds.H(), 0.0f, blend, thickness);
}

void IDrawContext::PaintEllipse(const IRgba& colour, float x, float y, float r1, float r2, float angle,
                                const IBlending* blend)
{
  if (PathEllipse(x, y, r1, r2, angle)) PathFill(IFillPattern::Solid(colour), {}, blend);
}

void IDrawContext::PaintEllipse(const IRgba& colour, const IBounds& bounds, const IBlending* blend)
{
  PaintEllipse(colour, bounds.MidX(), bounds.MidY(), 0.5f * bounds.W(), 0.5f * bounds.H(), 0.0f, blend);
}

void IDrawContext::OutlinePolygon(const IRgba& colour, const float* xs, const float* ys, int count,
                                  const IBlending* blend, float thickness)
{
  if (!xs || !ys || count < 1) return;
  PathClear();
  PathPolygon(xs, ys, count);
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::PaintPolygon(const IRgba& colour, const float* xs, const float* ys, int count,
                                const IBlending* blend)
{
  if (!xs || !ys || count < 1) return;
  PathClear();
  PathPolygon(xs, ys, count);
  PathFill(IFillPattern::Solid(colour), {}, blend);
}

void IDrawContext::StrokeGrid(const IRgba& colour, const IBounds& bounds, float stepX, float stepY,
                              const IBlending* blend, float thickness)
{
  PathClear();
  // Each line from its own multiple of the step, so long grids do not drift.
  if (stepX > 1.0f)
  {
    for (int i = 1;; ++i)
    {
      const float x = bounds.left + float(i) * stepX;
      if (!(x < bounds.right)) break;
      PathMoveTo(x, bounds.top);
      PathLineTo(x, bounds.bottom);
    }
  }
  if (stepY > 1.0f)
  {
    for (int i = 1;; ++i)
    {
      const float y = bounds.top + float(i) * stepY;
      if (!(y < bounds.bottom)) break;
      PathMoveTo(bounds.left, y);
      PathLineTo(bounds.right, y);
    }
  }
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

void IDrawContext::StrokeSeries(const IRgba& colour, const IBounds& bounds, const float* ys, int count, const float* xs,
                                const IBlending* blend, float thickness, const IRgba* fillColour)
{
  if (!ys || count < 1) return;
  const float w = bounds.W();
  const float h = bounds.H();
  // Evenly spread points need two to span the width; a single one sits at the left edge.
  const auto pointX = [&](int i)
  {
    if (xs) return bounds.left + w * xs[i];
    return count > 1 ? bounds.left + float(i) * w / float(count - 1) : bounds.left;
  };
  PathClear();
  PathMoveTo(pointX(0), bounds.bottom - h * ys[0]);
  for (int i = 1; i < count; ++i) PathLineTo(pointX(i), bounds.bottom - h * ys[i]);
  if (fillColour)
  {
    IFillStyle keepPath;
    keepPath.preserve = true;
    PathFill(IFillPattern::Solid(*fillColour), keepPath, blend);
  }
  PathStroke(IFillPattern::Solid(colour), thickness, {}, blend);
}

} // namespace kit::ui
