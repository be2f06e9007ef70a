// How a control's text looks: font, size, colour, the colours of the text field that opens
// for typed values, angle and alignment. Plain data, replaced whole.
#pragma once

#include "graphics/colour.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kit::ui
{

enum class EAlign : std::int32_t
{
  kNear, // left
  kCenter,
  kFar, // right
};

enum class EVAlign : std::int32_t
{
  kTop,
  kMiddle,
  kBottom,
};

struct ITextStyle
{
  static constexpr std::size_t kFontNameBytes = 64;

  std::array<char, kFontNameBytes> font {}; // zero-terminated
  float size = 14.0f;                       // points
  IRgba colour { 0, 0, 0, 0 };
  IRgba entryBackground { 0, 0, 0, 0 };
  IRgba entryForeground { 0, 0, 0, 0 };
  float angle = 0.0f; // degrees, 0 upright
  EAlign align = EAlign::kCenter;
  EVAlign valign = EVAlign::kMiddle;

  ITextStyle() { SetFont("Roboto-Regular"); }

  // Cut to 63 bytes, always terminated.
  void SetFont(std::string_view name) noexcept
  {
    const std::size_t length = std::min(name.size(), kFontNameBytes - 1);
    std::memcpy(font.data(), name.data(), length);
    font[length] = '\0';
  }
  [[nodiscard]] std::string_view Font() const noexcept { return font.data(); }
};

} // namespace kit::ui
