#include "graphics/menu.h"

namespace kit::ui
{

IMenuItem::IMenuItem(std::string_view itemText, int itemFlags, int itemTag)
    : text(itemText)
    , flags(itemFlags)
    , tag(itemTag)
{
}

IMenuItem::IMenuItem(std::string_view itemText, std::unique_ptr<IMenu> itemSubmenu, int itemFlags, int itemTag)
    : text(itemText)
    , flags(itemFlags)
    , tag(itemTag)
    , submenu(std::move(itemSubmenu))
{
}

IMenuItem::~IMenuItem() = default;

IMenu::IMenu(std::string_view title)
    : rootTitle(title)
{
}

IMenu::~IMenu() = default;

IMenuItem& IMenu::AddItem(std::string_view text, int flags, int tag)
{
  items.push_back(std::make_unique<IMenuItem>(text, flags, tag));
  return *items.back();
}

IMenuItem& IMenu::AddSubmenu(std::string_view text, std::unique_ptr<IMenu> submenu, int flags)
{
  items.push_back(std::make_unique<IMenuItem>(text, std::move(submenu), flags));
  return *items.back();
}

IMenuItem& IMenu::AddSeparator()
{
  return AddItem("", IMenuItem::kSeparator);
}

void IMenu::Clear() noexcept
{
  items.clear();
  chosenIndex = -1;
  prefixDigits = 0;
  columnCount = 0;
}

IMenuItem* IMenu::Item(int index) const noexcept
{
  if (index < 0 || index >= NItems()) return nullptr;
  return items[std::size_t(index)].get();
}

} // namespace kit::ui
