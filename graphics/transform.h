// An affine transform of editor coordinates: a point maps to (xx·x + xy·y + tx,
// yx·x + yy·y + ty). Each step multiplies on the right, so the newest step acts on points
// first, as drawing code nests translate, rotate and scale. Plain data.
#pragma once

#include <cmath>

namespace kit::ui
{

struct ITransform2D
{
  double xx = 1.0;
  double yx = 0.0;
  double xy = 0.0;
  double yy = 1.0;
  double tx = 0.0;
  double ty = 0.0;

  // This · step.
  [[nodiscard]] constexpr ITransform2D Then(const ITransform2D& step) const noexcept
  {
    return { xx * step.xx + xy * step.yx, yx * step.xx + yy * step.yx,      xx * step.xy + xy * step.yy,
             yx * step.xy + yy * step.yy, xx * step.tx + xy * step.ty + tx, yx * step.tx + yy * step.ty + ty };
  }
  [[nodiscard]] constexpr ITransform2D Translated(double x, double y) const noexcept
  {
    return Then({ 1.0, 0.0, 0.0, 1.0, x, y });
  }
  [[nodiscard]] constexpr ITransform2D Scaled(double x, double y) const noexcept
  {
    return Then({ x, 0.0, 0.0, y, 0.0, 0.0 });
  }
  // Clockwise on screen (y grows downwards) by degrees.
  [[nodiscard]] ITransform2D Rotated(double degrees) const noexcept
  {
    const double radians = degrees / 180.0 * 3.1415927;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    return Then({ c, s, -s, c, 0.0, 0.0 });
  }
  [[nodiscard]] constexpr double MapX(double x, double y) const noexcept { return xx * x + xy * y + tx; }
  [[nodiscard]] constexpr double MapY(double x, double y) const noexcept { return yx * x + yy * y + ty; }
  // Finite and invertible: only such a transform may reach the drawing library, whose
  // context would otherwise stop drawing for good.
  [[nodiscard]] bool Usable() const noexcept
  {
    const double determinant = xx * yy - xy * yx;
    return std::isfinite(xx) && std::isfinite(yx) && std::isfinite(xy) && std::isfinite(yy) && std::isfinite(tx) &&
           std::isfinite(ty) && determinant != 0.0 && std::isfinite(determinant);
  }

  friend constexpr bool operator==(const ITransform2D&, const ITransform2D&) = default;
};

} // namespace kit::ui
