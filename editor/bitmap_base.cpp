#include "editor/bitmap_base.h"

#include "graphics/control.h"
#include "graphics/draw_context.h"

#include <algorithm>

namespace kit::ui
{

IBounds FrameBoundsCentredOn(const IBounds& around, const IBitmapRef& bitmap) noexcept
{
  // A hand-made reference may say 0 frames; it still has one picture.
  const int frames = std::max(1, bitmap.frameCount);
  const int frameWidth = bitmap.framesHorizontal ? bitmap.width / frames : bitmap.width;
  const int frameHeight = bitmap.framesHorizontal ? bitmap.height : bitmap.height / frames;
  const float halfWidth = 0.5f * float(frameWidth);
  const float halfHeight = 0.5f * float(frameHeight);
  return { around.MidX() - halfWidth, around.MidY() - halfHeight, around.MidX() + halfWidth,
           around.MidY() + halfHeight };
}

int FrameForValue(double value, int frameCount) noexcept
{
  if (frameCount < 2) return 1;
  const double position = value * double(frameCount - 1) + 0.5;
  // Limited before the conversion: a value far outside 0 … 1 (or NaN) has no int.
  if (!(position >= 1.0)) return 1;
  if (position >= double(frameCount)) return frameCount;
  return int(position) + 1;
}

IBitmapBase::IBitmapBase(IControl& control, const IBitmapRef& picture)
    : bitmap(picture)
    , owner(&control)
{
}

IBitmapBase::~IBitmapBase() = default;

void IBitmapBase::PaintFrameForValue(IDrawContext& graphics, double value) const
{
  graphics.BlitBitmapFrame(bitmap, FrameBoundsCentredOn(owner->Bounds(), bitmap),
                           FrameForValue(value, bitmap.frameCount), &owner->Blend());
}

void IBitmapBase::ReloadForScale()
{
  IDrawContext* graphics = owner->Graphics();
  if (!graphics || !bitmap.IsValid()) return;
  IBitmapRef reloaded = graphics->ReloadBitmap(bitmap);
  if (reloaded.IsValid()) bitmap = std::move(reloaded);
}

} // namespace kit::ui
