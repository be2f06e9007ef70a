// Ombrix.clap's editor in a host's window on a virtual X server of the test's own: the host's
// top-level window as parent (following request_resize), the host's main loop running the
// plug-in's timers, descriptors and callbacks in real time, and a connection of the test's
// own for XTest input and pictures of the editor. Main thread.
#pragma once

#include "binding/clap_abi.h"
#include "tests/support/preference_folder.h"
#include "tests/support/xvfb_server.h"
#include "tools/host/event_lists.h"
#include "tools/host/host.h"
#include "tools/host/host_window.h"
#include "tools/host/main_loop.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"

#include <gtest/gtest.h>

// Last: Xlib's macros (None, Bool, Status) would spoil the declarations above.
#include "tests/support/x11_screen.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kit::test
{

inline constexpr const char* kPluginPath = OMBRIX_CLAP_PATH;
inline const std::filesystem::path kPictureFolder = std::filesystem::path(OMBRIX_TEST_ARTIFACTS) / "window";

// Parameter ids of Ombrix.
enum OmbrixParamId : clap_id
{
  kDither = 0,
  kPower = 1,
  kTargetBits = 2,
  kShowGraph = 3,
};

// How the host drives the editor's ticks and input.
struct TickMode
{
  const char* name;
  bool timerSupport;
  bool posixFdSupport;
};

inline constexpr TickMode kTimerAndFd { "timer and fd support", true, true };
inline constexpr TickMode kTimerOnly { "timer support only", true, false };
inline constexpr TickMode kCallbacksOnly { "neither: callbacks", false, false };

// A server with a screen of the given kind; null (and the test failed) when it cannot start.
[[nodiscard]] inline std::unique_ptr<XvfbServer> StartServer(const std::vector<std::string>& arguments = {})
{
  std::string error;
  std::unique_ptr<XvfbServer> server = XvfbServer::Start(error, arguments);
  EXPECT_NE(server, nullptr) << error;
  return server;
}

// One plug-in instance and its host, on a server that may be shared by several of them.
class EditorHost
{
public:
  EditorHost(const XvfbServer& server, TickMode mode)
      : EditorHost(server, MakeConfig(mode))
  {
  }
  // A host of the given make, for hosts that misbehave.
  EditorHost(const XvfbServer& server, host::HostConfig config)
      : host(std::move(config))
  {
    environment.Set("DISPLAY", server.DisplayName().c_str());
    std::string error;
    library = host::PluginLibrary::Load(kPluginPath, error);
    EXPECT_NE(library, nullptr) << error;
    if (library) instance = host::PluginInstance::Create(*library, host, error);
    EXPECT_NE(instance, nullptr) << error;
    parent = host::HostWindow::Create(server.DisplayName().c_str(), 500, 525, "Ombrix test host", error);
    EXPECT_NE(parent, nullptr) << error;
    input = XOpenDisplay(server.DisplayName().c_str());
    EXPECT_NE(input, nullptr);
    if (!instance || !parent || !input) return;
    host.SetResizeHandler(
        [this](std::uint32_t width, std::uint32_t height)
        {
          parent->Resize(int(width), int(height));
          return true;
        });
    loop = std::make_unique<host::MainLoop>(host, Plugin());
    gui = instance->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
    params = instance->Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  }
  EditorHost(const EditorHost&) = delete;
  EditorHost& operator=(const EditorHost&) = delete;
  ~EditorHost()
  {
    if (instance && created) gui->destroy(Plugin());
    instance.reset();
    if (input) XCloseDisplay(input);
  }

  [[nodiscard]] bool Ready() const { return instance && parent && input && loop && gui && params; }
  [[nodiscard]] const clap_plugin* Plugin() const { return instance->Plugin(); }

  // create, get_size, the parent sized to it, set_parent and show; then waits for the panel's
  // first frame (its red tint at a spot of bare screen). Whether every step answered.
  [[nodiscard]] bool Open()
  {
    if (!gui->create(Plugin(), CLAP_WINDOW_API_X11, false)) return false;
    created = true;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!gui->get_size(Plugin(), &width, &height)) return false;
    parent->Resize(int(width), int(height));
    return Attach(*parent) && gui->show(Plugin()) && WaitForPanel();
  }

  // set_parent to that window.
  [[nodiscard]] bool Attach(const host::HostWindow& window)
  {
    clap_window record {};
    record.api = CLAP_WINDOW_API_X11;
    record.x11 = window.Id();
    return gui->set_parent(Plugin(), &record);
  }

  // Runs the host's main loop until the condition holds, at most five seconds.
  [[nodiscard]] bool RunUntil(const std::function<bool()>& condition)
  {
    return loop->RunUntil(condition, std::chrono::seconds(5));
  }
  void RunFor(std::chrono::milliseconds duration) { loop->RunFor(duration); }

  // The editor's own window inside the parent; 0 while there is none.
  [[nodiscard]] Window EditorWindow() const { return ChildOf(parent->Id()); }
  [[nodiscard]] Window ChildOf(Window window) const
  {
    Window root = 0;
    Window parentOfWindow = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(input, window, &root, &parentOfWindow, &children, &count)) return 0;
    const Window child = count > 0 ? children[count - 1] : 0;
    if (children) XFree(children);
    return child;
  }
  [[nodiscard]] WindowPicture Picture() const
  {
    const Window window = EditorWindow();
    return window ? ReadWindow(input, window) : WindowPicture {};
  }
  // The editor's size in pixels as the server has it; 0 × 0 without one.
  [[nodiscard]] std::pair<int, int> EditorWindowSize() const
  {
    XWindowAttributes attributes {};
    const Window window = EditorWindow();
    if (!window || !XGetWindowAttributes(input, window, &attributes)) return { 0, 0 };
    return { attributes.width, attributes.height };
  }
  // Runs the main loop until the picture inside [x0, x1) × [y0, y1) differs from before.
  [[nodiscard]] bool RunUntilChanged(const WindowPicture& before, int x0, int y0, int x1, int y1)
  {
    return RunUntil(
        [&]
        {
          const WindowPicture now = Picture();
          if (now.width != before.width || now.height != before.height) return true;
          for (int y = y0; y < std::min(y1, now.height); ++y)
            for (int x = x0; x < std::min(x1, now.width); ++x)
              if (now.At(x, y) != before.At(x, y)) return true;
          return false;
        });
  }
  void KeepPicture(const std::string& name) const { (void)Picture().WritePng(kPictureFolder / (name + ".png")); }

  // Whether the picture at (x, y) pixels has the tint of dither off (red) or on (green).
  [[nodiscard]] bool ShowsTint(int x, int y, bool green) const
  {
    const WindowPicture picture = Picture();
    if (picture.width <= x || picture.height <= y) return false;
    return green ? picture.Green(x, y) > picture.Red(x, y) : picture.Red(x, y) > picture.Green(x, y);
  }
  [[nodiscard]] bool WaitForPanel()
  {
    return RunUntil([this] { return ShowsTint(kBareScreenX * scale, kBareScreenY * scale, Value(kDither) != 0.0); });
  }

  // User input at (x, y) pixels of the editor's window.
  void MoveTo(int x, int y) const { MovePointerTo(input, EditorWindow(), x, y); }
  void Click(int x, int y, unsigned int button = 1) const
  {
    MoveTo(x, y);
    ClickButton(input, button);
  }
  void Type(const std::string& text) const { TypeText(input, text); }
  void Key(KeySym keysym) const
  {
    PressKey(input, keysym, true);
    PressKey(input, keysym, false);
  }
  // The pointer's position in the editor's window.
  [[nodiscard]] std::pair<int, int> PointerInEditor() const
  {
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = -1;
    int y = -1;
    unsigned int mask = 0;
    XQueryPointer(input, EditorWindow(), &root, &child, &rootX, &rootY, &x, &y, &mask);
    return { x, y };
  }

  [[nodiscard]] double Value(clap_id id) const
  {
    double value = -1.0;
    EXPECT_TRUE(params->get_value(Plugin(), id, &value));
    return value;
  }
  // The editor's changes the plug-in hands the host in a flush, in order.
  [[nodiscard]] std::vector<std::uint16_t> FlushedEventTypes()
  {
    const host::InputEventList in;
    host::OutputEventList out;
    instance->FlushParams(in, out);
    std::vector<std::uint16_t> types;
    for (std::size_t i = 0; i < out.Size(); ++i) types.push_back(out.Header(i).type);
    return types;
  }

  static constexpr int kBareScreenX = 95; // a spot of screen between the grid's lines
  static constexpr int kBareScreenY = 150;
  int scale = 1; // pixels per logical unit of the editor as opened

  EnvironmentGuard environment;
  host::Host host;
  std::unique_ptr<host::PluginLibrary> library;
  std::unique_ptr<host::PluginInstance> instance;
  std::unique_ptr<host::HostWindow> parent;
  std::unique_ptr<host::MainLoop> loop;
  Display* input = nullptr; // the test's own connection: XTest and pictures
  const clap_plugin_gui* gui = nullptr;
  const clap_plugin_params* params = nullptr;
  bool created = false;

private:
  static host::HostConfig MakeConfig(TickMode mode)
  {
    host::HostConfig config;
    config.offered.timerSupport = mode.timerSupport;
    config.offered.posixFdSupport = mode.posixFdSupport;
    return config;
  }
};

} // namespace kit::test
