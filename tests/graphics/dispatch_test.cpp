#include "graphics/draw_context.h"

#include "input_fixture.h"

#include <gtest/gtest.h>

#include <array>

namespace kit::ui::test
{
namespace
{

TEST(Dispatch, APressGoesToTheControlAddedLastAmongThoseUnderThePointer)
{
  struct Case
  {
    float x;
    float y;
    const char* receiver;
  };
  const Case cases[] = {
    { 15, 15, "a" }, // only a
    { 25, 25, "b" }, // a and b overlap: b came later
    { 35, 35, "b" }, // only b
    { 400, 400, "bg" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.receiver);
    InputFixture f;
    f.AddBackground();
    f.Add("a", IBounds(10, 10, 30, 30));
    f.Add("b", IBounds(20, 20, 40, 40));
    f.Press(c.x, c.y);
    EXPECT_EQ(f.Take(), Lines({ std::string(c.receiver) + " down " + Num(c.x) + " " + Num(c.y) }));
  }
}

TEST(Dispatch, HiddenDisabledAndIgnoringControlsLetThePressThrough)
{
  struct Case
  {
    const char* what;
    bool hidden;
    bool disabled;
    bool pointerWhenDisabled;
    bool pointerOverWhenDisabled;
    bool ignores;
    const char* receiver;
  };
  const Case cases[] = {
    { "plain", false, false, false, false, false, "top" },
    { "hidden", true, false, false, false, false, "under" },
    { "disabled", false, true, false, false, false, "under" },
    { "disabled, pointer allowed", false, true, true, false, false, "top" },
    { "disabled, only hover allowed", false, true, false, true, false, "under" },
    { "ignores the pointer", false, false, false, false, true, "under" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    InputFixture f;
    f.Add("under", IBounds(0, 0, 100, 100));
    JournalControl& top = f.Add("top", IBounds(10, 10, 50, 50));
    top.SetHidden(c.hidden);
    top.SetDisabled(c.disabled);
    top.SetPointerWhenDisabled(c.pointerWhenDisabled);
    top.SetPointerOverWhenDisabled(c.pointerOverWhenDisabled);
    top.SetPointerIgnored(c.ignores);
    f.Press(20, 20);
    EXPECT_EQ(f.Take(), Lines({ std::string(c.receiver) + " down 20 20" }));
  }
}

TEST(Dispatch, HoverNeverReachesTheBackgroundAndWaitsUntilEnabled)
{
  InputFixture f;
  f.AddBackground();
  JournalControl& knob = f.Add("knob", IBounds(100, 100, 150, 150));
  EXPECT_FALSE(f.graphics.HoverEnabled());
  EXPECT_FALSE(f.graphics.OnPointerHover(120, 120, {}));
  EXPECT_EQ(f.graphics.HoverIndex(), -1);
  EXPECT_TRUE(f.Take().empty());

  f.graphics.EnableHover(true);
  EXPECT_TRUE(f.graphics.OnPointerHover(120, 120, {}));
  EXPECT_EQ(f.graphics.HoverIndex(), 1);
  EXPECT_TRUE(knob.PointerIsOver());
  EXPECT_FALSE(f.graphics.OnPointerHover(10, 10, {})); // over the background only
  EXPECT_EQ(f.graphics.HoverIndex(), -1);
  EXPECT_EQ(f.Take(), Lines({ "knob hover", "knob leave" }));
}

TEST(Dispatch, HoverMovesFromControlToControlWithALeaveBetween)
{
  InputFixture f;
  f.graphics.EnableHover(true);
  f.AddBackground();
  f.Add("a", IBounds(0, 0, 10, 10));
  f.Add("b", IBounds(20, 0, 30, 10));
  (void)f.graphics.OnPointerHover(5, 5, {});
  (void)f.graphics.OnPointerHover(6, 5, {});
  (void)f.graphics.OnPointerHover(25, 5, {});
  EXPECT_EQ(f.Take(), Lines({ "a hover", "a hover", "a leave", "b hover" }));
  EXPECT_EQ(f.graphics.HoverIndex(), 2);
}

TEST(Dispatch, HoverOverADisabledControlOnlyWhenItAsksForIt)
{
  for (const bool allowed : { false, true })
  {
    SCOPED_TRACE(allowed);
    InputFixture f;
    f.graphics.EnableHover(true);
    f.AddBackground();
    f.Add("under", IBounds(0, 0, 100, 100));
    JournalControl& top = f.Add("top", IBounds(0, 0, 50, 50));
    top.SetDisabled(true);
    top.SetPointerOverWhenDisabled(allowed);
    EXPECT_TRUE(f.graphics.OnPointerHover(10, 10, {}));
    EXPECT_EQ(f.Take(), Lines({ allowed ? "top hover" : "under hover" }));
  }
}

TEST(Dispatch, LeavingTheWindowShowsTheArrowKeepsTheKindAndClearsHover)
{
  InputFixture f;
  f.graphics.EnableHover(true);
  f.AddBackground();
  f.Add("a", IBounds(0, 0, 10, 10));
  (void)f.graphics.OnPointerHover(5, 5, {});
  (void)f.graphics.SetCursor(int(ECursor::kHand));
  f.Take();
  f.graphics.OnPointerLeave();
  EXPECT_EQ(f.graphics.SavedCursor(), int(ECursor::kHand));
  EXPECT_EQ(f.graphics.HoverIndex(), -1);
  EXPECT_EQ(f.graphics.hoverControl, nullptr);
  EXPECT_EQ(f.Take(), Lines({ "bg leave", "a leave" }));
}

TEST(Dispatch, ARightPressOnAParameterControlLetsGoAndSendsNoPress)
{
  InputFixture f;
  f.AddBackground();
  f.Add("knob", IBounds(100, 100, 150, 150), kBits);
  f.Press(120, 120, Right());
  EXPECT_TRUE(f.graphics.capturedControls.empty());
  EXPECT_EQ(f.graphics.shownMenu, nullptr);
  EXPECT_TRUE(f.Take().empty());
  EXPECT_TRUE(f.delegate.calls.empty());

  // Without a parameter the right press is an ordinary press.
  f.Press(10, 10, Right());
  EXPECT_EQ(f.Take(), Lines({ "bg down 10 10 right" }));
}

TEST(Dispatch, AContextMenuWithItemsOpensAtThePointerAndReportsTheChoice)
{
  InputFixture f;
  JournalControl& knob = f.Add("knob", IBounds(100, 100, 150, 150), kBits);
  knob.contextItems = { "Reset", "Learn" };
  f.graphics.menuChoice = 1;
  f.Press(120, 130, Right());
  ASSERT_EQ(f.graphics.shownMenu, &f.graphics.promptMenu);
  EXPECT_EQ(f.graphics.shownMenu->NItems(), 2);
  EXPECT_EQ(f.graphics.shownMenuBounds, IBounds(120, 130, 120, 130));
  EXPECT_EQ(f.Take(), Lines({ "knob context 1" }));
  // No press began a gesture, so the menu ends none.
  EXPECT_TRUE(f.delegate.calls.empty());
}

TEST(Dispatch, DragsWithoutMovementAreNotPassedOn)
{
  struct Case
  {
    float dX;
    float dY;
    bool passed;
  };
  const Case cases[] = { { 0, 0, false }, { 1, 0, true }, { 0, -2, true }, { 0.5f, 0.5f, true } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(Num(c.dX) + "," + Num(c.dY));
    InputFixture f;
    f.Add("knob", IBounds(0, 0, 50, 50));
    f.Press(10, 10);
    f.Take();
    f.Drag(10 + c.dX, 10 + c.dY, c.dX, c.dY);
    EXPECT_EQ(f.Take().size(), c.passed ? 1u : 0u);
  }
}

TEST(Dispatch, DragsGoToTheCapturedControlEvenOutsideIt)
{
  InputFixture f;
  f.AddBackground();
  f.Add("knob", IBounds(0, 0, 50, 50));
  f.Drag(10, 10, 1, 1); // nothing captured yet
  f.Press(10, 10);
  f.Drag(300, 300, 290, 290);
  f.Release(300, 300);
  f.Drag(310, 310, 10, 10); // released: nothing
  EXPECT_EQ(f.Take(), Lines({ "knob down 10 10", "knob drag 300 300 by 290 290", "knob up 300 300" }));
}

TEST(Dispatch, KeysGoToTheControlUnderThePointerButNeverToTheBackground)
{
  struct Case
  {
    float x;
    bool handles;
    bool answer;
    size_t journalled;
  };
  const Case cases[] = {
    { 10, true, false, 0 }, // the background: not asked, not handled
    { 110, true, true, 1 }, // a control that takes keys
    { 110, false, false, 1 },
    { 600, true, false, 0 }, // nothing there
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.x);
    InputFixture f;
    JournalControl& background = f.AddBackground();
    background.handlesKeys = true;
    JournalControl& knob = f.Add("knob", IBounds(100, 0, 150, 50));
    knob.handlesKeys = c.handles;
    IKeyEvent key;
    key.SetText("a");
    EXPECT_EQ(f.graphics.OnKeyDown(c.x, 10, key), c.answer);
    EXPECT_EQ(f.graphics.OnKeyUp(c.x, 10, key), c.answer);
    EXPECT_EQ(f.Take().size(), 2 * c.journalled);
  }
}

TEST(Dispatch, TheWheelGoesToTheControlUnderThePointer)
{
  InputFixture f;
  f.Add("knob", IBounds(0, 0, 50, 50));
  EXPECT_TRUE(f.graphics.OnPointerWheel(10, 10, {}, -2));
  EXPECT_FALSE(f.graphics.OnPointerWheel(100, 100, {}, 1));
  EXPECT_EQ(f.Take(), Lines({ "knob wheel -2" }));
  EXPECT_TRUE(f.graphics.capturedControls.empty());
}

TEST(Dispatch, APressBeginsAndTheReleaseEndsTheGestureOfEveryLinkedSlot)
{
  InputFixture f;
  JournalControl& pad = f.Add("pad", IBounds(0, 0, 50, 50), kBits);
  pad.values.push_back({ -1, 0.0 });
  pad.values.push_back({ kPower, 0.0 });
  pad.values.push_back({ 9, 0.0 }); // no such parameter: never reported
  f.Press(10, 10);
  f.Drag(11, 10, 1, 0);
  f.Release(11, 10);
  EXPECT_EQ(f.delegate.calls, Lines({ "begin 2", "begin 1", "end 2", "end 1" }));
}

TEST(Dispatch, EveryWayOfLettingGoEndsTheGestureExactlyOnce)
{
  struct Case
  {
    const char* how;
    void (*letGo)(InputFixture&);
  };
  const Case cases[] = {
    { "release", [](InputFixture& f) { f.Release(10, 10); } },
    { "right press during the drag", [](InputFixture& f) { f.Press(10, 10, Right()); } },
    { "size change", [](InputFixture& f) { f.graphics.ApplySize(500, 525, 2.0f, true); } },
    { "controls cleared", [](InputFixture& f) { f.graphics.ClearControls(); } },
    { "capture released", [](InputFixture& f) { f.graphics.ReleasePointerCapture(); } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.how);
    InputFixture f;
    f.Add("knob", IBounds(0, 0, 50, 50), kBits);
    f.Press(10, 10);
    c.letGo(f);
    f.Release(10, 10); // a later release has nothing left to end
    EXPECT_EQ(f.delegate.Calls("begin"), Lines({ "begin 2" }));
    EXPECT_EQ(f.delegate.Calls("end"), Lines({ "end 2" }));
    EXPECT_TRUE(f.graphics.capturedControls.empty());
  }
}

TEST(Dispatch, ADoubleClickReleasesCaptureUnlessTheControlTakesItAsAPress)
{
  for (const bool asSingle : { false, true })
  {
    SCOPED_TRACE(asSingle);
    InputFixture f;
    JournalControl& knob = f.Add("knob", IBounds(0, 0, 50, 50), kBits);
    knob.SetDoubleClickAsSingle(asSingle);
    EXPECT_FALSE(f.graphics.OnPointerDoubleClick(100, 100, IPointerMods { true }));
    EXPECT_TRUE(f.graphics.OnPointerDoubleClick(5, 6, IPointerMods { true }));
    EXPECT_EQ(f.Take(), Lines({ asSingle ? "knob down 5 6" : "knob double 5 6" }));
    EXPECT_EQ(f.graphics.ControlIsCaptured(knob), asSingle);
    EXPECT_EQ(f.delegate.Calls("begin").size(), asSingle ? 1u : 0u);
    EXPECT_TRUE(f.delegate.Calls("end").empty());
  }
}

TEST(Dispatch, TouchesAreCapturedEachUnderItsOwnId)
{
  InputFixture f;
  f.Add("a", IBounds(0, 0, 50, 50));
  f.Add("b", IBounds(100, 0, 150, 50));
  IPointerMods first { true };
  first.touchId = 7;
  IPointerMods second { true };
  second.touchId = 9;
  const std::array<IPointerEvent, 2> press { IPointerEvent { 10, 10, 0, 0, first },
                                             IPointerEvent { 110, 10, 0, 0, second } };
  f.graphics.OnPointerDown(press);
  const std::array<IPointerEvent, 2> drag { IPointerEvent { 300, 10, 1, 0, second },
                                            IPointerEvent { 200, 10, 1, 0, first } };
  f.graphics.OnPointerDrag(drag);
  const std::array<IPointerEvent, 1> lift { IPointerEvent { 5, 5, 0, 0, first } };
  f.graphics.OnPointerUp(lift);
  EXPECT_EQ(f.Take(),
            Lines({ "a down 10 10", "b down 110 10", "b drag 300 10 by 1 0", "a drag 200 10 by 1 0", "a up 5 5" }));
  ASSERT_EQ(f.graphics.capturedControls.size(), 1u);
  EXPECT_EQ(f.graphics.capturedControls.begin()->first, 9);
}

TEST(Dispatch, WithMultiTouchASecondTouchTakesAControlOnlyWhenItAcceptsTouch)
{
  class MultiTouchContext : public RecordingDrawContext
  {
  public:
    using RecordingDrawContext::RecordingDrawContext;
    void EnableMultiTouch() { multiTouchEnabled = true; }
  };
  for (const bool accepts : { false, true })
  {
    SCOPED_TRACE(accepts);
    EditorParams delegate;
    std::vector<std::string> journal; // outlives the controls
    MultiTouchContext graphics(delegate);
    graphics.EnableMultiTouch();
    auto made = std::make_unique<JournalControl>(journal, "pad", IBounds(0, 0, 100, 100));
    made->SetAcceptsTouch(accepts);
    (void)graphics.AddControl(std::move(made));
    journal.clear();
    IPointerMods first { true };
    first.touchId = 1;
    IPointerMods second { true };
    second.touchId = 2;
    const std::array<IPointerEvent, 2> press { IPointerEvent { 10, 10, 0, 0, first },
                                               IPointerEvent { 50, 50, 0, 0, second } };
    graphics.OnPointerDown(press);
    EXPECT_EQ(journal.size(), accepts ? 2u : 1u);
    EXPECT_EQ(graphics.capturedControls.size(), accepts ? 2u : 1u);
  }
}

TEST(Dispatch, ASecondButtonOnTheHeldControlBeginsNoSecondGesture)
{
  InputFixture f;
  JournalControl& pad = f.Add("pad", IBounds(0, 0, 50, 50));
  pad.values.push_back({ kBits, 0.0 }); // two slots: none is under the pointer, slot 0 has no parameter
  f.Press(10, 10);
  f.Press(10, 10, Right());
  f.Release(10, 10);
  EXPECT_EQ(f.Take(), Lines({ "pad down 10 10", "pad down 10 10 right", "pad up 10 10" }));
  EXPECT_EQ(f.delegate.calls, Lines({ "begin 2", "end 2" }));
}

TEST(Dispatch, AReleaseHoversAgainWhereThePointerIs)
{
  InputFixture f;
  f.graphics.EnableHover(true);
  f.AddBackground();
  f.Add("knob", IBounds(0, 0, 50, 50));
  f.Press(10, 10);
  f.Release(10, 10);
  EXPECT_EQ(f.Take(), Lines({ "knob down 10 10", "knob up 10 10", "knob hover" }));
}

TEST(Dispatch, APendingZoomIsAppliedOnceWhenThePointerIsReleased)
{
  InputFixture f;
  f.AddBackground();
  f.Add("corner", IBounds(480, 505, 500, 525));
  f.Press(490, 515);
  f.graphics.SetPendingScale(1.5f);
  f.Take();
  f.Release(490, 515);
  EXPECT_EQ(f.graphics.DrawScale(), 1.5f);
  EXPECT_EQ(f.graphics.PendingScale(), 0.0f);
  EXPECT_FALSE(f.graphics.ResizeGestureActive());
  EXPECT_EQ(f.delegate.Calls("host size"), Lines({ "host size 750 x 787 ask" }));
  EXPECT_EQ(f.Take(), Lines({ "corner up 490 515", "bg scale", "corner scale" }));
  f.Press(490, 515);
  f.Release(490, 515);
  EXPECT_EQ(f.delegate.Calls("host size").size(), 1u);
}

TEST(Dispatch, AResizeDragZoomsByTheSmallerRatioAndKeepsTheCapture)
{
  InputFixture f;
  f.AddBackground();
  JournalControl& corner = f.Add("corner", IBounds(380, 480, 420, 520));
  f.Press(400, 500);
  f.graphics.SetResizeGestureActive(true);
  IPointerMods shift { true };
  shift.S = true;
  f.Drag(600, 600, 200, 100, shift); // x ratio 1.5, y ratio 1.2
  EXPECT_FLOAT_EQ(f.graphics.DrawScale(), 1.2f);
  EXPECT_TRUE(f.graphics.ResizeDragShift());
  EXPECT_TRUE(f.graphics.ControlIsCaptured(corner));
  f.Drag(2000, 2500, 1, 1); // limited to 4
  EXPECT_EQ(f.graphics.DrawScale(), 4.0f);
  f.Take();
  f.Release(2000, 2500);
  EXPECT_FALSE(f.graphics.ResizeGestureActive());
  EXPECT_FALSE(f.graphics.ResizeDragShift());
  EXPECT_EQ(f.Take(), Lines({ "corner up 2000 2500", "bg scale", "corner scale" }));
}

TEST(Dispatch, ClosingWithAMenuOpenEndsItsGestureAndForgetsIt)
{
  InputFixture f;
  JournalControl& caption = f.Add("caption", IBounds(0, 0, 50, 20), kShape);
  caption.opensValueEditorOnPress = true;
  caption.SetPromptDisabled(false);
  f.graphics.menusCompleteLater = true;
  f.Press(10, 10);
  ASSERT_EQ(f.graphics.MenuControl(), &caption);
  f.Release(10, 10); // the menu holds the gesture, not the release
  EXPECT_TRUE(f.delegate.Calls("end").empty());
  f.graphics.ClearControls();
  EXPECT_EQ(f.delegate.calls, Lines({ "begin 3", "end 3" }));
  EXPECT_EQ(f.graphics.MenuControl(), nullptr);
  // The platform's late answer finds nothing to commit into.
  f.graphics.promptMenu.SetChosenIndex(2);
  f.graphics.CommitMenuChoice(&f.graphics.promptMenu);
  EXPECT_EQ(f.delegate.calls, Lines({ "begin 3", "end 3" }));
}

TEST(Dispatch, ClosingWithATextFieldOpenCancelsItWithoutCommitting)
{
  InputFixture f;
  JournalControl& caption = f.Add("caption", IBounds(0, 0, 50, 20), kBits);
  caption.opensValueEditorOnPress = true;
  f.Press(10, 10);
  ASSERT_EQ(f.graphics.TextFieldControl(), &caption);
  f.graphics.ClearControls(); // still pressed: the capture's gesture ends with it
  EXPECT_EQ(f.graphics.endTextEntryCalls, 1);
  EXPECT_EQ(f.graphics.TextFieldControl(), nullptr);
  f.graphics.CommitTextField("24");
  EXPECT_EQ(f.delegate.calls, Lines({ "begin 2", "end 2" }));
  EXPECT_EQ(f.delegate.GetParam(kBits)->Value(), 16.0);
  EXPECT_EQ(f.graphics.NControls(), 0);
}

TEST(Dispatch, DragsWaitWhileATextFieldIsOpen)
{
  InputFixture f;
  JournalControl& caption = f.Add("caption", IBounds(0, 0, 50, 20), kBits);
  caption.opensValueEditorOnPress = true;
  f.Press(10, 10);
  f.Drag(20, 10, 10, 0);
  f.graphics.CancelTextField();
  f.Drag(30, 10, 10, 0);
  EXPECT_EQ(f.Take(), Lines({ "caption down 10 10", "caption drag 30 10 by 10 0" }));
}

} // namespace
} // namespace kit::ui::test
