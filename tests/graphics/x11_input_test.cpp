// The X11 window's pointer and keys: X events in device pixels reach the controls in logical
// units with their buttons and modifiers, double clicks, wheel notches, drags and hover, a
// locked cursor held in place through a real drag, and keys the editor leaves passed on to the
// host's window.
#include "graphics/x11_event_fixture.h"

#include "support/x11_screen.h"

#include <poll.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>

namespace kit::ui::test
{
namespace
{

// Records the buttons and modifiers each event brings.
class ModsControl : public IControl
{
public:
  ModsControl(std::vector<std::string>& eventJournal, const IBounds& area)
      : IControl(area)
      , journal(eventJournal)
  {
  }

  void Paint(IDrawContext&) override {}
  void OnPointerDown(float, float, const IPointerMods& mods) override { journal.push_back("down" + Held(mods)); }
  void OnPointerUp(float, float, const IPointerMods& mods) override { journal.push_back("up" + Held(mods)); }
  void OnPointerDrag(float, float, float, float, const IPointerMods& mods) override
  {
    journal.push_back("drag" + Held(mods));
  }
  void OnPointerWheel(float, float, const IPointerMods& mods, float) override
  {
    journal.push_back("wheel" + Held(mods));
  }

private:
  static std::string Held(const IPointerMods& mods)
  {
    std::string held;
    if (mods.L) held += " L";
    if (mods.R) held += " R";
    if (mods.S) held += " S";
    if (mods.C) held += " C";
    if (mods.A) held += " A";
    return held;
  }

  std::vector<std::string>& journal;
};

// Every case at zoom 1 and 2: the window's pixels are zoom × the editor's units.
class X11InputTest : public X11EventFixture, public ::testing::WithParamInterface<float>
{
public:
  void SetUp() override
  {
    X11EventFixture::SetUp();
    if (HasFatalFailure()) return;
    knob = &Add("knob", kKnobArea);
  }
  [[nodiscard]] float Zoom() const override { return GetParam(); }

  // The window pixel of a logical coordinate.
  [[nodiscard]] int Px(float logical) const { return int(std::lround(logical * GetParam())); }

  // Handles the editor's X events until done() holds; false after 5 s without.
  bool DrainUntil(const std::function<bool()>& done)
  {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done())
    {
      if (std::chrono::steady_clock::now() > deadline) return false;
      XSync(user, False);
      graphics->DrainEvents();
    }
    return true;
  }
  [[nodiscard]] int CountOf(const std::string& prefix) const
  {
    int count = 0;
    for (const std::string& line : journal) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
  }
  // Where the pointer is inside the editor's window, in pixels, as the server says.
  [[nodiscard]] std::pair<int, int> PointerPixel() const
  {
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = -1;
    int y = -1;
    unsigned int held = 0;
    XQueryPointer(user, window, &root, &child, &rootX, &rootY, &x, &y, &held);
    return { x, y };
  }

  static inline const IBounds kKnobArea { 300, 300, 400, 400 };
  JournalControl* knob = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Zooms, X11InputTest, ::testing::Values(1.0f, 2.0f));

TEST_P(X11InputTest, ButtonsReachTheControlInLogicalUnits)
{
  Click(Px(150), Px(100));
  Click(Px(150), Px(100), Button3);
  Click(Px(150), Px(100), Button2);
  Click(Px(150), Px(100), 8);
  EXPECT_EQ(TakeEvents(), Lines({ "bg down 150 100", "bg up 150 100", "bg down 150 100 right", "bg up 150 100" }));
  EXPECT_EQ(graphics->LastPointerX(), 150.0f);
  EXPECT_EQ(graphics->LastPointerY(), 100.0f);
}

TEST_P(X11InputTest, ModifiersComeFromTheStateAndThePressedButtonCountsAsHeld)
{
  graphics->AddControl(std::make_unique<ModsControl>(journal, IBounds(0, 0, 100, 100)));
  struct Case
  {
    int type;
    unsigned int button;
    unsigned int state;
    const char* expected;
  };
  const Case cases[] = {
    { ButtonPress, Button1, 0, "down L" },
    { ButtonRelease, Button1, Button1Mask, "up" },
    { ButtonPress, Button1, ShiftMask, "down L S" },
    { ButtonRelease, Button1, Button1Mask | ShiftMask, "up S" },
    { ButtonPress, Button1, ControlMask | Mod1Mask, "down L C A" },
    { ButtonRelease, Button1, Button1Mask | ControlMask | Mod1Mask, "up C A" },
    { ButtonPress, Button4, ShiftMask, "wheel S" },
    { ButtonPress, Button5, Button1Mask, "wheel L" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.expected);
    journal.clear();
    Button(c.type, c.button, Px(50), Px(50), c.state);
    EXPECT_EQ(journal, Lines({ c.expected }));
  }
}

TEST_P(X11InputTest, TwoPressesCloseInTimeAndPlaceMakeADoubleClick)
{
  struct Case
  {
    const char* name;
    Time afterMs;
    int dx; // window pixels
    int dy;
    unsigned int secondButton;
    bool isDouble;
  };
  const Case cases[] = {
    { "at once", 100, 0, 0, Button1, true },         { "400 ms and 4 pixels away", 400, 4, -4, Button1, true },
    { "401 ms", 401, 0, 0, Button1, false },         { "5 pixels across", 100, 5, 0, Button1, false },
    { "5 pixels down", 100, 0, -5, Button1, false }, { "another button", 100, 0, 0, Button3, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    const int x = 100;
    const int y = 100;
    Button(ButtonPress, Button1, x, y, 0, 5000);
    Button(ButtonRelease, Button1, x, y, Button1Mask, 50);
    journal.clear();
    Button(ButtonPress, c.secondButton, x + c.dx, y + c.dy, 0, c.afterMs - 50);
    const Lines events = TakeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].rfind(c.isDouble ? "bg double" : "bg down", 0), 0u) << events[0];
    Button(ButtonRelease, c.secondButton, x + c.dx, y + c.dy, c.secondButton == Button1 ? Button1Mask : Button3Mask);
  }
}

TEST_P(X11InputTest, APressAfterADoubleClickStartsAnew)
{
  for (int press = 0; press < 3; ++press)
  {
    Button(ButtonPress, Button1, 100, 100, 0, 100);
    Button(ButtonRelease, Button1, 100, 100, Button1Mask, 10);
  }
  const Lines events = TakeEvents();
  // The double click lets the pointer go, so only the third press's release reaches the control.
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[2].rfind("bg double", 0), 0u);
  EXPECT_EQ(events[3].rfind("bg down", 0), 0u);
  EXPECT_EQ(events[4].rfind("bg up", 0), 0u);
}

TEST_P(X11InputTest, WheelButtonsAreNotchesAndTheirReleasesNothing)
{
  Click(Px(350), Px(350), Button4);
  Click(Px(350), Px(350), Button5);
  EXPECT_EQ(TakeEvents(), Lines({ "knob wheel 1", "knob wheel -1" }));
}

TEST_P(X11InputTest, MotionWithAButtonDragsTheCapturedControlAndWithoutHovers)
{
  graphics->EnableHover(true);
  Motion(Px(350), Px(350));
  EXPECT_EQ(TakeEvents(), Lines({ "knob hover" }));
  Button(ButtonPress, Button1, Px(350), Px(350));
  Motion(Px(360), Px(345), Button1Mask);
  Motion(Px(360), Px(345), Button1Mask);
  Motion(Px(250), Px(345), Button3Mask);
  EXPECT_EQ(TakeEvents(), Lines({ "knob down 350 350", "knob drag 360 345 by 10 -5", "knob drag 250 345 by -110 0" }));
}

TEST_P(X11InputTest, LeavingTheWindowReachesTheControlsOnlyForAPlainLeave)
{
  Leave(NotifyGrab);
  Leave(NotifyUngrab);
  EXPECT_EQ(TakeEvents(), Lines {});
  Leave(NotifyNormal);
  EXPECT_EQ(TakeEvents(), Lines({ "bg leave", "knob leave" }));
}

TEST_P(X11InputTest, KeysGoToTheControlUnderThePointerWithTheirCharacter)
{
  knob->handlesKeys = true;
  Key(XK_a, 0, Px(350), Px(350));
  Key(XK_a, ShiftMask, Px(350), Px(350));
  Key(XK_Left, 0, Px(350), Px(350));
  EXPECT_EQ(TakeEvents(), Lines({ "knob key down a", "knob key up a", "knob key down A", "knob key up A",
                                  "knob key down ", "knob key up " }));
}

TEST_P(X11InputTest, KeysTheEditorLeavesReachTheHostsWindow)
{
  XSelectInput(user, parent, KeyPressMask | KeyReleaseMask);
  XSync(user, False);
  knob->handlesKeys = true;
  Key(XK_a, 0, Px(350), Px(350));       // taken by the knob
  Key(XK_b, ShiftMask, Px(10), Px(10)); // over the background: nobody takes it
  const KeyCode b = XKeysymToKeycode(user, XK_b);
  std::vector<XKeyEvent> received;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (received.size() < 2 && std::chrono::steady_clock::now() < deadline)
  {
    if (XPending(user) == 0)
    {
      pollfd readable { ConnectionNumber(user), POLLIN, 0 };
      ::poll(&readable, 1, 100);
      continue;
    }
    XEvent event;
    XNextEvent(user, &event);
    if (event.type == KeyPress || event.type == KeyRelease) received.push_back(event.xkey);
  }
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].type, KeyPress);
  EXPECT_EQ(received[1].type, KeyRelease);
  for (const XKeyEvent& event : received)
  {
    EXPECT_EQ(event.keycode, b);
    EXPECT_EQ(event.window, parent);
    EXPECT_EQ(event.state, unsigned(ShiftMask));
    EXPECT_TRUE(event.send_event);
  }
}

TEST_P(X11InputTest, MovingTheCursorPutsThePointerThere)
{
  graphics->MoveCursor(40.0f, 30.0f);
  EXPECT_EQ(PointerPixel(), std::make_pair(Px(40), Px(30)));
  EXPECT_EQ(graphics->LastPointerX(), 40.0f);
  EXPECT_EQ(graphics->LastPointerY(), 30.0f);
  float x = 0.0f;
  float y = 0.0f;
  ASSERT_TRUE(graphics->GetPointerPosition(x, y));
  EXPECT_EQ(x, 40.0f);
  EXPECT_EQ(y, 30.0f);
}

TEST_P(X11InputTest, SettingACursorAnswersTheKindBefore)
{
  EXPECT_EQ(graphics->SetCursor(int(ECursor::kCross)), int(ECursor::kArrow));
  EXPECT_EQ(graphics->SetCursor(99), int(ECursor::kCross));
  EXPECT_EQ(graphics->SavedCursor(), 99);
  graphics->HideCursor(true, false);
  EXPECT_EQ(graphics->SetCursor(int(ECursor::kHand)), 99);
  EXPECT_TRUE(graphics->CursorHidden());
  graphics->HideCursor(false, false);
  EXPECT_FALSE(graphics->CursorHidden());
  EXPECT_EQ(graphics->SavedCursor(), int(ECursor::kHand));
}

// A real drag through the server: the locked cursor goes back to where it was hidden after
// each step, the motion of that warp is no drag, and showing the cursor leaves it there.
TEST_P(X11InputTest, ALockedCursorStaysWhereItWasHidden)
{
  const int startX = Px(350);
  const int startY = Px(350);
  kit::test::MovePointerTo(user, window, startX, startY);
  ASSERT_TRUE(DrainUntil([&] { return PointerPixel() == std::make_pair(startX, startY); }));
  kit::test::PressButton(user, Button1, true);
  ASSERT_TRUE(DrainUntil([&] { return CountOf("knob down") == 1; }));
  graphics->HideCursor(true, true);

  kit::test::MovePointerTo(user, window, startX, startY + 20);
  ASSERT_TRUE(DrainUntil([&] { return CountOf("knob drag") >= 1; }));
  ASSERT_TRUE(DrainUntil([&] { return PointerPixel() == std::make_pair(startX, startY); })) << "warped back";
  kit::test::MovePointerTo(user, window, startX, startY + 10);
  ASSERT_TRUE(DrainUntil([&] { return CountOf("knob drag") >= 2; }));
  ASSERT_TRUE(DrainUntil([&] { return PointerPixel() == std::make_pair(startX, startY); }));
  kit::test::PressButton(user, Button1, false);
  ASSERT_TRUE(DrainUntil([&] { return CountOf("knob up") == 1; }));
  graphics->HideCursor(false, false);

  const float zoom = GetParam();
  EXPECT_EQ(TakeEvents(),
            Lines({ "knob down 350 350", "knob drag 350 " + Num(350 + 20 / zoom) + " by 0 " + Num(20 / zoom),
                    "knob drag 350 " + Num(350 + 10 / zoom) + " by 0 " + Num(10 / zoom), "knob up 350 350" }));
  EXPECT_EQ(PointerPixel(), std::make_pair(startX, startY));
}

} // namespace
} // namespace kit::ui::test
