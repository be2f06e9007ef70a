// Error handling for the editor's own X connections inside a host process. Xlib's handlers are
// process-wide and the default ones end the process: while any editor connection is open, our
// handlers take the errors of our connections (recorded, for requests whose failure is checked)
// and pass every other connection's to the handlers that were installed before. A lost
// connection marks that connection lost instead of exiting. Any thread; each connection is
// used by the thread that registered it.
#pragma once

#include <X11/Xlib.h>

namespace kit::ui
{

// Adds an open connection as one of ours; the first one installs the handlers. With the thread
// check compiled in, every request on it is checked to come from the calling thread. False when
// it cannot be recorded (the connection is then not ours and should be closed).
[[nodiscard]] bool RegisterX11Connection(Display* display) noexcept;
// XCloseDisplay while the connection's errors are still ours, then forgets it. The last one puts
// back the handlers from before, where ours are still the ones installed.
void CloseX11Connection(Display* display) noexcept;

// How many protocol errors the server sent for requests on the connection so far; compare
// before and after XSync to learn whether requests failed.
[[nodiscard]] unsigned long X11ErrorCount(Display* display) noexcept;
// The connection broke (server gone, socket closed): no further request may be made on it;
// XCloseDisplay only frees it.
[[nodiscard]] bool X11ConnectionLost(Display* display) noexcept;

// Aborts with one line on stderr when the calling thread is not the connection's; does nothing
// without the thread check.
void CheckX11Thread(Display* display) noexcept;

} // namespace kit::ui
