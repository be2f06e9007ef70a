#pragma once
// An editor window on a virtual X server of the tests' own, inside a parent window made by a
// connection of the test's, fed X events as the server would deliver them, with controls that
// write what they receive into a journal.

// GoogleTest comes before X11, whose macros None and Bool would rename its types.
#include <gtest/gtest.h>

#include "graphics/input_fixture.h"
#include "graphics/platform/draw_context_x11.h"
#include "support/xvfb_server.h"

#include <X11/keysym.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace kit::ui::test
{

class X11EventFixture : public ::testing::Test
{
public:
  static void SetUpTestSuite()
  {
    std::string error;
    server = kit::test::XvfbServer::Start(error).release();
    ASSERT_NE(server, nullptr) << error;
    ::setenv("DISPLAY", server->DisplayName().c_str(), 1);
  }
  static void TearDownTestSuite()
  {
    delete server;
    server = nullptr;
  }

  void SetUp() override
  {
    ASSERT_NE(server, nullptr);
    user = XOpenDisplay(server->DisplayName().c_str());
    ASSERT_NE(user, nullptr);
    parent = XCreateSimpleWindow(user, DefaultRootWindow(user), 0, 0, 1000, 1050, 0, 0, 0);
    XMapWindow(user, parent);
    XSync(user, False);
    graphics = std::make_unique<IDrawContextX11>(delegate, 500, 525, 60, Zoom());
    ASSERT_NE(graphics->OpenWindow(reinterpret_cast<void*>(std::uintptr_t(parent))), nullptr);
    window = Window(reinterpret_cast<std::uintptr_t>(graphics->WindowHandle()));
    ASSERT_TRUE(graphics->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
    Add("bg", IBounds(0, 0, 500, 525));
  }

  void TearDown() override
  {
    graphics.reset();
    if (user)
    {
      XDestroyWindow(user, parent);
      XCloseDisplay(user);
    }
  }

  // The editor's zoom; the display density is 1 on the test's server.
  [[nodiscard]] virtual float Zoom() const { return 1.0f; }

  JournalControl& Add(std::string name, const IBounds& area, int paramIndex = -1)
  {
    auto& added = *static_cast<JournalControl*>(
        graphics->AddControl(std::make_unique<JournalControl>(journal, std::move(name), area, paramIndex)));
    journal.clear();
    return added;
  }

  // A press or release at window pixel (x, y); state is what X reports: the buttons and
  // modifiers held before the event. afterMs: the server time since the previous event.
  void Button(int type, unsigned int button, int x, int y, unsigned int state = 0, Time afterMs = 1000)
  {
    XEvent event = ForWindow(type);
    event.xbutton.button = button;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.state = state;
    event.xbutton.time = Later(afterMs);
    graphics->HandleEvent(event);
  }
  void Click(int x, int y, unsigned int button = Button1)
  {
    Button(ButtonPress, button, x, y);
    const unsigned int held = button == Button1 ? Button1Mask : button == Button3 ? Button3Mask : 0;
    Button(ButtonRelease, button, x, y, held);
  }
  void Motion(int x, int y, unsigned int state = 0)
  {
    XEvent event = ForWindow(MotionNotify);
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.state = state;
    event.xmotion.time = Later(10);
    graphics->HandleEvent(event);
  }
  void Key(KeySym keysym, unsigned int state = 0, int x = 5, int y = 5)
  {
    for (const int type : { KeyPress, KeyRelease })
    {
      XEvent event = ForWindow(type);
      event.xkey.keycode = XKeysymToKeycode(user, keysym);
      event.xkey.state = state;
      event.xkey.x = x;
      event.xkey.y = y;
      graphics->HandleEvent(event);
    }
  }
  // Lower-case letters and digits, whose keysyms are their ASCII codes.
  void Type(const std::string& text)
  {
    for (const char c : text) Key(KeySym(static_cast<unsigned char>(c)));
  }
  void Leave(int mode)
  {
    XEvent event = ForWindow(LeaveNotify);
    event.xcrossing.mode = mode;
    event.xcrossing.detail = NotifyAncestor;
    graphics->HandleEvent(event);
  }
  void LoseFocus(int detail)
  {
    XEvent event = ForWindow(FocusOut);
    event.xfocus.mode = NotifyNormal;
    event.xfocus.detail = detail;
    graphics->HandleEvent(event);
  }

  [[nodiscard]] double Value(int paramIndex) const { return delegate.GetParam(paramIndex)->Value(); }
  [[nodiscard]] bool JournalHas(const std::string& line) const
  {
    for (const std::string& entry : journal)
    {
      if (entry == line) return true;
    }
    return false;
  }
  // The journal without the paint lines, emptied.
  [[nodiscard]] Lines TakeEvents()
  {
    Lines events;
    for (const std::string& line : journal)
    {
      if (line.find(" paint") == std::string::npos) events.push_back(line);
    }
    journal.clear();
    return events;
  }

  // An event of the type for the editor's window: the fields every X event begins with.
  [[nodiscard]] XEvent ForWindow(int type) const
  {
    XEvent event {};
    event.xany.type = type;
    event.xany.display = user;
    event.xany.window = window;
    return event;
  }
  // The server time afterMs after the previous event's.
  [[nodiscard]] Time Later(Time afterMs)
  {
    time += afterMs;
    return time;
  }

  static inline kit::test::XvfbServer* server = nullptr;

  EditorParams delegate;
  std::vector<std::string> journal; // outlives the controls
  Display* user = nullptr;          // the test's own connection, for the parent and for key codes
  Window parent = 0;
  Window window = 0;
  Time time = 0;
  std::unique_ptr<IDrawContextX11> graphics;
};

} // namespace kit::ui::test
