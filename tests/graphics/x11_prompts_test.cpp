// The X11 window's text field and popup menu, driven by X events handed to the window as the
// server would deliver them: typing a value, committing or cancelling it on the next display
// tick, and choosing from an enumerated parameter's menu.
#include "graphics/x11_event_fixture.h"

#include "support/x11_screen.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace kit::ui::test
{
namespace
{

// Paints its area in one colour and lets the pointer through to the controls below.
class FillControl : public IControl
{
public:
  FillControl(const IBounds& area, const IRgba& fillColour)
      : IControl(area)
      , colour(fillColour)
  {
    SetPointerIgnored(true);
  }
  void Paint(IDrawContext& drawContext) override { drawContext.PaintRect(colour, bounds); }

private:
  IRgba colour;
};

class X11PromptsTest : public X11EventFixture
{
public:
  void SetUp() override
  {
    X11EventFixture::SetUp();
    if (HasFatalFailure()) return;
    SetUpControls();
  }
  // The two captions, over a background when there is none.
  void SetUpControls()
  {
    if (graphics->NControls() == 0) Add("bg", IBounds(0, 0, 500, 525));
    Add("bits", kBitsArea, kBits).opensValueEditorOnPress = true;
    JournalControl& shape = Add("shape", kShapeArea, kShape);
    shape.opensValueEditorOnPress = true;
    shape.SetPromptDisabled(false);
  }

  // The window's picture once test(picture) holds; the last one read after 5 s without.
  kit::test::WindowPicture PictureWhen(const std::function<bool(const kit::test::WindowPicture&)>& test)
  {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    kit::test::WindowPicture picture = kit::test::ReadWindow(user, window);
    while (!(picture.width > 0 && test(picture)) && std::chrono::steady_clock::now() < deadline)
    {
      graphics->DrainEvents();
      picture = kit::test::ReadWindow(user, window);
    }
    return picture;
  }

  static inline const IBounds kBitsArea { 100, 100, 200, 130 };
  static inline const IBounds kShapeArea { 100, 200, 200, 230 };
};

bool Reddish(const kit::test::WindowPicture& picture, int x, int y)
{
  return picture.Red(x, y) > 200 && picture.Green(x, y) < 60 && picture.Blue(x, y) < 60;
}

bool Greenish(const kit::test::WindowPicture& picture, int x, int y)
{
  return picture.Green(x, y) > 150 && picture.Red(x, y) < 60 && picture.Blue(x, y) < 60;
}

TEST_F(X11PromptsTest, TheFieldShowsOverTheControlsUntilItsCommit)
{
  graphics->AddControl(std::make_unique<FillControl>(IBounds(0, 0, 500, 525), IRgba(255, 230, 20, 20)));
  ITextStyle style;
  style.entryBackground = IRgba(255, 20, 190, 20);
  style.entryForeground = IRgba(255, 250, 250, 250);
  graphics->GetControl(1)->SetTextStyle(style);
  graphics->MarkAllControlsDirty();
  graphics->DisplayTick();
  // Inside the field's area, left of its centred text.
  const int x = 104;
  const int y = 104;
  EXPECT_TRUE(Reddish(PictureWhen([&](const auto& picture) { return Reddish(picture, x, y); }), x, y));

  Click(150, 115);
  ASSERT_NE(graphics->TextEntry(), nullptr);
  const kit::test::WindowPicture open = PictureWhen([&](const auto& picture) { return Greenish(picture, x, y); });
  EXPECT_TRUE(open.WritePng(std::filesystem::path(OMBRIX_TEST_ARTIFACTS) / "x11_text_field_open.png"));
  EXPECT_TRUE(Greenish(open, x, y));
  EXPECT_TRUE(Reddish(open, 98, 98)) << "nothing outside the field changes";

  Type("24");
  Key(XK_Return);
  graphics->DisplayTick();
  ASSERT_EQ(graphics->TextEntry(), nullptr);
  const kit::test::WindowPicture closed = PictureWhen([&](const auto& picture) { return Reddish(picture, x, y); });
  EXPECT_TRUE(closed.WritePng(std::filesystem::path(OMBRIX_TEST_ARTIFACTS) / "x11_text_field_closed.png"));
  EXPECT_TRUE(Reddish(closed, x, y));
}

TEST_F(X11PromptsTest, ReturnCommitsTheTypedValueOnTheNextTick)
{
  Click(150, 115);
  ASSERT_NE(graphics->TextEntry(), nullptr);
  EXPECT_EQ(graphics->TextFieldState(), IDrawContextX11::ETextFieldState::kFocused);
  Type("24");
  EXPECT_EQ(graphics->TextEntry()->Text(), "24");
  Key(XK_Return);
  EXPECT_EQ(graphics->TextFieldState(), IDrawContextX11::ETextFieldState::kCommit);
  EXPECT_EQ(Value(kBits), 16.0) << "the value waits for the tick";
  graphics->DisplayTick();
  EXPECT_EQ(graphics->TextEntry(), nullptr);
  EXPECT_EQ(Value(kBits), 24.0);
}

TEST_F(X11PromptsTest, EveryWayOfEndingTheFieldTakesEffectOnTheNextTick)
{
  struct Case
  {
    const char* name;
    const char* typed;
    void (*end)(X11PromptsTest&);
    bool commits;
  };
  const Case cases[] = {
    { "Return", "24", [](X11PromptsTest& test) { test.Key(XK_Return); }, true },
    { "keypad Enter", "25", [](X11PromptsTest& test) { test.Key(XK_KP_Enter); }, true },
    { "Escape", "26", [](X11PromptsTest& test) { test.Key(XK_Escape); }, false },
    { "a click outside", "27", [](X11PromptsTest& test) { test.Click(300, 400); }, true },
    { "the wheel up", "28", [](X11PromptsTest& test) { test.Click(150, 115, Button4); }, false },
    { "the wheel down", "29", [](X11PromptsTest& test) { test.Click(300, 400, Button5); }, false },
    { "the focus going to another window", "31", [](X11PromptsTest& test) { test.LoseFocus(NotifyNonlinear); }, true },
    { "closing from the editor", "30", [](X11PromptsTest& test) { test.graphics->EndTextEntry(); }, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    const double before = Value(kBits);
    Click(150, 115);
    ASSERT_NE(graphics->TextEntry(), nullptr);
    Type(c.typed);
    journal.clear();
    c.end(*this);
    ASSERT_NE(graphics->TextEntry(), nullptr) << "still open until the tick";
    EXPECT_EQ(Value(kBits), before);
    graphics->DisplayTick();
    EXPECT_EQ(graphics->TextEntry(), nullptr);
    EXPECT_EQ(Value(kBits), c.commits ? std::stod(c.typed) : before);
    EXPECT_EQ(graphics->TextFieldControl(), nullptr);
    EXPECT_FALSE(JournalHas("bg down 300 400")) << "the press that ends the field does nothing else";
  }
}

TEST_F(X11PromptsTest, AnIntegerFieldIgnoresLetters)
{
  Click(150, 115);
  ASSERT_NE(graphics->TextEntry(), nullptr);
  Type("2x4b");
  EXPECT_EQ(graphics->TextEntry()->Text(), "24");
  Key(XK_BackSpace);
  EXPECT_EQ(graphics->TextEntry()->Text(), "2");
  Type("0");
  Key(XK_Return);
  graphics->DisplayTick();
  EXPECT_EQ(Value(kBits), 20.0);
}

TEST_F(X11PromptsTest, KeysWhileTheFieldIsOpenNeverReachTheControls)
{
  Click(150, 115);
  journal.clear();
  Type("2");
  Key(XK_Left);
  for (const std::string& line : journal) EXPECT_EQ(line.find(" key "), std::string::npos) << line;
}

TEST_F(X11PromptsTest, TheFocusOfThePointerAloneLeavesTheFieldOpen)
{
  Click(150, 115);
  ASSERT_NE(graphics->TextEntry(), nullptr);
  LoseFocus(NotifyPointer);
  EXPECT_EQ(graphics->TextFieldState(), IDrawContextX11::ETextFieldState::kFocused);
  graphics->DisplayTick();
  EXPECT_NE(graphics->TextEntry(), nullptr);
}

TEST_F(X11PromptsTest, PromptsOfClearedControlsCloseOnTheNextTickWithoutAnAnswer)
{
  Click(150, 115);
  ASSERT_NE(graphics->TextEntry(), nullptr);
  Type("24");
  Key(XK_Return);
  graphics->ClearControls();
  graphics->DisplayTick();
  EXPECT_EQ(graphics->TextEntry(), nullptr);
  EXPECT_EQ(Value(kBits), 16.0);

  SetUpControls();
  Click(150, 215);
  ASSERT_NE(graphics->MenuView(), nullptr);
  graphics->ClearControls();
  graphics->DisplayTick();
  EXPECT_EQ(graphics->MenuView(), nullptr);
  EXPECT_EQ(Value(kShape), 1.0);
}

TEST_F(X11PromptsTest, ASecondFieldWaitsForTheFirst)
{
  Click(150, 115);
  ASSERT_NE(graphics->TextEntry(), nullptr);
  Type("30");
  graphics->CreateTextField(-1, ITextStyle {}, IBounds(0, 0, 50, 20), 0, "other");
  EXPECT_EQ(graphics->TextEntry()->Text(), "30");
}

TEST_F(X11PromptsTest, TheFieldIsPaintedOnEverySecondTick)
{
  Click(150, 115);
  ASSERT_NE(graphics->TextEntry(), nullptr);
  graphics->DisplayTick(); // just opened: this tick paints nothing
  EXPECT_EQ(graphics->TextFieldState(), IDrawContextX11::ETextFieldState::kNone);
  graphics->MarkAllControlsDirty();
  graphics->DisplayTick();
  EXPECT_EQ(graphics->TextFieldState(), IDrawContextX11::ETextFieldState::kPainted);
  graphics->DisplayTick();
  EXPECT_EQ(graphics->TextFieldState(), IDrawContextX11::ETextFieldState::kNone);
}

// The centre of the item's rectangle in the open menu's top panel.
struct Point
{
  int x;
  int y;
};
Point ItemCentre(const IPopupMenuView& view, std::size_t item)
{
  const IBounds& rect = view.Panels().front().itemRects.at(item);
  return { int(rect.MidX()), int(rect.MidY()) };
}

TEST_F(X11PromptsTest, AMenuChoiceReachesTheControlAndTheParameter)
{
  graphics->AddControl(std::make_unique<FillControl>(IBounds(0, 0, 500, 525), IRgba(255, 230, 20, 20)));
  graphics->MarkAllControlsDirty();
  graphics->DisplayTick();
  Click(150, 215);
  const IPopupMenuView* view = graphics->MenuView();
  ASSERT_NE(view, nullptr);
  const IBounds panel = view->Panels().front().bounds;
  const int insideX = int(panel.left) + 2;
  const int insideY = int(panel.MidY());
  const kit::test::WindowPicture shown =
      PictureWhen([&](const auto& picture) { return !Reddish(picture, insideX, insideY); });
  EXPECT_TRUE(shown.WritePng(std::filesystem::path(OMBRIX_TEST_ARTIFACTS) / "x11_menu_open.png"));
  EXPECT_FALSE(Reddish(shown, insideX, insideY)) << "the panel is drawn over the controls";
  ASSERT_EQ(view->Panels().front().itemRects.size(), 3u);
  const Point steep = ItemCentre(*view, 2);
  Button(ButtonPress, Button1, steep.x, steep.y);
  EXPECT_EQ(graphics->MenuView(), nullptr);
  EXPECT_TRUE(JournalHas("shape menu 2"));
  EXPECT_EQ(Value(kShape), 2.0);
  EXPECT_EQ(graphics->MenuControl(), nullptr);
}

TEST_F(X11PromptsTest, TheMenuClosesWithoutAChoice)
{
  struct Case
  {
    const char* name;
    void (*end)(X11PromptsTest&);
  };
  const Case cases[] = {
    { "Escape", [](X11PromptsTest& test) { test.Key(XK_Escape); } },
    { "a press outside", [](X11PromptsTest& test) { test.Button(ButtonPress, Button1, 490, 515); } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    Click(150, 215);
    ASSERT_NE(graphics->MenuView(), nullptr);
    journal.clear();
    c.end(*this);
    EXPECT_EQ(graphics->MenuView(), nullptr);
    EXPECT_TRUE(JournalHas("shape menu none"));
    EXPECT_FALSE(JournalHas("bg down 490 515"));
    EXPECT_EQ(Value(kShape), 1.0);
    Button(ButtonRelease, Button1, 490, 515, Button1Mask);
  }
}

TEST_F(X11PromptsTest, MenuKeysMoveTheHighlightAndChoose)
{
  Click(150, 215);
  ASSERT_NE(graphics->MenuView(), nullptr);
  for (int press = 0; press < 3 && graphics->MenuView()->Panels().front().highlighted != 2; ++press) Key(XK_Down);
  ASSERT_NE(graphics->MenuView(), nullptr);
  ASSERT_EQ(graphics->MenuView()->Panels().front().highlighted, 2) << "Down moves through the items";
  Key(XK_Return);
  EXPECT_EQ(graphics->MenuView(), nullptr);
  EXPECT_TRUE(JournalHas("shape menu 2"));
  EXPECT_EQ(Value(kShape), 2.0);
}

} // namespace
} // namespace kit::ui::test
