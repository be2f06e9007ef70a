#include "graphics/popup_menu_view.h"

#include "graphics/draw_context.h"
#include "graphics/utf8_text.h"

#include <algorithm>
#include <cstdio>

namespace kit::ui
{
namespace
{

constexpr std::size_t kLabelBytes = 50;
constexpr int kColumnsBelowItems = 160; // longer menus stay in one column
constexpr float kBorder = 1.0f;
constexpr float kRowPadding = 3.0f;  // above and below the text
constexpr float kTextPadding = 4.0f; // between the text and the check and arrow room
constexpr float kMinTextWidth = 40.0f;

constexpr IRgba kPanelColour { 255, 244, 244, 244 };
constexpr IRgba kBorderColour { 255, 110, 110, 110 };
constexpr IRgba kTextColour { 255, 20, 20, 20 };
constexpr IRgba kDisabledColour { 255, 150, 150, 150 };
constexpr IRgba kTitleColour { 255, 60, 60, 60 };
constexpr IRgba kTitleBackground { 255, 222, 222, 222 };
constexpr IRgba kHighlightColour { 255, 50, 110, 200 };
constexpr IRgba kHighlightText { 255, 255, 255, 255 };
constexpr IRgba kSeparatorColour { 255, 175, 175, 175 };

// An item the pointer and keys may rest on: a choice or a submenu.
bool Highlightable(const IMenuItem* item)
{
  return item != nullptr && item->Enabled() && !item->IsTitle() && !item->IsSeparator();
}

bool Choosable(const IMenuItem* item)
{
  return Highlightable(item) && item->Submenu() == nullptr;
}

ITextStyle ItemTextStyle(const ITextStyle& style)
{
  ITextStyle itemStyle = style;
  itemStyle.angle = 0.0f;
  itemStyle.align = EAlign::kNear;
  itemStyle.valign = EVAlign::kMiddle;
  return itemStyle;
}

float RowHeight(const ITextStyle& style)
{
  return style.size + 2.0f * kRowPadding;
}

float SeparatorHeight(const ITextStyle& style)
{
  return std::max(3.0f, RowHeight(style) / 3.0f);
}

// Room for a check mark on the left and a submenu arrow on the right of every row.
float CheckRoom(const ITextStyle& style)
{
  return RowHeight(style);
}

float ArrowRoom(const ITextStyle& style)
{
  return 0.75f * RowHeight(style);
}

// The panel of menu laid out with its top left corner at the origin: rows top to bottom, a
// new column where the menu asks for one.
IPopupMenuView::Panel MeasurePanel(IDrawContext& graphics, IMenu& menu, const ITextStyle& style)
{
  const ITextStyle itemStyle = ItemTextStyle(style);
  float textWidth = kMinTextWidth;
  for (int index = 0; index < menu.NItems(); ++index)
  {
    const IMenuItem* item = menu.Item(index);
    if (item->IsSeparator()) continue;
    IBounds box;
    textWidth = std::max(textWidth, graphics.MeasureTextWidth(itemStyle, IPopupMenuView::ItemLabel(menu, index), box));
  }
  const float columnWidth = CheckRoom(style) + textWidth + 2.0f * kTextPadding + ArrowRoom(style);
  const bool columns = menu.NItems() < kColumnsBelowItems && menu.ColumnCount() > 0;

  IPopupMenuView::Panel panel;
  panel.menu = &menu;
  float x = kBorder;
  float y = kBorder;
  float bottom = kBorder;
  for (int index = 0; index < menu.NItems(); ++index)
  {
    if (columns && index > 0 && index % menu.ColumnCount() == 0)
    {
      x += columnWidth;
      y = kBorder;
    }
    const float height = menu.Item(index)->IsSeparator() ? SeparatorHeight(style) : RowHeight(style);
    panel.itemRects.push_back({ x, y, x + columnWidth, y + height });
    y += height;
    bottom = std::max(bottom, y);
  }
  panel.bounds = { 0.0f, 0.0f, x + columnWidth + kBorder, bottom + kBorder };
  return panel;
}

// Moves the panel so that its top left corner is at (left, top).
void MovePanel(IPopupMenuView::Panel& panel, float left, float top)
{
  const float dx = left - panel.bounds.left;
  const float dy = top - panel.bounds.top;
  const auto move = [&](IBounds& rect) { rect = { rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy }; };
  move(panel.bounds);
  for (IBounds& rect : panel.itemRects) move(rect);
}

// The start along one axis that keeps a panel of this extent inside [low, high); a panel
// larger than the window keeps its start at low.
float KeepInside(float start, float extent, float low, float high)
{
  return std::max(low, std::min(start, high - extent));
}

int FindItem(const IPopupMenuView::Panel& panel, float x, float y)
{
  for (std::size_t index = 0; index < panel.itemRects.size(); ++index)
    if (panel.itemRects[index].Contains(x, y)) return int(index);
  return -1;
}

// The next item the keys can rest on, from `from` in direction step, wrapping; -1 for none.
int StepHighlight(const IMenu& menu, int from, int step)
{
  const int count = menu.NItems();
  for (int moved = 1; moved <= count; ++moved)
  {
    const int start = from < 0 ? (step > 0 ? -1 : count) : from;
    const int index = ((start + step * moved) % count + count) % count;
    if (Highlightable(menu.Item(index))) return index;
  }
  return -1;
}

void PaintCheckMark(IDrawContext& graphics, const IRgba& colour, const IBounds& room)
{
  const float unit = std::min(room.W(), room.H()) / 10.0f;
  const float x = room.MidX();
  const float y = room.MidY();
  graphics.StrokeLine(colour, x - 3.0f * unit, y, x - unit, y + 2.5f * unit, nullptr, 1.5f);
  graphics.StrokeLine(colour, x - unit, y + 2.5f * unit, x + 3.5f * unit, y - 3.0f * unit, nullptr, 1.5f);
}

void PaintArrow(IDrawContext& graphics, const IRgba& colour, const IBounds& room)
{
  const float unit = std::min(room.W(), room.H()) / 10.0f;
  const float x = room.MidX();
  const float y = room.MidY();
  graphics.PaintTriangle(colour, x - 1.5f * unit, y - 3.0f * unit, x + 2.0f * unit, y, x - 1.5f * unit,
                         y + 3.0f * unit);
}

void PaintPanel(IDrawContext& graphics, const IPopupMenuView::Panel& panel, const ITextStyle& style)
{
  graphics.PaintRect(kPanelColour, panel.bounds);
  graphics.OutlineRect(kBorderColour, panel.bounds);
  const float checkRoom = CheckRoom(style);
  const float arrowRoom = ArrowRoom(style);
  for (int index = 0; index < panel.menu->NItems(); ++index)
  {
    const IMenuItem* item = panel.menu->Item(index);
    const IBounds& row = panel.itemRects[std::size_t(index)];
    if (item->IsSeparator())
    {
      graphics.StrokeLine(kSeparatorColour, row.left + kTextPadding, row.MidY(), row.right - kTextPadding, row.MidY());
      continue;
    }
    IRgba colour = kTextColour;
    if (index == panel.highlighted)
    {
      graphics.PaintRect(kHighlightColour, row);
      colour = kHighlightText;
    }
    else if (item->IsTitle())
    {
      graphics.PaintRect(kTitleBackground, row);
      colour = kTitleColour;
    }
    else if (!item->Enabled())
      colour = kDisabledColour;
    if (item->Checked()) PaintCheckMark(graphics, colour, { row.left, row.top, row.left + checkRoom, row.bottom });
    if (item->Submenu() != nullptr)
      PaintArrow(graphics, colour, { row.right - arrowRoom, row.top, row.right, row.bottom });
    ITextStyle itemStyle = ItemTextStyle(style);
    itemStyle.colour = colour;
    graphics.RenderText(
        itemStyle, IPopupMenuView::ItemLabel(*panel.menu, index),
        { row.left + checkRoom + kTextPadding, row.top, row.right - arrowRoom - kTextPadding, row.bottom });
  }
}

} // namespace

IPopupMenuView::IPopupMenuView(IDrawContext& graphics, IMenu& menu, const IBounds& anchor, const IBounds& windowBounds,
                               const ITextStyle& menuStyle)
    : window(windowBounds)
    , style(menuStyle)
{
  Panel top = MeasurePanel(graphics, menu, style);
  const float width = top.bounds.W();
  const float height = top.bounds.H();
  float topEdge = anchor.bottom;
  // No room below the anchor: above it when that fits, else as low as the window allows.
  if (topEdge + height > window.bottom && anchor.top - height >= window.top) topEdge = anchor.top - height;
  MovePanel(top, KeepInside(anchor.left, width, window.left, window.right),
            KeepInside(topEdge, height, window.top, window.bottom));
  panels.push_back(std::move(top));
}

void IPopupMenuView::OpenSubmenu(IDrawContext& graphics, std::size_t level, int itemIndex)
{
  panels.resize(level + 1);
  Panel& parent = panels[level];
  parent.highlighted = itemIndex;
  IMenu* submenu = parent.menu->Item(itemIndex)->Submenu();
  const IBounds item = parent.itemRects[std::size_t(itemIndex)];
  Panel panel = MeasurePanel(graphics, *submenu, style);
  const float width = panel.bounds.W();
  const float height = panel.bounds.H();
  float left = item.right;
  if (left + width > window.right && item.left - width >= window.left) left = item.left - width;
  MovePanel(panel, KeepInside(left, width, window.left, window.right),
            KeepInside(item.top - kBorder, height, window.top, window.bottom));
  panels.push_back(std::move(panel));
}

IPopupMenuView::EResult IPopupMenuView::OnPointerMove(IDrawContext& graphics, float x, float y)
{
  for (std::size_t level = panels.size(); level-- > 0;)
  {
    Panel& panel = panels[level];
    if (!panel.bounds.Contains(x, y)) continue;
    const int index = FindItem(panel, x, y);
    const IMenuItem* item = panel.menu->Item(index);
    const bool deeperOpen = level + 1 < panels.size();
    if (!Highlightable(item))
    {
      if (panel.highlighted == -1 && !deeperOpen) return EResult::kIgnored;
      panels.resize(level + 1);
      panels[level].highlighted = -1;
      return EResult::kChanged;
    }
    const bool unchanged =
        item->Submenu() != nullptr ? deeperOpen && panels[level + 1].menu == item->Submenu() : !deeperOpen;
    if (panel.highlighted == index && unchanged) return EResult::kIgnored;
    if (item->Submenu() != nullptr)
      OpenSubmenu(graphics, level, index);
    else
    {
      panels.resize(level + 1);
      panels[level].highlighted = index;
    }
    return EResult::kChanged;
  }
  return EResult::kIgnored;
}

IPopupMenuView::EResult IPopupMenuView::OnPointerDown(IDrawContext& graphics, float x, float y)
{
  for (std::size_t level = panels.size(); level-- > 0;)
  {
    Panel& panel = panels[level];
    if (!panel.bounds.Contains(x, y)) continue;
    const int index = FindItem(panel, x, y);
    const IMenuItem* item = panel.menu->Item(index);
    if (Choosable(item))
    {
      panel.menu->SetChosenIndex(index);
      chosenMenu = panel.menu;
      return EResult::kChosen;
    }
    if (Highlightable(item) && (level + 1 == panels.size() || panels[level + 1].menu != item->Submenu()))
    {
      OpenSubmenu(graphics, level, index);
      return EResult::kChanged;
    }
    return EResult::kIgnored;
  }
  return EResult::kDismissed;
}

IPopupMenuView::EResult IPopupMenuView::OnKey(IDrawContext& graphics, EMenuKey key)
{
  const std::size_t level = panels.size() - 1;
  Panel& panel = panels[level];
  const IMenuItem* item = panel.menu->Item(panel.highlighted);
  switch (key)
  {
  case EMenuKey::kUp:
  case EMenuKey::kDown:
  {
    const int next = StepHighlight(*panel.menu, panel.highlighted, key == EMenuKey::kDown ? 1 : -1);
    if (next < 0 || next == panel.highlighted) return EResult::kIgnored;
    panel.highlighted = next;
    return EResult::kChanged;
  }
  case EMenuKey::kReturn:
    if (Choosable(item))
    {
      panel.menu->SetChosenIndex(panel.highlighted);
      chosenMenu = panel.menu;
      return EResult::kChosen;
    }
    [[fallthrough]];
  case EMenuKey::kRight:
  {
    if (!Highlightable(item) || item->Submenu() == nullptr) return EResult::kIgnored;
    OpenSubmenu(graphics, level, panel.highlighted);
    Panel& opened = panels.back();
    opened.highlighted = StepHighlight(*opened.menu, -1, 1);
    return EResult::kChanged;
  }
  case EMenuKey::kLeft:
    if (panels.size() == 1) return EResult::kIgnored;
    panels.pop_back();
    return EResult::kChanged;
  case EMenuKey::kEscape:
    if (panels.size() == 1) return EResult::kDismissed;
    panels.pop_back();
    return EResult::kChanged;
  }
  return EResult::kIgnored;
}

void IPopupMenuView::Paint(IDrawContext& graphics) const
{
  for (const Panel& panel : panels) PaintPanel(graphics, panel, style);
}

IBounds IPopupMenuView::Bounds() const
{
  IBounds all;
  for (const Panel& panel : panels) all = all.Union(panel.bounds);
  return all;
}

std::string IPopupMenuView::ItemLabel(const IMenu& menu, int index)
{
  const IMenuItem* item = menu.Item(index);
  if (item == nullptr) return {};
  const int digits = menu.PrefixDigits();
  if (digits < 1 || digits > 3) return item->Text();
  char number[16];
  // "%1d", "%02d" or "%03d": at least that many digits, zero-padded.
  const int length = std::snprintf(number, sizeof number, "%0*d: ", digits, index + 1);
  std::string label(number, std::size_t(std::max(length, 0)));
  label += item->Text();
  label.resize(Utf8FitBytes(label, kLabelBytes));
  return label;
}

} // namespace kit::ui
