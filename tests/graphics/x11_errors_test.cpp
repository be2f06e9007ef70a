// Xlib's error handlers are the whole process's: the editor's take only its own connections'
// errors, hand every other connection's to the handler that was there before, go back when the
// last editor connection closes, and a lost connection of ours ends nothing. With the thread
// check, a request from another thread than the connection's stops the process with one line.
// GoogleTest first: Xlib's macros (None, Bool) would rename its names.
#include <gtest/gtest.h>

#include "graphics/platform/x11_errors.h"
#include "support/tsan_lost_x_server.h"
#include "support/xvfb_server.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kit::test
{
namespace
{

std::vector<Display*> hostErrors;   // displays whose errors reached the host's handler
std::vector<Display*> hostIOErrors; // and its fatal one

int HostErrorHandler(Display* display, XErrorEvent*)
{
  hostErrors.push_back(display);
  return 0;
}

int HostIOErrorHandler(Display* display)
{
  hostIOErrors.push_back(display);
  return 0;
}

int LaterErrorHandler(Display*, XErrorEvent*)
{
  return 0;
}

// A request the server refuses: mapping a window that does not exist.
void FailingRequest(Display* display)
{
  XMapWindow(display, Window(0x3fffff0));
  XSync(display, False);
}

class X11ErrorsTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    server = XvfbServer::Start(error);
    ASSERT_TRUE(server) << error;
    hostErrors.clear();
    hostIOErrors.clear();
    previousError = XSetErrorHandler(HostErrorHandler);
    previousIOError = XSetIOErrorHandler(HostIOErrorHandler);
  }

  void TearDown() override
  {
    XSetErrorHandler(previousError);
    XSetIOErrorHandler(previousIOError);
    server.reset();
  }

  [[nodiscard]] Display* Connect() const { return XOpenDisplay(server->DisplayName().c_str()); }

  std::unique_ptr<XvfbServer> server;
  XErrorHandler previousError = nullptr;
  XIOErrorHandler previousIOError = nullptr;
};

TEST_F(X11ErrorsTest, OursAreCountedOthersGoToTheHandlerBefore)
{
  Display* ours = Connect();
  Display* host = Connect();
  ASSERT_NE(ours, nullptr);
  ASSERT_NE(host, nullptr);
  ASSERT_TRUE(ui::RegisterX11Connection(ours));
  EXPECT_EQ(ui::X11ErrorCount(ours), 0u);
  FailingRequest(ours);
  EXPECT_EQ(ui::X11ErrorCount(ours), 1u);
  EXPECT_TRUE(hostErrors.empty());
  FailingRequest(host);
  EXPECT_EQ(hostErrors, std::vector<Display*> { host });
  EXPECT_EQ(ui::X11ErrorCount(ours), 1u);
  EXPECT_EQ(ui::X11ErrorCount(host), 0u);
  ui::CloseX11Connection(ours);
  XCloseDisplay(host);
}

TEST_F(X11ErrorsTest, HandlersGoBackWhenTheLastOfOursCloses)
{
  Display* first = Connect();
  Display* second = Connect();
  ASSERT_TRUE(ui::RegisterX11Connection(first));
  ASSERT_TRUE(ui::RegisterX11Connection(second));
  ui::CloseX11Connection(first);
  // One is still open: its errors are still ours.
  FailingRequest(second);
  EXPECT_TRUE(hostErrors.empty());
  EXPECT_EQ(ui::X11ErrorCount(second), 1u);
  ui::CloseX11Connection(second);
  EXPECT_EQ(XSetErrorHandler(HostErrorHandler), HostErrorHandler);
  EXPECT_EQ(XSetIOErrorHandler(HostIOErrorHandler), HostIOErrorHandler);
}

TEST_F(X11ErrorsTest, HandlerInstalledAfterOursStays)
{
  Display* ours = Connect();
  ASSERT_TRUE(ui::RegisterX11Connection(ours));
  XSetErrorHandler(LaterErrorHandler);
  ui::CloseX11Connection(ours);
  EXPECT_EQ(XSetErrorHandler(HostErrorHandler), LaterErrorHandler);
}

TEST_F(X11ErrorsTest, LostConnectionIsMarkedAndEndsNothing)
{
  Display* ours = Connect();
  ASSERT_TRUE(ui::RegisterX11Connection(ours));
  EXPECT_FALSE(ui::X11ConnectionLost(ours));
  server.reset(); // the server ends
  XNoOp(ours);
  XSync(ours, False);
  EXPECT_TRUE(ui::X11ConnectionLost(ours));
  EXPECT_TRUE(hostIOErrors.empty());
  // Later requests do nothing; closing only frees.
  XNoOp(ours);
  XSync(ours, False);
  ui::CloseX11Connection(ours);
}

#ifdef OMBRIX_X11_THREAD_CHECK
using X11ErrorsDeathTest = X11ErrorsTest;

TEST_F(X11ErrorsDeathTest, RequestFromAnotherThreadAborts)
{
  Display* ours = Connect();
  ASSERT_TRUE(ui::RegisterX11Connection(ours));
  // The owner may use it.
  XNoOp(ours);
  XSync(ours, False);
  EXPECT_DEATH(
      {
        std::thread other([ours] { XNoOp(ours); });
        other.join();
      },
      "X11 call on the editor's connection from a thread that did not open it");
  ui::CloseX11Connection(ours);
}
#endif

} // namespace
} // namespace kit::test
