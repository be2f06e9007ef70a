// The line of the zoom preference file: a number with white space around it and nothing else,
// finite and above 0, read the same whatever the process locale.
#include "editor/display_scale_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kit::ui
{
namespace
{

// The parser uses std::from_chars, which never looks at the locale. Where it differs from the C
// conversion (strtof) the row says which way it was settled.
TEST(ParseSavedScale, AcceptsOnlyAWholePositiveFiniteNumber)
{
  struct Case
  {
    std::string line;
    std::optional<float> expected;
    const char* why;
  };
  const Case cases[] = {
    { "1.2500", 1.25f, "what the editor writes" },
    { "1.5", 1.5f, "" },
    { " 1.5 ", 1.5f, "white space around the number" },
    { "\t 2\r", 2.0f, "tab before, carriage return of a CRLF file after" },
    { "1.5\v\f", 1.5f, "any C white space after" },
    { ".5", 0.5f, "no digit before the point, as strtof" },
    { "5.", 5.0f, "no digit after the point, as strtof" },
    { "1e1", 10.0f, "exponent, as strtof; the caller limits the zoom" },
    { "+1.5", 1.5f, "leading plus: strtof takes it, so does the parser" },
    { "1.5 word", std::nullopt, "a word after the number" },
    { "1.5x", std::nullopt, "" },
    { "1,5", std::nullopt, "a comma is no decimal point here" },
    { "1.5e", std::nullopt, "strtof would stop before the e and leave it over" },
    { "0", std::nullopt, "not above 0" },
    { "0.0000", std::nullopt, "" },
    { "-0", std::nullopt, "" },
    { "-1", std::nullopt, "" },
    { "inf", std::nullopt, "parsed as infinity by both, not finite" },
    { "infinity", std::nullopt, "" },
    { "nan", std::nullopt, "parsed as NaN by both, not finite" },
    { "nan(1)", std::nullopt, "" },
    { "1e39", std::nullopt, "overflow: a range error for both" },
    { "1e-50", std::nullopt, "underflow: a range error for both" },
    { "1e-40", std::nullopt, "subnormal: strtof reports a range error, the parser rejects it too" },
    { "0x1.4p0", std::nullopt, "hexadecimal: strtof reads 1.25; never written by the editor, rejected" },
    { "++1", std::nullopt, "" },
    { "+-1", std::nullopt, "" },
    { "+ 1", std::nullopt, "" },
    { "+", std::nullopt, "" },
    { "-", std::nullopt, "" },
    { ".", std::nullopt, "" },
    { "", std::nullopt, "empty" },
    { "   ", std::nullopt, "white space only" },
    { std::string("1.5\0", 4), std::nullopt, "a NUL after the number" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "\"" << c.line << "\" " << c.why);
    const std::optional<float> parsed = ParseSavedScale(c.line);
    ASSERT_EQ(parsed.has_value(), c.expected.has_value());
    if (parsed)
    {
      EXPECT_EQ(*parsed, *c.expected);
    }
  }
}

} // namespace
} // namespace kit::ui
