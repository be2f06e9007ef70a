// The process-wide typeface cache of the Cairo backend: for each font identifier the font's
// bytes (built-in ones are never copied), the chosen face, its FontInfo, and the FreeType face
// behind a Cairo font face. Shared by every editor in the process behind one lock; each backend
// counts itself in, and the last one out empties the cache. Editor thread (any editor's).
#pragma once

#include "graphics/cairo_types.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kit::ui
{

// What drawing and measuring need of a cached typeface. The font face stays valid while the
// backend that looked it up exists.
struct Typeface
{
  cairo_font_face_t* fontFace = nullptr;
  std::uint16_t unitsPerEm = 0;
  std::int16_t ascender = 0;
  std::int16_t descender = 0;
  // A non-zero em and ascender ≠ descender: text in it can be sized; otherwise it draws nothing.
  bool complete = false;
};

void RetainTypefaceCache();
void ReleaseTypefaceCache();

// Makes the typeface for fontId from the file or built-in resource fileName ("ttf"), unless
// fontId is cached already. False when the font is missing, not a usable font, or FreeType or
// Cairo cannot make a face of it.
[[nodiscard]] bool AddTypeface(std::string_view fontId, std::string_view fileName);

// False when fontId is not cached.
[[nodiscard]] bool FindTypeface(std::string_view fontId, Typeface& typeface);

[[nodiscard]] std::size_t TypefaceCount();

} // namespace kit::ui
