// The raster drawing backend: draws the editor with Cairo into a frame buffer of 32-bit pixels
// that lives between frames, decodes pictures, draws and measures text with FreeType faces from
// the process-wide typeface cache, and keeps the layers' pixels. Editor thread. A platform layer
// (a window, or the headless one) derives from it and shows or stores the frame buffer.
#pragma once

#include "graphics/draw_context.h"

#include <cstdint>
#include <memory>
#include <span>

namespace kit::ui
{

struct CairoState;

class IDrawContextCairo : public IDrawContext
{
public:
  class Bitmap; // a decoded picture or a layer's pixels

  // Counts itself in the typeface cache, which empties when the last backend goes.
  IDrawContextCairo(IEditorDelegate& editorDelegate, int logicalWidth, int logicalHeight, int tickRate, float zoom);
  ~IDrawContextCairo() override;

  // Operations of the drawing context, in its slot order.

  void OnViewInitialized() override;
  void OnViewDestroyed() override;
  // Completes the frame's pixels; a drawing context that failed is made anew and everything
  // is marked for repainting.
  void EndFrame() override;
  void BlitBitmap(const IBitmapRef& bitmap, const IBounds& bounds, int srcX, int srcY,
                  const IBlending* blend = nullptr) override;
  void RenderMultiLineText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                           const IBlending* blend = nullptr) override;
  // The stored (premultiplied) bytes of the pixel under (x, y) logical units of the current target.
  [[nodiscard]] IRgba ReadPixel(float x, float y) override;
  // The current cairo_t (the frame's or the top layer's), or null without a frame buffer.
  [[nodiscard]] void* DrawingContext() override;
  [[nodiscard]] const char* DrawingApiName() const override;
  [[nodiscard]] bool BitmapExtensionSupported(std::string_view extension) const override;
  void UpdateLayer() override;
  void PathClear() override;
  void PathClose() override;
  void PathArc(float cx, float cy, float r, float a1, float a2, bool counterClockwise = false) override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x2, float y2) override;
  void PathQuadTo(float cx, float cy, float x2, float y2) override;
  void PathStroke(const IFillPattern& pattern, float thickness, const IStrokeStyle& style = {},
                  const IBlending* blend = nullptr) override;
  void PathFill(const IFillPattern& pattern, const IFillStyle& style = {}, const IBlending* blend = nullptr) override;
  void PathTransformSetMatrix(const ITransform2D& matrix) override;
  void PathClipRegion(const IBounds& region) override;
  // ceil(trunc(size × drawScale) × screenScale) pixels a side; none when that cannot be made.
  void RebuildFrameBuffer() override;
  [[nodiscard]] std::unique_ptr<APIBitmap> CreateBitmapFromMemory(std::span<const std::uint8_t> bytes,
                                                                  int scale) override;
  [[nodiscard]] std::unique_ptr<APIBitmap> CreateBitmap(EResourceLocation location, std::string_view path,
                                                        int scale) override;
  [[nodiscard]] std::unique_ptr<APIBitmap> CreateLayerBitmap(int widthPixels, int heightPixels) override;
  [[nodiscard]] bool MakeBackendFont(std::string_view fontId, std::string_view fileName) override;
  [[nodiscard]] int AlphaChannelIndex() const override;
  [[nodiscard]] bool RowsFlipped() const override;
  [[nodiscard]] float DoMeasureText(const ITextStyle& style, std::string_view text, IBounds& bounds) override;
  void DoDrawText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                  const IBlending* blend) override;

  // The frame buffer, for the platform to show or store.

  // Rows top to bottom, 4 × FramePixelWidth() bytes each, pixels blue, green, red, alpha with
  // alpha premultiplied; empty while there is no frame buffer.
  [[nodiscard]] std::span<const std::uint8_t> FrameBufferBytes() const noexcept;
  [[nodiscard]] int FramePixelWidth() const noexcept;
  [[nodiscard]] int FramePixelHeight() const noexcept;

private:
  std::unique_ptr<CairoState> state;
};

} // namespace kit::ui
