// Key events of the X11 window: Latin-1 characters in UTF-8 and the keysyms that edit the text
// field or move through the popup menu.
// GoogleTest comes before X11, whose macros None and Bool would rename its types.
#include <gtest/gtest.h>

#include "graphics/platform/x11_keys.h"

#include <X11/keysym.h>
#include <iconv.h>

#include <array>
#include <optional>
#include <string>

namespace kit::ui
{
namespace
{

TEST(X11Keys, Latin1BytesBecomeTheirUtf8Sequences)
{
  struct Case
  {
    unsigned char byte;
    std::string expected;
  };
  const Case cases[] = {
    { 0x41, "A" },        { 0x20, " " },        { 0x7E, "~" },        { 0xA0, "\xC2\xA0" }, { 0xBF, "\xC2\xBF" },
    { 0xC0, "\xC3\x80" }, { 0xE9, "\xC3\xA9" }, { 0xFF, "\xC3\xBF" }, { 0x00, "" },         { 0x08, "" },
    { 0x0D, "" },         { 0x1B, "" },         { 0x7F, "" },         { 0x80, "" },         { 0x9F, "" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(int(c.byte));
    EXPECT_EQ(Latin1ToUtf8(c.byte), c.expected);
  }
}

// Every printable Latin-1 byte agrees with the C library's own conversion.
TEST(X11Keys, PrintableLatin1AgreesWithIconv)
{
  iconv_t converter = iconv_open("UTF-8", "ISO-8859-1");
  ASSERT_NE(converter, iconv_t(-1));
  for (int value = 0x20; value <= 0xFF; ++value)
  {
    if (value >= 0x7F && value < 0xA0) continue;
    SCOPED_TRACE(value);
    char in = char(value);
    std::array<char, 8> out {};
    char* inPointer = &in;
    char* outPointer = out.data();
    std::size_t inLeft = 1;
    std::size_t outLeft = out.size();
    ASSERT_NE(iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft), std::size_t(-1));
    EXPECT_EQ(Latin1ToUtf8(static_cast<unsigned char>(value)), std::string(out.data(), out.size() - outLeft));
  }
  iconv_close(converter);
}

TEST(X11Keys, EditingKeysOfTheTextField)
{
  struct Case
  {
    KeySym keysym;
    bool control;
    std::optional<EEntryKey> expected;
  };
  const Case cases[] = {
    { XK_Return, false, EEntryKey::kReturn },
    { XK_KP_Enter, false, EEntryKey::kReturn },
    { XK_Escape, false, EEntryKey::kEscape },
    { XK_BackSpace, false, EEntryKey::kBackspace },
    { XK_Delete, false, EEntryKey::kDelete },
    { XK_KP_Delete, false, EEntryKey::kDelete },
    { XK_Left, false, EEntryKey::kLeft },
    { XK_Right, false, EEntryKey::kRight },
    { XK_KP_Left, false, EEntryKey::kLeft },
    { XK_KP_Right, false, EEntryKey::kRight },
    { XK_Home, false, EEntryKey::kHome },
    { XK_End, false, EEntryKey::kEnd },
    { XK_a, true, EEntryKey::kSelectAll },
    { XK_A, true, EEntryKey::kSelectAll },
    { XK_Return, true, EEntryKey::kReturn },
    { XK_a, false, std::nullopt },
    { XK_A, false, std::nullopt },
    { XK_b, true, std::nullopt },
    { XK_1, false, std::nullopt },
    { XK_minus, false, std::nullopt },
    { XK_Up, false, std::nullopt },
    { XK_Down, false, std::nullopt },
    { XK_Tab, false, std::nullopt },
    { XK_Shift_L, false, std::nullopt },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(XKeysymToString(c.keysym) + std::string(c.control ? " with control" : ""));
    EXPECT_EQ(EntryKeyOf(c.keysym, c.control), c.expected);
  }
}

TEST(X11Keys, NavigationKeysOfTheMenu)
{
  struct Case
  {
    KeySym keysym;
    std::optional<EMenuKey> expected;
  };
  const Case cases[] = {
    { XK_Up, EMenuKey::kUp },         { XK_Down, EMenuKey::kDown },       { XK_KP_Up, EMenuKey::kUp },
    { XK_KP_Down, EMenuKey::kDown },  { XK_Left, EMenuKey::kLeft },       { XK_Right, EMenuKey::kRight },
    { XK_Return, EMenuKey::kReturn }, { XK_KP_Enter, EMenuKey::kReturn }, { XK_Escape, EMenuKey::kEscape },
    { XK_Home, std::nullopt },        { XK_BackSpace, std::nullopt },     { XK_space, std::nullopt },
    { XK_a, std::nullopt },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(XKeysymToString(c.keysym));
    EXPECT_EQ(MenuKeyOf(c.keysym), c.expected);
  }
}

} // namespace
} // namespace kit::ui
