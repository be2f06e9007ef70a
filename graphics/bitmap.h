// Pictures as the editor draws them: the backend's decoded bitmap (APIBitmap) and the plain
// reference a control keeps to it (IBitmapRef). Editor thread; bitmaps loaded by name are owned
// by the process-wide bitmap cache, layers by their IDrawLayer.
#pragma once

#include <string>

namespace kit::ui
{

// A decoded picture or a layer's pixels, in the drawing backend's own form.
class APIBitmap
{
public:
  // width and height in pixels; scale: pixels per logical unit of the picture itself (2 for an
  // "@2x" file); drawScale: the zoom a layer was made at, 1 for loaded pictures.
  APIBitmap(int widthPixels, int heightPixels, float pixelsPerUnit, float zoom) noexcept
      : width(widthPixels)
      , height(heightPixels)
      , scale(pixelsPerUnit)
      , drawScale(zoom)
  {
  }
  APIBitmap(const APIBitmap&) = delete;
  APIBitmap& operator=(const APIBitmap&) = delete;
  virtual ~APIBitmap() = default;

  [[nodiscard]] int Width() const noexcept { return width; }
  [[nodiscard]] int Height() const noexcept { return height; }
  [[nodiscard]] float Scale() const noexcept { return scale; }
  [[nodiscard]] float DrawScale() const noexcept { return drawScale; }

private:
  int width;
  int height;
  float scale;
  float drawScale;
};

// What a control holds of a picture. Width and height are logical units: the pixel size divided
// by the picture's scale, so an "@2x" variant has the size of the plain one. Frames are
// width × height / frameCount stacked top to bottom, or width / frameCount × height side by side.
struct IBitmapRef
{
  APIBitmap* bitmap = nullptr; // not owned; null for the empty reference
  int width = 0;
  int height = 0;
  int frameCount = 1;
  bool framesHorizontal = false;
  std::string resourceName;

  [[nodiscard]] bool IsValid() const noexcept { return bitmap != nullptr; }
  [[nodiscard]] int FrameWidth() const noexcept { return framesHorizontal ? width / frameCount : width; }
  [[nodiscard]] int FrameHeight() const noexcept { return framesHorizontal ? height : height / frameCount; }
};

} // namespace kit::ui
