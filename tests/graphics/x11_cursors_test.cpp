// The editor's cursor kinds as shapes of the X cursor font.
// GoogleTest comes before X11, whose macros None and Bool would rename its types.
#include <gtest/gtest.h>

#include "graphics/platform/x11_cursors.h"

#include <X11/cursorfont.h>

namespace kit::ui
{
namespace
{

TEST(X11Cursors, EveryKindHasItsShapeAndUnknownKindsShowTheArrow)
{
  struct Case
  {
    int kind;
    unsigned int shape;
  };
  const Case cases[] = {
    { 0, XC_left_ptr },
    { 1, XC_xterm },
    { 2, XC_watch },
    { 3, XC_crosshair },
    { 4, XC_sb_up_arrow },
    { 5, XC_bottom_right_corner },
    { 6, XC_bottom_left_corner },
    { 7, XC_sb_h_double_arrow },
    { 8, XC_sb_v_double_arrow },
    { 9, XC_fleur },
    { 10, XC_X_cursor },
    { 11, XC_hand2 },
    { 12, XC_watch },
    { 13, XC_question_arrow },
    { -1, XC_left_ptr },
    { 14, XC_left_ptr },
    { 1000, XC_left_ptr },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(CursorFontShape(c.kind), c.shape);
  }
}

} // namespace
} // namespace kit::ui
