#include "graphics/utf8_text.h"

namespace kit::ui
{
namespace
{

// Continuation bytes are 10xxxxxx.
bool Continues(char byte) noexcept
{
  return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80u;
}

} // namespace

std::size_t Utf8Decode(std::string_view text, char32_t& codePoint) noexcept
{
  codePoint = 0;
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  // The lead byte gives the length, its payload bits and the smallest value that needs it.
  std::size_t length = 4;
  char32_t value = lead & 0x07u;
  char32_t smallest = 0x10000;
  if (lead < 0x80u)
  {
    length = 1;
    value = lead;
    smallest = 0;
  }
  else if ((lead & 0xE0u) == 0xC0u)
  {
    length = 2;
    value = lead & 0x1Fu;
    smallest = 0x80;
  }
  else if ((lead & 0xF0u) == 0xE0u)
  {
    length = 3;
    value = lead & 0x0Fu;
    smallest = 0x800;
  }
  else if ((lead & 0xF8u) != 0xF0u)
    return 0;
  if (text.size() < length) return 0;
  for (std::size_t index = 1; index < length; ++index)
  {
    if (!Continues(text[index])) return 0;
    value = (value << 6) | (static_cast<unsigned char>(text[index]) & 0x3Fu);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  codePoint = value;
  return length;
}

std::size_t Utf8NextBoundary(std::string_view text, std::size_t at) noexcept
{
  if (at >= text.size()) return text.size();
  ++at;
  while (at < text.size() && Continues(text[at])) ++at;
  return at;
}

std::size_t Utf8PreviousBoundary(std::string_view text, std::size_t at) noexcept
{
  if (at > text.size()) at = text.size();
  if (at == 0) return 0;
  --at;
  while (at > 0 && Continues(text[at])) --at;
  return at;
}

std::size_t Utf8Length(std::string_view text) noexcept
{
  std::size_t count = 0;
  for (const char byte : text)
    if (!Continues(byte)) ++count;
  return count;
}

std::size_t Utf8PrefixBytes(std::string_view text, std::size_t maxCharacters) noexcept
{
  std::size_t at = 0;
  for (std::size_t count = 0; count < maxCharacters && at < text.size(); ++count) at = Utf8NextBoundary(text, at);
  return at;
}

std::size_t Utf8FitBytes(std::string_view text, std::size_t maxBytes) noexcept
{
  if (text.size() <= maxBytes) return text.size();
  std::size_t at = maxBytes;
  while (at > 0 && Continues(text[at])) --at;
  return at;
}

} // namespace kit::ui
