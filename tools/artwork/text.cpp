#include "tools/artwork/text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace kit::artwork
{
namespace
{

// Cairo may keep the font face past our last reference (its caches), so the FreeType face and
// library are freed by the face's own destroy callback, not by us.
struct FreeTypeFont
{
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

const cairo_user_data_key_t kFreeTypeKey {};

void ReleaseFreeTypeFont(void* data)
{
  auto* font = static_cast<FreeTypeFont*>(data);
  FT_Done_Face(font->face);
  FT_Done_FreeType(font->library);
  delete font;
}

} // namespace

FontFace LoadFontFace(const std::filesystem::path& fontPath, std::string& error)
{
  auto* font = new FreeTypeFont;
  if (FT_Init_FreeType(&font->library) != 0)
  {
    delete font;
    error = "cannot start FreeType";
    return nullptr;
  }
  if (FT_New_Face(font->library, fontPath.c_str(), 0, &font->face) != 0)
  {
    FT_Done_FreeType(font->library);
    delete font;
    error = "cannot load the font " + fontPath.string() + " (Debian package fonts-roboto-unhinted)";
    return nullptr;
  }
  FontFace face(cairo_ft_font_face_create_for_ft_face(font->face, 0));
  cairo_status_t status = cairo_font_face_status(face.get());
  if (status == CAIRO_STATUS_SUCCESS)
    status = cairo_font_face_set_user_data(face.get(), &kFreeTypeKey, font, ReleaseFreeTypeFont);
  if (status != CAIRO_STATUS_SUCCESS)
  {
    face.reset();
    ReleaseFreeTypeFont(font);
    error = std::string("cannot make a Cairo font face: ") + cairo_status_to_string(status);
    return nullptr;
  }
  return face;
}

void UseFont(cairo_t* cr, cairo_font_face_t* face)
{
  cairo_set_font_face(cr, face);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

void PrintLabel(cairo_t* cr, const Label& label, Rgb ink)
{
  cairo_set_font_size(cr, label.size);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr), 0, 0, label.text.data(), int(label.text.size()),
                                       &glyphs, &count, nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS)
    return;
  cairo_text_extents_t extents;
  cairo_glyph_extents(cr, glyphs, count, &extents);
  const double width = extents.x_advance + label.tracking * (count - 1);
  double left = label.x;
  if (label.align == Align::Centre) left -= width / 2;
  if (label.align == Align::Right) left -= width;
  for (int i = 0; i < count; ++i)
  {
    glyphs[i].x += left + label.tracking * i;
    glyphs[i].y += label.baseline;
  }

  cairo_save(cr);
  cairo_translate(cr, 0, 0.6);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
  cairo_show_glyphs(cr, glyphs, count);
  cairo_restore(cr);
  SetSource(cr, ink);
  cairo_show_glyphs(cr, glyphs, count);
  cairo_glyph_free(glyphs);
}

} // namespace kit::artwork
