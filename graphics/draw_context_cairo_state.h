// Private to the Cairo backend's .cpp files: what IDrawContextCairo keeps between calls (the
// frame buffer and its surface, the current drawing target, the matrices) and its bitmap type.
// Editor thread.
#pragma once

#include "graphics/cairo_types.h"
#include "graphics/draw_context_cairo.h"
#include "graphics/draw_styles.h"
#include "graphics/transform.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kit::ui
{

struct CairoRelease
{
  void operator()(cairo_t* context) const noexcept;
  void operator()(cairo_surface_t* surface) const noexcept;
};
using CairoContextPtr = std::unique_ptr<cairo_t, CairoRelease>;
using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoRelease>;

struct CairoState
{
  std::vector<std::uint8_t> frameBuffer; // what frameSurface draws into
  int frameWidth = 0;                    // pixels; 0 without a frame buffer
  int frameHeight = 0;
  CairoSurfacePtr frameSurface;
  CairoContextPtr frameContext; // its state saved once, so that region clips restore to it
  cairo_t* context = nullptr;   // drawn into now: frameContext, or the top layer's; may be null
  ITransform2D pathMatrix;      // the drawing context's transform
  // base × pathMatrix usable by Cairo; when not, nothing is drawn until the transform changes.
  bool drawMatrixUsable = true;
  // A point of the path under construction was dropped (non-finite, or under an unusable
  // transform), so the path is not drawn.
  bool pathSpoiled = false;
};

class IDrawContextCairo::Bitmap : public APIBitmap
{
public:
  // Takes the surface, which must be a successfully made image surface.
  Bitmap(CairoSurfacePtr image, int widthPixels, int heightPixels, float pixelsPerUnit, float zoom, bool isLayer);

  [[nodiscard]] cairo_surface_t* Surface() const noexcept { return surface.get(); }
  [[nodiscard]] bool IsLayer() const noexcept { return layer; }
  // A layer's drawing context, made on first use with its base state saved; null on failure.
  [[nodiscard]] cairo_t* LayerContext();

private:
  CairoSurfacePtr surface;
  CairoContextPtr layerContext;
  bool layer;
};

// Blending shared by paths, pictures and text.

// 0 … 1; an absent blending is 1, a non-finite opacity 0.
[[nodiscard]] double BlendOpacity(const IBlending* blend) noexcept;
// Sets the Cairo operator for the blending (source-over when absent).
void SetBlendOperator(cairo_t* context, const IBlending* blend) noexcept;
// The operators Cairo applies to the whole clip (IN, OUT, DEST_IN, DEST_ATOP): the backend keeps
// their effect to what a drawing covers, as for the other operators.
[[nodiscard]] bool BlendIsUnbounded(const IBlending* blend) noexcept;
// Sets the source colour with its alpha trunc(alpha × opacity), each component limited to 0 … 255.
void SetSourceColour(cairo_t* context, const IRgba& colour, double opacity) noexcept;
// Sets a matrix only when it is finite and invertible, the only kind that leaves a Cairo
// context usable; answers whether it did.
bool SetUsableMatrix(cairo_t* context, const ITransform2D& matrix) noexcept;
// Intersects the clip with a rectangle in user units, keeping any path under construction.
void ClipRectangle(cairo_t* context, double left, double top, double right, double bottom) noexcept;

} // namespace kit::ui
