// Copies rectangles of the Cairo frame (32-bit pixels, rows top to bottom) into an X11 window:
// through a shared-memory image when the server offers MIT-SHM and attaching the segment works,
// otherwise with XPutImage. One per window size; made and used on the connection's thread.
#pragma once

#include "graphics/bounds.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <span>

namespace kit::ui
{

// A rectangle of whole device pixels.
struct PixelRect
{
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

// rect widened outward to whole pixels and clipped to 0 … width × 0 … height; false when
// nothing remains.
[[nodiscard]] bool ClipToFrame(const IBounds& rect, int width, int height, PixelRect& clipped) noexcept;

// Whether windows of the visual show the frame's pixels as they are: TrueColor, red 0xff0000,
// green 0xff00, blue 0xff, and 32 bits a pixel at that depth.
[[nodiscard]] bool VisualTakesFramePixels(Display* display, const Visual& visual, int depth);

class X11FrameCopy
{
public:
  // For frames of width × height pixels shown in windows of that visual and depth. The visual
  // must take the frame's pixels as they are: 32 bits, red 0xff0000, green 0xff00, blue 0xff.
  X11FrameCopy(Display* display, Visual* visual, int depth, int width, int height);
  X11FrameCopy(const X11FrameCopy&) = delete;
  X11FrameCopy& operator=(const X11FrameCopy&) = delete;
  // Detaches and frees the shared segment.
  ~X11FrameCopy();

  // False when no image could be made; Copy then does nothing.
  [[nodiscard]] bool Usable() const noexcept { return image != nullptr; }
  [[nodiscard]] bool SharedMemory() const noexcept { return attached; }
  [[nodiscard]] int Width() const noexcept { return width; }
  [[nodiscard]] int Height() const noexcept { return height; }

  // Copies each rectangle (device pixels; clipped to the frame) of frame, which holds
  // 4 × width × height bytes, to the same place in window. Shared memory is read by the server
  // later: the copy waits for the server before it answers, so the next frame may write again.
  void Copy(Window window, GC gc, std::span<const std::uint8_t> frame, std::span<const IBounds> rects);

private:
  // The shared segment attached by the server; false (nothing left) when any step fails.
  [[nodiscard]] bool AttachSharedImage(Visual* visual, int depth);
  void CopyShared(Window window, GC gc, std::span<const std::uint8_t> frame, int x, int y, int w, int h);

  Display* display;
  int width;
  int height;
  XImage* image = nullptr;
  XShmSegmentInfo segment {};
  bool attached = false;
};

} // namespace kit::ui
