#include "graphics/font_info.h"

#include "graphics/resource_table.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Tag(const char* text)
{
  return (std::uint32_t(std::uint8_t(text[0])) << 24) | (std::uint32_t(std::uint8_t(text[1])) << 16) |
         (std::uint32_t(std::uint8_t(text[2])) << 8) | std::uint32_t(std::uint8_t(text[3]));
}

std::uint32_t Get32(const Bytes& bytes, std::size_t at)
{
  return (std::uint32_t(bytes[at]) << 24) | (std::uint32_t(bytes[at + 1]) << 16) | (std::uint32_t(bytes[at + 2]) << 8) |
         bytes[at + 3];
}
void Put16(Bytes& bytes, std::size_t at, std::uint32_t value)
{
  bytes[at] = std::uint8_t(value >> 8);
  bytes[at + 1] = std::uint8_t(value);
}
void Put32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
  Put16(bytes, at, value >> 16);
  Put16(bytes, at + 2, value & 0xFFFF);
}
void Append16(Bytes& bytes, std::uint32_t value)
{
  bytes.resize(bytes.size() + 2);
  Put16(bytes, bytes.size() - 2, value);
}
void Append32(Bytes& bytes, std::uint32_t value)
{
  bytes.resize(bytes.size() + 4);
  Put32(bytes, bytes.size() - 4, value);
}

Bytes Roboto()
{
  const EmbeddedResource* font = FindResource("Roboto-Regular.ttf");
  return font == nullptr ? Bytes {} : Bytes(font->bytes, font->bytes + font->size);
}

// Where Roboto's table directory says a table lies: {offset, length, directory record}.
struct TableSpot
{
  std::uint32_t offset;
  std::uint32_t length;
  std::size_t record;
};
TableSpot FindTable(const Bytes& font, const char* tag)
{
  const std::size_t count = (std::size_t(font[4]) << 8) | font[5];
  for (std::size_t index = 0; index < count; ++index)
  {
    const std::size_t record = 12 + 16 * index;
    if (Get32(font, record) == Tag(tag)) return { Get32(font, record + 8), Get32(font, record + 12), record };
  }
  ADD_FAILURE() << "no table " << tag;
  return { 0, 0, 0 };
}

// A face with only the three tables the parser reads, written at the end of `out` with
// offsets from the start of `out`, as inside a collection.
struct MiniFace
{
  std::u16string windowsFamily = u"Mini";
  std::u16string windowsStyle = u"Bold";
  std::string macFamily = "MacMini";
  std::string macStyleName = "MacBold";
  std::uint16_t unitsPerEm = 1000;
  std::uint16_t macStyle = 1;
  std::int16_t ascender = 800;
  std::int16_t descender = -200;
  std::int16_t lineGap = 90;
  bool windowsRecords = true;
};

void AppendFace(Bytes& out, const MiniFace& values)
{
  Bytes head(54, 0);
  Put32(head, 0, 0x00010000);
  Put32(head, 12, 0x5F0F3CF5); // magic number
  Put16(head, 18, values.unitsPerEm);
  Put16(head, 44, values.macStyle);

  Bytes hhea(36, 0);
  Put32(hhea, 0, 0x00010000);
  Put16(hhea, 4, std::uint16_t(values.ascender));
  Put16(hhea, 6, std::uint16_t(values.descender));
  Put16(hhea, 8, std::uint16_t(values.lineGap));

  struct Record
  {
    std::uint16_t platform, encoding, language, nameId;
    Bytes text;
  };
  auto utf16 = [](const std::u16string& text)
  {
    Bytes bytes;
    for (const char16_t unit : text) Append16(bytes, unit);
    return bytes;
  };
  std::vector<Record> records {
    { 1, 0, 0, 1, Bytes(values.macFamily.begin(), values.macFamily.end()) },
    { 1, 0, 0, 2, Bytes(values.macStyleName.begin(), values.macStyleName.end()) },
  };
  if (values.windowsRecords)
  {
    records.push_back({ 3, 1, 0x0409, 1, utf16(values.windowsFamily) });
    records.push_back({ 3, 1, 0x0409, 2, utf16(values.windowsStyle) });
  }
  Bytes name;
  Append16(name, 0);
  Append16(name, std::uint32_t(records.size()));
  Append16(name, std::uint32_t(6 + 12 * records.size()));
  Bytes storage;
  for (const Record& record : records)
  {
    for (const std::uint32_t field :
         { std::uint32_t(record.platform), std::uint32_t(record.encoding), std::uint32_t(record.language),
           std::uint32_t(record.nameId), std::uint32_t(record.text.size()), std::uint32_t(storage.size()) })
      Append16(name, field);
    storage.insert(storage.end(), record.text.begin(), record.text.end());
  }
  name.insert(name.end(), storage.begin(), storage.end());

  const std::size_t start = out.size();
  Append32(out, 0x00010000);
  Append16(out, 3);
  for (int unused = 0; unused < 3; ++unused) Append16(out, 0); // search hints
  std::size_t tableAt = start + 12 + 3 * 16;
  for (const auto& [tag, table] :
       { std::pair { "head", &head }, std::pair { "hhea", &hhea }, std::pair { "name", &name } })
  {
    Append32(out, Tag(tag));
    Append32(out, 0); // checksum, not read
    Append32(out, std::uint32_t(tableAt));
    Append32(out, std::uint32_t(table->size()));
    tableAt += table->size();
  }
  for (const Bytes* table : { &head, &hhea, &name }) out.insert(out.end(), table->begin(), table->end());
}

Bytes MiniFont(const MiniFace& values)
{
  Bytes font;
  AppendFace(font, values);
  return font;
}

// A collection header for `faceCount` faces, of which the offsets of `faces` follow.
Bytes CollectionHeader(std::uint32_t version, std::uint32_t faceCount, const std::vector<std::uint32_t>& faces)
{
  Bytes bytes;
  Append32(bytes, Tag("ttcf"));
  Append32(bytes, version);
  Append32(bytes, faceCount);
  for (const std::uint32_t offset : faces) Append32(bytes, offset);
  return bytes;
}

TEST(FontInfo, RobotoAgreesWithFreeType)
{
  const Bytes font = Roboto();
  ASSERT_FALSE(font.empty());
  const FontInfo info = ParseFontInfo(font, 0);
  ASSERT_TRUE(info.IsComplete()) << info.problem;
  EXPECT_TRUE(info.problem.empty());
  EXPECT_EQ(info.data, font.data());

  FT_Library library = nullptr;
  ASSERT_EQ(FT_Init_FreeType(&library), 0);
  FT_Face face = nullptr;
  ASSERT_EQ(FT_New_Memory_Face(library, font.data(), FT_Long(font.size()), 0, &face), 0);
  const auto* head = static_cast<const TT_Header*>(FT_Get_Sfnt_Table(face, FT_SFNT_HEAD));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  ASSERT_NE(head, nullptr);
  ASSERT_NE(hhea, nullptr);
  EXPECT_EQ(info.unitsPerEm, head->Units_Per_EM);
  EXPECT_EQ(info.macStyle, head->Mac_Style);
  EXPECT_EQ(info.ascender, hhea->Ascender);
  EXPECT_EQ(info.descender, hhea->Descender);
  EXPECT_EQ(info.lineGap, hhea->Line_Gap);
  EXPECT_EQ(info.family, face->family_name);
  EXPECT_EQ(info.style, face->style_name);

  // The offsets point at the bytes FreeType hands out for the same tags.
  for (const auto& [tag, offset] : { std::pair { TTAG_head, info.headOffset }, std::pair { TTAG_hhea, info.hheaOffset },
                                     std::pair { TTAG_name, info.nameOffset } })
  {
    FT_ULong length = 0;
    ASSERT_EQ(FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length), 0);
    std::vector<FT_Byte> table(length);
    ASSERT_EQ(FT_Load_Sfnt_Table(face, tag, 0, table.data(), &length), 0);
    ASSERT_LE(offset + length, font.size());
    EXPECT_EQ(std::memcmp(table.data(), font.data() + offset, length), 0);
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}

TEST(FontInfo, EveryTruncationOfRobotoIsRejected)
{
  const Bytes font = Roboto();
  ASSERT_FALSE(font.empty());
  const std::size_t tableCount = (std::size_t(font[4]) << 8) | font[5];
  std::vector<std::size_t> cuts { 0, 3, 4, 11, 12, 12 + 16 * tableCount - 1 };
  std::size_t end = 0;
  for (std::size_t index = 0; index < tableCount; ++index)
  {
    const std::size_t offset = Get32(font, 12 + 16 * index + 8);
    const std::size_t length = Get32(font, 12 + 16 * index + 12);
    cuts.push_back(offset);
    cuts.push_back(offset + length - 1);
    end = std::max(end, offset + length);
  }
  for (const std::size_t size : cuts)
  {
    if (size >= end) continue;
    SCOPED_TRACE("cut to " + std::to_string(size) + " bytes");
    // A copy of exactly that size, so that a read past it is caught by the address sanitizer.
    const Bytes cut(font.begin(), font.begin() + std::ptrdiff_t(size));
    const FontInfo info = ParseFontInfo(cut, 0);
    EXPECT_FALSE(info.IsValid());
    EXPECT_EQ(info.data, nullptr);
    EXPECT_FALSE(info.problem.empty());
  }
}

TEST(FontInfo, DamagedFontsAreRejected)
{
  struct Case
  {
    const char* what;
    std::function<Bytes()> make;
    int face;
  };
  auto damaged = [](std::function<void(Bytes&)> change)
  {
    return [change]
    {
      Bytes font = Roboto();
      change(font);
      return font;
    };
  };
  const Case cases[] = {
    { "empty", [] { return Bytes {}; }, 0 },
    { "unknown format", damaged([](Bytes& f) { Put32(f, 0, Tag("wOFF")); }), 0 },
    { "face 1 of a single font", [] { return Roboto(); }, 1 },
    { "65535 tables", damaged([](Bytes& f) { Put16(f, 4, 0xFFFF); }), 0 },
    { "head at the end", damaged([](Bytes& f) { Put32(f, FindTable(f, "head").record + 8, std::uint32_t(f.size())); }),
      0 },
    { "head offset wraps",
      damaged(
          [](Bytes& f)
          {
            const std::size_t record = FindTable(f, "head").record;
            Put32(f, record + 8, 0xFFFFFFF0);
            Put32(f, record + 12, 0x20);
          }),
      0 },
    { "name length huge", damaged([](Bytes& f) { Put32(f, FindTable(f, "name").record + 12, 0xFFFFFFFF); }), 0 },
    { "glyf past the end", damaged([](Bytes& f) { Put32(f, FindTable(f, "glyf").record + 8, 0x7FFFFFFF); }), 0 },
    { "head too short", damaged([](Bytes& f) { Put32(f, FindTable(f, "head").record + 12, 20); }), 0 },
    { "hhea too short", damaged([](Bytes& f) { Put32(f, FindTable(f, "hhea").record + 12, 9); }), 0 },
    { "no hhea", damaged([](Bytes& f) { Put32(f, FindTable(f, "hhea").record, Tag("hhex")); }), 0 },
    { "65535 name records", damaged([](Bytes& f) { Put16(f, FindTable(f, "name").offset + 2, 0xFFFF); }), 0 },
    { "collection claiming 1000 faces",
      [] {
        return CollectionHeader(0x00010000, 1000, { 20, 20 });
      },
      0 },
    { "last of 1000 faces",
      [] {
        return CollectionHeader(0x00010000, 1000, { 20, 20 });
      },
      999 },
    { "collection version 3.0",
      []
      {
        Bytes bytes = CollectionHeader(0x00030000, 1, { 16 });
        AppendFace(bytes, {});
        return bytes;
      },
      0 },
    { "collection face past the end", [] { return CollectionHeader(0x00010000, 1, { 0xFFFFFFF0 }); }, 0 },
    { "collection face is the collection", [] { return CollectionHeader(0x00010000, 1, { 0 }); }, 0 },
    { "collection cut in its header", [] { return Bytes { 't', 't', 'c', 'f', 0, 1 }; }, 0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    const Bytes bytes = c.make();
    const FontInfo info = ParseFontInfo(bytes, c.face);
    EXPECT_FALSE(info.IsValid());
    EXPECT_EQ(info.data, nullptr);
    EXPECT_FALSE(info.problem.empty());
  }
}

TEST(FontInfo, FacesOfACollectionAreReadWhereTheirOffsetsPoint)
{
  MiniFace second;
  second.windowsFamily = u"Second";
  second.windowsStyle = u"Italic";
  second.macStyle = 2;
  second.unitsPerEm = 2048;
  second.ascender = 1900;
  second.descender = -500;
  second.lineGap = 0;

  Bytes collection = CollectionHeader(0x00020000, 2, { 0, 0 });
  collection.resize(collection.size() + 12); // version 2.0's signature fields, unused
  const auto firstAt = std::uint32_t(collection.size());
  AppendFace(collection, {});
  const auto secondAt = std::uint32_t(collection.size());
  AppendFace(collection, second);
  Put32(collection, 12, firstAt);
  Put32(collection, 16, secondAt);

  struct Case
  {
    int face;
    std::uint32_t at;
    MiniFace expected;
  };
  const Case cases[] = { { 0, firstAt, {} }, { 1, secondAt, second } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.face);
    const FontInfo info = ParseFontInfo(collection, c.face);
    ASSERT_TRUE(info.IsComplete()) << info.problem;
    EXPECT_EQ(info.data, collection.data() + c.at);
    EXPECT_EQ(info.headOffset, c.at + 12 + 3 * 16); // tables follow the directory
    EXPECT_EQ(info.family, c.face == 0 ? "Mini" : "Second");
    EXPECT_EQ(info.style, c.face == 0 ? "Bold" : "Italic");
    EXPECT_EQ(info.unitsPerEm, c.expected.unitsPerEm);
    EXPECT_EQ(info.macStyle, c.expected.macStyle);
    EXPECT_EQ(info.ascender, c.expected.ascender);
    EXPECT_EQ(info.descender, c.expected.descender);
    EXPECT_EQ(info.lineGap, c.expected.lineGap);
  }
  for (const int face : { 2, -1 })
  {
    SCOPED_TRACE(face);
    EXPECT_FALSE(ParseFontInfo(collection, face).IsValid());
  }
}

TEST(FontInfo, NamesComeFromWindowsUnicodeEnglishElseMacRoman)
{
  struct Case
  {
    const char* what;
    MiniFace values;
    std::string family;
    std::string style;
  };
  MiniFace unicode;
  unicode.windowsFamily = u"Ombr\u00efx \U0001F50A"; // two-byte UTF-8 and a surrogate pair
  MiniFace loneSurrogate;
  loneSurrogate.windowsFamily = { u'A', char16_t(0xD800), u'B' };
  MiniFace emptyWindows;
  emptyWindows.windowsFamily.clear();
  MiniFace macOnly;
  macOnly.windowsRecords = false;
  macOnly.macFamily = "Caf\x8e"; // Mac Roman é, kept as it is
  const Case cases[] = {
    { "windows", {}, "Mini", "Bold" },
    { "non-ASCII", unicode, "Ombr\xc3\xafx \xf0\x9f\x94\x8a", "Bold" },
    { "lone surrogate", loneSurrogate,
      "A\xef\xbf\xbd"
      "B",
      "Bold" },
    { "empty windows family", emptyWindows, "MacMini", "Bold" },
    { "mac only", macOnly, "Caf\x8e", "MacBold" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    const FontInfo info = ParseFontInfo(MiniFont(c.values), 0);
    ASSERT_TRUE(info.IsValid()) << info.problem;
    EXPECT_EQ(info.family, c.family);
    EXPECT_EQ(info.style, c.style);
  }
}

TEST(FontInfo, NameTextOutsideItsTableIsSkipped)
{
  Bytes font = MiniFont({});
  const TableSpot name = FindTable(font, "name");
  // Records are Mac family, Mac style, Windows family, Windows style; point the Windows family
  // past the table's end.
  Put16(font, name.offset + 6 + 2 * 12 + 10, 0xFFF0);
  const FontInfo info = ParseFontInfo(font, 0);
  ASSERT_TRUE(info.IsValid()) << info.problem;
  EXPECT_EQ(info.family, "MacMini");
  EXPECT_EQ(info.style, "Bold");
}

TEST(FontInfo, FontsWithoutEmOrLineHeightAreIncomplete)
{
  struct Case
  {
    const char* what;
    std::uint16_t unitsPerEm;
    std::int16_t ascender;
    std::int16_t descender;
    bool complete;
  };
  const Case cases[] = {
    { "usable", 1000, 800, -200, true },
    { "no em", 0, 800, -200, false },
    { "ascender equals descender", 1000, 0, 0, false },
    { "both above the baseline, equal", 1000, 300, 300, false },
    { "inverted but unequal", 1000, -200, 800, true },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    MiniFace values;
    values.unitsPerEm = c.unitsPerEm;
    values.ascender = c.ascender;
    values.descender = c.descender;
    const FontInfo info = ParseFontInfo(MiniFont(values), 0);
    EXPECT_TRUE(info.IsValid());
    EXPECT_EQ(info.IsComplete(), c.complete);
    EXPECT_EQ(info.problem.empty(), c.complete);
  }
}

TEST(FontInfo, EverySingleFontTagIsAccepted)
{
  for (const char* tag : { "\0\1\0\0", "1\0\0\0", "true", "OTTO", "typ1" })
  {
    SCOPED_TRACE(std::string(tag, 4));
    Bytes font = MiniFont({});
    std::copy(tag, tag + 4, font.begin());
    EXPECT_TRUE(ParseFontInfo(font, 0).IsComplete());
  }
}

} // namespace
} // namespace kit::ui
