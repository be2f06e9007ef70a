// Pictures drawn through the backend's one blit: a frame of a strip, fitted to a rectangle,
// or turned about a centre.
#include "graphics/draw_context.h"

namespace kit::ui
{

void IDrawContext::BlitBitmapFrame(const IBitmapRef& bitmap, const IBounds& bounds, int frame, const IBlending* blend)
{
  if (!bitmap.IsValid()) return;
  const int frameCount = bitmap.frameCount;
  int srcX = 0;
  int srcY = 0;
  if (frameCount >= 2)
  {
    frame = frame < 1 ? 1 : (frame > frameCount ? frameCount : frame);
    if (frame >= 2)
    {
      if (bitmap.framesHorizontal)
        srcX = (frame - 1) * bitmap.width / frameCount;
      else
        srcY = (frame - 1) * bitmap.height / frameCount;
    }
  }
  BlitBitmap(bitmap, bounds, srcX, srcY, blend);
}

void IDrawContext::BlitFittedBitmap(const IBitmapRef& bitmap, const IBounds& bounds, const IBlending* blend)
{
  // A picture without extent has no scale that fits it anywhere.
  if (!bitmap.IsValid() || bitmap.width <= 0 || bitmap.height <= 0) return;
  const auto w = float(bitmap.width);
  const auto h = float(bitmap.height);
  PathTransformSave();
  PathTransformTranslate(bounds.left, bounds.top);
  PathTransformScale(bounds.W() / w, bounds.H() / h);
  BlitBitmap(bitmap, IBounds(0.0f, 0.0f, w, h), 0, 0, blend);
  PathTransformRestore();
}

void IDrawContext::BlitRotatedBitmap(const IBitmapRef& bitmap, float cx, float cy, double angle, const IBlending* blend)
{
  if (!bitmap.IsValid()) return;
  const float zoom = bitmap.bitmap->DrawScale();
  const float w = float(bitmap.width) / zoom;
  const float h = float(bitmap.height) / zoom;
  PathTransformSave();
  PathTransformTranslate(cx, cy);
  PathTransformRotate(float(angle));
  BlitBitmap(bitmap, IBounds(-0.5f * w, -0.5f * h, 0.5f * w, 0.5f * h), 0, 0, blend);
  PathTransformRestore();
}

} // namespace kit::ui
