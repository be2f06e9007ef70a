// A Cairo image surface drawn in points at one or two pixels per point, and its atomic PNG
// write. Private to the artwork program, which is the only place that draws its pictures.
#pragma once

#include "tools/artwork/palette.h"

#include <cairo.h>

#include <filesystem>
#include <memory>
#include <string>

namespace kit::artwork
{

struct SurfaceRelease
{
  void operator()(cairo_surface_t* surface) const noexcept { cairo_surface_destroy(surface); }
};
struct ContextRelease
{
  void operator()(cairo_t* context) const noexcept { cairo_destroy(context); }
};

struct Canvas
{
  std::unique_ptr<cairo_surface_t, SurfaceRelease> surface;
  std::unique_ptr<cairo_t, ContextRelease> context;
};

// A transparent ARGB32 surface of widthPoints x heightPoints points whose context is scaled to
// pixelsPerPoint, so one drawing serves both resolutions. False with a reason when Cairo fails.
[[nodiscard]] bool CreateCanvas(int widthPoints, int heightPoints, int pixelsPerPoint, Canvas& canvas,
                                std::string& error);

// Writes the surface as PNG under a temporary name beside path and renames it into place; on
// failure the temporary file is removed and path is left as it was.
[[nodiscard]] bool WritePng(cairo_surface_t* surface, const std::filesystem::path& path, std::string& error);

// Adds a closed rectangle with quarter-circle corners to the current path.
void AddRoundedRect(cairo_t* cr, Rect rect, double radius);

} // namespace kit::artwork
