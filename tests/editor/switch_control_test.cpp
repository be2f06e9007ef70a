// Switches: two states toggle, more step and wrap (the last state survives rounding), the
// state count follows the parameter, a parameter the plug-in lacks keeps the constructed count,
// the bitmap switch steps by its frame count and draws the frame for its value.
#include "editor/switch_control.h"
#include "tests/editor/stock_fixture.h"

#include <gtest/gtest.h>

namespace kit::ui::test
{
namespace
{

class PlainSwitch : public ISwitchControlBase
{
public:
  PlainSwitch(int paramIndex, int states)
      : ISwitchControlBase(IBounds(100, 100, 120, 120), paramIndex, {}, states)
  {
  }
  void Paint(IDrawContext&) override {}
};

TEST(Switch, ClicksToggleTwoStatesAndStepThroughMoreWithAWrap)
{
  struct Case
  {
    const char* name;
    int states;
    double start;
    std::vector<double> afterEachClick;
  };
  const Case cases[] = {
    { "two states from on", 2, 1.0, { 0.0, 1.0 } },
    { "two states from off", 2, 0.0, { 1.0, 0.0 } },
    { "two states between", 2, 0.3, { 0.0, 1.0 } },
    { "three states", 3, 0.0, { 0.5, 1.0, 0.0, 0.5 } },
    { "four states", 4, 0.0, { 1.0 / 3.0, 2.0 / 3.0, 1.0, 0.0 } },
    // Nine additions of 1/9 come to one unit in the last place above 1: still the last state.
    { "ten states", 10, 0.0, { 1.0 / 9, 2.0 / 9, 3.0 / 9, 4.0 / 9, 5.0 / 9, 6.0 / 9, 7.0 / 9, 8.0 / 9, 1.0, 0.0 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    PlainSwitch& control = editor.Add(std::make_unique<PlainSwitch>(-1, c.states));
    control.SetValue(c.start);
    for (std::size_t i = 0; i < c.afterEachClick.size(); ++i)
    {
      SCOPED_TRACE("click " + Num(double(i + 1)));
      editor.Press(110, 110);
      EXPECT_TRUE(control.PointerIsDown());
      editor.Release(110, 110);
      EXPECT_FALSE(control.PointerIsDown());
      EXPECT_NEAR(control.GetValue(), c.afterEachClick[i], 1e-12);
    }
  }
}

TEST(Switch, ClicksReachTheHostThroughTheParameter)
{
  StockEditor editor;
  PlainSwitch& control = editor.Add(std::make_unique<PlainSwitch>(kShape, 2));
  EXPECT_EQ(control.StateCount(), 3) << "the enumeration's three values";
  control.SetValue(editor.params.Unit(kShape));
  const double expected[] = { 2.0, 0.0, 1.0 };
  for (const double real : expected)
  {
    editor.Click(110, 110);
    EXPECT_EQ(editor.params.Real(kShape), real);
  }
  EXPECT_EQ(editor.params.Calls("set"), std::vector<std::string>({ "set 4 1", "set 4 0", "set 4 0.5" }));
}

TEST(Switch, StateCountComesFromTheParameterItHas)
{
  struct Case
  {
    const char* name;
    int param;
    int constructedStates;
    int expectedStates;
  };
  const Case cases[] = {
    { "bool", kDither, 5, 2 },
    { "int 0 … 12", kPower, 2, 13 },
    { "int 6 … 32", kBits, 2, 27 },
    { "enumeration of three", kShape, 2, 3 },
    { "continuous 0 … 1", kMix, 5, 2 },
    { "no parameter", -1, 5, 5 },
    { "a parameter the plug-in lacks", kMissingParam, 5, 5 },
    { "just past the last parameter", kParamCount, 4, 4 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    PlainSwitch& control = editor.Add(std::make_unique<PlainSwitch>(c.param, c.constructedStates));
    EXPECT_EQ(control.StateCount(), c.expectedStates);
  }
}

TEST(Switch, SwitchOnAParameterThePluginLacksStepsThroughItsOwnStates)
{
  StockEditor editor;
  PlainSwitch& control = editor.Add(std::make_unique<PlainSwitch>(kMissingParam, 3));
  editor.Click(110, 110);
  EXPECT_EQ(control.GetValue(), 0.5);
  EXPECT_TRUE(editor.params.Calls("set").empty()) << "nothing for a parameter the plug-in does not have";
}

struct BitmapSwitchFixture
{
  StockParams delegate;
  kit::test::RecordingDrawContext recording { delegate };

  IBSwitchControl& Add(const IBitmapRef& bitmap, int paramIndex = -1)
  {
    return *static_cast<IBSwitchControl*>(
        recording.AddControl(std::make_unique<IBSwitchControl>(IBounds(240, 462, 248, 470), bitmap, paramIndex)));
  }
  void Click(float x, float y)
  {
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 0, 0, Left() } };
    recording.OnPointerDown(events);
    recording.OnPointerUp(events);
  }
};

TEST(BitmapSwitch, ClicksStepByTheFrameCount)
{
  struct Case
  {
    int frames;
    double start;
    std::vector<double> afterEachClick;
  };
  const Case cases[] = {
    { 2, 1.0, { 0.0, 1.0 } },      { 2, 0.0, { 1.0, 0.0 } },
    { 3, 0.0, { 0.5, 1.0, 0.0 } }, { 4, 0.0, { 1.0 / 3.0, 2.0 / 3.0, 1.0, 0.0 } },
    { 1, 0.0, { 1.0, 0.0 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(Num(c.frames) + " frames from " + Num(c.start));
    BitmapSwitchFixture f;
    const IBitmapRef strip =
        f.recording.LoadBitmapFromMemory("strip-" + Num(c.frames), PngHeader(8, 8 * c.frames), c.frames);
    IBSwitchControl& control = f.Add(strip);
    control.SetValue(c.start);
    for (std::size_t i = 0; i < c.afterEachClick.size(); ++i)
    {
      f.Click(244, 466);
      EXPECT_NEAR(control.GetValue(), c.afterEachClick[i], 1e-12) << "click " << i + 1;
      EXPECT_FALSE(control.PointerIsDown());
    }
  }
}

TEST(BitmapSwitch, TwoFrameSwitchTogglesItsParameter)
{
  BitmapSwitchFixture f;
  IBSwitchControl& control = f.Add(f.recording.LoadBitmapByName("display_button.png", 2), kDither);
  EXPECT_EQ(control.Bounds(), IBounds(240, 462, 248, 470)) << "one 8 × 8 frame, centred";
  f.Click(244, 466);
  EXPECT_EQ(f.delegate.Real(kDither), 1.0);
  f.Click(244, 466);
  EXPECT_EQ(f.delegate.Real(kDither), 0.0);
  EXPECT_EQ(f.delegate.Calls("set"), std::vector<std::string>({ "set 0 1", "set 0 0" }));
}

TEST(BitmapSwitch, DrawsTheFrameForItsValue)
{
  struct Case
  {
    double value;
    const char* blit;
  };
  const Case cases[] = {
    { 0.0, "blit display_button.png 240 462 248 470 from 0 0" },
    { 0.49, "blit display_button.png 240 462 248 470 from 0 0" },
    { 0.5, "blit display_button.png 240 462 248 470 from 0 8" },
    { 1.0, "blit display_button.png 240 462 248 470 from 0 8" },
  };
  BitmapSwitchFixture f;
  IBSwitchControl& control = f.Add(f.recording.LoadBitmapByName("display_button.png", 2));
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.value);
    f.recording.log.clear();
    control.SetValue(c.value);
    control.Paint(f.recording);
    EXPECT_EQ(TakeBlits(f.recording), std::vector<std::string>({ c.blit }));
  }
}

} // namespace
} // namespace kit::ui::test
