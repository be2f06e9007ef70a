// What an X key event means to the editor: the keysym and typed character of a press or
// release, Latin-1 text turned into UTF-8, and the keysyms the text field and the popup menu
// treat as editing or navigation keys. Plain functions, editor thread.
#pragma once

#include "graphics/popup_menu_view.h"
#include "graphics/text_entry.h"

#include <X11/Xlib.h>

#include <optional>
#include <string>

namespace kit::ui
{

struct X11Key
{
  KeySym keysym = 0;
  std::string text;   // the character typed, UTF-8; empty for none
  bool single = true; // false when the key gave several characters at once
};

// The keysym and character of a key event, as the keyboard mapping gives them.
[[nodiscard]] X11Key LookupKey(XKeyEvent& event);

// The UTF-8 form of one Latin-1 byte; empty for control characters (C0, DEL and C1), which
// type nothing.
[[nodiscard]] std::string Latin1ToUtf8(unsigned char byte);

// The editing key of the text field for a keysym; control held turns A into select-all.
[[nodiscard]] std::optional<EEntryKey> EntryKeyOf(KeySym keysym, bool control) noexcept;
[[nodiscard]] std::optional<EMenuKey> MenuKeyOf(KeySym keysym) noexcept;

} // namespace kit::ui
