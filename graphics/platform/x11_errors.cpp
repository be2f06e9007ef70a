#include "graphics/platform/x11_errors.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace kit::ui
{
namespace
{

struct Connection
{
  Display* display = nullptr;
  std::thread::id owner; // the thread that opened it
  unsigned long errors = 0;
  bool lost = false;
};

struct Registry
{
  std::mutex mutex; // guards everything below
  std::vector<Connection> connections;
  XErrorHandler previousError = nullptr;
  XIOErrorHandler previousIOError = nullptr;
};

Registry& Connections()
{
  static Registry registry;
  return registry;
}

Connection* Find(Registry& registry, Display* display) noexcept
{
  const auto found = std::find_if(registry.connections.begin(), registry.connections.end(),
                                  [display](const Connection& connection) { return connection.display == display; });
  return found == registry.connections.end() ? nullptr : &*found;
}

int OnError(Display* display, XErrorEvent* event)
{
  Registry& registry = Connections();
  XErrorHandler previous = nullptr;
  {
    const std::lock_guard lock(registry.mutex);
    if (Connection* connection = Find(registry, display))
    {
      ++connection->errors;
      return 0;
    }
    previous = registry.previousError;
  }
  return previous != nullptr ? previous(display, event) : 0;
}

int OnIOError(Display* display)
{
  Registry& registry = Connections();
  XIOErrorHandler previous = nullptr;
  {
    const std::lock_guard lock(registry.mutex);
    if (Connection* connection = Find(registry, display))
    {
      connection->lost = true;
      return 0;
    }
    previous = registry.previousIOError;
  }
  return previous != nullptr ? previous(display) : 0;
}

// Xlib's default here ends the process; returning leaves the connection failed, every later
// request on it doing nothing.
void OnConnectionLost(Display* display, void*)
{
  Registry& registry = Connections();
  const std::lock_guard lock(registry.mutex);
  if (Connection* connection = Find(registry, display)) connection->lost = true;
}

#ifdef OMBRIX_X11_THREAD_CHECK
// Xlib calls this after each request on the connection, on the thread that made it.
int AfterRequest(Display* display)
{
  CheckX11Thread(display);
  return 0;
}
#endif

} // namespace

bool RegisterX11Connection(Display* display) noexcept
{
  if (display == nullptr) return false;
  Registry& registry = Connections();
  {
    const std::lock_guard lock(registry.mutex);
    if (Find(registry, display) != nullptr) return true;
    try
    {
      registry.connections.push_back({ display, std::this_thread::get_id(), 0, false });
    }
    catch (...)
    {
      return false;
    }
    if (registry.connections.size() == 1)
    {
      registry.previousError = XSetErrorHandler(OnError);
      registry.previousIOError = XSetIOErrorHandler(OnIOError);
    }
  }
  XSetIOErrorExitHandler(display, OnConnectionLost, nullptr);
#ifdef OMBRIX_X11_THREAD_CHECK
  XSetAfterFunction(display, AfterRequest);
#endif
  return true;
}

void CloseX11Connection(Display* display) noexcept
{
  if (display == nullptr) return;
  // Closing flushes what is still queued; errors of those requests must not reach the default
  // handler, which would end the host.
  XCloseDisplay(display);
  Registry& registry = Connections();
  const std::lock_guard lock(registry.mutex);
  std::erase_if(registry.connections,
                [display](const Connection& connection) { return connection.display == display; });
  if (!registry.connections.empty()) return;
  // Handlers installed after ours stay where they are.
  const XErrorHandler current = XSetErrorHandler(registry.previousError);
  if (current != OnError) XSetErrorHandler(current);
  const XIOErrorHandler currentIO = XSetIOErrorHandler(registry.previousIOError);
  if (currentIO != OnIOError) XSetIOErrorHandler(currentIO);
  registry.previousError = nullptr;
  registry.previousIOError = nullptr;
}

unsigned long X11ErrorCount(Display* display) noexcept
{
  Registry& registry = Connections();
  const std::lock_guard lock(registry.mutex);
  const Connection* connection = Find(registry, display);
  return connection != nullptr ? connection->errors : 0;
}

bool X11ConnectionLost(Display* display) noexcept
{
  Registry& registry = Connections();
  const std::lock_guard lock(registry.mutex);
  const Connection* connection = Find(registry, display);
  return connection != nullptr && connection->lost;
}

void CheckX11Thread([[maybe_unused]] Display* display) noexcept
{
#ifdef OMBRIX_X11_THREAD_CHECK
  std::thread::id owner;
  {
    Registry& registry = Connections();
    const std::lock_guard lock(registry.mutex);
    const Connection* connection = Find(registry, display);
    if (connection == nullptr) return;
    owner = connection->owner;
  }
  if (owner == std::this_thread::get_id()) return;
  std::fputs("ombrix: an X11 call on the editor's connection from a thread that did not open it\n", stderr);
  std::abort();
#endif
}

} // namespace kit::ui
