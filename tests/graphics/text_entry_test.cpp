// The editor's own text field: characters let through by the parameter's kind, the limit in
// characters, the editing keys, caret placement by pointer, and a field that stays readable
// with the caption's entry colours.
#include "graphics/text_entry.h"

#include "framework/param.h"
#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace kit::ui
{
namespace
{

using test::OpenEditor;

const IBounds kField { 20, 20, 220, 50 };

std::unique_ptr<IParam> MakeParam(IParam::EParamType type)
{
  auto param = std::make_unique<IParam>();
  switch (type)
  {
  case IParam::kTypeBool:
    param->SetupBool("Dither", true);
    break;
  case IParam::kTypeInt:
    param->SetupInt("Target Bits", 16, 8, 32);
    break;
  case IParam::kTypeEnum:
    param->SetupEnum("Shape", 0, 3, "", 0, "", { "Flat", "Light", "Heavy" });
    break;
  case IParam::kTypeDouble:
    param->SetupDouble("Power", 0.0, -1.0, 1.0, 0.01);
    break;
  case IParam::kTypeNone:
    break;
  }
  return param;
}

TEST(TextEntry, CharactersPassAsTheParameterKindAllows)
{
  struct Case
  {
    bool withParam;
    IParam::EParamType type;
    std::string typed;
    bool accepted;
  };
  const Case cases[] = {
    { true, IParam::kTypeInt, "2", true },
    { true, IParam::kTypeInt, "a", false },
    { true, IParam::kTypeInt, "-", true },
    { true, IParam::kTypeInt, "+", true },
    { true, IParam::kTypeInt, ".", false },
    { true, IParam::kTypeInt, " ", false },
    { true, IParam::kTypeBool, "1", true },
    { true, IParam::kTypeBool, "x", false },
    { true, IParam::kTypeEnum, "9", true },
    { true, IParam::kTypeEnum, ".", false },
    { true, IParam::kTypeDouble, ".", true },
    { true, IParam::kTypeDouble, "7", true },
    { true, IParam::kTypeDouble, "e", false },
    { true, IParam::kTypeDouble, "\xc3\xa9", false },
    { false, IParam::kTypeNone, "a", true },
    { false, IParam::kTypeNone, ".", true },
    { false, IParam::kTypeNone, " ", true },
    { false, IParam::kTypeNone, "\xc3\xa9", true },
    // Bytes that are not UTF-8, and control characters, never enter the text.
    { false, IParam::kTypeNone, "\xc3", false },
    { false, IParam::kTypeNone, "\xff", false },
    { false, IParam::kTypeNone, "\t", false },
    { false, IParam::kTypeNone, "", false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " typed '" << c.typed << "'");
    const auto param = MakeParam(c.type);
    ITextEntry entry(c.withParam ? param.get() : nullptr, ITextStyle {}, kField, 0, "");
    const auto result = entry.OnCharacter(c.typed);
    EXPECT_EQ(result, c.accepted ? ITextEntry::EResult::kChanged : ITextEntry::EResult::kIgnored);
    EXPECT_EQ(entry.Text(), c.accepted ? c.typed : "");
  }
}

TEST(TextEntry, TypedSequencesBuildTheValue)
{
  struct Case
  {
    IParam::EParamType type;
    std::string keys; // one byte per typed character
    std::string expected;
  };
  const Case cases[] = {
    { IParam::kTypeInt, "24", "24" },        { IParam::kTypeInt, "-3", "-3" },    { IParam::kTypeInt, "2a4", "24" },
    { IParam::kTypeDouble, "-0.5", "-0.5" }, { IParam::kTypeInt, "-0.5", "-05" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.keys);
    const auto param = MakeParam(c.type);
    ITextEntry entry(param.get(), ITextStyle {}, kField, 0, "16");
    for (const char key : c.keys) static_cast<void>(entry.OnCharacter(std::string(1, key)));
    EXPECT_EQ(entry.Text(), c.expected);
  }
}

TEST(TextEntry, InitialTextIsCutToTheLimitInCharactersAndAllSelected)
{
  struct Case
  {
    std::string text;
    int limit;
    std::string expected;
  };
  const Case cases[] = {
    { "abcdef", 3, "abc" },
    { "a\xc3\xa9"
      "b\xe2\x82\xac",
      3,
      "a\xc3\xa9"
      "b" },
    { "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac", 2, "\xe2\x82\xac\xe2\x82\xac" },
    { "\xf0\x9f\x8e\xb5x", 1, "\xf0\x9f\x8e\xb5" },
    { "short", 10, "short" },
    { "unlimited", 0, "unlimited" },
    { "unlimited", -1, "unlimited" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.text);
    ITextEntry entry(nullptr, ITextStyle {}, kField, c.limit, c.text);
    EXPECT_EQ(entry.Text(), c.expected);
    EXPECT_EQ(entry.SelectionStart(), 0u);
    EXPECT_EQ(entry.SelectionEnd(), c.expected.size());
    EXPECT_EQ(entry.Caret(), c.expected.size());
  }
}

TEST(TextEntry, LimitCountsCharactersNotBytes)
{
  const std::string e = "\xc3\xa9";        // two bytes
  const std::string euro = "\xe2\x82\xac"; // three bytes
  ITextEntry entry(nullptr, ITextStyle {}, kField, 2, "");
  EXPECT_EQ(entry.OnCharacter(e), ITextEntry::EResult::kChanged);
  EXPECT_EQ(entry.OnCharacter(e), ITextEntry::EResult::kChanged);
  EXPECT_EQ(entry.OnCharacter(e), ITextEntry::EResult::kIgnored);
  EXPECT_EQ(entry.Text(), e + e);

  // At the limit a selected character can still be replaced, by one of any length.
  ASSERT_EQ(entry.OnKey(EEntryKey::kLeft, true), ITextEntry::EResult::kChanged);
  EXPECT_EQ(entry.OnCharacter(euro), ITextEntry::EResult::kChanged);
  EXPECT_EQ(entry.Text(), e + euro);
  EXPECT_EQ(entry.Caret(), 5u);
  EXPECT_EQ(entry.OnCharacter("x"), ITextEntry::EResult::kIgnored);
  EXPECT_EQ(entry.Text(), e + euro);
}

TEST(TextEntry, TypingReplacesTheSelection)
{
  ITextEntry entry(nullptr, ITextStyle {}, kField, 0, "16");
  EXPECT_EQ(entry.OnCharacter("2"), ITextEntry::EResult::kChanged);
  EXPECT_EQ(entry.Text(), "2");
  EXPECT_EQ(entry.Caret(), 1u);
  EXPECT_EQ(entry.SelectionStart(), entry.SelectionEnd());
}

TEST(TextEntry, EditingKeysMoveByWholeCharacters)
{
  struct Step
  {
    EEntryKey key;
    bool shift;
    ITextEntry::EResult result;
    std::string text;
    std::size_t caret;
    std::size_t start;
    std::size_t end;
  };
  using R = ITextEntry::EResult;
  // "h", "é" (two bytes), "l", "l", "o": six bytes, all selected at first.
  const Step steps[] = {
    { EEntryKey::kLeft, false, R::kChanged, "h\xc3\xa9llo", 0, 0, 0 },
    { EEntryKey::kLeft, false, R::kIgnored, "h\xc3\xa9llo", 0, 0, 0 },
    { EEntryKey::kRight, false, R::kChanged, "h\xc3\xa9llo", 1, 1, 1 },
    { EEntryKey::kRight, false, R::kChanged, "h\xc3\xa9llo", 3, 3, 3 },
    { EEntryKey::kLeft, true, R::kChanged, "h\xc3\xa9llo", 1, 1, 3 },
    { EEntryKey::kRight, false, R::kChanged, "h\xc3\xa9llo", 3, 3, 3 },
    { EEntryKey::kBackspace, false, R::kChanged, "hllo", 1, 1, 1 },
    { EEntryKey::kDelete, false, R::kChanged, "hlo", 1, 1, 1 },
    { EEntryKey::kEnd, true, R::kChanged, "hlo", 3, 1, 3 },
    { EEntryKey::kLeft, false, R::kChanged, "hlo", 1, 1, 1 },
    { EEntryKey::kEnd, false, R::kChanged, "hlo", 3, 3, 3 },
    { EEntryKey::kDelete, false, R::kIgnored, "hlo", 3, 3, 3 },
    { EEntryKey::kRight, false, R::kIgnored, "hlo", 3, 3, 3 },
    { EEntryKey::kHome, true, R::kChanged, "hlo", 0, 0, 3 },
    { EEntryKey::kBackspace, false, R::kChanged, "", 0, 0, 0 },
    { EEntryKey::kBackspace, false, R::kIgnored, "", 0, 0, 0 },
  };
  ITextEntry entry(nullptr, ITextStyle {}, kField, 0, "h\xc3\xa9llo");
  int index = 0;
  for (const Step& step : steps)
  {
    SCOPED_TRACE(testing::Message() << "step " << index++);
    EXPECT_EQ(entry.OnKey(step.key, step.shift), step.result);
    EXPECT_EQ(entry.Text(), step.text);
    EXPECT_EQ(entry.Caret(), step.caret);
    EXPECT_EQ(entry.SelectionStart(), step.start);
    EXPECT_EQ(entry.SelectionEnd(), step.end);
  }
}

TEST(TextEntry, SelectAllAndDeleteEmptiesTheText)
{
  ITextEntry entry(nullptr, ITextStyle {}, kField, 0, "a\xe2\x82\xac");
  ASSERT_EQ(entry.OnKey(EEntryKey::kHome, false), ITextEntry::EResult::kChanged);
  EXPECT_EQ(entry.OnKey(EEntryKey::kSelectAll, false), ITextEntry::EResult::kChanged);
  EXPECT_EQ(entry.SelectionStart(), 0u);
  EXPECT_EQ(entry.SelectionEnd(), 4u);
  EXPECT_EQ(entry.OnKey(EEntryKey::kDelete, false), ITextEntry::EResult::kChanged);
  EXPECT_EQ(entry.Text(), "");
}

TEST(TextEntry, ReturnCommitsAndEscapeCancels)
{
  ITextEntry entry(nullptr, ITextStyle {}, kField, 0, "24");
  EXPECT_EQ(entry.OnKey(EEntryKey::kReturn, false), ITextEntry::EResult::kCommit);
  EXPECT_EQ(entry.OnKey(EEntryKey::kEscape, false), ITextEntry::EResult::kCancel);
  EXPECT_EQ(entry.Text(), "24");
}

class TextEntryDrawn : public testing::Test
{
protected:
  TextEntryDrawn()
      : editor(300, 100)
  {
    EXPECT_TRUE(editor->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  }

  static ITextStyle Style(EAlign align)
  {
    ITextStyle style;
    style.size = 14.0f;
    style.colour = { 255, 255, 255, 255 };
    style.entryBackground = { 255, 250, 250, 250 };
    style.entryForeground = { 255, 0, 0, 0 };
    style.align = align;
    return style;
  }

  // The width of one digit; Roboto's digits all advance alike.
  float DigitWidth()
  {
    IBounds box;
    return editor->MeasureTextWidth(Style(EAlign::kNear), "1", box);
  }

  OpenEditor editor;
};

TEST_F(TextEntryDrawn, PressPlacesTheCaretAtTheNearestBoundary)
{
  struct Case
  {
    EAlign align;
    float x;      // offset from the field's centre, in digit widths
    float offset; // or from the field's left edge, in units, when not 0
    std::size_t caret;
  };
  // "1111" centred: its middle boundary at the field's centre, each digit one width further.
  const Case cases[] = {
    { EAlign::kCenter, 0.0f, 0.0f, 2 },  { EAlign::kCenter, 1.0f, 0.0f, 3 }, { EAlign::kCenter, -1.0f, 0.0f, 1 },
    { EAlign::kCenter, 0.4f, 0.0f, 2 },  { EAlign::kCenter, 0.6f, 0.0f, 3 }, { EAlign::kCenter, 5.0f, 0.0f, 4 },
    { EAlign::kCenter, -5.0f, 0.0f, 0 }, { EAlign::kNear, 0.0f, 1.0f, 0 },   { EAlign::kNear, 0.0f, 199.0f, 4 },
    { EAlign::kFar, 0.0f, 1.0f, 0 },     { EAlign::kFar, 0.0f, 199.0f, 4 },
  };
  const float digit = DigitWidth();
  ASSERT_GT(digit, 3.0f);
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "align " << int(c.align) << " x " << c.x << " offset " << c.offset);
    ITextEntry entry(nullptr, Style(c.align), kField, 0, "1111");
    const float x = c.offset != 0.0f ? kField.left + c.offset : kField.MidX() + c.x * digit;
    const auto result = entry.OnPointerDown(*editor, x, kField.MidY());
    EXPECT_EQ(result, ITextEntry::EResult::kChanged);
    EXPECT_EQ(entry.Caret(), c.caret);
    EXPECT_EQ(entry.SelectionStart(), entry.SelectionEnd());
  }
}

TEST_F(TextEntryDrawn, PressOutsideCommits)
{
  for (const auto& point : { IBounds { 10, 30, 0, 0 }, IBounds { 230, 30, 0, 0 }, IBounds { 100, 60, 0, 0 } })
  {
    ITextEntry entry(nullptr, Style(EAlign::kCenter), kField, 0, "24");
    EXPECT_EQ(entry.OnPointerDown(*editor, point.left, point.top), ITextEntry::EResult::kCommit);
    EXPECT_EQ(entry.SelectionEnd(), 2u);
  }
}

// The brightest and darkest red channel inside the field, and whether every pixel is opaque.
struct FieldPixels
{
  int minRed = 255;
  int maxRed = 0;
  bool opaque = true;
};

FieldPixels ReadField(IDrawContext& graphics, const IBounds& area)
{
  FieldPixels pixels;
  for (float y = area.top + 0.5f; y < area.bottom; y += 1.0f)
  {
    for (float x = area.left + 0.5f; x < area.right; x += 1.0f)
    {
      const IRgba pixel = graphics.ReadPixel(x, y);
      pixels.minRed = std::min(pixels.minRed, pixel.R);
      pixels.maxRed = std::max(pixels.maxRed, pixel.R);
      pixels.opaque = pixels.opaque && pixel.A == 255;
    }
  }
  return pixels;
}

// The caption style's entry colours are both transparent black: the field must still show its
// text, in the style's own colour, on an opaque background; and equal colours all round give
// a text that contrasts with the background.
TEST_F(TextEntryDrawn, TextStaysReadableWhenTheEntryColoursAreEqual)
{
  struct Case
  {
    IRgba colour;
    IRgba entryBackground;
    IRgba entryForeground;
    int backgroundRed; // the opaque background
    bool textBright;   // the text brighter than the background
  };
  const Case cases[] = {
    { { 255, 255, 255, 255 }, { 0, 0, 0, 0 }, { 0, 0, 0, 0 }, 0, true },
    { { 255, 0, 0, 0 }, { 255, 0, 0, 0 }, { 255, 0, 0, 0 }, 0, true },
    { { 255, 255, 255, 255 }, { 255, 255, 255, 255 }, { 255, 255, 255, 255 }, 255, false },
    { { 255, 255, 255, 255 }, { 255, 240, 240, 240 }, { 255, 10, 10, 10 }, 240, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "background " << c.backgroundRed << " bright " << c.textBright);
    ITextStyle style = Style(EAlign::kCenter);
    style.colour = c.colour;
    style.entryBackground = c.entryBackground;
    style.entryForeground = c.entryForeground;
    ITextEntry entry(nullptr, style, kField, 0, "24 bits");
    ASSERT_EQ(entry.OnKey(EEntryKey::kEnd, false), ITextEntry::EResult::kChanged);
    editor->BeginFrame();
    editor->PaintRect({ 255, 128, 128, 128 }, { 0, 0, 300, 100 });
    entry.Paint(*editor);
    editor->EndFrame();

    const IRgba corner = editor->ReadPixel(kField.left + 0.5f, kField.top + 0.5f);
    EXPECT_EQ(corner, (IRgba { 255, c.backgroundRed, c.backgroundRed, c.backgroundRed }));
    const FieldPixels pixels = ReadField(*editor, kField);
    EXPECT_TRUE(pixels.opaque);
    if (c.textBright)
      EXPECT_GE(pixels.maxRed, c.backgroundRed + 150);
    else
      EXPECT_LE(pixels.minRed, c.backgroundRed - 150);
    // Nothing is drawn outside the field.
    EXPECT_EQ(editor->ReadPixel(kField.left - 0.5f, kField.MidY()), (IRgba { 255, 128, 128, 128 }));
    EXPECT_EQ(editor->ReadPixel(kField.right + 0.5f, kField.MidY()), (IRgba { 255, 128, 128, 128 }));
  }
}

// Spaces have no ink: what shows behind them is the selection alone.
TEST_F(TextEntryDrawn, SelectionIsHighlightedBehindTheText)
{
  ITextEntry entry(nullptr, Style(EAlign::kCenter), kField, 0, "        ");
  const auto paintAndRead = [&]
  {
    editor->BeginFrame();
    entry.Paint(*editor);
    editor->EndFrame();
    return editor->ReadPixel(kField.MidX() + 2.5f, kField.MidY());
  };
  const IRgba selected = paintAndRead();
  ASSERT_EQ(entry.OnKey(EEntryKey::kEnd, false), ITextEntry::EResult::kChanged);
  const IRgba unselected = paintAndRead();
  EXPECT_EQ(unselected, (IRgba { 255, 250, 250, 250 }));
  EXPECT_LE(selected.R, 250 - 40);
}

// With nothing selected a caret one device pixel wide marks the insertion point, whatever the
// zoom and display density.
TEST(TextEntryCaret, IsOneDevicePixelWideAtEveryScale)
{
  struct Case
  {
    float zoom;
    float density;
  };
  const Case cases[] = { { 1.0f, 1.0f }, { 2.0f, 1.0f }, { 1.0f, 2.0f }, { 1.5f, 2.0f } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " density " << c.density);
    OpenEditor editor(300, 100, c.zoom, c.density);
    ASSERT_TRUE(editor->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
    ITextStyle style;
    style.entryBackground = { 255, 250, 250, 250 };
    style.entryForeground = { 255, 0, 0, 0 };
    style.align = EAlign::kNear;
    ITextEntry entry(nullptr, style, kField, 0, "");
    editor->BeginFrame();
    entry.Paint(*editor);
    editor->EndFrame();
    const float scale = c.zoom * c.density;
    const int row = int(kField.MidY() * scale);
    int darkColumns = 0;
    for (int x = int(kField.left * scale); x < int((kField.left + 10.0f) * scale); ++x)
      if (editor.At(x, row).r < 128) ++darkColumns;
    EXPECT_EQ(darkColumns, 1);
  }
}

} // namespace
} // namespace kit::ui
