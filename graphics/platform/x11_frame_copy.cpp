#include "graphics/platform/x11_frame_copy.h"

#include "graphics/platform/x11_errors.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace kit::ui
{
namespace
{

// The frame's pixels are 32-bit words in the machine's byte order.
constexpr int kNativeByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

} // namespace

bool ClipToFrame(const IBounds& rect, int width, int height, PixelRect& clipped) noexcept
{
  const double left = std::max(0.0, std::floor(double(rect.left)));
  const double top = std::max(0.0, std::floor(double(rect.top)));
  const double right = std::min(double(width), std::ceil(double(rect.right)));
  const double bottom = std::min(double(height), std::ceil(double(rect.bottom)));
  // Comparisons false for NaN leave such a rectangle out too.
  if (!(right > left) || !(bottom > top)) return false;
  clipped = { int(left), int(top), int(right - left), int(bottom - top) };
  return true;
}

bool VisualTakesFramePixels(Display* display, const Visual& visual, int depth)
{
  if (visual.c_class != TrueColor || visual.red_mask != 0xff0000 || visual.green_mask != 0xff00 ||
      visual.blue_mask != 0xff)
    return false;
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
  if (formats == nullptr) return false;
  bool fits = false;
  for (int i = 0; i < count; ++i)
  {
    if (formats[i].depth == depth) fits = formats[i].bits_per_pixel == 32;
  }
  XFree(formats);
  return fits;
}

X11FrameCopy::X11FrameCopy(Display* connection, Visual* visual, int depth, int frameWidth, int frameHeight)
    : display(connection)
    , width(frameWidth)
    , height(frameHeight)
{
  if (width < 1 || height < 1) return;
  if (AttachSharedImage(visual, depth)) return;
  // The image's bytes are the frame's own, pointed at for each copy.
  image = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(width), unsigned(height), 32,
                       4 * width);
  if (image == nullptr) return;
  image->byte_order = kNativeByteOrder;
}

X11FrameCopy::~X11FrameCopy()
{
  if (image == nullptr) return;
  if (attached)
  {
    // The server lets go of the segment first, so that it is freed when we detach.
    if (!X11ConnectionLost(display))
    {
      XShmDetach(display, &segment);
      XSync(display, False);
    }
    shmdt(segment.shmaddr);
  }
  image->data = nullptr;
  XDestroyImage(image);
}

bool X11FrameCopy::AttachSharedImage(Visual* visual, int depth)
{
  if (XShmQueryExtension(display) == False || ImageByteOrder(display) != kNativeByteOrder) return false;
  XImage* shared =
      XShmCreateImage(display, visual, unsigned(depth), ZPixmap, nullptr, &segment, unsigned(width), unsigned(height));
  if (shared == nullptr) return false;
  if (shared->bits_per_pixel != 32 || shared->bytes_per_line != 4 * width)
  {
    XDestroyImage(shared);
    return false;
  }
  const std::size_t bytes = std::size_t(shared->bytes_per_line) * std::size_t(height);
  segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (segment.shmid < 0)
  {
    XDestroyImage(shared);
    return false;
  }
  void* address = shmat(segment.shmid, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1))
  {
    shmctl(segment.shmid, IPC_RMID, nullptr);
    XDestroyImage(shared);
    return false;
  }
  segment.shmaddr = static_cast<char*>(address);
  segment.readOnly = False;
  shared->data = segment.shmaddr;
  // A server on another machine, or one refusing the segment, answers with an error: only the
  // round trip tells.
  const unsigned long errorsBefore = X11ErrorCount(display);
  const bool sent = XShmAttach(display, &segment) != False;
  XSync(display, False);
  const bool ok = sent && X11ErrorCount(display) == errorsBefore && !X11ConnectionLost(display);
  // Marked for removal at once: the segment goes when both sides have detached, even if this
  // process ends without closing.
  shmctl(segment.shmid, IPC_RMID, nullptr);
  if (!ok)
  {
    shmdt(segment.shmaddr);
    shared->data = nullptr;
    XDestroyImage(shared);
    segment = {};
    return false;
  }
  image = shared;
  attached = true;
  return true;
}

void X11FrameCopy::Copy(Window window, GC gc, std::span<const std::uint8_t> frame, std::span<const IBounds> rects)
{
  if (image == nullptr || frame.size() != std::size_t(4) * std::size_t(width) * std::size_t(height)) return;
  bool copied = false;
  for (const IBounds& rect : rects)
  {
    PixelRect pixels;
    if (!ClipToFrame(rect, width, height, pixels)) continue;
    if (attached)
    {
      CopyShared(window, gc, frame, pixels.x, pixels.y, pixels.w, pixels.h);
    }
    else
    {
      // XPutImage only reads the bytes.
      image->data = reinterpret_cast<char*>(const_cast<std::uint8_t*>(frame.data()));
      XPutImage(display, window, gc, image, pixels.x, pixels.y, pixels.x, pixels.y, unsigned(pixels.w),
                unsigned(pixels.h));
      image->data = nullptr;
    }
    copied = true;
  }
  if (!copied) return;
  if (attached)
    XSync(display, False);
  else
    XFlush(display);
}

void X11FrameCopy::CopyShared(Window window, GC gc, std::span<const std::uint8_t> frame, int x, int y, int w, int h)
{
  const std::size_t stride = std::size_t(4) * std::size_t(width);
  for (int row = y; row < y + h; ++row)
  {
    const std::size_t at = std::size_t(row) * stride + std::size_t(4) * std::size_t(x);
    std::memcpy(segment.shmaddr + at, frame.data() + at, std::size_t(4) * std::size_t(w));
  }
  XShmPutImage(display, window, gc, image, x, y, x, y, unsigned(w), unsigned(h), False);
}

} // namespace kit::ui
