#include "graphics/font_info.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace kit::ui
{
namespace
{

constexpr std::uint32_t Tag(const char (&text)[5]) noexcept
{
  return (std::uint32_t(std::uint8_t(text[0])) << 24) | (std::uint32_t(std::uint8_t(text[1])) << 16) |
         (std::uint32_t(std::uint8_t(text[2])) << 8) | std::uint32_t(std::uint8_t(text[3]));
}

constexpr std::uint32_t kTrueTypeVersion = 0x00010000;
constexpr std::uint32_t kTrueTypeOld = 0x31000000; // "1" and three zero bytes
constexpr std::uint32_t kCollectionVersion1 = 0x00010000;
constexpr std::uint32_t kCollectionVersion2 = 0x00020000;

// Fixed sizes from the table formats; a shorter table is damaged.
constexpr std::uint32_t kOffsetTableBytes = 12;
constexpr std::uint32_t kTableRecordBytes = 16;
constexpr std::uint32_t kCollectionHeaderBytes = 12;
constexpr std::uint32_t kHeadBytes = 54;
constexpr std::uint32_t kHheaBytes = 36;
constexpr std::uint32_t kNameHeaderBytes = 6;
constexpr std::uint32_t kNameRecordBytes = 12;

constexpr std::uint16_t kFamilyNameId = 1;
constexpr std::uint16_t kStyleNameId = 2;

bool IsSingleFontTag(std::uint32_t tag) noexcept
{
  return tag == kTrueTypeVersion || tag == kTrueTypeOld || tag == Tag("true") || tag == Tag("OTTO") ||
         tag == Tag("typ1");
}

// Big-endian reads that first check the range, in 64 bits so that offset + length cannot wrap.
class Reader
{
public:
  explicit Reader(std::span<const std::uint8_t> data)
      : bytes(data)
  {
  }

  [[nodiscard]] bool Has(std::uint64_t offset, std::uint64_t length) const noexcept
  {
    return offset <= bytes.size() && length <= bytes.size() - offset;
  }
  [[nodiscard]] std::optional<std::uint16_t> U16(std::uint64_t offset) const noexcept
  {
    if (!Has(offset, 2)) return std::nullopt;
    const auto at = static_cast<std::size_t>(offset);
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
  }
  [[nodiscard]] std::optional<std::uint32_t> U32(std::uint64_t offset) const noexcept
  {
    const std::optional<std::uint16_t> high = U16(offset);
    const std::optional<std::uint16_t> low = U16(offset + 2);
    if (!high || !low) return std::nullopt;
    return (std::uint32_t(*high) << 16) | *low;
  }
  // Callers check the range first.
  [[nodiscard]] std::int16_t I16(std::uint64_t offset) const noexcept
  {
    return static_cast<std::int16_t>(*U16(offset));
  }
  [[nodiscard]] std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::uint64_t length) const noexcept
  {
    return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
  }

private:
  std::span<const std::uint8_t> bytes;
};

struct TableRef
{
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
};

std::string TagText(std::uint32_t tag)
{
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8)
  {
    const auto c = static_cast<char>((tag >> shift) & 0xFF);
    text += (c >= ' ' && c <= '~') ? c : '?';
  }
  return text;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint)
{
  if (codePoint < 0x80)
    out += static_cast<char>(codePoint);
  else if (codePoint < 0x800)
  {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  else if (codePoint < 0x10000)
  {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  else
  {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Pairs of surrogates join; a lone surrogate or a trailing odd byte becomes U+FFFD.
std::string Utf16BigEndianToUtf8(std::span<const std::uint8_t> text)
{
  constexpr std::uint32_t kReplacement = 0xFFFD;
  std::string out;
  std::size_t at = 0;
  auto unitAt = [&text](std::size_t index) { return std::uint32_t((text[index] << 8) | text[index + 1]); };
  while (at + 1 < text.size())
  {
    const std::uint32_t unit = unitAt(at);
    at += 2;
    if (unit >= 0xD800 && unit < 0xDC00 && at + 1 < text.size() && unitAt(at) >= 0xDC00 && unitAt(at) < 0xE000)
    {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at) - 0xDC00));
      at += 2;
    }
    else
      AppendUtf8(out, (unit >= 0xD800 && unit < 0xE000) ? kReplacement : unit);
  }
  if (at < text.size()) AppendUtf8(out, kReplacement);
  return out;
}

struct NameSource
{
  std::uint16_t platform;
  std::uint16_t encoding;
  std::uint16_t language;
  bool utf16;
};
constexpr NameSource kWindowsUnicodeEnglish { 3, 1, 0x0409, true };
constexpr NameSource kMacRomanEnglish { 1, 0, 0, false };

// The first record of that name and source whose text lies inside the table; empty otherwise.
std::string ReadName(const Reader& reader, TableRef name, std::uint16_t nameId, NameSource source)
{
  const std::uint16_t count = *reader.U16(std::uint64_t(name.offset) + 2);
  const std::uint16_t storage = *reader.U16(std::uint64_t(name.offset) + 4);
  for (std::uint32_t index = 0; index < count; ++index)
  {
    const std::uint64_t record =
        std::uint64_t(name.offset) + kNameHeaderBytes + std::uint64_t(index) * kNameRecordBytes;
    if (*reader.U16(record) != source.platform || *reader.U16(record + 2) != source.encoding ||
        *reader.U16(record + 4) != source.language || *reader.U16(record + 6) != nameId)
      continue;
    const std::uint64_t length = *reader.U16(record + 8);
    const std::uint64_t start = std::uint64_t(storage) + *reader.U16(record + 10);
    if (start + length > name.length) continue;
    const std::span<const std::uint8_t> text = reader.Bytes(name.offset + start, length);
    return source.utf16 ? Utf16BigEndianToUtf8(text) : std::string(text.begin(), text.end());
  }
  return {};
}

std::string ReadPreferredName(const Reader& reader, TableRef name, std::uint16_t nameId)
{
  std::string text = ReadName(reader, name, nameId, kWindowsUnicodeEnglish);
  return text.empty() ? ReadName(reader, name, nameId, kMacRomanEnglish) : text;
}

FontInfo Rejected(std::string problem)
{
  FontInfo info;
  info.problem = std::move(problem);
  return info;
}

// Where the face starts, or a problem.
std::optional<std::uint32_t> FaceOffset(const Reader& reader, int faceIndex, std::string& problem)
{
  const std::optional<std::uint32_t> tag = reader.U32(0);
  if (!tag)
  {
    problem = "too short for a font";
    return std::nullopt;
  }
  if (IsSingleFontTag(*tag))
  {
    if (faceIndex == 0) return 0;
    problem = "a single font has only face 0, not " + std::to_string(faceIndex);
    return std::nullopt;
  }
  if (*tag != Tag("ttcf"))
  {
    problem = "not a TrueType or OpenType font (starts with '" + TagText(*tag) + "')";
    return std::nullopt;
  }
  if (!reader.Has(0, kCollectionHeaderBytes))
  {
    problem = "font collection header is cut off";
    return std::nullopt;
  }
  const std::uint32_t version = *reader.U32(4);
  if (version != kCollectionVersion1 && version != kCollectionVersion2)
  {
    problem = "font collection version is neither 1.0 nor 2.0";
    return std::nullopt;
  }
  const std::uint32_t faceCount = *reader.U32(8);
  if (!reader.Has(kCollectionHeaderBytes, std::uint64_t(faceCount) * 4))
  {
    problem = "font collection claims " + std::to_string(faceCount) + " faces, more than its bytes hold";
    return std::nullopt;
  }
  if (faceIndex < 0 || std::uint32_t(faceIndex) >= faceCount)
  {
    problem = "face " + std::to_string(faceIndex) + " is not among the collection's " + std::to_string(faceCount);
    return std::nullopt;
  }
  const std::uint32_t offset = *reader.U32(kCollectionHeaderBytes + 4 * std::uint64_t(faceIndex));
  const std::optional<std::uint32_t> faceTag = reader.U32(offset);
  if (!faceTag || !IsSingleFontTag(*faceTag))
  {
    problem = "collection face " + std::to_string(faceIndex) + " does not point at a font";
    return std::nullopt;
  }
  return offset;
}

} // namespace

FontInfo ParseFontInfo(std::span<const std::uint8_t> bytes, int faceIndex)
{
  const Reader reader(bytes);
  std::string problem;
  const std::optional<std::uint32_t> faceOffset = FaceOffset(reader, faceIndex, problem);
  if (!faceOffset) return Rejected(std::move(problem));

  if (!reader.Has(*faceOffset, kOffsetTableBytes)) return Rejected("table directory is cut off");
  const std::uint16_t tableCount = *reader.U16(std::uint64_t(*faceOffset) + 4);
  const std::uint64_t records = std::uint64_t(*faceOffset) + kOffsetTableBytes;
  if (!reader.Has(records, std::uint64_t(tableCount) * kTableRecordBytes))
    return Rejected("table directory of " + std::to_string(tableCount) + " tables is cut off");

  // Every table must lie inside the bytes: a file cut short anywhere is rejected.
  TableRef head, name, hhea;
  for (std::uint32_t index = 0; index < tableCount; ++index)
  {
    const std::uint64_t record = records + std::uint64_t(index) * kTableRecordBytes;
    const std::uint32_t tag = *reader.U32(record);
    const TableRef table { *reader.U32(record + 8), *reader.U32(record + 12) };
    if (!reader.Has(table.offset, table.length)) return Rejected("table '" + TagText(tag) + "' lies past the end");
    TableRef* wanted = tag == Tag("head") ? &head : tag == Tag("name") ? &name : tag == Tag("hhea") ? &hhea : nullptr;
    if (wanted != nullptr && wanted->offset == 0) *wanted = table;
  }
  if (head.offset == 0) return Rejected("no 'head' table");
  if (name.offset == 0) return Rejected("no 'name' table");
  if (hhea.offset == 0) return Rejected("no 'hhea' table");
  if (head.length < kHeadBytes) return Rejected("'head' table is too short");
  if (hhea.length < kHheaBytes) return Rejected("'hhea' table is too short");
  if (name.length < kNameHeaderBytes) return Rejected("'name' table is too short");
  const std::uint16_t nameCount = *reader.U16(std::uint64_t(name.offset) + 2);
  if (kNameHeaderBytes + std::uint64_t(nameCount) * kNameRecordBytes > name.length)
    return Rejected("'name' table's " + std::to_string(nameCount) + " records run past its end");

  FontInfo info;
  info.data = bytes.data() + *faceOffset;
  info.headOffset = head.offset;
  info.nameOffset = name.offset;
  info.hheaOffset = hhea.offset;
  info.unitsPerEm = *reader.U16(std::uint64_t(head.offset) + 18);
  info.macStyle = *reader.U16(std::uint64_t(head.offset) + 44);
  info.ascender = reader.I16(std::uint64_t(hhea.offset) + 4);
  info.descender = reader.I16(std::uint64_t(hhea.offset) + 6);
  info.lineGap = reader.I16(std::uint64_t(hhea.offset) + 8);
  info.family = ReadPreferredName(reader, name, kFamilyNameId);
  info.style = ReadPreferredName(reader, name, kStyleNameId);
  if (info.unitsPerEm == 0)
    info.problem = "unitsPerEm is 0";
  else if (info.ascender == info.descender)
    info.problem = "ascender equals descender: the font has no line height";
  return info;
}

} // namespace kit::ui
