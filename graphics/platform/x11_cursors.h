// The editor's cursor kinds as X cursors: shapes of the standard cursor font, made once per
// connection and kept by kind, and the empty cursor that hides the pointer. Editor thread.
#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace kit::ui
{

// Kinds 0 … 13 have shapes of their own.
inline constexpr int kCursorKinds = 14;

// The cursor-font shape (an XC_ value) that shows kind; any unknown kind shows the arrow.
[[nodiscard]] unsigned int CursorFontShape(int kind) noexcept;

// The font cursor of kind on display, made at the first request and kept in cache (indexed
// by kind, unknown kinds sharing the arrow's slot).
[[nodiscard]] Cursor FontCursorOf(Display* display, std::vector<Cursor>& cache, int kind);
// A 1 × 1 cursor with nothing drawn; 0 when the server refuses it.
[[nodiscard]] Cursor MakeEmptyCursor(Display* display, Window window);

} // namespace kit::ui
