#include "graphics/draw_context_cairo.h"

#include "graphics/draw_context_cairo_state.h"
#include "graphics/image_variant.h"
#include "graphics/typeface_cache.h"

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <new>

namespace kit::ui
{
namespace
{

// Cairo's image surfaces stop at this many pixels a side.
constexpr std::int64_t kMaxSurfaceSide = 32767;

// ceil(trunc(logical × drawScale) × screenScale) in 64 bits; 0 when it is not a size Cairo can
// make (not finite, below one pixel or above its limit).
std::int64_t FramePixels(int logical, float drawScale, float screenScale) noexcept
{
  const double zoomed = std::trunc(double(logical) * double(drawScale));
  const double pixels = std::ceil(zoomed * double(screenScale));
  if (!std::isfinite(pixels) || pixels < 1.0 || pixels > double(kMaxSurfaceSide)) return 0;
  return std::int64_t(pixels);
}

// Total scale on both axes, then the move of the top layer's corner to the layer's origin.
ITransform2D BaseMatrix(float totalScale, const std::vector<std::unique_ptr<IDrawLayer>>& layers) noexcept
{
  const ITransform2D scaled = ITransform2D {}.Scaled(totalScale, totalScale);
  if (layers.empty()) return scaled;
  return scaled.Translated(-double(layers.back()->bounds.left), -double(layers.back()->bounds.top));
}

// Makes the frame's context with its base state saved; null when Cairo cannot.
CairoContextPtr MakeBaseContext(cairo_surface_t* surface)
{
  CairoContextPtr context(cairo_create(surface));
  if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_save(context.get());
  return context;
}

} // namespace

void CairoRelease::operator()(cairo_t* context) const noexcept
{
  cairo_destroy(context);
}
void CairoRelease::operator()(cairo_surface_t* surface) const noexcept
{
  cairo_surface_destroy(surface);
}

bool SetUsableMatrix(cairo_t* context, const ITransform2D& matrix) noexcept
{
  if (!matrix.Usable()) return false;
  const cairo_matrix_t cairoMatrix { matrix.xx, matrix.yx, matrix.xy, matrix.yy, matrix.tx, matrix.ty };
  cairo_set_matrix(context, &cairoMatrix);
  return true;
}

void ClipRectangle(cairo_t* context, double left, double top, double right, double bottom) noexcept
{
  // Cairo clips with its current path, so a path under construction is set aside meanwhile, in
  // device space where neither matrix change affects it.
  cairo_path_t* kept = nullptr;
  if (cairo_has_current_point(context))
  {
    cairo_matrix_t matrix;
    cairo_get_matrix(context, &matrix);
    cairo_identity_matrix(context);
    kept = cairo_copy_path(context);
    cairo_set_matrix(context, &matrix);
    cairo_new_path(context);
  }
  if (std::isfinite(left) && std::isfinite(top) && std::isfinite(right) && std::isfinite(bottom) && right > left &&
      bottom > top)
    cairo_rectangle(context, left, top, right - left, bottom - top);
  else
    cairo_rectangle(context, 0.0, 0.0, 0.0, 0.0); // nothing passes
  cairo_clip(context);
  if (kept != nullptr)
  {
    cairo_matrix_t matrix;
    cairo_get_matrix(context, &matrix);
    cairo_identity_matrix(context);
    if (kept->status == CAIRO_STATUS_SUCCESS) cairo_append_path(context, kept);
    cairo_set_matrix(context, &matrix);
    cairo_path_destroy(kept);
  }
}

IDrawContextCairo::Bitmap::Bitmap(CairoSurfacePtr image, int widthPixels, int heightPixels, float pixelsPerUnit,
                                  float zoom, bool isLayer)
    : APIBitmap(widthPixels, heightPixels, pixelsPerUnit, zoom)
    , surface(std::move(image))
    , layer(isLayer)
{
}

cairo_t* IDrawContextCairo::Bitmap::LayerContext()
{
  if (!layerContext) layerContext = MakeBaseContext(surface.get());
  return layerContext.get();
}

IDrawContextCairo::IDrawContextCairo(IEditorDelegate& editorDelegate, int logicalWidth, int logicalHeight, int tickRate,
                                     float zoom)
    : IDrawContext(editorDelegate, logicalWidth, logicalHeight, tickRate, zoom)
    , state(std::make_unique<CairoState>())
{
  RetainTypefaceCache();
}

IDrawContextCairo::~IDrawContextCairo()
{
  state.reset();
  ReleaseTypefaceCache();
}

void IDrawContextCairo::OnViewInitialized()
{
  RebuildFrameBuffer();
}

void IDrawContextCairo::OnViewDestroyed()
{
  ClearControls();
}

void IDrawContextCairo::EndFrame()
{
  if (!state->frameSurface) return;
  cairo_surface_flush(state->frameSurface.get());
  if (cairo_status(state->frameContext.get()) == CAIRO_STATUS_SUCCESS) return;
  // A failed context ignores every later drawing call: start again from a fresh one and let the
  // next frame repaint everything.
  const bool drawingToFrame = state->context == state->frameContext.get();
  state->frameContext = MakeBaseContext(state->frameSurface.get());
  if (drawingToFrame) state->context = state->frameContext.get();
  PathTransformSetMatrix(transform);
  MarkAllControlsDirty();
}

void IDrawContextCairo::RenderMultiLineText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                                            const IBlending* blend)
{
  RenderText(style, text, bounds, blend);
}

IRgba IDrawContextCairo::ReadPixel(float x, float y)
{
  cairo_t* context = state->context;
  if (context == nullptr) return { 0, 0, 0, 0 };
  cairo_surface_t* target = cairo_get_target(context);
  const ITransform2D base = BaseMatrix(TotalScale(), layerStack);
  const double column = std::floor(base.MapX(x, y));
  const double row = std::floor(base.MapY(x, y));
  const int widthPixels = cairo_image_surface_get_width(target);
  const int heightPixels = cairo_image_surface_get_height(target);
  if (!(column >= 0.0 && column < double(widthPixels) && row >= 0.0 && row < double(heightPixels)))
    return { 0, 0, 0, 0 };
  cairo_surface_flush(target);
  const unsigned char* data = cairo_image_surface_get_data(target);
  if (data == nullptr || cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32) return { 0, 0, 0, 0 };
  const std::size_t stride = std::size_t(cairo_image_surface_get_stride(target));
  const unsigned char* pixel = data + std::size_t(row) * stride + 4 * std::size_t(column);
  return { pixel[3], pixel[2], pixel[1], pixel[0] };
}

void* IDrawContextCairo::DrawingContext()
{
  return state->context;
}

const char* IDrawContextCairo::DrawingApiName() const
{
  return "CAIRO | CPU";
}

bool IDrawContextCairo::BitmapExtensionSupported(std::string_view extension) const
{
  return ui::BitmapExtensionSupported(extension);
}

void IDrawContextCairo::UpdateLayer()
{
  if (layerStack.empty())
  {
    state->context = state->frameContext.get();
  }
  else
  {
    auto* layerBitmap = dynamic_cast<Bitmap*>(layerStack.back()->bitmap.get());
    state->context = layerBitmap != nullptr && layerBitmap->IsLayer() ? layerBitmap->LayerContext() : nullptr;
  }
  PathTransformSetMatrix(transform);
}

void IDrawContextCairo::PathTransformSetMatrix(const ITransform2D& matrix)
{
  state->pathMatrix = matrix;
  if (state->context == nullptr) return;
  state->drawMatrixUsable =
      SetUsableMatrix(state->context, BaseMatrix(TotalScale(), layerStack).Then(state->pathMatrix));
}

void IDrawContextCairo::PathClipRegion(const IBounds& region)
{
  cairo_t* context = state->context;
  if (context == nullptr) return;
  cairo_restore(context);
  cairo_save(context);
  if (SetUsableMatrix(context, BaseMatrix(TotalScale(), layerStack)))
  {
    // Regions lie on whole pixels; a hard edge keeps neighbouring regions from blending.
    cairo_set_antialias(context, CAIRO_ANTIALIAS_NONE);
    ClipRectangle(context, region.left, region.top, region.right, region.bottom);
    cairo_set_antialias(context, CAIRO_ANTIALIAS_DEFAULT);
  }
  PathTransformSetMatrix(state->pathMatrix);
}

void IDrawContextCairo::RebuildFrameBuffer()
{
  const bool drawingToFrame = state->context == state->frameContext.get();
  state->frameContext.reset();
  state->frameSurface.reset();
  if (drawingToFrame) state->context = nullptr;
  state->frameWidth = 0;
  state->frameHeight = 0;
  state->frameBuffer = {};

  const std::int64_t widthPixels = FramePixels(width, drawScale, screenScale);
  const std::int64_t heightPixels = FramePixels(height, drawScale, screenScale);
  if (widthPixels == 0 || heightPixels == 0) return;
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, int(widthPixels));
  if (stride != 4 * widthPixels) return;
  const std::uint64_t byteCount = std::uint64_t(stride) * std::uint64_t(heightPixels);
  try
  {
    state->frameBuffer.assign(std::size_t(byteCount), 0);
  }
  catch (const std::bad_alloc&)
  {
    return;
  }

  CairoSurfacePtr surface(cairo_image_surface_create_for_data(state->frameBuffer.data(), CAIRO_FORMAT_ARGB32,
                                                              int(widthPixels), int(heightPixels), stride));
  CairoContextPtr context;
  if (cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS) context = MakeBaseContext(surface.get());
  if (!context)
  {
    state->frameBuffer = {};
    return;
  }
  state->frameSurface = std::move(surface);
  state->frameContext = std::move(context);
  state->frameWidth = int(widthPixels);
  state->frameHeight = int(heightPixels);
  if (layerStack.empty()) state->context = state->frameContext.get();
  PathTransformSetMatrix(transform);
}

std::unique_ptr<APIBitmap> IDrawContextCairo::CreateLayerBitmap(int widthPixels, int heightPixels)
{
  if (widthPixels < 1 || heightPixels < 1 || widthPixels > kMaxSurfaceSide || heightPixels > kMaxSurfaceSide)
    return nullptr;
  CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, widthPixels, heightPixels));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  auto layer = std::make_unique<Bitmap>(std::move(surface), widthPixels, heightPixels, screenScale, drawScale, true);
  if (layer->LayerContext() == nullptr) return nullptr;
  return layer;
}

int IDrawContextCairo::AlphaChannelIndex() const
{
  return 3;
}

bool IDrawContextCairo::RowsFlipped() const
{
  return false;
}

std::span<const std::uint8_t> IDrawContextCairo::FrameBufferBytes() const noexcept
{
  return state->frameBuffer;
}

int IDrawContextCairo::FramePixelWidth() const noexcept
{
  return state->frameWidth;
}

int IDrawContextCairo::FramePixelHeight() const noexcept
{
  return state->frameHeight;
}

} // namespace kit::ui
