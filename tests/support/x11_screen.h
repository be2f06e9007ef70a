#pragma once
// What a user does and sees on a test's X server: the pointer and keys through XTest, and
// pictures of windows read back with XGetImage, kept as PNG files.

#include <cairo.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kit::test
{

// The pointer to (x, y) of window's inside, as a user moves it.
inline void MovePointerTo(Display* display, Window window, int x, int y)
{
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
  XFlush(display);
}

inline void PressButton(Display* display, unsigned int button, bool down)
{
  XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
  XFlush(display);
}

inline void ClickButton(Display* display, unsigned int button)
{
  PressButton(display, button, true);
  PressButton(display, button, false);
}

inline void PressKey(Display* display, KeySym keysym, bool down)
{
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down ? True : False, CurrentTime);
  XFlush(display);
}

// Presses and releases the key of each character (letters, digits, "+", "-", "."), with shift
// where the character needs it.
inline void TypeText(Display* display, const std::string& text)
{
  for (const char c : text)
  {
    const std::string name = c == '+' ? "plus" : c == '-' ? "minus" : c == '.' ? "period" : std::string(1, c);
    const KeySym keysym = XStringToKeysym(name.c_str());
    const KeyCode code = XKeysymToKeycode(display, keysym);
    const bool shifted = XkbKeycodeToKeysym(display, code, 0, 0) != keysym;
    if (shifted) PressKey(display, XK_Shift_L, true);
    PressKey(display, keysym, true);
    PressKey(display, keysym, false);
    if (shifted) PressKey(display, XK_Shift_L, false);
  }
}

// A window's pixels as the screen shows them: 0x00RRGGBB, rows top to bottom.
struct WindowPicture
{
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  [[nodiscard]] std::uint32_t At(int x, int y) const
  {
    return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  }
  [[nodiscard]] int Red(int x, int y) const { return int((At(x, y) >> 16) & 0xFF); }
  [[nodiscard]] int Green(int x, int y) const { return int((At(x, y) >> 8) & 0xFF); }
  [[nodiscard]] int Blue(int x, int y) const { return int(At(x, y) & 0xFF); }

  // Written through Cairo; false when the file cannot be written.
  bool WritePng(const std::filesystem::path& path) const
  {
    std::filesystem::create_directories(path.parent_path());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) reinterpret_cast<std::uint32_t*>(data + y * stride)[x] = At(x, y);
    cairo_surface_mark_dirty(surface);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
  }
};

// The window's pixels (an unmapped or vanished window gives an empty picture).
inline WindowPicture ReadWindow(Display* display, Window window)
{
  WindowPicture picture;
  XWindowAttributes attributes {};
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return picture;
  XImage* image =
      XGetImage(display, window, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes, ZPixmap);
  if (!image) return picture;
  picture.width = attributes.width;
  picture.height = attributes.height;
  picture.pixels.resize(std::size_t(picture.width) * std::size_t(picture.height));
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      picture.pixels[std::size_t(y) * std::size_t(picture.width) + std::size_t(x)] =
          std::uint32_t(XGetPixel(image, x, y) & 0xFFFFFF);
  XDestroyImage(image);
  return picture;
}

} // namespace kit::test
