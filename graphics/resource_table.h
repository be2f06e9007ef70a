// The files built into the plug-in (the editor's pictures and its font), found by file name
// without regard to letter case, with a file of that name on disk accepted as well.
// Pure lookups over read-only data; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kit::ui
{

// One built-in file. The bytes live in the library image for as long as it is loaded.
struct EmbeddedResource
{
  std::string_view name; // file name as given to the build, e.g. "Roboto-Regular.ttf"
  std::string_view type; // its extension in lower case, e.g. "ttf"
  const std::uint8_t* bytes = nullptr;
  std::size_t size = 0;
};

// Defined by the library that ombrix_embed_resources (resources/CMakeLists.txt) generates.
[[nodiscard]] std::span<const EmbeddedResource> EmbeddedResources() noexcept;

enum class EResourceLocation : int
{
  kNotFound = 0,
  kFile = 1,     // a file on disk; the path is the name as asked for
  kEmbedded = 2, // a built-in file; the path is its name in the table
};

struct LocatedResource
{
  EResourceLocation location = EResourceLocation::kNotFound;
  std::string path;
};

// Resources shorter than this count as missing: no picture or font is that small.
inline constexpr std::size_t kMinResourceBytes = 8;

// The entry whose whole name equals `name` apart from ASCII letter case, or null.
[[nodiscard]] const EmbeddedResource*
FindResource(std::string_view name, std::span<const EmbeddedResource> table = EmbeddedResources()) noexcept;

// A built-in file of that type (extension, any case) and name first, then a regular file on
// disk at the unchanged name. An empty name is not found.
[[nodiscard]] LocatedResource LocateResource(std::string_view name, std::string_view type,
                                             std::span<const EmbeddedResource> table = EmbeddedResources());

// The bytes of a built-in file, never copied; empty when it is missing, of another type or
// shorter than kMinResourceBytes.
[[nodiscard]] std::span<const std::uint8_t>
LoadResourceBytes(std::string_view name, std::string_view type,
                  std::span<const EmbeddedResource> table = EmbeddedResources());

} // namespace kit::ui
