// Text in the Cairo backend: the size rule (a style's size spans ascender to descender),
// alignment, rotation, opacity, and fonts whose metrics cannot size a line. Expected figures
// come from FreeType's own reading of the built-in Roboto.
#include "graphics/draw_context_cairo.h"
#include "graphics/resource_table.h"
#include "tests/graphics/cairo_test_support.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kit::ui
{
namespace
{

using test::OpenEditor;

constexpr IRgba kBlack { 255, 0, 0, 0 };

// Roboto (or a file) as FreeType reads it, in font units.
class RobotoMetrics
{
public:
  RobotoMetrics()
  {
    const EmbeddedResource* font = FindResource("Roboto-Regular.ttf");
    if (font == nullptr || FT_Init_FreeType(&library) != 0 ||
        FT_New_Memory_Face(library, font->bytes, FT_Long(font->size), 0, &face) != 0)
      ADD_FAILURE() << "FreeType cannot read Roboto";
  }
  explicit RobotoMetrics(const std::string& path)
  {
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, path.c_str(), 0, &face) != 0)
      ADD_FAILURE() << "FreeType cannot read " << path;
  }
  ~RobotoMetrics()
  {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
  RobotoMetrics(const RobotoMetrics&) = delete;
  RobotoMetrics& operator=(const RobotoMetrics&) = delete;

  [[nodiscard]] double UnitsPerEm() const { return face->units_per_EM; }
  // The line metrics of the "hhea" table (FreeType's own face->ascender may come from "OS/2").
  [[nodiscard]] double Ascender() const { return HorizontalHeader()->Ascender; }
  [[nodiscard]] double Descender() const { return HorizontalHeader()->Descender; }
  // The em size that makes ascender to descender span `size`.
  [[nodiscard]] double EmSize(double size) const { return size * UnitsPerEm() / (Ascender() - Descender()); }
  // Sum of the unhinted advances, in units of an em of emSize.
  [[nodiscard]] double Advance(const std::string& text, double emSize) const
  {
    double units = 0.0;
    for (const char character : text)
    {
      FT_Load_Char(face, FT_ULong(character), FT_LOAD_NO_SCALE);
      units += double(face->glyph->metrics.horiAdvance);
    }
    return units * emSize / UnitsPerEm();
  }
  // The glyph's ink above the baseline, top and bottom, at emSize (y up).
  void InkHeight(char character, double emSize, double& top, double& bottom) const
  {
    FT_Load_Char(face, FT_ULong(character), FT_LOAD_NO_SCALE);
    const FT_Glyph_Metrics& metrics = face->glyph->metrics;
    top = double(metrics.horiBearingY) * emSize / UnitsPerEm();
    bottom = double(metrics.horiBearingY - metrics.height) * emSize / UnitsPerEm();
  }

private:
  [[nodiscard]] const TT_HoriHeader* HorizontalHeader() const
  {
    return static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  }

  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

// The rows and columns where the frame holds ink (alpha above half).
struct Ink
{
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // inclusive
  int maxAlpha = 0;
  [[nodiscard]] bool Any() const { return right >= 0; }
};
Ink FindInk(const OpenEditor& editor)
{
  Ink ink;
  for (int y = 0; y < editor->FramePixelHeight(); ++y)
  {
    for (int x = 0; x < editor->FramePixelWidth(); ++x)
    {
      const int alpha = editor.At(x, y).a;
      ink.maxAlpha = std::max(ink.maxAlpha, alpha);
      if (alpha <= 127) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

class CairoText : public testing::Test
{
protected:
  static ITextStyle Style(float size, EAlign align = EAlign::kNear, EVAlign valign = EVAlign::kTop, float angle = 0)
  {
    ITextStyle style;
    style.SetFont("Roboto-Regular");
    style.size = size;
    style.colour = kBlack;
    style.align = align;
    style.valign = valign;
    style.angle = angle;
    return style;
  }

  static void LoadRoboto(OpenEditor& editor)
  {
    EXPECT_TRUE(editor->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  }

  RobotoMetrics roboto;
};

// The width measured is FreeType's advances at the em size of the rule, and the box spans the
// style's size from the top.
TEST_F(CairoText, MeasuredWidthAndBoxFollowTheSizeRule)
{
  struct Case
  {
    std::string text;
    float size;
  };
  const Case cases[] = { { "Hello", 12.0f }, { "24 bits", 12.0f }, { "ADAPTIVE ADJUSTMENT", 15.0f }, { "i", 40.0f } };
  OpenEditor editor(300, 100);
  LoadRoboto(editor);
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.text);
    IBounds bounds { 10, 20, 290, 90 };
    const float width = editor->MeasureTextWidth(Style(c.size), c.text, bounds);
    const double expected = roboto.Advance(c.text, roboto.EmSize(c.size));
    EXPECT_NEAR(width, expected, 0.01);
    EXPECT_FLOAT_EQ(bounds.left, 10.0f);
    EXPECT_NEAR(bounds.right, 10.0 + expected, 0.01);
    EXPECT_FLOAT_EQ(bounds.top, 20.0f);
    EXPECT_NEAR(bounds.H(), c.size, 1e-4);
  }
}

// A middle-aligned line is centred: its box, and the ink of a capital H, whose top and bottom
// FreeType gives relative to the baseline.
TEST_F(CairoText, MiddleAlignedLineIsCentredOnTheBounds)
{
  for (const float middle : { 50.0f, 37.5f, 61.0f })
  {
    SCOPED_TRACE(middle);
    const IBounds bounds { 0, middle - 30, 200, middle + 30 };
    OpenEditor editor(200, 100, 1.0f, 2.0f);
    LoadRoboto(editor);
    const ITextStyle style = Style(40.0f, EAlign::kNear, EVAlign::kMiddle);
    IBounds box = bounds;
    static_cast<void>(editor->MeasureTextWidth(style, "H", box));
    EXPECT_NEAR(box.MidY(), middle, 1e-4);

    editor->RenderText(style, "H", bounds);
    editor->EndFrame();
    const double emSize = roboto.EmSize(40.0);
    const double descent = -roboto.Descender() * emSize / roboto.UnitsPerEm();
    const double baseline = middle - descent + 20.0;
    double inkTop = 0.0;
    double inkBottom = 0.0;
    roboto.InkHeight('H', emSize, inkTop, inkBottom);
    const Ink ink = FindInk(editor);
    ASSERT_TRUE(ink.Any());
    // Density 2: two pixels a unit; rows are inclusive.
    EXPECT_NEAR(ink.top / 2.0, baseline - inkTop, 0.75);
    EXPECT_NEAR((ink.bottom + 1) / 2.0, baseline - inkBottom, 0.75);
  }
}

TEST_F(CairoText, HorizontalAlignmentPlacesTheLineAtTheNearCentreOrFarEdge)
{
  const std::string text = "Hil";
  const IBounds bounds { 20, 10, 180, 60 };
  const double width = roboto.Advance(text, roboto.EmSize(30.0));
  struct Case
  {
    EAlign align;
    double shift; // of the ink from where near alignment puts it
  };
  const Case cases[] = { { EAlign::kNear, 0.0 },
                         { EAlign::kCenter, (bounds.W() - width) / 2.0 },
                         { EAlign::kFar, bounds.W() - width } };
  int nearLeft = 0;
  int nearRight = 0;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(int(c.align));
    OpenEditor editor(200, 70);
    LoadRoboto(editor);
    const ITextStyle style = Style(30.0f, c.align, EVAlign::kTop);
    editor->RenderText(style, text, bounds);
    editor->EndFrame();
    const Ink ink = FindInk(editor);
    ASSERT_TRUE(ink.Any());
    if (c.align == EAlign::kNear)
    {
      nearLeft = ink.left;
      nearRight = ink.right;
      EXPECT_GE(ink.left, 20);
    }
    EXPECT_NEAR(ink.left - nearLeft, c.shift, 1.0);
    EXPECT_NEAR(ink.right - nearRight, c.shift, 1.0);
    IBounds box = bounds;
    static_cast<void>(editor->MeasureTextWidth(style, text, box));
    EXPECT_NEAR(box.left, bounds.left + c.shift, 0.01);
  }
}

// Turned text is placed so that the box around the turned line sits in the bounds as aligned,
// and its ink stays inside that box.
TEST_F(CairoText, RotatedTextLiesInsideItsBounds)
{
  struct Case
  {
    float angle;
    EAlign align;
    EVAlign valign;
  };
  const Case cases[] = { { 90.0f, EAlign::kNear, EVAlign::kTop },
                         { -90.0f, EAlign::kFar, EVAlign::kBottom },
                         { 45.0f, EAlign::kCenter, EVAlign::kMiddle },
                         { 180.0f, EAlign::kNear, EVAlign::kBottom } };
  const std::string text = "DITHER";
  const IBounds bounds { 30, 20, 170, 180 };
  const double width = roboto.Advance(text, roboto.EmSize(20.0));
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.angle << " degrees");
    OpenEditor editor(200, 200);
    LoadRoboto(editor);
    const ITextStyle style = Style(20.0f, c.align, c.valign, c.angle);
    IBounds box = bounds;
    static_cast<void>(editor->MeasureTextWidth(style, text, box));
    // The turned box of a width × 20 line.
    const double radians = c.angle * 3.14159265358979 / 180.0;
    const double boxWidth = std::abs(width * std::cos(radians)) + std::abs(20.0 * std::sin(radians));
    const double boxHeight = std::abs(width * std::sin(radians)) + std::abs(20.0 * std::cos(radians));
    EXPECT_NEAR(box.W(), boxWidth, 0.01);
    EXPECT_NEAR(box.H(), boxHeight, 0.01);
    if (c.align == EAlign::kNear)
    {
      EXPECT_NEAR(box.left, bounds.left, 1e-3);
    }
    if (c.align == EAlign::kFar)
    {
      EXPECT_NEAR(box.right, bounds.right, 1e-3);
    }
    if (c.align == EAlign::kCenter)
    {
      EXPECT_NEAR(box.MidX(), bounds.MidX(), 1e-3);
    }
    if (c.valign == EVAlign::kTop)
    {
      EXPECT_NEAR(box.top, bounds.top, 1e-3);
    }
    if (c.valign == EVAlign::kBottom)
    {
      EXPECT_NEAR(box.bottom, bounds.bottom, 1e-3);
    }
    if (c.valign == EVAlign::kMiddle)
    {
      EXPECT_NEAR(box.MidY(), bounds.MidY(), 1e-3);
    }

    editor->RenderText(style, text, bounds);
    editor->EndFrame();
    const Ink ink = FindInk(editor);
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, std::floor(box.left));
    EXPECT_LE(ink.right, std::ceil(box.right));
    EXPECT_GE(ink.top, std::floor(box.top));
    EXPECT_LE(ink.bottom, std::ceil(box.bottom));
  }
}

// The blending's opacity scales the text colour's alpha; its mode is not applied to text.
TEST_F(CairoText, OpacityHalvesAlphaWhateverTheBlendMode)
{
  const EBlend modes[] = { EBlend::kSrcOver, EBlend::kSrcIn, EBlend::kDstOut, EBlend::kXOR, EBlend::kAdd };
  for (const EBlend mode : modes)
  {
    for (const float opacity : { 1.0f, 0.5f })
    {
      SCOPED_TRACE(testing::Message() << "mode " << int(mode) << ", opacity " << opacity);
      OpenEditor editor(120, 80);
      LoadRoboto(editor);
      const IBlending blend { mode, opacity };
      editor->RenderText(Style(60.0f), "H", { 0, 0, 120, 80 }, &blend);
      editor->EndFrame();
      EXPECT_EQ(FindInk(editor).maxAlpha, opacity == 1.0f ? 255 : 127);
    }
  }
}

// Text that is not UTF-8, a missing font and a non-finite angle draw nothing and leave the
// context drawing.
TEST_F(CairoText, UnusableTextDrawsNothingAndLaterDrawingWorks)
{
  OpenEditor editor(100, 50);
  LoadRoboto(editor);
  ITextStyle missing = Style(20.0f);
  missing.SetFont("No-Such-Font");
  ITextStyle turned = Style(20.0f);
  turned.angle = NAN;
  editor->RenderText(Style(20.0f), "\xff\xfe bad", { 0, 0, 100, 50 });
  editor->RenderText(missing, "Hello", { 0, 0, 100, 50 });
  editor->RenderText(turned, "Hello", { 0, 0, 100, 50 });
  IBounds box { 0, 0, 100, 50 };
  EXPECT_EQ(editor->MeasureTextWidth(missing, "Hello", box), 0.0f);
  EXPECT_EQ(box, IBounds {});
  editor->EndFrame();
  EXPECT_FALSE(FindInk(editor).Any());
  editor->RenderText(Style(20.0f), "Hello", { 0, 0, 100, 50 });
  editor->EndFrame();
  EXPECT_TRUE(FindInk(editor).Any());
}

// Roboto with its header changed, written to a file of its own.
std::string WriteAlteredRoboto(const std::string& name, std::size_t offset, std::uint16_t value1, std::size_t offset2,
                               std::uint16_t value2)
{
  const EmbeddedResource* font = FindResource("Roboto-Regular.ttf");
  std::vector<std::uint8_t> bytes(font->bytes, font->bytes + font->size);
  bytes[offset] = std::uint8_t(value1 >> 8);
  bytes[offset + 1] = std::uint8_t(value1);
  bytes[offset2] = std::uint8_t(value2 >> 8);
  bytes[offset2 + 1] = std::uint8_t(value2);
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()) + ".ttf");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path.string();
}

// Where the table with `tag` starts in Roboto, from its table directory.
std::size_t TableOffset(const char* tag)
{
  const EmbeddedResource* font = FindResource("Roboto-Regular.ttf");
  const std::uint8_t* bytes = font->bytes;
  const std::size_t count = (std::size_t(bytes[4]) << 8) | bytes[5];
  for (std::size_t index = 0; index < count; ++index)
  {
    const std::uint8_t* record = bytes + 12 + 16 * index;
    if (std::equal(tag, tag + 4, record))
      return (std::size_t(record[8]) << 24) | (std::size_t(record[9]) << 16) | (std::size_t(record[10]) << 8) |
             record[11];
  }
  ADD_FAILURE() << "no table " << tag;
  return 0;
}

// A font whose ascender equals its descender, or whose em has no units, cannot size a line:
// its text draws nothing and measures 0 instead of dividing by zero.
TEST_F(CairoText, FontThatCannotSizeALineDrawsNothing)
{
  struct Case
  {
    const char* name;
    std::size_t offset, offset2;
    std::uint16_t value, value2;
  };
  const std::size_t hhea = TableOffset("hhea");
  const std::size_t head = TableOffset("head");
  const Case cases[] = {
    { "flat-roboto", hhea + 4, hhea + 6, 1000, 1000 }, // ascender = descender
    { "emless-roboto", head + 18, head + 18, 0, 0 },   // unitsPerEm 0
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    const std::string path = WriteAlteredRoboto(c.name, c.offset, c.value, c.offset2, c.value2);
    OpenEditor editor(100, 50);
    LoadRoboto(editor);
    static_cast<void>(editor->LoadFontByName(c.name, path));
    ITextStyle style = Style(20.0f);
    style.SetFont(c.name);
    editor->RenderText(style, "Hello", { 0, 0, 100, 50 });
    editor->EndFrame();
    EXPECT_FALSE(FindInk(editor).Any());
    IBounds box { 0, 0, 100, 50 };
    EXPECT_EQ(editor->MeasureTextWidth(style, "Hello", box), 0.0f);
    EXPECT_EQ(box, IBounds {});
    // The same editor still draws in a font that can.
    editor->RenderText(Style(20.0f), "Hello", { 0, 0, 100, 50 });
    editor->EndFrame();
    EXPECT_TRUE(FindInk(editor).Any());
    std::filesystem::remove(path);
  }
}

// The worked figures: unitsPerEm 2048, ascender 2146, descender −555 make size 12 an em of
// about 9.1. Debian's Roboto has 1900 and −500 in its "hhea", so a copy is given those values.
TEST_F(CairoText, WorkedSizeRuleOnAFontWithAscender2146AndDescender555)
{
  const std::size_t hhea = TableOffset("hhea");
  const std::string path =
      WriteAlteredRoboto("worked-roboto", hhea + 4, 2146, hhea + 6, std::uint16_t(std::int16_t(-555)));
  RobotoMetrics altered(path);
  EXPECT_EQ(altered.UnitsPerEm(), 2048);
  EXPECT_EQ(altered.Ascender(), 2146);
  EXPECT_EQ(altered.Descender(), -555);
  const double emSize = altered.EmSize(12.0);
  EXPECT_NEAR(emSize, 9.1, 0.05);

  OpenEditor editor(200, 50);
  ASSERT_TRUE(editor->LoadFontByName("worked-roboto", path));
  ITextStyle style = Style(12.0f);
  style.SetFont("worked-roboto");
  IBounds box { 10, 10, 190, 40 };
  EXPECT_NEAR(editor->MeasureTextWidth(style, "Target Bits", box), altered.Advance("Target Bits", emSize), 0.01);
  EXPECT_NEAR(box.H(), 12.0, 1e-4);
  std::filesystem::remove(path);
}

} // namespace
} // namespace kit::ui
