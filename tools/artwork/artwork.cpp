#include "tools/artwork/artwork.h"

#include "tools/artwork/canvas.h"
#include "tools/artwork/knobs.h"
#include "tools/artwork/lamps.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/panel.h"
#include "tools/artwork/screen.h"
#include "tools/artwork/text.h"

#include <array>
#include <initializer_list>

namespace kit::artwork
{
namespace
{

// The pictures are drawn in points; the file name carries the scale (Cairo's image density).
std::filesystem::path FileName(const char* stem, int pixelsPerPoint)
{
  return std::string(stem) + (pixelsPerPoint == 2 ? "@2x.png" : ".png");
}

// Two frames stacked top to bottom: the editor shows the second while dither is on.
void DrawBackground(cairo_t* cr, cairo_font_face_t* font)
{
  UseFont(cr, font);
  const std::array<const Look*, 2> looks { &kDitherOffLook, &kDitherOnLook };
  for (std::size_t frame = 0; frame < looks.size(); ++frame)
  {
    cairo_save(cr);
    cairo_translate(cr, 0, double(frame) * kFrameHeight);
    cairo_rectangle(cr, 0, 0, kFrameWidth, kFrameHeight);
    cairo_clip(cr);
    DrawPanel(cr);
    DrawScreen(cr, *looks[frame]);
    DrawLamps(cr, *looks[frame]);
    DrawKnobBodies(cr);
    cairo_restore(cr);
  }
}

// The cover in the first frame, nothing in the second: the lamp shows while the graph is on.
void DrawDisplayButton(cairo_t* cr, cairo_font_face_t*)
{
  DrawLampCover(cr);
}

void DrawKnobLinePicture(cairo_t* cr, cairo_font_face_t*)
{
  DrawKnobLine(cr);
}

struct Picture
{
  const char* stem;
  int widthPoints;
  int heightPoints;
  void (*draw)(cairo_t*, cairo_font_face_t*);
};

constexpr std::array<Picture, 3> kPictures { { { "bg", kFrameWidth, 2 * kFrameHeight, DrawBackground },
                                               { "knob_line", 31, 31, DrawKnobLinePicture },
                                               { "display_button", 8, 16, DrawDisplayButton } } };

} // namespace

std::filesystem::path BuildFontPath()
{
  return OMBRIX_ROBOTO_FONT;
}

bool WriteArtwork(const std::filesystem::path& folder, const std::filesystem::path& fontPath, std::string& error)
{
  const FontFace font = LoadFontFace(fontPath, error);
  if (!font) return false;
  for (const Picture& picture : kPictures)
  {
    for (const int pixelsPerPoint : { 1, 2 })
    {
      Canvas canvas;
      if (!CreateCanvas(picture.widthPoints, picture.heightPoints, pixelsPerPoint, canvas, error)) return false;
      picture.draw(canvas.context.get(), font.get());
      if (const cairo_status_t status = cairo_status(canvas.context.get()); status != CAIRO_STATUS_SUCCESS)
      {
        error =
            "cannot draw " + FileName(picture.stem, pixelsPerPoint).string() + ": " + cairo_status_to_string(status);
        return false;
      }
      if (!WritePng(canvas.surface.get(), folder / FileName(picture.stem, pixelsPerPoint), error)) return false;
    }
  }
  return true;
}

} // namespace kit::artwork
