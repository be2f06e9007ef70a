// The display density from the server's resource text: Xft.dpi / 96 rounded, halves away from
// zero, and never below one pixel per unit.
// GoogleTest first: Xlib's macros (None, Bool) would rename its names.
#include <gtest/gtest.h>

#include "graphics/platform/x11_density.h"

#include <string>

namespace kit::ui
{
namespace
{

TEST(X11Density, FromXftDpiEntries)
{
  struct Case
  {
    std::string resources;
    float expected;
  };
  const Case cases[] = {
    { "", 1.0f },                    // no resource text at all
    { "Xft.antialias:\t1\n", 1.0f }, // text without Xft.dpi
    { "Xft.dpi:\t96\n", 1.0f },
    { "Xft.dpi:\t120\n", 1.0f }, // 1.25
    { "Xft.dpi:\t143\n", 1.0f }, // 1.49
    { "Xft.dpi:\t144\n", 2.0f }, // 1.5 rounds away from zero
    { "Xft.dpi:\t192\n", 2.0f },
    { "Xft.dpi:\t240\n", 3.0f }, // 2.5 rounds away from zero
    { "Xft.dpi:\t30\n", 1.0f },  // 0.3125 would be a zero scale
    { "Xft.dpi:\t0\n", 1.0f },
    { "Xft.dpi:\t47\n", 1.0f }, // 0.49
    { "Xft.dpi:\tabc\n", 1.0f },
    { "Xft.dpi:\tnan\n", 1.0f },
    { "Xft.dpi:\tinf\n", 1.0f },
    { "Xft.dpi:\t-96\n", 1.0f },
    { "Xft.dpi:\t-144\n", 1.0f },               // -1.5 rounds to -2, below 1
    { "Xft.dpi:\t144abc\n", 1.0f },             // a number with more after it is no number
    { "Xft.dpi:\n", 1.0f },                     // no value
    { "Xft.dpi:\t168.5\n", 2.0f },              // 1.755
    { "Xft.dpi:\t1e9\n", 8.0f },                // no more than the drawing context takes
    { "Xft.dpi: 192", 2.0f },                   // a space, and no line end
    { "  Xft.dpi  :  192  \r\n", 2.0f },        // spacing around name and value
    { "Xft.dpix:\t192\nXft.dpi:\t96\n", 1.0f }, // another name that begins alike
    { "Xft.hinting:\t1\nXft.dpi:\t192\nXcursor.size:\t24\n", 2.0f },
    { "*customization:\t-color\nXft.dpi:\t144\nXft.antialias:\t1\nXft.rgba:\trgb", 2.0f },
    { "Xft.dpi:\t96\nXft.dpi:\t192\n", 2.0f },  // the later entry replaces the earlier
    { "Xft.dpi:\t192\nXft.dpi:\tabc\n", 1.0f }, // so an unreadable later one gives 1
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.resources);
    EXPECT_EQ(DensityFromResources(c.resources), c.expected);
  }
}

TEST(X11Density, XftDpiValueIsReadAsANumber)
{
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t120.5\n"), 120.5);
  EXPECT_EQ(XftDpiFromResources("Xft.antialias:\t1\n"), std::nullopt);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\tabc\n"), std::nullopt);
}

TEST(X11Density, FromDpiDirectly)
{
  struct Case
  {
    double dpi;
    float expected;
  };
  const Case cases[] = {
    { 96.0, 1.0f },  { 143.99, 1.0f }, { 144.0, 2.0f }, { 239.99, 2.0f }, { 240.0, 3.0f },
    { 288.0, 3.0f }, { 336.0, 4.0f }, // 3.5
    { 47.0, 1.0f },  { 0.0, 1.0f },    { -1.0, 1.0f },  { 1e308, 8.0f },  { -1e308, 1.0f },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(DensityFromDpi(c.dpi), c.expected);
  }
}

} // namespace
} // namespace kit::ui
