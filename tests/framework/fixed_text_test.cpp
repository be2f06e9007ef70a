#include "framework/fixed_text.h"

#include <cstring>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace kit
{
namespace
{

TEST(FixedText, StartsEmptyAndTerminated)
{
  const FixedText<32> text;
  EXPECT_TRUE(text.Empty());
  EXPECT_EQ(text.View(), "");
  EXPECT_STREQ(text.c_str(), "");
}

TEST(FixedText, SetCutsToCapacityAndStaysTerminated)
{
  struct Case
  {
    std::string input;
    std::string expected;
  };
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789"; // 36 characters
  const Case cases[] = {
    { "on", "on" },
    { letters.substr(0, 31), letters.substr(0, 31) },
    { letters.substr(0, 32), letters.substr(0, 31) },
    { letters, letters.substr(0, 31) },
    { "", "" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.input);
    FixedText<32> text;
    text.Set("previous text that is longer than the next");
    text.Set(c.input);
    EXPECT_EQ(text.View(), c.expected);
    EXPECT_EQ(std::strlen(text.c_str()), c.expected.size());
    EXPECT_EQ(text.c_str()[31], '\0');
    EXPECT_EQ(text.Empty(), c.expected.empty());
  }
}

TEST(FixedText, CutNeverSplitsAUtf8Character)
{
  // 30 ASCII bytes then "ä" (2 bytes): the character would straddle the 31-byte limit.
  const std::string input = std::string(30, 'x') + "\xC3\xA4" + "y";
  const FixedText<32> text(input);
  EXPECT_EQ(text.View(), std::string(30, 'x'));

  // 29 ASCII bytes then "ä" fits exactly.
  const FixedText<32> fits(std::string(29, 'x') + "\xC3\xA4" + "y");
  EXPECT_EQ(fits.View(), std::string(29, 'x') + "\xC3\xA4");
}

TEST(FixedText, ZeroByteEndsTheText)
{
  const FixedText<32> text(std::string_view("on\0off", 6));
  EXPECT_EQ(text.View(), "on");
}

TEST(FixedText, AppendAddsWithinCapacity)
{
  FixedText<8> text("Out");
  text.Append("put");
  EXPECT_EQ(text.View(), "Output");
  text.Append(" 12");
  EXPECT_EQ(text.View(), "Output "); // 7 characters fit in 8 bytes
  EXPECT_EQ(text.c_str()[7], '\0');
}

TEST(FixedText, ClearEmpties)
{
  FixedText<32> text("Target Bits");
  text.Clear();
  EXPECT_TRUE(text.Empty());
  EXPECT_EQ(text.View(), "");
}

TEST(FixedText, OneByteTextHoldsNothing)
{
  FixedText<1> text("anything");
  EXPECT_TRUE(text.Empty());
  EXPECT_STREQ(text.c_str(), "");
}

} // namespace
} // namespace kit
