// The plug-in's editor in a top-level X11 window titled "Ombrix": the gui extension's
// create("x11", false), get_size, a window of that size, set_parent and show, and the window
// resized whenever the editor asks. Hidden and destroyed, then the window closed, when it goes.
// Main thread.
#pragma once

#include "binding/clap_abi.h"
#include "tools/host/host.h"
#include "tools/host/host_window.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace kit::live
{

class EditorWindow
{
public:
  // The editor opened on displayName; null with a one-line reason when the plug-in has no X11
  // editor, the display cannot be opened or the editor refuses the window.
  [[nodiscard]] static std::unique_ptr<EditorWindow> Open(host::Host& host, const clap_plugin& plugin,
                                                          const std::string& displayName, std::string& error);
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  [[nodiscard]] host::HostWindow& Window() noexcept { return *window; }
  // Applies a size the editor asked for from another thread than this one.
  void ApplyPendingResize();

private:
  EditorWindow(host::Host& host, const clap_plugin& plugin, const clap_plugin_gui& gui);
  // Any thread: the host's answer to request_resize.
  [[nodiscard]] bool OnResizeRequest(std::uint32_t width, std::uint32_t height);

  host::Host& host;
  const clap_plugin& plugin;
  const clap_plugin_gui& gui;
  std::unique_ptr<host::HostWindow> window;
  bool created = false;
  bool shown = false;
  // A size asked for off the main thread, width in the high half; 0 when none waits. Written by
  // the asking thread, taken by the main thread.
  std::atomic<std::uint64_t> pendingSize { 0 };
};

} // namespace kit::live
