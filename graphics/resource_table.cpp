#include "graphics/resource_table.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kit::ui
{
namespace
{

// Only ASCII letters fold, so names in other scripts compare byte for byte.
char LowerAscii(char c) noexcept
{
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) noexcept
{
  return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

const EmbeddedResource* FindOfType(std::string_view name, std::string_view type,
                                   std::span<const EmbeddedResource> table) noexcept
{
  const EmbeddedResource* found = FindResource(name, table);
  return (found != nullptr && SameIgnoringCase(found->type, type)) ? found : nullptr;
}

bool IsRegularFile(std::string_view name)
{
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(name), error);
}

} // namespace

const EmbeddedResource* FindResource(std::string_view name, std::span<const EmbeddedResource> table) noexcept
{
  if (name.empty()) return nullptr;
  const auto match =
      std::ranges::find_if(table, [name](const EmbeddedResource& entry) { return SameIgnoringCase(entry.name, name); });
  return match == table.end() ? nullptr : &*match;
}

LocatedResource LocateResource(std::string_view name, std::string_view type, std::span<const EmbeddedResource> table)
{
  if (name.empty()) return {};
  if (const EmbeddedResource* entry = FindOfType(name, type, table))
    return { EResourceLocation::kEmbedded, std::string(entry->name) };
  if (IsRegularFile(name)) return { EResourceLocation::kFile, std::string(name) };
  return {};
}

std::span<const std::uint8_t> LoadResourceBytes(std::string_view name, std::string_view type,
                                                std::span<const EmbeddedResource> table)
{
  const EmbeddedResource* entry = FindOfType(name, type, table);
  if (entry == nullptr || entry->bytes == nullptr || entry->size < kMinResourceBytes) return {};
  return { entry->bytes, entry->size };
}

} // namespace kit::ui
