#include "graphics/text_entry.h"

#include "framework/param.h"
#include "graphics/draw_context.h"
#include "graphics/utf8_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kit::ui
{
namespace
{

constexpr float kTextInset = 2.0f; // keeps the first and last glyph off the field's edge
constexpr float kSelectionMix = 0.35f;

// Whether the field lets c through for a parameter of this kind: numbers only for numeric
// kinds, with a decimal point only where the value can have a fraction.
bool KindAccepts(const IParam* param, char32_t c)
{
  if (param == nullptr) return true;
  const bool digitOrSign = (c >= U'0' && c <= U'9') || c == U'+' || c == U'-';
  switch (param->Type())
  {
  case IParam::kTypeBool:
  case IParam::kTypeInt:
  case IParam::kTypeEnum:
    return digitOrSign;
  case IParam::kTypeDouble:
    return digitOrSign || c == U'.';
  case IParam::kTypeNone:
    break;
  }
  return true;
}

bool SameColour(const IRgba& a, const IRgba& b)
{
  return a.R == b.R && a.G == b.G && a.B == b.B;
}

// The text must show on the background: an entry colour equal to it (or fully transparent)
// gives way to the style's text colour, and that to black or white, whichever stands out.
IRgba TextColour(const ITextStyle& style, const IRgba& background)
{
  const auto visible = [&](const IRgba& colour) { return colour.A > 0 && !SameColour(colour, background); };
  if (!(style.entryForeground == style.entryBackground) && visible(style.entryForeground))
    return { 255, style.entryForeground.R, style.entryForeground.G, style.entryForeground.B };
  if (visible(style.colour)) return { 255, style.colour.R, style.colour.G, style.colour.B };
  const int luma = (299 * background.R + 587 * background.G + 114 * background.B) / 1000;
  return luma < 128 ? IRgba { 255, 255, 255, 255 } : IRgba { 255, 0, 0, 0 };
}

std::int32_t Mix(std::int32_t from, std::int32_t to, float amount)
{
  return std::int32_t(float(from) + amount * float(to - from) + 0.5f);
}

// The style the field draws its text in: upright, placed at an exact left edge so the caret
// and the hit test agree with the glyphs.
ITextStyle FieldTextStyle(const ITextStyle& style, const IRgba& colour)
{
  ITextStyle field = style;
  field.colour = colour;
  field.angle = 0.0f;
  field.align = EAlign::kNear;
  field.valign = EVAlign::kMiddle;
  return field;
}

float PrefixWidth(IDrawContext& graphics, const ITextStyle& style, std::string_view text, std::size_t end)
{
  IBounds box;
  return graphics.MeasureTextWidth(style, text.substr(0, end), box);
}

} // namespace

ITextEntry::ITextEntry(const IParam* entryParam, const ITextStyle& entryStyle, const IBounds& entryBounds,
                       int entryCharLimit, std::string_view initialText)
    : param(entryParam)
    , style(entryStyle)
    , bounds(entryBounds)
    , charLimit(entryCharLimit)
    , text(initialText.substr(0, charLimit > 0 ? Utf8PrefixBytes(initialText, std::size_t(charLimit))
                                               : initialText.size()))
    , caret(text.size())
{
}

std::size_t ITextEntry::SelectionStart() const noexcept
{
  return std::min(caret, anchor);
}

std::size_t ITextEntry::SelectionEnd() const noexcept
{
  return std::max(caret, anchor);
}

ITextEntry::EResult ITextEntry::OnKey(EEntryKey key, bool shift)
{
  const std::size_t oldCaret = caret;
  const std::size_t oldAnchor = anchor;
  const std::size_t start = SelectionStart();
  const std::size_t end = SelectionEnd();
  const auto moveTo = [&](std::size_t position)
  {
    caret = position;
    if (!shift) anchor = position;
  };
  switch (key)
  {
  case EEntryKey::kReturn:
    return EResult::kCommit;
  case EEntryKey::kEscape:
    return EResult::kCancel;
  case EEntryKey::kBackspace:
  case EEntryKey::kDelete:
  {
    std::size_t from = start;
    std::size_t to = end;
    if (from == to)
    {
      if (key == EEntryKey::kBackspace)
        from = Utf8PreviousBoundary(text, caret);
      else
        to = Utf8NextBoundary(text, caret);
    }
    if (from == to) return EResult::kIgnored;
    text.erase(from, to - from);
    caret = anchor = from;
    return EResult::kChanged;
  }
  case EEntryKey::kLeft:
    if (!shift && start != end)
      moveTo(start);
    else
      moveTo(Utf8PreviousBoundary(text, caret));
    break;
  case EEntryKey::kRight:
    if (!shift && start != end)
      moveTo(end);
    else
      moveTo(Utf8NextBoundary(text, caret));
    break;
  case EEntryKey::kHome:
    moveTo(0);
    break;
  case EEntryKey::kEnd:
    moveTo(text.size());
    break;
  case EEntryKey::kSelectAll:
    anchor = 0;
    caret = text.size();
    break;
  }
  return caret == oldCaret && anchor == oldAnchor ? EResult::kIgnored : EResult::kChanged;
}

ITextEntry::EResult ITextEntry::OnCharacter(std::string_view utf8)
{
  std::size_t count = 0;
  for (std::size_t at = 0; at < utf8.size();)
  {
    char32_t c = 0;
    const std::size_t length = Utf8Decode(utf8.substr(at), c);
    // Malformed bytes and control characters have no place in a one-line value.
    if (length == 0 || c < 0x20 || c == 0x7f || !KindAccepts(param, c)) return EResult::kIgnored;
    at += length;
    ++count;
  }
  if (count == 0) return EResult::kIgnored;
  const std::size_t start = SelectionStart();
  const std::size_t end = SelectionEnd();
  if (charLimit > 0)
  {
    const std::size_t kept = Utf8Length(text) - Utf8Length(std::string_view(text).substr(start, end - start));
    if (kept + count > std::size_t(charLimit)) return EResult::kIgnored;
  }
  text.replace(start, end - start, utf8);
  caret = anchor = start + utf8.size();
  return EResult::kChanged;
}

ITextEntry::EResult ITextEntry::OnPointerDown(IDrawContext& graphics, float x, float y)
{
  if (!bounds.Contains(x, y)) return EResult::kCommit;
  const ITextStyle textStyle = FieldTextStyle(style, style.colour);
  const float left = TextLeft(graphics);
  std::size_t nearest = 0;
  float nearestDistance = std::abs(x - left);
  for (std::size_t at = 0; at < text.size();)
  {
    at = Utf8NextBoundary(text, at);
    const float distance = std::abs(x - (left + PrefixWidth(graphics, textStyle, text, at)));
    if (distance < nearestDistance)
    {
      nearestDistance = distance;
      nearest = at;
    }
  }
  if (nearest == caret && nearest == anchor) return EResult::kIgnored;
  caret = anchor = nearest;
  return EResult::kChanged;
}

float ITextEntry::TextLeft(IDrawContext& graphics) const
{
  const ITextStyle textStyle = FieldTextStyle(style, style.colour);
  const float innerLeft = bounds.left + kTextInset;
  const float innerRight = bounds.right - kTextInset;
  const float width = PrefixWidth(graphics, textStyle, text, text.size());
  if (width <= innerRight - innerLeft)
  {
    if (style.align == EAlign::kCenter) return bounds.MidX() - width / 2.0f;
    if (style.align == EAlign::kFar) return innerRight - width;
    return innerLeft;
  }
  // Too long to show whole: from its start, unless that would hide the caret.
  const float caretOffset = PrefixWidth(graphics, textStyle, text, caret);
  return caretOffset > innerRight - innerLeft ? innerRight - caretOffset : innerLeft;
}

void ITextEntry::Paint(IDrawContext& graphics) const
{
  const IRgba background { 255, style.entryBackground.R, style.entryBackground.G, style.entryBackground.B };
  const IRgba foreground = TextColour(style, background);
  const ITextStyle textStyle = FieldTextStyle(style, foreground);

  const IBounds window { 0.0f, 0.0f, float(graphics.Width()), float(graphics.Height()) };
  const IBounds outerClip = graphics.ClipBounds().Empty() ? window : graphics.ClipBounds();
  graphics.PathClipRegion(bounds.Intersect(outerClip));

  graphics.PaintRect(background, bounds);
  const float left = TextLeft(graphics);
  const float lineTop = bounds.MidY() - style.size / 2.0f;
  const float lineBottom = bounds.MidY() + style.size / 2.0f;
  const std::size_t start = SelectionStart();
  const std::size_t end = SelectionEnd();
  if (start != end)
  {
    const IRgba selection { 255, Mix(background.R, foreground.R, kSelectionMix),
                            Mix(background.G, foreground.G, kSelectionMix),
                            Mix(background.B, foreground.B, kSelectionMix) };
    graphics.PaintRect(selection, { left + PrefixWidth(graphics, textStyle, text, start), lineTop,
                                    left + PrefixWidth(graphics, textStyle, text, end), lineBottom });
  }
  const float width = PrefixWidth(graphics, textStyle, text, text.size());
  graphics.RenderText(textStyle, text, { left, bounds.top, left + width, bounds.bottom });
  if (start == end)
  {
    const float pixel = 1.0f / std::max(graphics.DrawScale() * graphics.ScreenScale(), 1e-3f);
    const float x = left + PrefixWidth(graphics, textStyle, text, caret);
    graphics.PaintRect(foreground, { x, lineTop, x + pixel, lineBottom });
  }

  graphics.PathClipRegion(outerClip);
}

} // namespace kit::ui
