// A top-level X11 window of the test host, on a connection of its own, for the plug-in's
// editor to embed in: mapped at creation, with the window manager's close protocol, resized as
// the host grants the editor's requests, destroyable before the editor goes. Main thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>

// Xlib's own name for a connection; the header itself stays out of the host's users.
typedef struct _XDisplay Display;

namespace kit::host
{

class HostWindow
{
public:
  // Opens displayName (null: $DISPLAY) and maps a width × height window titled title. Null,
  // with the reason, when the display cannot be opened.
  [[nodiscard]] static std::unique_ptr<HostWindow> Create(const char* displayName, int width, int height,
                                                          std::string_view title, std::string& error);
  // Destroys the window if it is still there and closes the connection.
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // The window id handed to the plug-in as its parent; 0 once destroyed.
  [[nodiscard]] unsigned long Id() const noexcept { return window; }
  [[nodiscard]] Display* Connection() const noexcept { return display; }
  // The connection's descriptor, for a loop that polls it.
  [[nodiscard]] int Descriptor() const noexcept;

  // Takes the new size at once (sent to the server before returning); nothing once destroyed.
  void Resize(int width, int height);
  // The size last given at creation or to Resize.
  [[nodiscard]] int Width() const noexcept { return width; }
  [[nodiscard]] int Height() const noexcept { return height; }

  // Destroys the window now, as a host that closes its window before the editor; the server
  // has done it when this returns.
  void Destroy();
  // Reads the connection's waiting events; true once the window manager asked to close.
  [[nodiscard]] bool CloseRequested();

private:
  HostWindow(Display* display, int width, int height);
  // Reads every event waiting on the connection.
  void DrainEvents();

  Display* display;
  unsigned long window = 0;
  unsigned long protocolsAtom = 0;
  unsigned long deleteAtom = 0;
  int width;
  int height;
  bool closeRequested = false;
};

} // namespace kit::host
