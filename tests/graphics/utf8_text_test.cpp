// Character steps through UTF-8: decoding refuses malformed sequences, boundaries skip whole
// characters, counts and cuts never split one.
#include "graphics/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kit::ui
{
namespace
{

TEST(Utf8Text, DecodeTakesOneWellFormedCharacter)
{
  struct Case
  {
    std::string bytes;
    std::size_t length;
    char32_t codePoint;
  };
  const Case cases[] = {
    { "A", 1, U'A' },
    { "\xc3\xa9x", 2, 0xE9 },
    { "\xe2\x82\xac", 3, 0x20AC },
    { "\xf0\x9f\x8e\xb5", 4, 0x1F3B5 },
    { "\xf4\x8f\xbf\xbf", 4, 0x10FFFF },
    { "", 0, 0 },
    { "\x80", 0, 0 }, // a continuation byte first
    { "\xc3", 0, 0 }, // cut short
    { "\xc3"
      "A",
      0, 0 },                     // not continued
    { "\xc0\xaf", 0, 0 },         // overlong "/"
    { "\xe0\x80\xaf", 0, 0 },     // overlong "/"
    { "\xed\xa0\x80", 0, 0 },     // a surrogate
    { "\xf4\x90\x80\x80", 0, 0 }, // past U+10FFFF
    { "\xf8\x88\x80\x80\x80", 0, 0 },
    { "\xff", 0, 0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "case of " << c.bytes.size() << " bytes, expecting " << c.length);
    char32_t codePoint = 1;
    EXPECT_EQ(Utf8Decode(c.bytes, codePoint), c.length);
    EXPECT_EQ(codePoint, c.codePoint);
  }
}

TEST(Utf8Text, BoundariesCountsAndCuts)
{
  // "a", "é" (2 bytes), "€" (3 bytes), "b": boundaries at 0, 1, 3, 6, 7.
  const std::string text = "a\xc3\xa9\xe2\x82\xac"
                           "b";
  struct Case
  {
    std::size_t at;
    std::size_t next;
    std::size_t previous;
  };
  const Case cases[] = { { 0, 1, 0 }, { 1, 3, 0 }, { 3, 6, 1 }, { 6, 7, 3 }, { 7, 7, 6 }, { 9, 7, 6 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.at);
    EXPECT_EQ(Utf8NextBoundary(text, c.at), c.next);
    EXPECT_EQ(Utf8PreviousBoundary(text, c.at), c.previous);
  }
  EXPECT_EQ(Utf8Length(text), 4u);
  EXPECT_EQ(Utf8Length(""), 0u);

  const std::size_t prefixes[] = { 0, 1, 3, 6, 7, 7 };
  for (std::size_t characters = 0; characters < std::size(prefixes); ++characters)
    EXPECT_EQ(Utf8PrefixBytes(text, characters), prefixes[characters]) << characters;

  const std::size_t fits[] = { 0, 1, 1, 3, 3, 3, 6, 7, 7 };
  for (std::size_t bytes = 0; bytes < std::size(fits); ++bytes)
    EXPECT_EQ(Utf8FitBytes(text, bytes), fits[bytes]) << bytes;
}

} // namespace
} // namespace kit::ui
