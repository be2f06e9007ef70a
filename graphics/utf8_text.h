// Character steps through UTF-8 text for the editor's own text field and menu: boundaries,
// counts and cuts in code points, so that no limit ever splits a character. Plain functions.
#pragma once

#include <cstddef>
#include <string_view>

namespace kit::ui
{

// The bytes of the first code point of text and its value; 0 when text is empty or does not
// start with a well-formed sequence (overlong forms, surrogates and values past U+10FFFF
// included).
[[nodiscard]] std::size_t Utf8Decode(std::string_view text, char32_t& codePoint) noexcept;

// The character boundary after / before byte offset at (itself a boundary); text.size() and 0
// at the ends.
[[nodiscard]] std::size_t Utf8NextBoundary(std::string_view text, std::size_t at) noexcept;
[[nodiscard]] std::size_t Utf8PreviousBoundary(std::string_view text, std::size_t at) noexcept;

// The number of characters: every byte that does not continue a sequence starts one.
[[nodiscard]] std::size_t Utf8Length(std::string_view text) noexcept;

// The bytes of the longest prefix holding at most maxCharacters characters.
[[nodiscard]] std::size_t Utf8PrefixBytes(std::string_view text, std::size_t maxCharacters) noexcept;

// The bytes of the longest prefix of at most maxBytes that does not end inside a character.
[[nodiscard]] std::size_t Utf8FitBytes(std::string_view text, std::size_t maxBytes) noexcept;

} // namespace kit::ui
