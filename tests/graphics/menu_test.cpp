#include "graphics/menu.h"

#include <gtest/gtest.h>

namespace kit::ui
{
namespace
{

TEST(Menu, ItemsKeepTheirTextFlagsTagAndSubmenu)
{
  IMenu menu("Root");
  menu.AddItem("Flat", IMenuItem::kChecked, 4);
  menu.AddItem("Off", IMenuItem::kDisabled | IMenuItem::kTitle);
  menu.AddSeparator();
  auto sub = std::make_unique<IMenu>();
  sub->AddItem("Deep");
  IMenu* subMenu = sub.get();
  menu.AddSubmenu("More", std::move(sub));
  ASSERT_EQ(menu.NItems(), 4);
  EXPECT_EQ(menu.Item(0)->Text(), "Flat");
  EXPECT_TRUE(menu.Item(0)->Checked());
  EXPECT_TRUE(menu.Item(0)->Enabled());
  EXPECT_EQ(menu.Item(0)->Tag(), 4);
  EXPECT_FALSE(menu.Item(1)->Enabled());
  EXPECT_TRUE(menu.Item(1)->IsTitle());
  EXPECT_EQ(menu.Item(1)->Tag(), -1);
  EXPECT_TRUE(menu.Item(2)->IsSeparator());
  EXPECT_EQ(menu.Item(3)->Submenu(), subMenu);
  EXPECT_EQ(menu.Item(0)->Submenu(), nullptr);
  EXPECT_EQ(menu.Item(4), nullptr);
  EXPECT_EQ(menu.Item(-1), nullptr);
}

TEST(Menu, ClearingEmptiesTheChoicesButKeepsTitleAndCompletion)
{
  IMenu menu("Shape");
  int completions = 0;
  menu.SetCompletion([&completions](IMenu&) { ++completions; });
  menu.AddItem("a");
  menu.SetChosenIndex(0);
  menu.SetPrefixDigits(2);
  menu.SetColumnCount(3);
  menu.Clear();
  EXPECT_EQ(menu.NItems(), 0);
  EXPECT_EQ(menu.ChosenIndex(), -1);
  EXPECT_EQ(menu.ChosenItem(), nullptr);
  EXPECT_EQ(menu.PrefixDigits(), 0);
  EXPECT_EQ(menu.ColumnCount(), 0);
  EXPECT_EQ(menu.RootTitle(), "Shape");
  ASSERT_TRUE(menu.Completion());
  menu.Completion()(menu);
  EXPECT_EQ(completions, 1);
}

TEST(Menu, TheChosenItemFollowsTheIndex)
{
  IMenu menu;
  menu.AddItem("a");
  menu.AddItem("b");
  menu.SetChosenIndex(1);
  ASSERT_NE(menu.ChosenItem(), nullptr);
  EXPECT_EQ(menu.ChosenItem()->Text(), "b");
  menu.SetChosenIndex(5);
  EXPECT_EQ(menu.ChosenItem(), nullptr);
}

} // namespace
} // namespace kit::ui
