// A popup menu drawn by the editor itself over its controls: one panel per open level, items
// in columns, numbering, checked, disabled and title items, separators, submenus that open
// beside their item, every panel kept inside the window. The window feeds it pointer and
// keys and paints it after the controls; a choice sets the chosen index of the menu it belongs
// to. Editor thread.
#pragma once

#include "graphics/bounds.h"
#include "graphics/menu.h"
#include "graphics/text_style.h"

#include <string>
#include <vector>

namespace kit::ui
{

class IDrawContext;

// The keys a menu answers; the window maps its own key codes onto these.
enum class EMenuKey
{
  kUp,
  kDown,
  kLeft,  // closes the innermost submenu
  kRight, // opens the highlighted item's submenu
  kReturn,
  kEscape,
};

class IPopupMenuView
{
public:
  enum class EResult
  {
    kIgnored,   // nothing changed
    kChanged,   // highlight or open levels changed: repaint the union of old and new Bounds()
    kChosen,    // an item was picked: ChosenMenu() holds it, its chosen index set
    kDismissed, // closed without a choice
  };

  // Lays the top panel out below anchor (logical units), inside window; items are measured
  // with graphics and drawn in style.
  IPopupMenuView(IDrawContext& graphics, IMenu& menu, const IBounds& anchor, const IBounds& window,
                 const ITextStyle& style);

  // Moving highlights the item under the pointer and opens its submenu.
  EResult OnPointerMove(IDrawContext& graphics, float x, float y);
  // Pressing an enabled item without a submenu chooses it; pressing outside every panel
  // dismisses; elsewhere in a panel nothing happens.
  EResult OnPointerDown(IDrawContext& graphics, float x, float y);
  EResult OnKey(IDrawContext& graphics, EMenuKey key);

  void Paint(IDrawContext& graphics) const;

  // The union of the open panels.
  [[nodiscard]] IBounds Bounds() const;
  // The menu whose item was chosen (the top one or a submenu); null before a choice.
  [[nodiscard]] IMenu* ChosenMenu() const noexcept { return chosenMenu; }

  // The text an item shows: with the menu's numbering, its 1-based position with that many
  // digits, a colon and a space before the text, all within 50 bytes and never cutting a
  // character in two.
  [[nodiscard]] static std::string ItemLabel(const IMenu& menu, int index);

  // One open level, for painting and for tests.
  struct Panel
  {
    IMenu* menu = nullptr;
    IBounds bounds;                // the whole panel
    std::vector<IBounds> itemRects; // one per item, in item order
    int highlighted = -1;
  };
  [[nodiscard]] const std::vector<Panel>& Panels() const noexcept { return panels; }

private:
  void OpenSubmenu(IDrawContext& graphics, std::size_t level, int itemIndex);

  IBounds window;
  ITextStyle style;
  std::vector<Panel> panels; // top first
  IMenu* chosenMenu = nullptr;
};

} // namespace kit::ui
