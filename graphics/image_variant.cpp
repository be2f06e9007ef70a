#include "graphics/image_variant.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace kit::ui
{
namespace
{

constexpr std::size_t kExtensionCharsExamined = 31;
constexpr int kLargestStoredScale = 3;

} // namespace

std::string_view ResourceExtension(std::string_view name) noexcept
{
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

bool BitmapExtensionSupported(std::string_view extension) noexcept
{
  std::array<char, kExtensionCharsExamined> buffer {};
  const std::size_t length = std::min(extension.size(), buffer.size());
  std::ranges::transform(extension.substr(0, length), buffer.begin(),
                         [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
  const std::string_view lower(buffer.data(), length);
  return lower.find("png") != std::string_view::npos || lower.find("jpg") != std::string_view::npos ||
         lower.find("jpeg") != std::string_view::npos;
}

std::vector<int> ScaleOrder(int targetScale)
{
  std::vector<int> order { targetScale };
  if (targetScale != kLargestStoredScale) order.push_back(kLargestStoredScale);
  for (int scale = kLargestStoredScale - 1; scale >= 1; --scale)
    if (scale != targetScale) order.push_back(scale);
  return order;
}

std::string ImageVariantName(std::string_view name, int scale)
{
  if (scale == 1) return std::string(name);
  std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && name.find_first_of("/\\", dot) != std::string_view::npos)
    dot = std::string_view::npos;
  const std::string_view base = name.substr(0, dot);
  const std::string_view extension = dot == std::string_view::npos ? std::string_view {} : name.substr(dot);
  return std::string(base) + "@" + std::to_string(scale) + "x" + std::string(extension);
}

ImageVariant FindImageVariant(std::string_view name, int targetScale, std::span<const EmbeddedResource> table)
{
  const std::string_view type = ResourceExtension(name);
  for (const int scale : ScaleOrder(targetScale))
  {
    LocatedResource found = LocateResource(ImageVariantName(name, scale), type, table);
    if (found.location != EResourceLocation::kNotFound) return { found.location, std::move(found.path), scale };
  }
  return {};
}

} // namespace kit::ui
