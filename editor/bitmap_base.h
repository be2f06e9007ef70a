// The picture half of the bitmap controls: a mix-in that keeps the control's picture and draws
// the frame of it that stands for a value, centred on the control. Editor thread, like the
// control that carries it.
#pragma once

#include "graphics/bitmap.h"
#include "graphics/bounds.h"

namespace kit::ui
{

class IControl;
class IDrawContext;

// A rectangle of one frame's size (whole points) centred on the centre of `around`.
[[nodiscard]] IBounds FrameBoundsCentredOn(const IBounds& around, const IBitmapRef& bitmap) noexcept;

// The frame, counted from 1, that a value of 0 … 1 shows in a picture of frameCount frames:
// the nearest of the evenly spread frames (halves go up); always 1 for a single frame.
[[nodiscard]] int FrameForValue(double value, int frameCount) noexcept;

class IBitmapBase
{
public:
  // owner: the control that carries this mix-in and outlives it.
  IBitmapBase(IControl& owner, const IBitmapRef& bitmap);
  IBitmapBase(const IBitmapBase&) = delete;
  IBitmapBase& operator=(const IBitmapBase&) = delete;
  virtual ~IBitmapBase();

  [[nodiscard]] const IBitmapRef& Bitmap() const noexcept { return bitmap; }

protected:
  // Blits the frame for `value` centred on the owner's bounds, with the owner's blending.
  void PaintFrameForValue(IDrawContext& graphics, double value) const;
  // The picture again at the owner's current scale. One that cannot be loaded again is kept:
  // drawn at its old resolution rather than not at all.
  void ReloadForScale();

  IBitmapRef bitmap;
  IControl* owner;
};

} // namespace kit::ui
