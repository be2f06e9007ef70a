// Roboto loaded through FreeType for Cairo, and the tracked small-caps printing every panel
// label uses. Private to the artwork program.
#pragma once

#include "tools/artwork/palette.h"

#include <cairo.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kit::artwork
{

struct FontFaceRelease
{
  void operator()(cairo_font_face_t* face) const noexcept { cairo_font_face_destroy(face); }
};
using FontFace = std::unique_ptr<cairo_font_face_t, FontFaceRelease>;

// The font file as a Cairo font face that owns its FreeType face; null with a reason when the
// file cannot be read as a font.
[[nodiscard]] FontFace LoadFontFace(const std::filesystem::path& fontPath, std::string& error);

// Selects the face with unhinted outlines and metrics, so text scales exactly from 1x to 2x.
void UseFont(cairo_t* cr, cairo_font_face_t* face);

enum class Align
{
  Left,
  Centre,
  Right
};

struct Label
{
  std::string_view text;
  double x; // left edge, centre or right edge, after align
  double baseline;
  double size;     // em size in points
  double tracking; // extra points between letters
  Align align;
};

// Prints the label in ink with a faint dark shadow below, as ink sits on a brushed plate.
void PrintLabel(cairo_t* cr, const Label& label, Rgb ink);

} // namespace kit::artwork
