// Key events: XLookupString gives Latin-1 bytes, the editor wants UTF-8.
#include "graphics/platform/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <array>

namespace kit::ui
{

X11Key LookupKey(XKeyEvent& event)
{
  std::array<char, 8> bytes {};
  KeySym keysym = NoSymbol;
  const int count = XLookupString(&event, bytes.data(), int(bytes.size()), &keysym, nullptr);
  X11Key key;
  key.keysym = keysym;
  key.single = count <= 1;
  if (count == 1) key.text = Latin1ToUtf8(static_cast<unsigned char>(bytes[0]));
  return key;
}

std::string Latin1ToUtf8(unsigned char byte)
{
  if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) return {};
  if (byte < 0x80) return std::string(1, char(byte));
  // Latin-1 is the first 256 code points: two bytes carry the top two bits and the low six.
  return { char(0xC0 | (byte >> 6)), char(0x80 | (byte & 0x3F)) };
}

std::optional<EEntryKey> EntryKeyOf(KeySym keysym, bool control) noexcept
{
  switch (keysym)
  {
  case XK_Return:
  case XK_KP_Enter:
    return EEntryKey::kReturn;
  case XK_Escape:
    return EEntryKey::kEscape;
  case XK_BackSpace:
    return EEntryKey::kBackspace;
  case XK_Delete:
  case XK_KP_Delete:
    return EEntryKey::kDelete;
  case XK_Left:
  case XK_KP_Left:
    return EEntryKey::kLeft;
  case XK_Right:
  case XK_KP_Right:
    return EEntryKey::kRight;
  case XK_Home:
  case XK_KP_Home:
    return EEntryKey::kHome;
  case XK_End:
  case XK_KP_End:
    return EEntryKey::kEnd;
  case XK_a:
  case XK_A:
    if (control) return EEntryKey::kSelectAll;
    return std::nullopt;
  default:
    return std::nullopt;
  }
}

std::optional<EMenuKey> MenuKeyOf(KeySym keysym) noexcept
{
  switch (keysym)
  {
  case XK_Up:
  case XK_KP_Up:
    return EMenuKey::kUp;
  case XK_Down:
  case XK_KP_Down:
    return EMenuKey::kDown;
  case XK_Left:
  case XK_KP_Left:
    return EMenuKey::kLeft;
  case XK_Right:
  case XK_KP_Right:
    return EMenuKey::kRight;
  case XK_Return:
  case XK_KP_Enter:
    return EMenuKey::kReturn;
  case XK_Escape:
    return EMenuKey::kEscape;
  default:
    return std::nullopt;
  }
}

} // namespace kit::ui
