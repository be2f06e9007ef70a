#include "graphics/draw_context.h"

#include "input_fixture.h"

#include <gtest/gtest.h>

namespace kit::ui::test
{
namespace
{

// A control that keeps the base class's right-button prompt.
class PromptControl : public IControl
{
public:
  using IControl::IControl;
  using IControl::values;
  void Paint(IDrawContext&) override {}
};

struct PromptFixture
{
  EditorParams delegate;
  RecordingDrawContext graphics { delegate };

  PromptControl& Add(const IBounds& area, int paramIndex)
  {
    auto control = std::make_unique<PromptControl>(area, paramIndex);
    control->SetPromptDisabled(false);
    return *static_cast<PromptControl*>(graphics.AddControl(std::move(control)));
  }
};

std::vector<std::string> MenuItems(const IMenu& menu)
{
  std::vector<std::string> items;
  for (int i = 0; i < menu.NItems(); ++i)
    items.push_back(menu.Item(i)->Text() + (menu.Item(i)->Checked() ? " checked" : ""));
  return items;
}

TEST(ValuePrompt, TheRightButtonOpensAMenuOrAFieldByTheParametersKind)
{
  struct Case
  {
    int paramIndex;
    bool menu;
    IBounds area; // the control is at (100, 200, 160, 230)
  };
  const IBounds whole(100, 200, 160, 230);
  const IBounds centre(110, 207, 150, 223); // 40 × 16 about the centre (130, 215)
  const Case cases[] = {
    { kShape, true, whole },  // enumerated
    { kDither, true, whole }, // boolean with texts
    { kGraph, true, whole },  // a boolean's texts are there even when empty
    { kBits, false, centre }, // integer
    { kPower, false, whole }, // integer with a text for 0: typed, over the whole control
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.paramIndex);
    PromptFixture f;
    f.graphics.menusCompleteLater = true;
    PromptControl& control = f.Add(whole, c.paramIndex);
    control.MarkClean();
    control.OnPointerDown(120, 210, Right());
    if (c.menu)
    {
      ASSERT_NE(f.graphics.shownMenu, nullptr);
      EXPECT_EQ(f.graphics.shownMenuBounds, c.area);
      EXPECT_FALSE(f.graphics.textField);
    }
    else
    {
      ASSERT_TRUE(f.graphics.textField);
      EXPECT_EQ(f.graphics.textField->bounds, c.area);
      EXPECT_EQ(f.graphics.textField->paramIndex, c.paramIndex);
      EXPECT_EQ(f.graphics.shownMenu, nullptr);
    }
    EXPECT_TRUE(control.IsDirty());
  }
}

TEST(ValuePrompt, NothingOpensWithoutTheRightButtonAParameterOrPrompts)
{
  struct Case
  {
    const char* what;
    int paramIndex;
    bool right;
    bool promptDisabled;
    bool twoSlots;
  };
  const Case cases[] = {
    { "left button", kBits, false, false, false },
    { "prompts off", kBits, true, true, false },
    { "no parameter", -1, true, false, false },
    { "past the plug-in's parameters", kParamCount, true, false, false },
    { "two slots: none under the pointer", kBits, true, false, true },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    PromptFixture f;
    PromptControl& control = f.Add(IBounds(0, 0, 50, 50), c.paramIndex);
    control.SetPromptDisabled(c.promptDisabled);
    if (c.twoSlots) control.values.push_back({ kPower, 0.0 });
    control.MarkClean();
    IPointerMods mods;
    mods.L = !c.right;
    mods.R = c.right;
    control.OnPointerDown(10, 10, mods);
    EXPECT_FALSE(f.graphics.textField);
    EXPECT_EQ(f.graphics.shownMenu, nullptr);
    EXPECT_FALSE(control.IsDirty());
  }
}

TEST(ValuePrompt, AnEnumerationsMenuChecksTheCurrentTextAndIsTitledByTheName)
{
  PromptFixture f;
  f.delegate.GetParam(kShape)->Set(2.0);
  f.graphics.menusCompleteLater = true;
  PromptControl& control = f.Add(IBounds(0, 0, 50, 20), kShape);
  f.graphics.OpenValueEditor(control, control.Bounds(), 0);
  ASSERT_EQ(f.graphics.shownMenu, &f.graphics.promptMenu);
  EXPECT_EQ(MenuItems(f.graphics.promptMenu), Lines({ "Flat", "Gentle", "Steep checked" }));
  EXPECT_EQ(f.graphics.promptMenu.RootTitle(), "Shape");
  EXPECT_EQ(f.graphics.promptMenu.ChosenIndex(), -1);
  EXPECT_EQ(f.graphics.MenuControl(), &control);

  control.SetValue(1.0); // as the host last sent it
  f.graphics.promptMenu.SetChosenIndex(0);
  f.graphics.CommitMenuChoice(&f.graphics.promptMenu);
  EXPECT_EQ(control.GetValue(), 0.0);
  EXPECT_EQ(f.delegate.GetParam(kShape)->Value(), 0.0);
  EXPECT_EQ(f.graphics.MenuControl(), nullptr);
}

TEST(ValuePrompt, ABooleanMenuChecksItsCurrentText)
{
  PromptFixture f;
  f.graphics.menusCompleteLater = true;
  PromptControl& control = f.Add(IBounds(0, 0, 50, 20), kDither);
  f.graphics.OpenValueEditor(control, control.Bounds(), 0);
  EXPECT_EQ(MenuItems(f.graphics.promptMenu), Lines({ "off", "on checked" }));
  EXPECT_EQ(f.graphics.promptMenu.RootTitle(), "Dither");
}

TEST(ValuePrompt, AMenuClosedWithoutAChoiceChangesNothing)
{
  PromptFixture f;
  f.graphics.menuChoice = -1; // completes at once, nothing picked
  PromptControl& control = f.Add(IBounds(0, 0, 50, 20), kShape);
  control.SetValue(0.5);
  f.graphics.OpenValueEditor(control, control.Bounds(), 0);
  EXPECT_EQ(control.GetValue(), 0.5);
  EXPECT_EQ(f.graphics.MenuControl(), nullptr);
  EXPECT_TRUE(f.delegate.Calls("set").empty());
}

TEST(ValuePrompt, AnIntegersTextFieldHoldsTheCurrentValueAndTakesTheTypedOne)
{
  struct Case
  {
    bool showsLabel;
    const char* text;
  };
  const Case cases[] = { { false, "16" }, { true, "16 bits" } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.text);
    PromptFixture f;
    PromptControl& control = f.Add(IBounds(0, 0, 50, 20), kBits);
    control.SetPromptShowsLabel(c.showsLabel);
    control.SetEntryCharLimit(3);
    f.graphics.OpenValueEditor(control, control.Bounds(), 0);
    ASSERT_TRUE(f.graphics.textField);
    EXPECT_EQ(f.graphics.textField->text, c.text);
    EXPECT_EQ(f.graphics.textField->charLimit, 3);
    EXPECT_EQ(f.graphics.textField->paramIndex, kBits);
    EXPECT_EQ(f.graphics.TextFieldControl(), &control);

    f.graphics.CommitTextField("24");
    EXPECT_DOUBLE_EQ(control.GetValue(), 18.0 / 26.0);
    EXPECT_EQ(f.delegate.GetParam(kBits)->Value(), 24.0);
    EXPECT_EQ(f.graphics.TextFieldControl(), nullptr);
  }
}

TEST(ValuePrompt, TheFieldShowsTheNumberEvenWhereTheValueHasAText)
{
  PromptFixture f;
  f.delegate.GetParam(kPower)->Set(0.0);
  PromptControl& control = f.Add(IBounds(0, 0, 50, 20), kPower);
  f.graphics.OpenValueEditor(control, control.Bounds(), 0);
  ASSERT_TRUE(f.graphics.textField);
  EXPECT_EQ(f.graphics.textField->text, "0");
}

TEST(ValuePrompt, TextForASlotWithoutParameterGoesToTheControl)
{
  InputFixture f;
  JournalControl& control = f.Add("label", IBounds(0, 0, 50, 20));
  f.graphics.OpenTextField(control, control.TextStyle(), control.Bounds(), "abc", -1);
  ASSERT_TRUE(f.graphics.textField);
  EXPECT_EQ(f.graphics.textField->paramIndex, -1);
  f.graphics.CommitTextField("xyz");
  f.graphics.CommitTextField("again"); // the field is gone
  EXPECT_EQ(f.Take(), Lines({ "label text xyz for -1" }));
}

TEST(ValuePrompt, ACancelledFieldCommitsNothing)
{
  PromptFixture f;
  PromptControl& control = f.Add(IBounds(0, 0, 50, 20), kBits);
  f.graphics.OpenValueEditor(control, control.Bounds(), 0);
  f.graphics.CancelTextField();
  f.graphics.CommitTextField("30");
  EXPECT_EQ(f.delegate.GetParam(kBits)->Value(), 16.0);
  EXPECT_TRUE(f.delegate.Calls("set").empty());
}

TEST(ValuePrompt, ASecondFieldWaitsUntilTheFirstIsDone)
{
  PromptFixture f;
  PromptControl& bits = f.Add(IBounds(0, 0, 50, 20), kBits);
  PromptControl& power = f.Add(IBounds(0, 30, 50, 50), kPower);
  f.graphics.OpenValueEditor(bits, bits.Bounds(), 0);
  f.graphics.OpenValueEditor(power, power.Bounds(), 0);
  EXPECT_EQ(f.graphics.TextFieldControl(), &bits);
  f.graphics.CommitTextField("8");
  EXPECT_EQ(f.delegate.GetParam(kBits)->Value(), 8.0);
  EXPECT_EQ(f.delegate.GetParam(kPower)->Value(), 3.0);
}

TEST(ValuePrompt, AMenuWaitsUntilTheOpenOneIsDone)
{
  PromptFixture f;
  f.graphics.menusCompleteLater = true;
  PromptControl& shape = f.Add(IBounds(0, 0, 50, 20), kShape);
  PromptControl& dither = f.Add(IBounds(0, 30, 50, 50), kDither);
  f.graphics.OpenValueEditor(shape, shape.Bounds(), 0);
  f.graphics.OpenValueEditor(dither, dither.Bounds(), 0);
  EXPECT_EQ(f.graphics.MenuControl(), &shape);
  EXPECT_EQ(f.graphics.promptMenu.RootTitle(), "Shape");
  EXPECT_EQ(f.graphics.promptMenu.NItems(), 3);
}

TEST(ValuePrompt, AMenuOpenedByAPressEndsThePressesGestureWhenItIsDone)
{
  InputFixture f;
  JournalControl& caption = f.Add("caption", IBounds(0, 0, 50, 20), kShape);
  caption.opensValueEditorOnPress = true;
  caption.SetPromptDisabled(false);
  f.graphics.menuChoice = 2;
  f.Press(10, 10);
  f.Release(10, 10);
  EXPECT_EQ(f.delegate.calls, Lines({ "begin 3", "set 3 1", "end 3" }));
  EXPECT_TRUE(f.graphics.capturedControls.empty());
}

} // namespace
} // namespace kit::ui::test
