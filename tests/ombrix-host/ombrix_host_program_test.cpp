// ombrix-host run as a user runs it, on a virtual X server of the test's own: it plays until
// told to stop, then leaves a complete WAV file of the demo's shape; closing its window ends it
// too; a click in the editor is printed as the parameter change it makes; without a display or
// with an input it cannot read it says why on one line and exits non-zero.
// GoogleTest before Xlib, whose macros (None) would spoil its names.
#include <gtest/gtest.h>

#include "tests/ombrix-host/host_program.h"
#include "tests/support/x11_screen.h"
#include "tests/support/xvfb_server.h"

#include <sndfile.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace kit::test
{
namespace
{

namespace fs = std::filesystem;

// Past the header and a few 512-frame blocks of stereo 64-bit samples.
constexpr std::uintmax_t kGrownBytes = 4096 + 4 * 512 * 2 * 8;
constexpr std::chrono::seconds kTimeout { 60 };

class OmbrixHostProgram : public testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    std::string error;
    server = XvfbServer::Start(error).release();
    ASSERT_NE(server, nullptr) << error;
  }
  static void TearDownTestSuite()
  {
    delete server;
    server = nullptr;
  }

  void SetUp() override
  {
    ASSERT_NE(server, nullptr);
    folder = fs::temp_directory_path() / ("ombrix-host-" + std::to_string(::getpid()) + "-" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  [[nodiscard]] std::string Path(const std::string& name) const { return (folder / name).string(); }
  [[nodiscard]] static std::vector<std::string> WithPlugin(std::vector<std::string> arguments)
  {
    arguments.insert(arguments.begin(), { "--plugin", OMBRIX_CLAP_PATH });
    return arguments;
  }
  // Whether the file at path has grown past a few blocks.
  [[nodiscard]] static bool Grown(const std::string& path)
  {
    std::error_code code;
    const std::uintmax_t size = fs::file_size(path, code);
    return !code && size > kGrownBytes;
  }

  // Expects a complete WAV file of the demo's shape, every sample a code of the 16-bit grid
  // ombrix-host starts the plug-in at; its frame count.
  static std::int64_t ExpectDemoOutput(const std::string& path)
  {
    SF_INFO info {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (!file) return 0;
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, 48000);
    EXPECT_GE(info.frames, 4 * 512);
    EXPECT_LE(info.frames, 10 * 48000); // the first pass at most
    // The RIFF header was completed: its size field counts the whole file but its first 8 bytes.
    std::ifstream bytes(path, std::ios::binary);
    std::array<unsigned char, 8> start {};
    bytes.read(reinterpret_cast<char*>(start.data()), std::streamsize(start.size()));
    const std::uintmax_t riffSize = std::uintmax_t(start[4]) | std::uintmax_t(start[5]) << 8 |
                                    std::uintmax_t(start[6]) << 16 | std::uintmax_t(start[7]) << 24;
    EXPECT_EQ(riffSize + 8, fs::file_size(path));
    std::vector<double> samples(std::size_t(info.frames) * 2);
    EXPECT_EQ(sf_readf_double(file, samples.data(), info.frames), info.frames);
    sf_close(file);
    std::size_t offGrid = 0;
    for (const double sample : samples)
      if (sample * 32768.0 != std::round(sample * 32768.0)) ++offGrid;
    EXPECT_EQ(offGrid, 0u);
    return info.frames;
  }

  static XvfbServer* server;
  fs::path folder;
};

XvfbServer* OmbrixHostProgram::server = nullptr;

// The top-level window titled "Ombrix" on the display, 0 when there is none.
Window FindOmbrixWindow(Display* display)
{
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i)
  {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name)
    {
      if (std::string(name) == "Ombrix") found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

TEST_F(OmbrixHostProgram, StopSignalsEndItCleanlyWithACompleteFile)
{
  for (const int signalNumber : { SIGTERM, SIGINT })
  {
    SCOPED_TRACE(signalNumber);
    const std::string out = Path("out" + std::to_string(signalNumber) + ".wav");
    HostProgram program(WithPlugin({ "--out", out }), server->DisplayName());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.ReadUntil([&] { return Grown(out); }, kTimeout)) << program.Output();
    program.Signal(signalNumber);
    EXPECT_EQ(program.Wait(), 0) << program.Output();
    EXPECT_EQ(program.Output().find("ombrix-host:"), std::string::npos) << program.Output();
    ExpectDemoOutput(out);
  }
}

TEST_F(OmbrixHostProgram, ClosingTheWindowEndsIt)
{
  const std::string out = Path("closed.wav");
  HostProgram program(WithPlugin({ "--out", out }), server->DisplayName());
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.ReadUntil([&] { return Grown(out); }, kTimeout)) << program.Output();

  Display* display = XOpenDisplay(server->DisplayName().c_str());
  ASSERT_NE(display, nullptr);
  const Window window = FindOmbrixWindow(display);
  ASSERT_NE(window, 0u);
  // What a window manager sends when the user closes the window.
  XEvent close {};
  close.xclient.type = ClientMessage;
  close.xclient.window = window;
  close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &close);
  XFlush(display);
  EXPECT_EQ(program.Wait(), 0) << program.Output();
  XCloseDisplay(display);
  ExpectDemoOutput(out);
}

// Whether window has a child the server shows: the editor, once it is open.
bool HasViewableChild(Display* display, Window window)
{
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  bool viewable = false;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
  for (unsigned int i = 0; i < count && !viewable; ++i)
  {
    XWindowAttributes attributes {};
    viewable = XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable;
  }
  if (children) XFree(children);
  return viewable;
}

TEST_F(OmbrixHostProgram, AClickOnTheDitherSwitchIsPrinted)
{
  HostProgram program(WithPlugin({}), server->DisplayName());
  ASSERT_TRUE(program.Started());
  Display* display = XOpenDisplay(server->DisplayName().c_str());
  ASSERT_NE(display, nullptr);
  Window window = 0;
  ASSERT_TRUE(program.ReadUntil(
      [&]
      {
        if (!window) window = FindOmbrixWindow(display);
        return window && HasViewableChild(display, window);
      },
      kTimeout))
      << program.Output();
  // The switch's place on the 500-pixel-wide panel, at whatever zoom the editor opened with.
  XWindowAttributes attributes {};
  ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
  const double zoom = attributes.width / 500.0;
  MovePointerTo(display, window, int(197.0 * zoom), int(460.0 * zoom));
  ClickButton(display, Button1);
  // ombrix-host starts with the dither on.
  EXPECT_TRUE(program.ReadUntil([&] { return program.Output().find("Dither: off\n") != std::string::npos; }, kTimeout))
      << program.Output();
  XCloseDisplay(display);
  program.Signal(SIGTERM);
  EXPECT_EQ(program.Wait(), 0) << program.Output();
}

TEST_F(OmbrixHostProgram, WhatItCannotDoIsOneLineAndANonZeroExit)
{
  struct Case
  {
    const char* name;
    std::vector<std::string> arguments;
    bool display;
    std::string line;     // how the line starts
    std::string mentions; // what else it names
  };
  const std::string out = Path("never.wav");
  const std::string missing = Path("missing.wav");
  const std::vector<Case> cases {
    { "no display", WithPlugin({ "--out", out }), false, "ombrix-host: cannot open the X display; set DISPLAY\n", "" },
    { "missing input", WithPlugin({ "--out", out, missing }), true, "ombrix-host: ", missing },
    { "no plug-in", { "--plugin", Path("none.clap"), "--out", out }, true, "ombrix-host: ", Path("none.clap") },
    { "unwritable output", WithPlugin({ "--out", Path("no/folder.wav") }), true,
      "ombrix-host: ", Path("no/folder.wav") },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    HostProgram program(c.arguments, c.display ? std::optional(server->DisplayName()) : std::nullopt);
    ASSERT_TRUE(program.Started());
    EXPECT_NE(program.Wait(), 0);
    const std::string& said = program.Output();
    EXPECT_EQ(said.substr(0, c.line.size()), c.line);
    EXPECT_NE(said.find(c.mentions), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_FALSE(fs::exists(out));
  }
}

} // namespace
} // namespace kit::test
