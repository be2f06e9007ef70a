// Captions: the parameter's display text, one space and its unit label, drawn centred; the
// marker only for an enumeration, placed by the alignment and drawn by hover state; a press
// opens a text field with the value (committing it reaches the host, conformed) or, for a
// choice from texts, a menu with the current item checked.
#include "editor/caption_control.h"
#include "tests/editor/stock_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kit::ui::test
{
namespace
{

ITextStyle CaptionStyle(EAlign align = EAlign::kCenter)
{
  ITextStyle style;
  style.size = 12.0f;
  style.colour = { 255, 255, 255, 255 };
  style.align = align;
  return style;
}

constexpr IBounds kCaption { 200, 200, 300, 220 };
// The same box further down, where the reference text is drawn.
constexpr IBounds kReference { 200, 300, 300, 320 };

ICaptionControl& AddCaption(StockEditor& editor, int param, bool showLabel = true, const IBounds& bounds = kCaption,
                            EAlign align = EAlign::kCenter)
{
  auto caption = std::make_unique<ICaptionControl>(bounds, param, CaptionStyle(align), IRgba(0, 0, 0, 0), showLabel);
  // As the editor opens: every control starts from its parameter's value.
  if (param >= 0 && param < kParamCount) caption->SetValue(editor.params.Unit(param));
  return editor.Add(std::move(caption));
}

TEST(Caption, ShowsTheDisplayTextThenASpaceAndTheLabel)
{
  struct Case
  {
    const char* name;
    int param;
    double real;
    bool showLabel;
    const char* text;
  };
  const Case cases[] = {
    { "power 9", kPower, 9, true, "9 " },
    { "power off", kPower, 0, true, "off " },
    { "target bits", kBits, 16, true, "16 " },
    { "target bits without the label", kBits, 16, false, "16" },
    { "dither on", kDither, 1, true, "on " },
    { "a shape", kShape, 2, true, "Steep " },
    { "a labelled number", kMix, 0.25, true, "0.25 %" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    editor.params.GetParam(c.param)->Set(c.real);
    // The reference: the expected text drawn by the context itself in a box of the same size.
    editor.Add(std::make_unique<kit::test::PaintingControl>(kReference, [&c](IDrawContext& g)
                                                            { g.RenderText(CaptionStyle(), c.text, kReference); }));
    const ICaptionControl& caption = AddCaption(editor, c.param, c.showLabel);
    ASSERT_TRUE(editor.graphics->Tick());
    EXPECT_EQ(caption.Text(), c.text);

    int inkLeft = 500;
    int inkRight = -1;
    for (int y = 200; y < 220; ++y)
    {
      for (int x = 195; x < 305; ++x)
      {
        // The enumeration's marker is not text.
        if (caption.MarkerBounds().GetPadded(1).Contains(float(x) + 0.5f, float(y) + 0.5f)) continue;
        const Pixel shown = editor.At(x, y);
        ASSERT_EQ(shown, editor.At(x, y + 100)) << "at " << x << ", " << y;
        if (shown.a > 0)
        {
          inkLeft = std::min(inkLeft, x);
          inkRight = std::max(inkRight, x);
        }
      }
    }
    ASSERT_LE(inkLeft, inkRight) << "something is drawn";
    // Centred: the ink sits about the middle, less than a space's width (about 3 points) off.
    EXPECT_NEAR(0.5 * (inkLeft + inkRight + 1), 250.0, 3.5);
  }
}

TEST(Caption, FollowsItsParameterWhenPainted)
{
  StockEditor editor;
  ICaptionControl& caption = AddCaption(editor, kBits);
  ASSERT_TRUE(editor.graphics->Tick());
  EXPECT_EQ(caption.Text(), "16 ");
  editor.params.GetParam(kBits)->Set(24);
  caption.MarkDirty(false);
  ASSERT_TRUE(editor.graphics->Tick());
  EXPECT_EQ(caption.Text(), "24 ");
}

TEST(Caption, MarkerOnlyForAnEnumerationOnTheFreeSide)
{
  struct Case
  {
    const char* name;
    int param;
    EAlign align;
    IBounds marker;
  };
  // Size 12: a 12-point cell at the end of the box, the marker half of it wide around the cell's
  // centre and 0.33 × 12 high about the box's middle (210).
  const Case cases[] = {
    { "enumeration, centred text", kShape, EAlign::kCenter, { 291, 208.02f, 297, 211.98f } },
    { "enumeration, left text", kShape, EAlign::kNear, { 291, 208.02f, 297, 211.98f } },
    { "enumeration, right text", kShape, EAlign::kFar, { 203, 208.02f, 209, 211.98f } },
    { "bool with texts", kDither, EAlign::kCenter, {} },
    { "int with a text", kPower, EAlign::kCenter, {} },
    { "int", kBits, EAlign::kCenter, {} },
    { "continuous", kMix, EAlign::kCenter, {} },
    { "no parameter", -1, EAlign::kCenter, {} },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    const ICaptionControl& caption = AddCaption(editor, c.param, true, kCaption, c.align);
    const IBounds& m = caption.MarkerBounds();
    EXPECT_NEAR(m.left, c.marker.left, 1e-4f);
    EXPECT_NEAR(m.top, c.marker.top, 1e-4f);
    EXPECT_NEAR(m.right, c.marker.right, 1e-4f);
    EXPECT_NEAR(m.bottom, c.marker.bottom, 1e-4f);
  }
}

TEST(Caption, MarkerIsHalfBlackAtRestAndWhileHoveredWhite)
{
  struct Case
  {
    int param;
    bool hovered;
    Pixel expected; // premultiplied, at a pixel well inside the marker
  };
  const Case cases[] = {
    { kShape, false, { 0, 0, 0, 128 } },
    { kShape, true, { 255, 255, 255, 255 } },
    { kBits, false, { 0, 0, 0, 0 } },
    { kBits, true, { 0, 0, 0, 0 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(Num(c.param) + (c.hovered ? " hovered" : " at rest"));
    StockEditor editor;
    ICaptionControl& caption = AddCaption(editor, c.param);
    if (c.hovered) caption.OnPointerHover(250, 210, {});
    ASSERT_TRUE(editor.graphics->Tick());
    const Pixel shown = editor.At(294, 209);
    EXPECT_NEAR(shown.a, c.expected.a, 1);
    EXPECT_EQ(shown.r, c.expected.r);
    EXPECT_EQ(shown.g, c.expected.g);
    EXPECT_EQ(shown.b, c.expected.b);
  }
}

TEST(Caption, PressOpensATextFieldWithTheValue)
{
  struct Case
  {
    const char* name;
    int param;
    bool viaDispatch;
    IPointerMods mods;
    const char* shown;
  };
  IPointerMods right;
  right.R = true;
  const Case cases[] = {
    { "target bits, left", kBits, true, Left(), "16" },
    { "power with its text for 0, left", kPower, true, Left(), "9" },
    { "target bits, right", kBits, false, right, "16" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    ICaptionControl& caption = AddCaption(editor, c.param);
    if (c.viaDispatch)
      editor.Click(250, 210, c.mods);
    else
      caption.OnPointerDown(250, 210, c.mods);
    const auto& field = editor.graphics->TextField();
    ASSERT_TRUE(field.has_value());
    EXPECT_EQ(field->text, c.shown);
    EXPECT_EQ(field->paramIndex, c.param);
    EXPECT_EQ(field->bounds, kCaption);
    EXPECT_EQ(editor.graphics->TextFieldControl(), &caption);
    EXPECT_FALSE(editor.graphics->PopupMenu().has_value());
  }
}

TEST(Caption, TypedValueReachesTheHostConformed)
{
  struct Case
  {
    const char* typed;
    double real;
    const char* toHost; // (real − 6) / 26
    const char* shown;
  };
  const Case cases[] = {
    { "24", 24, "set 2 0.692308", "24 " },
    { "99", 32, "set 2 1", "32 " },
    { "16.6", 17, "set 2 0.423077", "17 " },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.typed);
    StockEditor editor;
    ICaptionControl& caption = AddCaption(editor, kBits);
    editor.Click(250, 210);
    ASSERT_TRUE(editor.graphics->TextField().has_value());
    editor.graphics->CommitTextField(c.typed);
    EXPECT_EQ(editor.params.Real(kBits), c.real);
    EXPECT_EQ(editor.params.Calls("set"), std::vector<std::string>({ c.toHost }));
    ASSERT_TRUE(editor.graphics->Tick());
    EXPECT_EQ(caption.Text(), c.shown);
  }
}

TEST(Caption, ChoiceFromTextsOpensAMenuWithTheCurrentItemChecked)
{
  struct Case
  {
    const char* name;
    int param;
    std::vector<std::string> items;
    int checked;
    const char* title;
  };
  const Case cases[] = {
    { "enumeration", kShape, { "Flat", "Gentle", "Steep" }, 1, "Shape" },
    { "bool with texts", kGraph, { "off", "on" }, 1, "Show Graph" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    AddCaption(editor, c.param);
    editor.Click(250, 210);
    EXPECT_FALSE(editor.graphics->TextField().has_value());
    const auto& request = editor.graphics->PopupMenu();
    ASSERT_TRUE(request.has_value());
    IMenu& menu = *request->menu;
    EXPECT_EQ(menu.RootTitle(), c.title);
    EXPECT_EQ(request->bounds, kCaption);
    ASSERT_EQ(menu.NItems(), int(c.items.size()));
    for (int i = 0; i < menu.NItems(); ++i)
    {
      EXPECT_EQ(menu.Item(i)->Text(), c.items[std::size_t(i)]);
      EXPECT_EQ(menu.Item(i)->Checked(), i == c.checked) << c.items[std::size_t(i)];
    }
    menu.SetChosenIndex(0);
    editor.graphics->CommitMenuChoice(&menu);
    EXPECT_EQ(editor.params.Real(c.param), 0.0) << "the first item is the value 0";
  }
}

TEST(Caption, DoubleClickIsASecondPress)
{
  StockEditor editor;
  const ICaptionControl& caption = AddCaption(editor, kBits);
  EXPECT_TRUE(caption.DoubleClickAsSingle());
  EXPECT_TRUE(editor.graphics->OnPointerDoubleClick(250, 210, Left()));
  EXPECT_TRUE(editor.graphics->TextField().has_value());
  EXPECT_EQ(editor.params.Real(kBits), 16.0) << "not reset to a default";
}

} // namespace
} // namespace kit::ui::test
