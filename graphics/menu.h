// A popup menu of choices (a parameter's display texts, or a control's context menu) as the
// editor builds it and the window shows it. Editor thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kit::ui
{

class IMenu;

class IMenuItem
{
public:
  static constexpr int kDisabled = 1;
  static constexpr int kTitle = 2;
  static constexpr int kChecked = 4;
  static constexpr int kSeparator = 8;

  IMenuItem(std::string_view text, int flags = 0, int tag = -1);
  IMenuItem(std::string_view text, std::unique_ptr<IMenu> submenu, int flags = 0, int tag = -1);
  ~IMenuItem();

  [[nodiscard]] const std::string& Text() const noexcept { return text; }
  [[nodiscard]] int Flags() const noexcept { return flags; }
  [[nodiscard]] int Tag() const noexcept { return tag; }
  [[nodiscard]] bool Enabled() const noexcept { return (flags & kDisabled) == 0; }
  [[nodiscard]] bool Checked() const noexcept { return (flags & kChecked) != 0; }
  [[nodiscard]] bool IsTitle() const noexcept { return (flags & kTitle) != 0; }
  [[nodiscard]] bool IsSeparator() const noexcept { return (flags & kSeparator) != 0; }
  [[nodiscard]] IMenu* Submenu() const noexcept { return submenu.get(); }

private:
  std::string text;
  int flags;
  int tag;
  std::unique_ptr<IMenu> submenu;
};

class IMenu
{
public:
  using CompletionFn = std::function<void(IMenu&)>;

  explicit IMenu(std::string_view rootTitle = "");
  IMenu(const IMenu&) = delete;
  IMenu& operator=(const IMenu&) = delete;
  ~IMenu();

  IMenuItem& AddItem(std::string_view text, int flags = 0, int tag = -1);
  IMenuItem& AddSubmenu(std::string_view text, std::unique_ptr<IMenu> submenu, int flags = 0);
  IMenuItem& AddSeparator();
  // No items, no choice, no numbering, one column; the title and completion are kept.
  void Clear() noexcept;

  [[nodiscard]] int NItems() const noexcept { return int(items.size()); }
  // Null outside 0 … NItems() − 1.
  [[nodiscard]] IMenuItem* Item(int index) const noexcept;

  [[nodiscard]] int ChosenIndex() const noexcept { return chosenIndex; }
  // The window reports the user's pick (−1 for none) and runs the completion function.
  void SetChosenIndex(int index) noexcept { chosenIndex = index; }
  [[nodiscard]] IMenuItem* ChosenItem() const noexcept { return Item(chosenIndex); }

  // 0: none; 1, 2 or 3: items numbered with that many digits.
  [[nodiscard]] int PrefixDigits() const noexcept { return prefixDigits; }
  void SetPrefixDigits(int digits) noexcept { prefixDigits = digits; }
  // 0: one column; otherwise a new column starts every `count` items.
  [[nodiscard]] int ColumnCount() const noexcept { return columnCount; }
  void SetColumnCount(int count) noexcept { columnCount = count; }
  [[nodiscard]] const std::string& RootTitle() const noexcept { return rootTitle; }
  void SetRootTitle(std::string_view title) { rootTitle = title; }

  void SetCompletion(CompletionFn function) { completion = std::move(function); }
  [[nodiscard]] const CompletionFn& Completion() const noexcept { return completion; }

private:
  std::vector<std::unique_ptr<IMenuItem>> items;
  int chosenIndex = -1;
  int prefixDigits = 0;
  int columnCount = 0;
  std::string rootTitle;
  CompletionFn completion;
};

} // namespace kit::ui
