// The test host's top-level window on a virtual X server of the test's own, as a second client
// (the observer) sees it: mapped with its title and the close protocol, resized, closed by the
// window manager's message, destroyed before its owner goes.
#include "tools/host/host_window.h"

#include "support/xvfb_server.h"

// Before Xlib, whose None macro would break GoogleTest's own None.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include <poll.h>

namespace kit::host
{
namespace
{

class HostWindowTest : public testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    server = test::XvfbServer::Start(error);
    ASSERT_NE(server, nullptr) << error;
    observer = XOpenDisplay(server->DisplayName().c_str());
    ASSERT_NE(observer, nullptr);
  }
  void TearDown() override
  {
    if (observer) XCloseDisplay(observer);
  }

  [[nodiscard]] std::unique_ptr<HostWindow> Make(int width, int height, std::string_view title = "Ombrix")
  {
    std::string error;
    auto window = HostWindow::Create(server->DisplayName().c_str(), width, height, title, error);
    EXPECT_NE(window, nullptr) << error;
    return window;
  }

  // Whether the root window has the window among its children.
  [[nodiscard]] bool Exists(unsigned long id) const
  {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(observer, DefaultRootWindow(observer), &root, &parent, &children, &count)) return false;
    const bool found = std::find(children, children + count, id) != children + count;
    if (children) XFree(children);
    return found;
  }

  std::unique_ptr<test::XvfbServer> server;
  Display* observer = nullptr;
};

TEST_F(HostWindowTest, IsAMappedTopLevelWindowWithItsTitleAndTheCloseProtocol)
{
  const auto window = Make(500, 525, "Ombrix");
  ASSERT_NE(window, nullptr);
  EXPECT_NE(window->Id(), 0u);
  EXPECT_EQ(window->Descriptor(), ConnectionNumber(window->Connection()));
  EXPECT_TRUE(Exists(window->Id()));

  XWindowAttributes attributes {};
  ASSERT_TRUE(XGetWindowAttributes(observer, window->Id(), &attributes));
  EXPECT_EQ(attributes.map_state, IsViewable);
  EXPECT_EQ(attributes.width, 500);
  EXPECT_EQ(attributes.height, 525);
  EXPECT_EQ(window->Width(), 500);
  EXPECT_EQ(window->Height(), 525);

  char* name = nullptr;
  ASSERT_TRUE(XFetchName(observer, window->Id(), &name));
  EXPECT_STREQ(name, "Ombrix");
  XFree(name);

  Atom* protocols = nullptr;
  int count = 0;
  ASSERT_TRUE(XGetWMProtocols(observer, window->Id(), &protocols, &count));
  const Atom deleteAtom = XInternAtom(observer, "WM_DELETE_WINDOW", False);
  EXPECT_NE(std::find(protocols, protocols + count, deleteAtom), protocols + count);
  XFree(protocols);
}

TEST_F(HostWindowTest, ResizeTakesTheNewSize)
{
  const auto window = Make(500, 525);
  ASSERT_NE(window, nullptr);
  window->Resize(750, 787);
  EXPECT_EQ(window->Width(), 750);
  EXPECT_EQ(window->Height(), 787);
  XSync(window->Connection(), False);
  XWindowAttributes attributes {};
  ASSERT_TRUE(XGetWindowAttributes(observer, window->Id(), &attributes));
  EXPECT_EQ(attributes.width, 750);
  EXPECT_EQ(attributes.height, 787);
}

TEST_F(HostWindowTest, TheWindowManagersCloseMessageIsSeen)
{
  const auto window = Make(300, 200);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->CloseRequested());

  XEvent message {};
  message.xclient.type = ClientMessage;
  message.xclient.window = window->Id();
  message.xclient.message_type = XInternAtom(observer, "WM_PROTOCOLS", False);
  message.xclient.format = 32;
  message.xclient.data.l[0] = long(XInternAtom(observer, "WM_DELETE_WINDOW", False));
  message.xclient.data.l[1] = CurrentTime;
  ASSERT_TRUE(XSendEvent(observer, window->Id(), False, NoEventMask, &message));
  XSync(observer, False);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  bool closing = window->CloseRequested();
  while (!closing && std::chrono::steady_clock::now() < deadline)
  {
    pollfd readable { window->Descriptor(), POLLIN, 0 };
    (void)::poll(&readable, 1, 100);
    closing = window->CloseRequested();
  }
  EXPECT_TRUE(closing);
  EXPECT_TRUE(window->CloseRequested()); // it stays asked
}

TEST_F(HostWindowTest, DestroyRemovesTheWindowAtOnceAndLeavesTheRestHarmless)
{
  auto window = Make(300, 200);
  ASSERT_NE(window, nullptr);
  const unsigned long id = window->Id();
  window->Destroy();
  EXPECT_EQ(window->Id(), 0u);
  EXPECT_FALSE(Exists(id));
  window->Resize(400, 300); // nothing to resize
  window->Destroy();
  EXPECT_FALSE(window->CloseRequested());
  window.reset();
}

TEST_F(HostWindowTest, ADisplayThatCannotBeOpenedIsNamedInTheError)
{
  std::string error;
  EXPECT_EQ(HostWindow::Create(":4095", 100, 100, "Ombrix", error), nullptr);
  EXPECT_NE(error.find(":4095"), std::string::npos) << error;
}

} // namespace
} // namespace kit::host
