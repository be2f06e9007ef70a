// A colour of the editor: alpha (opacity), red, green, blue, each 0..255. Plain data.
#pragma once

#include <cstdint>

namespace kit::ui
{

struct IRgba
{
  std::int32_t A = 255;
  std::int32_t R = 0;
  std::int32_t G = 0;
  std::int32_t B = 0;

  constexpr IRgba() = default;
  constexpr IRgba(std::int32_t a, std::int32_t r, std::int32_t g, std::int32_t b)
      : A(a)
      , R(r)
      , G(g)
      , B(b)
  {
  }

  friend constexpr bool operator==(const IRgba&, const IRgba&) = default;
};

} // namespace kit::ui
