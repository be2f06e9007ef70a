#include "tools/host/host_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>

#include <poll.h>

namespace kit::host
{

namespace
{

// How long creation waits for the window to be mapped (a window manager may take a moment).
constexpr std::chrono::milliseconds kMapWait { 2000 };

unsigned int Positive(int value) noexcept
{
  return unsigned(std::max(value, 1));
}

} // namespace

std::unique_ptr<HostWindow> HostWindow::Create(const char* displayName, int width, int height, std::string_view title,
                                               std::string& error)
{
  Display* display = XOpenDisplay(displayName);
  if (!display)
  {
    error = std::string("cannot open the X display ") + (displayName ? displayName : "named by DISPLAY");
    return nullptr;
  }
  std::unique_ptr<HostWindow> host(new HostWindow(display, width, height));
  const int screen = DefaultScreen(display);
  host->window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, Positive(width), Positive(height), 0,
                                     BlackPixel(display, screen), BlackPixel(display, screen));

  const std::string name(title);
  XStoreName(display, host->window, name.c_str());
  XChangeProperty(display, host->window, XInternAtom(display, "_NET_WM_NAME", False),
                  XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(name.data()), int(name.size()));
  host->protocolsAtom = XInternAtom(display, "WM_PROTOCOLS", False);
  host->deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
  Atom protocols[] = { host->deleteAtom };
  XSetWMProtocols(display, host->window, protocols, 1);
  XSelectInput(display, host->window, StructureNotifyMask);
  XMapWindow(display, host->window);
  XFlush(display);

  // Mapped before the plug-in sees it, so that its child is viewable at once.
  const auto deadline = std::chrono::steady_clock::now() + kMapWait;
  bool mapped = false;
  while (!mapped && std::chrono::steady_clock::now() < deadline)
  {
    while (!mapped && XPending(display) > 0)
    {
      XEvent event;
      XNextEvent(display, &event);
      mapped = event.type == MapNotify && event.xmap.window == host->window;
    }
    if (mapped) break;
    pollfd readable { ConnectionNumber(display), POLLIN, 0 };
    (void)::poll(&readable, 1, 10);
  }
  return host;
}

HostWindow::HostWindow(Display* connection, int initialWidth, int initialHeight)
    : display(connection)
    , width(initialWidth)
    , height(initialHeight)
{
}

HostWindow::~HostWindow()
{
  Destroy();
  XCloseDisplay(display);
}

int HostWindow::Descriptor() const noexcept
{
  return ConnectionNumber(display);
}

void HostWindow::Resize(int newWidth, int newHeight)
{
  if (window == 0) return;
  width = newWidth;
  height = newHeight;
  XResizeWindow(display, window, Positive(newWidth), Positive(newHeight));
  XFlush(display);
}

void HostWindow::Destroy()
{
  if (window == 0) return;
  XDestroyWindow(display, window);
  XSync(display, False);
  window = 0;
}

bool HostWindow::CloseRequested()
{
  DrainEvents();
  return closeRequested;
}

void HostWindow::DrainEvents()
{
  while (XPending(display) > 0)
  {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == ClientMessage && event.xclient.message_type == protocolsAtom &&
        static_cast<unsigned long>(event.xclient.data.l[0]) == deleteAtom)
      closeRequested = true;
  }
}

} // namespace kit::host
