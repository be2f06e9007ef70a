// Cursor kinds to the X cursor font, in the order of the editor's kinds.
#include "graphics/platform/x11_cursors.h"

#include <X11/cursorfont.h>

#include <array>

namespace kit::ui
{

namespace
{

constexpr std::array<unsigned int, kCursorKinds> kShapes {
  XC_left_ptr,            // arrow
  XC_xterm,               // text beam
  XC_watch,               // wait
  XC_crosshair,           // cross
  XC_sb_up_arrow,         // up arrow
  XC_bottom_right_corner, // size north-west / south-east
  XC_bottom_left_corner,  // size north-east / south-west
  XC_sb_h_double_arrow,   // size west / east
  XC_sb_v_double_arrow,   // size north / south
  XC_fleur,               // size all
  XC_X_cursor,            // not allowed
  XC_hand2,               // hand
  XC_watch,               // starting in the background
  XC_question_arrow,      // help
};

std::size_t SlotOf(int kind) noexcept
{
  return kind >= 0 && kind < kCursorKinds ? std::size_t(kind) : 0;
}

} // namespace

unsigned int CursorFontShape(int kind) noexcept
{
  return kShapes[SlotOf(kind)];
}

Cursor FontCursorOf(Display* display, std::vector<Cursor>& cache, int kind)
{
  cache.resize(kCursorKinds, 0);
  Cursor& cursor = cache[SlotOf(kind)];
  if (cursor == 0) cursor = XCreateFontCursor(display, CursorFontShape(kind));
  return cursor;
}

Cursor MakeEmptyCursor(Display* display, Window window)
{
  const char blank = 0;
  const Pixmap pixmap = XCreateBitmapFromData(display, window, &blank, 1, 1);
  if (pixmap == 0) return 0;
  XColor black {};
  const Cursor cursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
  XFreePixmap(display, pixmap);
  return cursor;
}

} // namespace kit::ui
