// The text control: sized to its text around its centre when asked, the three ways of setting
// its text, no text drawn under its own open text field, and clicks passing through it.
#include "editor/switch_control.h"
#include "editor/text_control.h"
#include "tests/editor/stock_fixture.h"

#include <gtest/gtest.h>

namespace kit::ui::test
{
namespace
{

ITextStyle VersionStyle()
{
  ITextStyle style;
  style.size = 12.0f;
  style.colour = { 255, 255, 255, 255 };
  return style;
}

TEST(TextControl, SizedToTextAroundTheOldCentre)
{
  StockEditor editor;
  const ITextStyle style = VersionStyle();
  auto& sized =
      editor.Add(std::make_unique<ITextControl>(IBounds(100, 100, 200, 120), "4.1.0", style, IRgba(0, 0, 0, 0), true));
  auto& fixed =
      editor.Add(std::make_unique<ITextControl>(IBounds(384, 490, 458, 502), "4.1.0", style, IRgba(0, 0, 0, 0), false));
  IBounds measured;
  const float width = editor.graphics->MeasureTextWidth(style, "4.1.0", measured);
  ASSERT_GT(width, 10.0f);
  // A line of text is exactly the style's size high.
  EXPECT_NEAR(sized.Bounds().H(), 12.0f, 1e-4f);
  EXPECT_NEAR(sized.Bounds().W(), width, 1e-4f);
  EXPECT_NEAR(sized.Bounds().MidX(), 150.0f, 1e-4f);
  EXPECT_NEAR(sized.Bounds().MidY(), 110.0f, 1e-4f);
  EXPECT_EQ(sized.HitBounds(), sized.Bounds());
  EXPECT_EQ(fixed.Bounds(), IBounds(384, 490, 458, 502)) << "not sized to its text";

  // A longer text widens it about the same centre; no text leaves no extent.
  sized.SetText("4.1.0 beta");
  EXPECT_GT(sized.Bounds().W(), width);
  EXPECT_NEAR(sized.Bounds().MidX(), 150.0f, 1e-4f);
  EXPECT_NEAR(sized.Bounds().MidY(), 110.0f, 1e-4f);
  sized.ClearText();
  EXPECT_EQ(sized.Bounds(), IBounds(150, 110, 150, 110));
}

TEST(TextControl, SettingTheTextAsItIsChangesNothing)
{
  StockEditor editor;
  auto& text = editor.Add(
      std::make_unique<ITextControl>(IBounds(10, 10, 90, 30), "abc", VersionStyle(), IRgba(0, 0, 0, 0), false));
  text.MarkClean();
  text.SetText("abc");
  EXPECT_FALSE(text.IsDirty());
  text.SetText("abd");
  EXPECT_EQ(text.Text(), "abd");
  EXPECT_TRUE(text.IsDirty());
  text.MarkClean();
  text.ClearText();
  EXPECT_EQ(text.Text(), "");
  EXPECT_TRUE(text.IsDirty());
}

TEST(TextControl, FormattedTextIsCutToItsLengthAtAWholeCharacter)
{
  // "é" is two bytes in UTF-8 and "€" three.
  const std::string e = "\xc3\xa9";
  const std::string euro = "\xe2\x82\xac";
  StockEditor editor;
  auto& text =
      editor.Add(std::make_unique<ITextControl>(IBounds(10, 10, 90, 30), "", VersionStyle(), IRgba(0, 0, 0, 0), false));
  const auto check = [&](const char* name, int maxLength, const std::string& expected)
  {
    SCOPED_TRACE(name);
    EXPECT_EQ(text.Text(), expected);
    EXPECT_LE(int(text.Text().size()), std::max(0, maxLength));
    EXPECT_TRUE(text.IsDirty());
    text.MarkClean();
  };
  text.SetTextFormatted(16, "%d %s", 24, "bits");
  check("fits", 16, "24 bits");
  text.SetTextFormatted(4, "%s", "abcdefgh");
  check("cut", 4, "abcd");
  text.SetTextFormatted(3, "a%sb", e.c_str());
  check("a two-byte character that fits", 3, "a" + e);
  text.SetTextFormatted(2, "a%sb", e.c_str());
  check("a two-byte character cut", 2, "a");
  text.SetTextFormatted(3, "a%s", euro.c_str());
  check("a three-byte character cut after two", 3, "a");
  text.SetTextFormatted(4, "a%s", euro.c_str());
  check("a three-byte character that fits", 4, "a" + euro);
  text.SetTextFormatted(0, "%d", 5);
  check("no room", 0, "");
  text.SetTextFormatted(-3, "%d", 5);
  check("a negative length", -3, "");
  text.SetTextFormatted(8, "%d%%", 150);
  check("a percent sign", 8, "150%");
}

TEST(TextControl, TextIsNotDrawnUnderItsOwnOpenTextField)
{
  kit::test::RecordingDelegate delegate;
  kit::test::RecordingDrawContext recording(delegate);
  auto* text = static_cast<ITextControl*>(recording.AddControl(
      std::make_unique<ITextControl>(IBounds(10, 10, 90, 30), "hello", VersionStyle(), IRgba(255, 10, 20, 30), false)));
  auto* other = static_cast<ITextControl*>(recording.AddControl(
      std::make_unique<ITextControl>(IBounds(10, 40, 90, 60), "other", VersionStyle(), IRgba(0, 0, 0, 0), false)));
  const auto paint = [&]
  {
    recording.log.clear();
    text->Paint(recording);
    std::vector<std::string> lines = recording.Lines("fill");
    for (const std::string& line : recording.Lines("text")) lines.push_back(line);
    return lines;
  };
  const std::vector<std::string> withText { "fill (255,10,20,30) opacity 1", "text hello 10 10 90 30" };
  const std::vector<std::string> backgroundOnly { "fill (255,10,20,30) opacity 1" };
  EXPECT_EQ(paint(), withText);
  recording.OpenTextField(*text, VersionStyle(), text->Bounds(), "hello", -1);
  EXPECT_EQ(paint(), backgroundOnly);
  recording.CommitTextField("typed");
  EXPECT_EQ(paint(), withText);
  recording.OpenTextField(*other, VersionStyle(), other->Bounds(), "other", -1);
  EXPECT_EQ(paint(), withText) << "another control's field hides nothing here";
}

TEST(TextControl, ClicksPassThroughToTheControlBelow)
{
  StockEditor editor;
  auto& lamp = editor.Add(std::make_unique<IBSwitchControl>(
      IBounds(240, 462, 248, 470), editor.graphics->LoadBitmapByName("display_button.png", 2), kDither));
  auto& text = editor.Add(
      std::make_unique<ITextControl>(IBounds(230, 455, 260, 475), "DITHER", VersionStyle(), IRgba(0, 0, 0, 0), false));
  EXPECT_TRUE(text.IgnoresPointer());
  EXPECT_EQ(editor.graphics->FindPointerTarget(244, 466, false, false), &lamp);
  EXPECT_EQ(editor.graphics->FindPointerTarget(232, 457, false, false), nullptr) << "nothing else is there";
  editor.Click(244, 466);
  EXPECT_EQ(editor.params.Real(kDither), 1.0);
}

} // namespace
} // namespace kit::ui::test
