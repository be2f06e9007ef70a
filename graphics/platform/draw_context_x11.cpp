#include "graphics/platform/draw_context_x11.h"

#include "binding/editor_delegate.h"
#include "graphics/platform/x11_density.h"
#include "graphics/platform/x11_errors.h"
#include "graphics/platform/x11_frame_copy.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <string>

namespace kit::ui
{
namespace
{

constexpr long kWindowEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                               LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask;

// floor(1000 / fps) milliseconds, or 15 when that is below 20: 60 frames a second tick every 15 ms.
std::uint32_t TickIntervalMs(int fps) noexcept
{
  const int interval = fps > 0 ? 1000 / fps : 0;
  return interval < 20 ? 15u : std::uint32_t(interval);
}

// trunc(trunc(logical × drawScale) × factor) device pixels.
int WindowPixels(int logical, float drawScale, float factor) noexcept
{
  const double pixels = std::trunc(std::trunc(double(logical) * double(drawScale)) * double(factor));
  return std::isfinite(pixels) && pixels >= 1.0 && pixels <= 32767.0 ? int(pixels) : 0;
}

} // namespace

IDrawContextX11::IDrawContextX11(IEditorDelegate& editorDelegate, int logicalWidth, int logicalHeight, int tickRate,
                                 float zoom)
    : IDrawContextCairo(editorDelegate, logicalWidth, logicalHeight, tickRate, zoom)
{
}

IDrawContextX11::~IDrawContextX11()
{
  CloseWindow();
}

void* IDrawContextX11::OpenWindow(void* parent)
{
  if (WindowIsOpen()) CloseWindow();
  const auto parentId = Window(reinterpret_cast<std::uintptr_t>(parent));
  if (parentId == 0) return RefuseWindow("the editor needs a host window to open in");
  display = XOpenDisplay(nullptr);
  if (display == nullptr) return RefuseWindow("the editor cannot open the X display");
  if (!RegisterX11Connection(display))
  {
    XCloseDisplay(display);
    display = nullptr;
    return RefuseWindow("the editor cannot set up its X connection");
  }
  ownerThread = std::this_thread::get_id();
  windowGone = false;

  XWindowAttributes parentAttributes {};
  const unsigned long errorsBefore = X11ErrorCount(display);
  if (XGetWindowAttributes(display, parentId, &parentAttributes) == 0 || X11ErrorCount(display) != errorsBefore ||
      parentAttributes.visual == nullptr)
    return RefuseWindow("the host's window for the editor does not exist");
  if (!VisualTakesFramePixels(display, *parentAttributes.visual, parentAttributes.depth))
    return RefuseWindow("the host's window has a visual of depth " + std::to_string(parentAttributes.depth) +
                        " that cannot show the editor's 32-bit TrueColor pixels");
  parentWindow = parentId;
  visual = parentAttributes.visual;
  depth = parentAttributes.depth;

  resourceManagerAtom = XInternAtom(display, "RESOURCE_MANAGER", False);
  ReadDensity();
  densityChanged = false;
  const float density = resourceDensity;
  windowWidth = WindowPixels(width, drawScale, density);
  windowHeight = WindowPixels(height, drawScale, density);
  if (windowWidth == 0 || windowHeight == 0) return RefuseWindow("the editor's size gives no window");

  // A colormap of the window's own visual: the parent's may belong to another visual, and a
  // depth-32 window is refused without one.
  colormap = XCreateColormap(display, parentWindow, visual, AllocNone);
  XSetWindowAttributes attributes {};
  attributes.colormap = colormap;
  attributes.border_pixel = 0;
  attributes.background_pixmap = None; // the frame covers everything: no flash of a background
  attributes.event_mask = kWindowEvents;
  window = XCreateWindow(display, parentWindow, 0, 0, unsigned(windowWidth), unsigned(windowHeight), 0, depth,
                         InputOutput, visual, CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
  XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
  if (window != 0) gc = XCreateGC(display, window, 0, nullptr);
  // The parent may go while the window is made: only the round trip tells.
  XSync(display, False);
  if (window == 0 || gc == nullptr || X11ErrorCount(display) != errorsBefore || X11ConnectionLost(display))
    return RefuseWindow("the editor's window cannot be made inside the host's window");

  RebuildFrameBuffer();
  ApplyScreenScale(density);
  Delegate().LayoutEditor(*this);
  MarkAllControlsDirty();
  XMapWindow(display, window);
  tickRunning = Delegate().StartDisplayTick(TickIntervalMs(fps), [this] { DisplayTick(); });
  if (!tickRunning)
    Delegate().LogEditorProblem("the host gives the editor no display tick; it repaints only when exposed");
  descriptorWatched = Delegate().WatchDescriptor(ConnectionNumber(display), [this] { DrainEvents(); });
  XFlush(display);
  Delegate().OnEditorOpened();
  return WindowHandle();
}

void* IDrawContextX11::RefuseWindow(std::string_view problem)
{
  Delegate().LogEditorProblem(problem);
  CloseWindow();
  return nullptr;
}

void IDrawContextX11::CloseWindow()
{
  if (tickRunning) Delegate().StopDisplayTick();
  tickRunning = false;
  if (descriptorWatched) Delegate().UnwatchDescriptor();
  descriptorWatched = false;
  ClearControls();
  CloseTextField();
  CloseMenu();
  frameCopy.reset();
  if (display != nullptr)
  {
    if (!X11ConnectionLost(display))
    {
      for (const Cursor cursor : cursors)
      {
        if (cursor != 0) XFreeCursor(display, cursor);
      }
      if (emptyCursor != 0) XFreeCursor(display, emptyCursor);
      if (window != 0 && !windowGone) XDestroyWindow(display, window);
      if (colormap != 0) XFreeColormap(display, colormap);
    }
    if (gc != nullptr) XFreeGC(display, gc);
    CloseX11Connection(display);
  }
  display = nullptr;
  gc = nullptr;
  cursors.clear();
  emptyCursor = 0;
  colormap = 0;
  window = 0;
  parentWindow = 0;
  visual = nullptr;
  depth = 0;
  windowWidth = 0;
  windowHeight = 0;
  exposed.clear();
  paintedRects.clear();
  windowGone = false;
  densityChanged = false;
}

void* IDrawContextX11::WindowHandle() const
{
  return window != 0 ? reinterpret_cast<void*>(std::uintptr_t(window)) : nullptr;
}

bool IDrawContextX11::WindowIsOpen() const
{
  return window != 0;
}

const char* IDrawContextX11::PlatformName() const
{
  return "x11";
}

float IDrawContextX11::WindowSizeFactor() const
{
  return screenScale;
}

void IDrawContextX11::PlatformResize(bool)
{
  // Only the child window follows: the host's window is the host's to size.
  if (display == nullptr || window == 0 || windowGone) return;
  const int newWidth = WindowPixels(width, drawScale, screenScale);
  const int newHeight = WindowPixels(height, drawScale, screenScale);
  if (newWidth == 0 || newHeight == 0 || (newWidth == windowWidth && newHeight == windowHeight)) return;
  XResizeWindow(display, window, unsigned(newWidth), unsigned(newHeight));
  windowWidth = newWidth;
  windowHeight = newHeight;
}

void IDrawContextX11::RebuildFrameBuffer()
{
  IDrawContextCairo::RebuildFrameBuffer();
  // The old image and its shared segment are of the old size.
  frameCopy.reset();
  if (display == nullptr || window == 0 || windowGone || FramePixelWidth() == 0) return;
  frameCopy.reset(new (std::nothrow) X11FrameCopy(display, visual, depth, FramePixelWidth(), FramePixelHeight()));
}

void IDrawContextX11::EndFrame()
{
  IDrawContextCairo::EndFrame();
  PaintPrompts();
  if (display != nullptr && !windowGone && frameCopy)
  {
    if (paintedRects.empty())
    {
      const IBounds whole(0.0f, 0.0f, float(FramePixelWidth()), float(FramePixelHeight()));
      frameCopy->Copy(window, gc, FrameBufferBytes(), { &whole, 1 });
    }
    else
    {
      frameCopy->Copy(window, gc, FrameBufferBytes(), paintedRects);
    }
  }
  paintedRects.clear();
}

void IDrawContextX11::DisplayTick()
{
  if (display == nullptr) return;
  CheckX11Thread(display);
  if (!descriptorWatched) DrainEvents();
  if (display == nullptr || windowGone) return;
  if (TickPrompts()) return;
  // A density change waits while a control holds the pointer: the drag's units would jump.
  if (densityChanged && capturedControls.empty())
  {
    densityChanged = false;
    ApplyScreenScale(resourceDensity);
  }
  IBoundsList regions;
  if (!CollectDirtyRegions(regions)) return;
  MarkAllControlsClean();
  const float scale = TotalScale();
  for (std::size_t i = 0; i < regions.Size(); ++i)
  {
    IBounds& region = regions.Get(i);
    const float left = std::floor(region.left * scale);
    const float top = std::floor(region.top * scale);
    const float right = std::ceil(region.right * scale);
    const float bottom = std::ceil(region.bottom * scale);
    region = { std::floor(left / scale), std::floor(top / scale), std::ceil(right / scale), std::ceil(bottom / scale) };
  }
  PaintLogical(regions);
}

void IDrawContextX11::PaintLogical(IBoundsList& regions)
{
  if (regions.Size() == 0) return;
  const float scale = TotalScale();
  paintedRects.clear();
  for (const IBounds& region : regions.Rects())
  {
    paintedRects.push_back({ std::floor(region.left * scale), std::floor(region.top * scale),
                             std::ceil(region.right * scale), std::ceil(region.bottom * scale) });
  }
  PaintRegions(regions);
}

void IDrawContextX11::PaintExposed()
{
  if (windowGone || exposed.empty()) return;
  const float scale = TotalScale();
  IBoundsList regions;
  for (const IBounds& rect : exposed)
  {
    regions.Add({ std::floor(rect.left / scale), std::floor(rect.top / scale), std::ceil(rect.right / scale),
                  std::ceil(rect.bottom / scale) });
  }
  exposed.clear();
  PaintLogical(regions);
}

void IDrawContextX11::ReadDensity()
{
  if (display == nullptr) return;
  const float density = DensityFromResources(ReadResourceText(display, resourceManagerAtom));
  if (density == resourceDensity) return;
  resourceDensity = density;
  densityChanged = true;
}

void IDrawContextX11::DrainEvents()
{
  if (display == nullptr) return;
  CheckX11Thread(display);
  while (!X11ConnectionLost(display) && XPending(display) > 0)
  {
    XEvent event;
    XNextEvent(display, &event);
    HandleEvent(event);
    if (display == nullptr) return;
  }
  if (X11ConnectionLost(display)) Abandon();
}

void IDrawContextX11::HandleEvent(XEvent& event)
{
  switch (event.type)
  {
  case Expose:
    if (event.xexpose.window != window) break;
    exposed.push_back({ float(event.xexpose.x), float(event.xexpose.y), float(event.xexpose.x + event.xexpose.width),
                        float(event.xexpose.y + event.xexpose.height) });
    // The last of a series has count 0: paint them together.
    if (event.xexpose.count == 0) PaintExposed();
    break;
  case DestroyNotify:
    // The host destroyed its window, and ours with it.
    if (event.xdestroywindow.window == window) Abandon();
    break;
  case ConfigureNotify:
    if (event.xconfigure.window != window) break;
    windowWidth = event.xconfigure.width;
    windowHeight = event.xconfigure.height;
    break;
  case PropertyNotify:
    if (display != nullptr && event.xproperty.window == DefaultRootWindow(display) &&
        event.xproperty.atom == resourceManagerAtom)
      ReadDensity();
    break;
  case ButtonPress:
    if (!windowGone) HandleButtonPress(event.xbutton);
    break;
  case ButtonRelease:
    if (!windowGone) HandleButtonRelease(event.xbutton);
    break;
  case MotionNotify:
    if (!windowGone) HandleMotion(event.xmotion);
    break;
  case LeaveNotify:
    if (!windowGone) HandleLeave(event.xcrossing);
    break;
  case FocusOut:
    if (!windowGone) HandleFocusOut(event.xfocus);
    break;
  case KeyPress:
  case KeyRelease:
    if (!windowGone) HandleKey(event.xkey, event.type == KeyPress);
    break;
  default:
    break;
  }
}

void IDrawContextX11::Abandon()
{
  windowGone = true;
  frameCopy.reset();
  exposed.clear();
  paintedRects.clear();
  if (display == nullptr || !X11ConnectionLost(display)) return;
  // A broken connection keeps its descriptor readable: the host would call us without end.
  if (descriptorWatched) Delegate().UnwatchDescriptor();
  descriptorWatched = false;
  if (gc != nullptr) XFreeGC(display, gc);
  gc = nullptr;
  cursors.clear();
  emptyCursor = 0;
  colormap = 0;
  CloseX11Connection(display);
  display = nullptr;
  Delegate().LogEditorProblem("the editor's X connection was lost; the editor stopped drawing");
}

} // namespace kit::ui
