#include "tools/artwork/canvas.h"

#include <numbers>
#include <system_error>

namespace kit::artwork
{

bool CreateCanvas(int widthPoints, int heightPoints, int pixelsPerPoint, Canvas& canvas, std::string& error)
{
  canvas.surface.reset(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, widthPoints * pixelsPerPoint, heightPoints * pixelsPerPoint));
  if (const cairo_status_t status = cairo_surface_status(canvas.surface.get()); status != CAIRO_STATUS_SUCCESS)
  {
    error = std::string("cannot create a picture surface: ") + cairo_status_to_string(status);
    return false;
  }
  canvas.context.reset(cairo_create(canvas.surface.get()));
  if (const cairo_status_t status = cairo_status(canvas.context.get()); status != CAIRO_STATUS_SUCCESS)
  {
    error = std::string("cannot create a drawing context: ") + cairo_status_to_string(status);
    return false;
  }
  cairo_scale(canvas.context.get(), pixelsPerPoint, pixelsPerPoint);
  return true;
}

bool WritePng(cairo_surface_t* surface, const std::filesystem::path& path, std::string& error)
{
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  cairo_surface_flush(surface);
  if (const cairo_status_t status = cairo_surface_write_to_png(surface, temporary.c_str());
      status != CAIRO_STATUS_SUCCESS)
  {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    error = "cannot write " + temporary.string() + ": " + cairo_status_to_string(status);
    return false;
  }
  std::error_code code;
  std::filesystem::rename(temporary, path, code);
  if (code)
  {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    error = "cannot rename " + temporary.string() + " to " + path.string() + ": " + code.message();
    return false;
  }
  return true;
}

void AddRoundedRect(cairo_t* cr, Rect rect, double radius)
{
  constexpr double quarter = std::numbers::pi / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, rect.right - radius, rect.top + radius, radius, -quarter, 0);
  cairo_arc(cr, rect.right - radius, rect.bottom - radius, radius, 0, quarter);
  cairo_arc(cr, rect.left + radius, rect.bottom - radius, radius, quarter, 2 * quarter);
  cairo_arc(cr, rect.left + radius, rect.top + radius, radius, 2 * quarter, 3 * quarter);
  cairo_close_path(cr);
}

} // namespace kit::artwork
