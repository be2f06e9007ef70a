// A text held in a fixed array of N bytes, always ending in a zero byte, so it can live in
// plain records (parameter names, display texts, bus names) and be handed to C interfaces.
// Never allocates; any thread, as long as one thread writes a given object at a time.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kit
{

template <std::size_t N>
class FixedText
{
  static_assert(N >= 1, "a fixed text needs room for its terminating zero");

public:
  // The most characters the text can hold: one byte stays for the terminating zero.
  static constexpr std::size_t kCapacity = N - 1;

  constexpr FixedText() noexcept = default;
  constexpr explicit FixedText(std::string_view text) noexcept { Set(text); }

  // Replaces the text; keeps at most kCapacity bytes and never ends inside a UTF-8 character.
  // A zero byte inside `text` ends the text there.
  constexpr void Set(std::string_view text) noexcept
  {
    Clear();
    Append(text);
  }

  // Adds `text` after the current one, cut like Set.
  constexpr void Append(std::string_view text) noexcept
  {
    text = text.substr(0, text.find('\0'));
    const std::size_t length = Size();
    std::size_t count = std::min(text.size(), kCapacity - length);
    if (count < text.size())
    {
      // Back off to the first byte of a UTF-8 sequence (continuation bytes are 10xxxxxx).
      while (count > 0 && (static_cast<unsigned char>(text[count]) & 0xC0u) == 0x80u)
      {
        --count;
      }
    }
    std::copy_n(text.data(), count, chars.data() + length);
    chars[length + count] = '\0';
  }

  constexpr void Clear() noexcept { chars.fill('\0'); }

  [[nodiscard]] constexpr const char* c_str() const noexcept { return chars.data(); }
  [[nodiscard]] constexpr std::string_view View() const noexcept { return std::string_view(chars.data(), Size()); }
  [[nodiscard]] constexpr std::size_t Size() const noexcept { return std::char_traits<char>::length(chars.data()); }
  [[nodiscard]] constexpr bool Empty() const noexcept { return chars[0] == '\0'; }

private:
  std::array<char, N> chars {};
};

} // namespace kit
