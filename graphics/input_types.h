// What the window hands the editor with each pointer and key event, in logical units. Plain
// data, editor thread.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kit::ui
{

// The buttons and modifier keys held with one pointer event; touch fields are 0 for a mouse.
struct IPointerMods
{
  bool L = false;
  bool R = false;
  bool S = false; // shift
  bool C = false; // control
  bool A = false; // alt
  std::int64_t touchId = 0;
  float touchRadius = 0.0f;
};

struct IPointerEvent
{
  float x = 0.0f;
  float y = 0.0f;
  float dX = 0.0f; // movement since the previous sample
  float dY = 0.0f;
  IPointerMods mods;
};

struct IKeyEvent
{
  int virtualKey = 0;          // the platform's key code
  std::array<char, 5> utf8 {}; // the character typed, zero-terminated; empty for none
  bool S = false;
  bool C = false;
  bool A = false;

  // Keeps a whole UTF-8 character of at most 4 bytes; anything longer leaves the text empty.
  void SetText(std::string_view text) noexcept
  {
    utf8 = {};
    if (text.size() < utf8.size()) std::memcpy(utf8.data(), text.data(), text.size());
  }
  [[nodiscard]] std::string_view Text() const noexcept { return utf8.data(); }
};

} // namespace kit::ui
