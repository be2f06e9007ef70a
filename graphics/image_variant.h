// Which file serves a picture at a given scale: the "@2x" names, the order in which scales
// are tried, and the picture formats the decoder takes. Pure functions; any thread.
#pragma once

#include "graphics/resource_table.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kit::ui
{

// The text after the last "." of a resource name, or the whole name when it has none.
[[nodiscard]] std::string_view ResourceExtension(std::string_view name) noexcept;

// True when the lower-cased extension (its first 31 characters) contains "png", "jpg" or "jpeg".
[[nodiscard]] bool BitmapExtensionSupported(std::string_view extension) noexcept;

// The target scale first, then 3, then 2 and 1, each scale once: a larger picture scaled down
// looks better than a smaller one scaled up. 1 gives 1, 3, 2; 4 gives 4, 3, 2, 1.
[[nodiscard]] std::vector<int> ScaleOrder(int targetScale);

// The name itself at scale 1; otherwise base + "@<scale>x" + extension, split at the last "."
// that no "/" or "\" follows ("bg.png" at 2 is "bg@2x.png"; without such a dot the suffix ends
// the name).
[[nodiscard]] std::string ImageVariantName(std::string_view name, int scale);

struct ImageVariant
{
  EResourceLocation location = EResourceLocation::kNotFound;
  std::string path;
  int scale = 0; // the scale the variant was drawn for; 0 when none was found
};

// The first variant of `name`, in scale order from the target, that LocateResource finds with
// the name's extension as type.
[[nodiscard]] ImageVariant FindImageVariant(std::string_view name, int targetScale,
                                            std::span<const EmbeddedResource> table = EmbeddedResources());

} // namespace kit::ui
