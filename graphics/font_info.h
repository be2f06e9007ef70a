// The header facts of a TrueType or OpenType font held in memory: which face, its family and
// style names, its units per em and line metrics. Every offset and length in the font is checked
// against the bytes, so a damaged file is rejected, never read past its end. Any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kit::ui
{

struct FontInfo
{
  // Bits of macStyle.
  static constexpr std::uint16_t kBold = 1u << 0;
  static constexpr std::uint16_t kItalic = 1u << 1;
  static constexpr std::uint16_t kUnderline = 1u << 2;

  const std::uint8_t* data = nullptr; // start of the chosen face; null when the bytes are not accepted
  // Offsets of the tables from the start of the whole file, as its table directory gives them
  // (for a collection, not from data); 0 when absent.
  std::uint32_t headOffset = 0;
  std::uint32_t nameOffset = 0;
  std::uint32_t hheaOffset = 0;
  std::string family; // name record 1, UTF-8 (Macintosh Roman bytes as they are)
  std::string style;  // name record 2, likewise
  std::uint16_t macStyle = 0;
  std::uint16_t unitsPerEm = 0;
  std::int16_t ascender = 0;
  std::int16_t descender = 0;
  std::int16_t lineGap = 0;
  // One line on why the font cannot be used for text; empty when it can.
  std::string problem;

  // The face was accepted and its "head", "name" and "hhea" tables found.
  [[nodiscard]] bool IsValid() const noexcept
  {
    return data != nullptr && headOffset != 0 && nameOffset != 0 && hheaOffset != 0;
  }
  // Valid, with a non-zero em and a line height: text in it can be measured and drawn.
  [[nodiscard]] bool IsComplete() const noexcept { return IsValid() && unitsPerEm != 0 && ascender != descender; }
};

// Reads face `faceIndex` of a single font (face 0 only) or of a font collection ("ttcf").
// The result keeps pointing into `bytes`.
[[nodiscard]] FontInfo ParseFontInfo(std::span<const std::uint8_t> bytes, int faceIndex);

} // namespace kit::ui
