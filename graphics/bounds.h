// A rectangle in the editor's logical units (points at scale 1): left, top, right, bottom.
// A rectangle whose four coordinates are all 0 is empty and contains no point. Plain data,
// used on the editor's thread.
#pragma once

#include <algorithm>
#include <cmath>

namespace kit::ui
{

struct IBounds
{
  float left = 0.0f;
  float top = 0.0f;
  float right = 0.0f;
  float bottom = 0.0f;

  constexpr IBounds() = default;
  constexpr IBounds(float l, float t, float r, float b)
      : left(l)
      , top(t)
      , right(r)
      , bottom(b)
  {
  }

  [[nodiscard]] constexpr float W() const noexcept { return right - left; }
  [[nodiscard]] constexpr float H() const noexcept { return bottom - top; }
  [[nodiscard]] constexpr float MidX() const noexcept { return 0.5f * (left + right); }
  [[nodiscard]] constexpr float MidY() const noexcept { return 0.5f * (top + bottom); }
  [[nodiscard]] constexpr float Area() const noexcept { return W() * H(); }
  // All four coordinates 0: the rectangle that stands for "nothing".
  [[nodiscard]] constexpr bool Empty() const noexcept
  {
    return left == 0.0f && top == 0.0f && right == 0.0f && bottom == 0.0f;
  }
  // left ≤ x < right and top ≤ y < bottom; never for an empty rectangle.
  [[nodiscard]] constexpr bool Contains(float x, float y) const noexcept
  {
    return !Empty() && x >= left && x < right && y >= top && y < bottom;
  }
  [[nodiscard]] constexpr bool Contains(const IBounds& other) const noexcept
  {
    return other.left >= left && other.right <= right && other.top >= top && other.bottom <= bottom;
  }
  // The common part, which may have no area; all zero when either is empty.
  [[nodiscard]] constexpr IBounds Intersect(const IBounds& other) const noexcept
  {
    if (Empty() || other.Empty()) return {};
    return { std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
             std::min(bottom, other.bottom) };
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  [[nodiscard]] constexpr IBounds Union(const IBounds& other) const noexcept
  {
    if (Empty()) return other;
    if (other.Empty()) return *this;
    return { std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
             std::max(bottom, other.bottom) };
  }
  // Grown by amount on every side.
  [[nodiscard]] constexpr IBounds GetPadded(float amount) const noexcept
  {
    return { left - amount, top - amount, right + amount, bottom + amount };
  }
  // Widened outward to whole device pixels at total scale scale.
  [[nodiscard]] IBounds PixelAligned(float scale) const noexcept
  {
    return { std::floor(left * scale) / scale, std::floor(top * scale) / scale, std::ceil(right * scale) / scale,
             std::ceil(bottom * scale) / scale };
  }

  friend constexpr bool operator==(const IBounds&, const IBounds&) = default;
};

} // namespace kit::ui
