// The editor's own popup menu: numbered labels within their byte limit, panels kept inside the
// window, columns, submenus, which items can be chosen, and the ways it closes.
#include "graphics/popup_menu_view.h"

#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace kit::ui
{
namespace
{

using test::OpenEditor;

using R = IPopupMenuView::EResult;

TEST(PopupMenuLabel, NumberingAndByteLimit)
{
  struct Case
  {
    int digits;
    int index;
    std::string text;
    std::string expected;
  };
  const std::string a44(44, 'a');
  const std::string a45(45, 'a');
  const std::string e = "\xc3\xa9";        // two bytes
  const std::string euro = "\xe2\x82\xac"; // three bytes
  const Case cases[] = {
    { 0, 0, "Flat", "Flat" },
    { 1, 0, "Flat", "1: Flat" },
    { 1, 11, "Flat", "12: Flat" },
    { 2, 0, "Flat", "01: Flat" },
    { 2, 11, "Flat", "12: Flat" },
    { 3, 0, "Flat", "001: Flat" },
    { 3, 11, "Flat", "012: Flat" },
    { 2, 0, "", "01: " },
    // "01: " is four bytes: 44 more fill 48, a two-byte character ends exactly at 50.
    { 2, 0, a44 + e, "01: " + a44 + e },
    { 2, 0, a45 + e, "01: " + a45 },
    { 2, 0, a44 + euro, "01: " + a44 },
    { 2, 0, a45 + "bcd", "01: " + a45 + "b" },
    { 1, 0, std::string(46, 'a') + euro, "1: " + std::string(46, 'a') },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.digits << " " << c.index << " " << c.text);
    IMenu menu;
    menu.SetPrefixDigits(c.digits);
    for (int index = 0; index <= c.index; ++index) menu.AddItem(index == c.index ? c.text : "x");
    const std::string label = IPopupMenuView::ItemLabel(menu, c.index);
    EXPECT_EQ(label, c.expected);
    EXPECT_LE(label.size(), 50u);
  }
  IMenu menu;
  menu.AddItem("only");
  EXPECT_EQ(IPopupMenuView::ItemLabel(menu, 1), "");
  EXPECT_EQ(IPopupMenuView::ItemLabel(menu, -1), "");
}

class PopupMenuView : public testing::Test
{
protected:
  static constexpr IBounds kWindow { 0, 0, 400, 300 };
  static constexpr IBounds kAnchor { 20, 20, 60, 40 }; // where the menus open unless a test says

  PopupMenuView()
      : editor(400, 300)
  {
    EXPECT_TRUE(editor->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
    style.size = 12.0f;
  }

  static void AddItems(IMenu& menu, int count)
  {
    for (int index = 0; index < count; ++index) menu.AddItem("Item " + std::to_string(index));
  }

  // The rows no pointer or key may choose: a title, a disabled item and a separator.
  static void AddUnchoosableRows(IMenu& menu)
  {
    menu.AddItem("Title", IMenuItem::kTitle);
    menu.AddItem("Disabled", IMenuItem::kDisabled);
    menu.AddSeparator();
  }

  // A menu whose second item, "More", opens a submenu of three choices.
  static std::unique_ptr<IMenu> MenuWithSubmenu(IMenu*& submenu)
  {
    auto menu = std::make_unique<IMenu>();
    menu->AddItem("First");
    auto inner = std::make_unique<IMenu>();
    AddItems(*inner, 3);
    submenu = inner.get();
    menu->AddSubmenu("More", std::move(inner));
    menu->AddItem("Last");
    return menu;
  }

  // That menu open at the anchor.
  struct SubmenuPopup
  {
    explicit SubmenuPopup(PopupMenuView& test, const IBounds& anchor = kAnchor)
        : menu(MenuWithSubmenu(submenu))
        , view(*test.editor, *menu, anchor, kWindow, test.style)
    {
    }

    [[nodiscard]] IBounds More() const { return view.Panels()[0].itemRects[1]; }

    IMenu* submenu = nullptr; // first: the menu's making sets it
    std::unique_ptr<IMenu> menu;
    IPopupMenuView view;
  };

  // The pointer moved to the middle of a row.
  [[nodiscard]] R MoveTo(IPopupMenuView& view, const IBounds& row)
  {
    return view.OnPointerMove(*editor, row.MidX(), row.MidY());
  }

  static void ExpectInside(const IBounds& panel)
  {
    EXPECT_GE(panel.left, kWindow.left);
    EXPECT_GE(panel.top, kWindow.top);
    EXPECT_LE(panel.right, kWindow.right);
    EXPECT_LE(panel.bottom, kWindow.bottom);
  }

  OpenEditor editor;
  ITextStyle style;
};

TEST_F(PopupMenuView, TopPanelOpensBelowTheAnchorAndStaysInsideTheWindow)
{
  struct Case
  {
    IBounds anchor;
    bool atAnchorLeft;
    bool below;
  };
  const Case cases[] = {
    { { 20, 20, 80, 40 }, true, true },       // room everywhere
    { { 380, 20, 400, 40 }, false, true },    // at the right edge: shifted left
    { { 20, 270, 80, 290 }, true, false },    // at the bottom: above the anchor
    { { 390, 280, 400, 300 }, false, false }, // the corner
    { { 30, 30, 30, 30 }, true, true },       // a zero-size anchor
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.anchor.left << ", " << c.anchor.top);
    IMenu menu;
    AddItems(menu, 5);
    IPopupMenuView view(*editor, menu, c.anchor, kWindow, style);
    ASSERT_EQ(view.Panels().size(), 1u);
    const IBounds panel = view.Panels()[0].bounds;
    ExpectInside(panel);
    if (c.atAnchorLeft)
      EXPECT_FLOAT_EQ(panel.left, c.anchor.left);
    else
      EXPECT_FLOAT_EQ(panel.right, kWindow.right);
    if (c.below)
      EXPECT_FLOAT_EQ(panel.top, c.anchor.bottom);
    else
      EXPECT_FLOAT_EQ(panel.bottom, c.anchor.top);
    EXPECT_EQ(view.Bounds(), panel);
  }
}

TEST_F(PopupMenuView, PanelHoldsEveryLabelAndEveryRow)
{
  IMenu menu;
  menu.AddItem("Short");
  menu.AddSeparator();
  menu.AddItem("A much longer label than the others");
  IPopupMenuView view(*editor, menu, { 10, 10, 20, 20 }, kWindow, style);
  const auto& panel = view.Panels()[0];
  ASSERT_EQ(panel.itemRects.size(), 3u);
  IBounds box;
  const float longest = editor->MeasureTextWidth(style, "A much longer label than the others", box);
  EXPECT_GT(panel.itemRects[2].W(), longest);
  for (const IBounds& row : panel.itemRects) EXPECT_TRUE(panel.bounds.Contains(row));
  EXPECT_GE(panel.itemRects[0].H(), style.size);
  EXPECT_LT(panel.itemRects[1].H(), panel.itemRects[0].H());
  EXPECT_FLOAT_EQ(panel.itemRects[1].top, panel.itemRects[0].bottom);
  EXPECT_FLOAT_EQ(panel.itemRects[2].top, panel.itemRects[1].bottom);
}

TEST_F(PopupMenuView, ColumnsStartAtEveryMultipleOfTheColumnCount)
{
  struct Case
  {
    int items;
    int columnCount;
    std::size_t columns;
  };
  const Case cases[] = { { 10, 4, 3 }, { 8, 4, 2 }, { 10, 0, 1 }, { 3, 5, 1 }, { 159, 100, 2 }, { 160, 100, 1 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.items << " items, columns of " << c.columnCount);
    IMenu menu;
    AddItems(menu, c.items);
    menu.SetColumnCount(c.columnCount);
    IPopupMenuView view(*editor, menu, { 0, 0, 10, 10 }, { 0, 0, 4000, 4000 }, style);
    const auto& rects = view.Panels()[0].itemRects;
    std::set<float> lefts;
    for (int index = 0; index < c.items; ++index)
    {
      const IBounds& rect = rects[std::size_t(index)];
      lefts.insert(rect.left);
      const bool startsColumn = c.columns > 1 && index % c.columnCount == 0;
      if (index == 0) continue;
      const IBounds& previous = rects[std::size_t(index - 1)];
      if (startsColumn)
      {
        EXPECT_FLOAT_EQ(rect.left, previous.right);
        EXPECT_FLOAT_EQ(rect.top, rects[0].top);
      }
      else
      {
        EXPECT_FLOAT_EQ(rect.left, previous.left);
        EXPECT_FLOAT_EQ(rect.top, previous.bottom);
      }
    }
    EXPECT_EQ(lefts.size(), c.columns);
  }
}

TEST_F(PopupMenuView, SubmenuOpensBesideItsItemAndItsChoiceIsItsOwn)
{
  struct Case
  {
    IBounds anchor;
    bool toTheRight;
  };
  const Case cases[] = { { { 20, 20, 60, 40 }, true }, { { 390, 20, 400, 40 }, false } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.anchor.left);
    SubmenuPopup popup(*this, c.anchor);
    auto& [submenu, menu, view] = popup;
    bool completed = false;
    submenu->SetCompletion([&](IMenu&) { completed = true; });
    const IBounds more = popup.More();
    EXPECT_EQ(MoveTo(view, more), R::kChanged);
    ASSERT_EQ(view.Panels().size(), 2u);
    EXPECT_EQ(view.Panels()[0].highlighted, 1);
    const auto& inner = view.Panels()[1];
    EXPECT_EQ(inner.menu, submenu);
    ExpectInside(inner.bounds);
    if (c.toTheRight)
      EXPECT_GE(inner.bounds.left, more.right);
    else
      EXPECT_LE(inner.bounds.right, more.left);
    EXPECT_EQ(view.Bounds(), view.Panels()[0].bounds.Union(inner.bounds));

    // Moving on within the same item changes nothing.
    EXPECT_EQ(view.OnPointerMove(*editor, more.MidX() + 1, more.MidY()), R::kIgnored);

    const IBounds second = inner.itemRects[1];
    EXPECT_EQ(MoveTo(view, second), R::kChanged);
    EXPECT_EQ(view.Panels()[1].highlighted, 1);
    EXPECT_EQ(view.OnPointerDown(*editor, second.MidX(), second.MidY()), R::kChosen);
    EXPECT_EQ(view.ChosenMenu(), submenu);
    EXPECT_EQ(submenu->ChosenIndex(), 1);
    EXPECT_EQ(menu->ChosenIndex(), -1);
    EXPECT_FALSE(completed);
  }
}

TEST_F(PopupMenuView, MovingToAnotherItemClosesTheSubmenu)
{
  SubmenuPopup popup(*this);
  IPopupMenuView& view = popup.view;
  ASSERT_EQ(MoveTo(view, popup.More()), R::kChanged);
  ASSERT_EQ(view.Panels().size(), 2u);
  const IBounds first = view.Panels()[0].itemRects[0];
  EXPECT_EQ(MoveTo(view, first), R::kChanged);
  EXPECT_EQ(view.Panels().size(), 1u);
  EXPECT_EQ(view.Panels()[0].highlighted, 0);
}

TEST_F(PopupMenuView, OnlyEnabledPlainItemsCanBeChosen)
{
  IMenu menu;
  AddUnchoosableRows(menu);
  menu.AddItem("Checked", IMenuItem::kChecked);
  menu.AddItem("Plain");
  struct Case
  {
    int index;
    R result;
  };
  const Case cases[] = {
    { 0, R::kIgnored }, { 1, R::kIgnored }, { 2, R::kIgnored }, { 3, R::kChosen }, { 4, R::kChosen }
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.index);
    menu.SetChosenIndex(-1);
    IPopupMenuView view(*editor, menu, kAnchor, kWindow, style);
    const IBounds row = view.Panels()[0].itemRects[std::size_t(c.index)];
    EXPECT_EQ(MoveTo(view, row), c.result == R::kChosen ? R::kChanged : R::kIgnored);
    EXPECT_EQ(view.OnPointerDown(*editor, row.MidX(), row.MidY()), c.result);
    EXPECT_EQ(menu.ChosenIndex(), c.result == R::kChosen ? c.index : -1);
    EXPECT_EQ(view.ChosenMenu(), c.result == R::kChosen ? &menu : nullptr);
  }
}

TEST_F(PopupMenuView, KeysSkipWhatCannotBeChosen)
{
  IMenu menu;
  AddUnchoosableRows(menu);
  menu.AddItem("One");
  menu.AddItem("Two");
  menu.AddItem("Off", IMenuItem::kDisabled);
  IPopupMenuView view(*editor, menu, kAnchor, kWindow, style);
  struct Step
  {
    EMenuKey key;
    R result;
    int highlighted;
  };
  const Step steps[] = {
    { EMenuKey::kReturn, R::kIgnored, -1 }, { EMenuKey::kDown, R::kChanged, 3 }, { EMenuKey::kDown, R::kChanged, 4 },
    { EMenuKey::kDown, R::kChanged, 3 },    { EMenuKey::kUp, R::kChanged, 4 },   { EMenuKey::kRight, R::kIgnored, 4 },
    { EMenuKey::kLeft, R::kIgnored, 4 },
  };
  int index = 0;
  for (const Step& step : steps)
  {
    SCOPED_TRACE(testing::Message() << "step " << index++);
    EXPECT_EQ(view.OnKey(*editor, step.key), step.result);
    EXPECT_EQ(view.Panels()[0].highlighted, step.highlighted);
  }
  EXPECT_EQ(view.OnKey(*editor, EMenuKey::kReturn), R::kChosen);
  EXPECT_EQ(menu.ChosenIndex(), 4);
  EXPECT_EQ(view.ChosenMenu(), &menu);
}

TEST_F(PopupMenuView, KeysOpenAndCloseSubmenus)
{
  SubmenuPopup popup(*this);
  auto& [submenu, menu, view] = popup;
  ASSERT_EQ(view.OnKey(*editor, EMenuKey::kDown), R::kChanged);
  ASSERT_EQ(view.OnKey(*editor, EMenuKey::kDown), R::kChanged);
  EXPECT_EQ(view.OnKey(*editor, EMenuKey::kRight), R::kChanged);
  ASSERT_EQ(view.Panels().size(), 2u);
  EXPECT_EQ(view.Panels()[1].highlighted, 0);
  EXPECT_EQ(view.OnKey(*editor, EMenuKey::kLeft), R::kChanged);
  EXPECT_EQ(view.Panels().size(), 1u);
  EXPECT_EQ(view.OnKey(*editor, EMenuKey::kReturn), R::kChanged);
  ASSERT_EQ(view.Panels().size(), 2u);
  EXPECT_EQ(view.OnKey(*editor, EMenuKey::kDown), R::kChanged);
  EXPECT_EQ(view.OnKey(*editor, EMenuKey::kReturn), R::kChosen);
  EXPECT_EQ(view.ChosenMenu(), submenu);
  EXPECT_EQ(submenu->ChosenIndex(), 1);
  EXPECT_EQ(menu->ChosenIndex(), -1);
}

TEST_F(PopupMenuView, EscapeClosesTheInnermostLevelThenDismisses)
{
  SubmenuPopup popup(*this);
  auto& [submenu, menu, view] = popup;
  ASSERT_EQ(MoveTo(view, popup.More()), R::kChanged);
  ASSERT_EQ(view.Panels().size(), 2u);
  EXPECT_EQ(view.OnKey(*editor, EMenuKey::kEscape), R::kChanged);
  EXPECT_EQ(view.Panels().size(), 1u);
  EXPECT_EQ(view.OnKey(*editor, EMenuKey::kEscape), R::kDismissed);
  EXPECT_EQ(view.ChosenMenu(), nullptr);
  EXPECT_EQ(menu->ChosenIndex(), -1);
  EXPECT_EQ(submenu->ChosenIndex(), -1);
}

TEST_F(PopupMenuView, PressOutsideEveryPanelDismisses)
{
  SubmenuPopup popup(*this);
  IPopupMenuView& view = popup.view;
  ASSERT_EQ(MoveTo(view, popup.More()), R::kChanged);
  const IBounds all = view.Bounds();
  EXPECT_EQ(view.OnPointerDown(*editor, all.right + 5, all.MidY()), R::kDismissed);
  EXPECT_EQ(view.OnPointerDown(*editor, 5, 5), R::kDismissed);
  EXPECT_EQ(view.ChosenMenu(), nullptr);
  EXPECT_EQ(popup.menu->ChosenIndex(), -1);
  // The submenu's panel lies off the top one, and a press there is no dismissal.
  const IBounds inner = view.Panels()[1].bounds;
  ASSERT_FALSE(view.Panels()[0].bounds.Contains(inner.MidX(), inner.MidY()));
  EXPECT_EQ(view.OnPointerDown(*editor, inner.MidX(), inner.MidY()), R::kChosen);
}

// A highlighted row is drawn differently from the rest, and the panel covers what is below it.
TEST_F(PopupMenuView, PaintShowsThePanelAndTheHighlight)
{
  IMenu menu;
  AddItems(menu, 3);
  IPopupMenuView view(*editor, menu, kAnchor, kWindow, style);
  const auto paintAndRead = [&](const IBounds& row)
  {
    editor->BeginFrame();
    editor->PaintRect({ 255, 0, 0, 0 }, kWindow);
    view.Paint(*editor);
    editor->EndFrame();
    return editor->ReadPixel(row.right - 3.5f, row.MidY());
  };
  const IBounds row = view.Panels()[0].itemRects[1];
  const IRgba plain = paintAndRead(row);
  EXPECT_NE(plain, (IRgba { 255, 0, 0, 0 }));
  ASSERT_EQ(MoveTo(view, row), R::kChanged);
  const IRgba highlighted = paintAndRead(row);
  EXPECT_NE(highlighted, plain);
}

} // namespace
} // namespace kit::ui
