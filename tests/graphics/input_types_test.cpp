#include "graphics/input_types.h"

#include <gtest/gtest.h>

namespace kit::ui
{
namespace
{

TEST(KeyEvent, KeepsOneWholeCharacterOfAtMostFourBytes)
{
  struct Case
  {
    std::string_view text;
    std::string_view kept;
  };
  const Case cases[] = {
    { "a", "a" }, { "\xC3\xA9", "\xC3\xA9" }, { "\xF0\x9F\x8E\xB5", "\xF0\x9F\x8E\xB5" }, { "", "" }, { "abcde", "" },
  };
  for (const Case& c : cases)
  {
    IKeyEvent key;
    key.SetText("x");
    key.SetText(c.text);
    EXPECT_EQ(key.Text(), c.kept);
  }
}

} // namespace
} // namespace kit::ui
