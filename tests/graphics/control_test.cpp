#include "graphics/control.h"

#include "support/recording_draw_context.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

using test::RecordingDelegate;
using test::RecordingDrawContext;

// The plainest control there is: it fills its bounds and counts its notifications.
class PlainControl : public IControl
{
public:
  using IControl::IControl;
  using IControl::values;

  void Paint(IDrawContext& drawContext) override { drawContext.PaintRect(IRgba(), bounds); }
  void OnBoundsChanged() override { ++boundsChanged; }

  int boundsChanged = 0;
};

// A delegate whose four parameters are: 0 bool, 1 int 0…12 (default 3), 2 int 6…32
// (default 16), 3 bool.
class ParamsDelegate : public RecordingDelegate
{
public:
  ParamsDelegate()
  {
    GetParam(0)->SetupBool("Dither", true);
    GetParam(1)->SetupInt("Psychoacoustic Power", 3, 0, 12);
    GetParam(2)->SetupInt("Target Bits", 16, 6, 32);
    GetParam(3)->SetupBool("Show Graph", true);
  }
};

struct Attached
{
  ParamsDelegate delegate;
  RecordingDrawContext graphics { delegate };

  PlainControl& Add(std::unique_ptr<PlainControl> control)
  {
    return *static_cast<PlainControl*>(graphics.AddControl(std::move(control)));
  }
};

TEST(Control, FieldsStartAtTheirDefaults)
{
  const PlainControl control(IBounds(10, 20, 30, 40), 2);
  EXPECT_EQ(control.Bounds(), IBounds(10, 20, 30, 40));
  EXPECT_EQ(control.HitBounds(), control.Bounds());
  EXPECT_EQ(control.Group(), "");
  EXPECT_EQ(control.TextStyle().Font(), "Roboto-Regular");
  EXPECT_EQ(control.TextStyle().size, 14.0f);
  EXPECT_EQ(control.TextStyle().colour, IRgba(0, 0, 0, 0));
  EXPECT_EQ(control.TextStyle().entryBackground, IRgba(0, 0, 0, 0));
  EXPECT_EQ(control.TextStyle().entryForeground, IRgba(0, 0, 0, 0));
  EXPECT_EQ(control.TextStyle().angle, 0.0f);
  EXPECT_EQ(control.TextStyle().align, EAlign::kCenter);
  EXPECT_EQ(control.TextStyle().valign, EVAlign::kMiddle);
  EXPECT_EQ(control.Blend().mode, EBlend::kSrcOver);
  EXPECT_EQ(control.Blend().opacity, 1.0f);
  EXPECT_EQ(control.EntryCharLimit(), 7);
  EXPECT_TRUE(control.IsDirty());
  EXPECT_FALSE(control.IsHidden());
  EXPECT_FALSE(control.IsDisabled());
  EXPECT_TRUE(control.PromptDisabled());
  EXPECT_FALSE(control.DoubleClickAsSingle());
  EXPECT_FALSE(control.PointerOverWhenDisabled());
  EXPECT_FALSE(control.PointerWhenDisabled());
  EXPECT_FALSE(control.IgnoresPointer());
  EXPECT_FALSE(control.WantsMidi());
  EXPECT_FALSE(control.AcceptsTouch());
  EXPECT_FALSE(control.PromptShowsLabel());
  EXPECT_FALSE(control.PointerIsOver());
  EXPECT_EQ(control.Tooltip(), "");
  EXPECT_FALSE(control.IsHighlighted());
  EXPECT_EQ(control.Parent(), nullptr);
  EXPECT_EQ(control.Delegate(), nullptr);
  EXPECT_EQ(control.Graphics(), nullptr);
  EXPECT_FALSE(control.IsAnimating());
  EXPECT_EQ(control.LastGesture(), 0);
  ASSERT_EQ(control.NumValues(), 1);
  EXPECT_EQ(control.ParamIndexOf(0), 2);
  EXPECT_EQ(control.GetValue(0), 0.0);
  EXPECT_EQ(control.ValueIndexAt(0, 0), 0);
}

TEST(Control, OneSlotTakesEveryValueIndexAsSlotZero)
{
  Attached a;
  PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 1));
  control.SetValue(1.7);
  control.MarkDirty(true, 5);
  EXPECT_EQ(control.GetValue(0), 1.0);
  EXPECT_EQ(a.delegate.Calls("set"), std::vector<std::string>({ "set 1 1" }));
}

TEST(Control, MarkDirtyClampsIntoTheUnitRangeBeforeTheHostHearsIt)
{
  struct Case
  {
    double stored;
    double expected;
  };
  const Case cases[] = {
    { 1.7, 1.0 },
    { -0.2, 0.0 },
    { 0.25, 0.25 },
    { std::numeric_limits<double>::infinity(), 1.0 },
    { -std::numeric_limits<double>::infinity(), 0.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.stored);
    Attached a;
    PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 2));
    control.SetValue(c.stored);
    control.MarkDirty(true, 0);
    EXPECT_EQ(control.GetValue(0), c.expected);
    EXPECT_EQ(a.delegate.Calls("set"), std::vector<std::string>({ "set 2 " + test::Num(c.expected) }));
  }
}

TEST(Control, MarkDirtyPutsTheLastNumberBackInPlaceOfNaN)
{
  Attached a;
  PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 2));
  control.SetValue(0.625);
  control.SetValue(std::nan(""));
  control.MarkDirty(true, 0);
  EXPECT_EQ(control.GetValue(0), 0.625);
  EXPECT_EQ(a.delegate.Calls("set"), std::vector<std::string>({ "set 2 0.625" }));

  // A host value that is NaN always differs, and still ends as the number before it.
  control.ApplyHostValue(std::nan(""), 0);
  EXPECT_EQ(control.GetValue(0), 0.625);
}

TEST(Control, MarkDirtyWithoutActionTouchesNeitherHostNorAction)
{
  Attached a;
  int actions = 0;
  PlainControl& control =
      a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 1, [&actions](IControl&) { ++actions; }));
  control.MarkClean();
  control.MarkDirty(false, -1);
  EXPECT_TRUE(control.IsDirty());
  EXPECT_TRUE(a.delegate.calls.empty());
  EXPECT_EQ(actions, 0);
  control.MarkDirty(true, -1);
  EXPECT_EQ(actions, 1);
}

TEST(Control, OnlyParametersThePlugInHasAreReportedAndTheActionStillRuns)
{
  struct Case
  {
    int paramIndex;
    bool reported;
  };
  const Case cases[] = { { 3, true }, { 4, false }, { 100, false }, { -1, false } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.paramIndex);
    Attached a;
    int actions = 0;
    PlainControl& control = a.Add(
        std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), c.paramIndex, [&actions](IControl&) { ++actions; }));
    control.SetValueFromUser(0.5);
    EXPECT_EQ(a.delegate.Calls("set").size(), c.reported ? 1u : 0u);
    EXPECT_EQ(actions, 1);
  }
}

TEST(Control, MarkDirtyForAllSlotsReportsEachLinkedSlotInOrder)
{
  Attached a;
  auto made = std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 2);
  made->values.push_back({ -1, 0.3 });
  made->values.push_back({ 1, 1.5 });
  PlainControl& control = a.Add(std::move(made));
  control.MarkDirty(true, -1);
  EXPECT_EQ(a.delegate.Calls("set"), std::vector<std::string>({ "set 2 0", "set 1 1" }));
  EXPECT_EQ(control.GetValue(1), 0.3);
  EXPECT_EQ(control.GetValue(2), 1.0);
  EXPECT_EQ(control.ValueIndexAt(5, 5), -1);
}

TEST(Control, HostValuesRepaintOnlyWhenTheyChangeAndNeverDuringTheControlsOwnDrag)
{
  Attached a;
  PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 1));
  control.SetValue(0.5);
  control.MarkClean();
  control.ApplyHostValue(0.5);
  EXPECT_FALSE(control.IsDirty());
  control.ApplyHostValue(0.75);
  EXPECT_TRUE(control.IsDirty());
  EXPECT_EQ(control.GetValue(), 0.75);

  const std::array<IPointerEvent, 1> press { IPointerEvent { 5, 5, 0, 0, IPointerMods { true } } };
  a.graphics.OnPointerDown(press);
  control.MarkClean();
  control.ApplyHostValue(0.1);
  EXPECT_EQ(control.GetValue(), 0.75);
  EXPECT_FALSE(control.IsDirty());
  EXPECT_TRUE(a.delegate.Calls("set").empty());
}

TEST(Control, HitTestCoversLeftAndTopButNotRightAndBottom)
{
  struct Case
  {
    IBounds hit;
    float x;
    float y;
    bool inside;
  };
  const Case cases[] = {
    { IBounds(), 0, 0, false }, // all zero: nothing is inside, not even the origin
    { IBounds(), 0.5f, 0.5f, false },
    { IBounds(10, 20, 30, 40), 10, 20, true },
    { IBounds(10, 20, 30, 40), 29.9f, 39.9f, true },
    { IBounds(10, 20, 30, 40), 30, 25, false },
    { IBounds(10, 20, 30, 40), 15, 40, false },
    { IBounds(10, 20, 30, 40), 9.9f, 25, false },
    { IBounds(0, 0, 5, 5), 0, 0, true },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(RecordingDrawContext::Rect(c.hit) + " at " + test::Num(c.x) + "," + test::Num(c.y));
    PlainControl control(IBounds(0, 0, 100, 100));
    control.SetHitBounds(c.hit);
    EXPECT_EQ(control.HitTest(c.x, c.y), c.inside);
  }
}

TEST(Control, MoveToKeepsTheSizesAndTheHitAreasOffsetWithinTheEditor)
{
  struct Case
  {
    float x;
    float y;
    IBounds bounds;
    IBounds hit;
  };
  // The control is 20 × 10 at (5, 5); its hit area is 4 × 4 at offset (2, 3).
  const Case cases[] = {
    { -10, 20, IBounds(0, 20, 20, 30), IBounds(2, 23, 6, 27) },
    { 30, -1, IBounds(30, 0, 50, 10), IBounds(32, 3, 36, 7) },
    { 7.5f, 8, IBounds(7.5f, 8, 27.5f, 18), IBounds(9.5f, 11, 13.5f, 15) },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(test::Num(c.x) + "," + test::Num(c.y));
    PlainControl control(IBounds(5, 5, 25, 15));
    control.SetHitBounds(IBounds(7, 8, 11, 12));
    control.OnPointerHover(10, 10, {});
    control.MoveTo(c.x, c.y);
    EXPECT_EQ(control.Bounds(), c.bounds);
    EXPECT_EQ(control.HitBounds(), c.hit);
    EXPECT_FALSE(control.PointerIsOver());
    EXPECT_EQ(control.boundsChanged, 1);
  }
}

TEST(Control, ResizeToMakesHitAndDrawAreaOneRectangleOfNonNegativeSize)
{
  struct Case
  {
    float w;
    float h;
    IBounds expected;
  };
  const Case cases[] = {
    { 30, 40, IBounds(5, 6, 35, 46) },
    { -3, 10, IBounds(5, 6, 5, 16) },
    { 0, 0, IBounds(5, 6, 5, 6) },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(test::Num(c.w) + " x " + test::Num(c.h));
    PlainControl control(IBounds(5, 6, 10, 10));
    control.SetHitBounds(IBounds(0, 0, 1, 1));
    control.ResizeTo(c.w, c.h);
    EXPECT_EQ(control.Bounds(), c.expected);
    EXPECT_EQ(control.HitBounds(), c.expected);
    EXPECT_EQ(control.boundsChanged, 1);
  }
}

TEST(Control, DisablingGreysTheBlendAndEnablingRestoresIt)
{
  PlainControl control(IBounds(0, 0, 10, 10));
  control.MarkClean();
  control.SetDisabled(true);
  EXPECT_TRUE(control.IsDisabled());
  EXPECT_EQ(control.Blend().opacity, 0.25f);
  EXPECT_TRUE(control.IsDirty());
  control.SetDisabled(false);
  EXPECT_EQ(control.Blend().opacity, 1.0f);
}

TEST(Control, HidingAndIgnoringThePointer)
{
  PlainControl control(IBounds(0, 0, 10, 10));
  control.MarkClean();
  control.SetHidden(true);
  EXPECT_TRUE(control.IsHidden());
  EXPECT_TRUE(control.IsDirty());
  control.MarkClean();
  control.SetPointerIgnored(true);
  EXPECT_TRUE(control.IgnoresPointer());
  EXPECT_FALSE(control.IsDirty());
}

TEST(Control, SetParamIndexOutsideTheSlotsChangesNothing)
{
  PlainControl control(IBounds(0, 0, 10, 10), 1);
  control.MarkClean();
  EXPECT_DEBUG_DEATH(control.SetParamIndex(3, 1), "no such value slot");
  EXPECT_DEBUG_DEATH(control.SetParamIndex(3, -1), "no such value slot");
  EXPECT_EQ(control.ParamIndexOf(0), 1);
  EXPECT_EQ(control.NumValues(), 1);
  control.SetParamIndex(3, 0);
  EXPECT_EQ(control.ParamIndexOf(0), 3);
  EXPECT_TRUE(control.IsDirty());
}

TEST(Control, SlotQueriesOutsideTheListAnswerNothing)
{
  Attached a;
  PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 2));
  EXPECT_EQ(control.GetValue(1), 0.0);
  EXPECT_EQ(control.ParamIndexOf(-1), -1);
  EXPECT_EQ(control.ParamOfSlot(1), nullptr);
  EXPECT_EQ(control.ParamOfSlot(0), a.delegate.GetParam(2));
  EXPECT_EQ(control.SlotOfParam(2), 0);
  EXPECT_EQ(control.SlotOfParam(1), -1);
  control.SetParamIndex(7, 0);
  EXPECT_EQ(control.ParamOfSlot(0), nullptr); // past the plug-in's parameters
  control.SetParamIndex(-5, 0);
  EXPECT_EQ(control.ParamOfSlot(0), nullptr);
}

TEST(Control, ResetToDefaultStoresTheParametersDefaultAndReportsIt)
{
  Attached a;
  PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 2));
  control.SetValue(0.9);
  control.ResetToDefault(0);
  // Target Bits 6 … 32, default 16: (16 − 6) / 26.
  EXPECT_DOUBLE_EQ(control.GetValue(), 10.0 / 26.0);
  ASSERT_EQ(a.delegate.Calls("set").size(), 1u);
  EXPECT_EQ(a.delegate.GetParam(2)->Value(), 16.0);

  // A double click does the same for the slot under the pointer.
  control.SetValue(0.0);
  control.OnPointerDoubleClick(5, 5, {});
  EXPECT_DOUBLE_EQ(control.GetValue(), 10.0 / 26.0);
}

TEST(Control, ResetToDefaultLeavesSlotsWithoutParameter)
{
  Attached a;
  auto made = std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 1);
  made->values.push_back({ -1, 0.4 });
  PlainControl& control = a.Add(std::move(made));
  control.ResetToDefault(-1);
  EXPECT_DOUBLE_EQ(control.GetValue(0), 3.0 / 12.0);
  EXPECT_EQ(control.GetValue(1), 0.4);
}

TEST(Control, MenuChoiceBecomesTheParametersValueUnlessPromptsAreOff)
{
  struct Case
  {
    bool menu;
    int chosen;
    int valueIndex;
    bool promptDisabled;
    double expected;
  };
  const Case cases[] = {
    { true, 4, 0, false, 4.0 / 12.0 }, { true, 20, 0, false, 1.0 }, // limited to the range
    { true, 4, 0, true, 0.5 },                                      // prompts off: nothing
    { false, 4, 0, false, 0.5 },                                    // no menu: nothing
    { true, 4, -1, false, 0.5 },                                    // no slot: nothing
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.chosen);
    Attached a;
    PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 1));
    control.SetValue(0.5);
    control.SetPromptDisabled(c.promptDisabled);
    IMenu menu;
    menu.SetChosenIndex(c.chosen);
    control.OnMenuChoice(c.menu ? &menu : nullptr, c.valueIndex);
    EXPECT_DOUBLE_EQ(control.GetValue(), c.expected);
  }
}

TEST(Control, SnapToPointerMapsThePositionInTheArea)
{
  struct Case
  {
    float x;
    float y;
    int direction;
    IBounds area;
    double low;
    double high;
    double expected;
  };
  const IBounds area(100, 200, 300, 250);
  const Case cases[] = {
    { 150, 0, 1, area, 0.0, 1.0, 0.25 },
    { 50, 0, 1, area, 0.0, 1.0, 0.0 },  // before the near edge
    { 400, 0, 1, area, 0.0, 1.0, 1.0 }, // beyond the far edge
    { 0, 210, 0, area, 0.0, 1.0, 0.8 }, // vertical: up is more
    { 0, 260, 0, area, 0.0, 1.0, 0.0 },
    { 1, 0, 1, IBounds(0, 0, 2000, 10), 0.0, 1.0, 0.001 },       // 0.0005: halves away from zero
    { 1234.4f, 0, 1, IBounds(0, 0, 2000, 10), 0.0, 1.0, 0.617 }, // to the nearest thousandth
    { 150, 0, 1, area, 0.3, 1.0, 0.3 },                          // limited below
    { 250, 0, 1, area, 0.0, 0.5, 0.5 },                          // limited above
    { 150, 0, 1, IBounds(120, 0, 120, 10), 0.0, 1.0, 0.6 },      // no width: the value stays
    { 0, 150, 0, IBounds(0, 40, 10, 40), 0.0, 1.0, 0.6 },        // no height: likewise
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(test::Num(c.x) + "," + test::Num(c.y) + " direction " + test::Num(c.direction));
    Attached a;
    PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 1));
    control.SetValue(0.6);
    control.SnapToPointer(c.x, c.y, c.direction, c.area, 0, c.low, c.high);
    EXPECT_NEAR(control.GetValue(), c.expected, 1e-12);
  }
}

TEST(Control, SnapToPointerForAllSlotsSetsEvery)
{
  Attached a;
  auto made = std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 1);
  made->values.push_back({ 2, 0.0 });
  PlainControl& control = a.Add(std::move(made));
  control.SnapToPointer(5, 0, 1, IBounds(0, 0, 10, 10), -1);
  EXPECT_EQ(control.GetValue(0), 0.5);
  EXPECT_EQ(control.GetValue(1), 0.5);
  EXPECT_EQ(a.delegate.Calls("set"), std::vector<std::string>({ "set 1 0.5", "set 2 0.5" }));
}

TEST(Control, HoverAndLeaveRepaintOnlyOnAChange)
{
  PlainControl control(IBounds(0, 0, 10, 10));
  control.MarkClean();
  control.OnPointerHover(1, 1, {});
  EXPECT_TRUE(control.PointerIsOver());
  EXPECT_TRUE(control.IsDirty());
  control.MarkClean();
  control.OnPointerHover(2, 2, {});
  EXPECT_FALSE(control.IsDirty());
  control.OnPointerLeave();
  EXPECT_FALSE(control.PointerIsOver());
  EXPECT_TRUE(control.IsDirty());
  control.MarkClean();
  control.OnPointerLeave();
  EXPECT_FALSE(control.IsDirty());
}

TEST(Control, APlainControlIgnoresClicksWhilePromptsAreOff)
{
  Attached a;
  PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(0, 0, 10, 10), 1));
  control.MarkClean();
  control.OnPointerDown(5, 5, IPointerMods { true });
  control.OnPointerDown(5, 5, IPointerMods { false, true });
  EXPECT_FALSE(a.graphics.textField);
  EXPECT_EQ(a.graphics.shownMenu, nullptr);
  EXPECT_FALSE(control.IsDirty());
  IKeyEvent key;
  EXPECT_FALSE(control.OnKeyDown(5, 5, key));
  EXPECT_FALSE(control.OnKeyUp(5, 5, key));
  EXPECT_FALSE(control.AcceptsDrops());
}

TEST(Control, NeedsPaintWhileAnimatingAndFinishingCallsTheEndFunction)
{
  PlainControl control(IBounds(0, 0, 10, 10));
  control.MarkClean();
  EXPECT_FALSE(control.NeedsPaint());
  int steps = 0;
  int ends = 0;
  control.SetAnimation(
      [&steps](IControl& self)
      {
        // The third step finishes the animation from inside itself.
        if (++steps == 3) self.FinishAnimation();
      });
  control.SetAnimationEndFunction([&ends](IControl&) { ++ends; });
  EXPECT_TRUE(control.NeedsPaint());
  for (int tick = 0; tick < 5; ++tick) control.StepAnimation();
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(control.IsAnimating());
  EXPECT_TRUE(control.IsDirty());
  control.MarkClean();
  EXPECT_FALSE(control.NeedsPaint());
}

TEST(Control, GesturesGoToTheHandlerOfTheirKind)
{
  PlainControl control(IBounds(0, 0, 10, 10));
  EXPECT_FALSE(control.WantsGestures());
  int handled = 0;
  control.AttachGestureHandler(2, [&handled](IControl&, const IGestureInfo&) { ++handled; });
  EXPECT_TRUE(control.WantsGestures());
  EXPECT_FALSE(control.HandleGesture(IGestureInfo { 1 }));
  EXPECT_EQ(control.LastGesture(), 0);
  EXPECT_TRUE(control.HandleGesture(IGestureInfo { 2 }));
  EXPECT_EQ(control.LastGesture(), 2);
  EXPECT_EQ(handled, 1);
  control.SetAnimation([](IControl&) {});
  EXPECT_FALSE(control.WantsGestures());
}

TEST(Control, DroppedPathsGoOneByOneAsTheFirst)
{
  class DropControl : public PlainControl
  {
  public:
    using PlainControl::PlainControl;
    void HandleDroppedPath(std::string_view path) override { dropped.emplace_back(path); }
    std::vector<std::string> dropped;
  };
  DropControl control(IBounds(0, 0, 10, 10));
  control.HandleDroppedPaths({});
  control.HandleDroppedPaths({ "/a.wav", "/b.wav" });
  EXPECT_EQ(control.dropped, std::vector<std::string>({ "/a.wav" }));
}

TEST(Control, TheHostHighlightIsASmallCircleInTheTopRightCorner)
{
  Attached a;
  PlainControl& control = a.Add(std::make_unique<PlainControl>(IBounds(10, 20, 50, 60)));
  control.PaintHostHighlight(a.graphics);
  EXPECT_TRUE(a.graphics.log.empty());
  control.SetHighlighted(true);
  control.PaintHostHighlight(a.graphics);
  EXPECT_EQ(a.graphics.log,
            std::vector<std::string>({ "clear", "move 45 23", "arc 45 25 2 0 360", "close", "fill (255,255,0,0)" }));
}

TEST(Control, SetTextStyleReplacesTheWholeStyle)
{
  PlainControl control(IBounds(0, 0, 10, 10));
  ITextStyle style;
  style.SetFont("Other");
  style.size = 9.0f;
  style.align = EAlign::kFar;
  control.SetTextStyle(style);
  EXPECT_EQ(control.TextStyle().Font(), "Other");
  EXPECT_EQ(control.TextStyle().size, 9.0f);
  EXPECT_EQ(control.TextStyle().align, EAlign::kFar);
}

} // namespace
} // namespace kit::ui
