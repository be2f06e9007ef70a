#include "graphics/text_style.h"

#include <gtest/gtest.h>

#include <string>

namespace kit::ui
{
namespace
{

TEST(TextStyle, DefaultsAndTheFontNameLimit)
{
  ITextStyle style;
  EXPECT_EQ(style.Font(), "Roboto-Regular");
  EXPECT_EQ(style.size, 14.0f);
  EXPECT_EQ(style.colour, (IRgba { 0, 0, 0, 0 }));
  EXPECT_EQ(style.align, EAlign::kCenter);
  EXPECT_EQ(style.valign, EVAlign::kMiddle);
  style.SetFont(std::string(100, 'x'));
  EXPECT_EQ(style.Font().size(), 63u);
  style.SetFont("");
  EXPECT_TRUE(style.Font().empty());
}

} // namespace
} // namespace kit::ui
