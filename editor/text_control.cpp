#include "editor/text_control.h"

#include "graphics/draw_context.h"

#include <cstdarg>
#include <cstdio>

namespace kit::ui
{

namespace
{

// The length of the longest prefix of text[0, length) that does not end inside a UTF-8
// character: a cut character would make the whole line unreadable to the text drawing.
std::size_t WholeCharacterPrefix(const std::string& text, std::size_t length)
{
  if (length >= text.size()) return text.size();
  std::size_t start = length;
  while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0u) == 0x80u) --start;
  return start;
}

} // namespace

ITextControl::ITextControl(const IBounds& controlBounds, std::string_view initialText, const ITextStyle& style,
                           const IRgba& background, bool fitToText)
    : IControl(controlBounds, -1)
    , text(initialText)
    , backgroundColour(background)
    , sizeToText(fitToText)
{
  textStyle = style;
  ignoresPointer = true;
}

void ITextControl::OnSetup()
{
  if (sizeToText) FitBoundsToText();
}

void ITextControl::Paint(IDrawContext& drawContext)
{
  drawContext.PaintRect(backgroundColour, bounds, &blend);
  if (!text.empty() && drawContext.TextFieldControl() != this) drawContext.RenderText(textStyle, text, bounds, &blend);
}

void ITextControl::SetText(std::string_view newText)
{
  if (newText == text) return;
  text = newText;
  if (sizeToText) FitBoundsToText();
  MarkDirty(false, -1);
}

void ITextControl::SetTextFormatted(int maxLength, const char* format, ...)
{
  std::string full;
  if (format)
  {
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list measuring;
    va_copy(measuring, arguments);
    const int needed = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (needed > 0)
    {
      full.resize(std::size_t(needed));
      (void)std::vsnprintf(full.data(), full.size() + 1, format, arguments);
    }
    va_end(arguments);
  }
  full.resize(WholeCharacterPrefix(full, maxLength > 0 ? std::size_t(maxLength) : 0));
  text = std::move(full);
  if (sizeToText) FitBoundsToText();
  MarkDirty(false, -1);
}

void ITextControl::ClearText()
{
  SetText("");
}

void ITextControl::FitBoundsToText()
{
  if (!graphics) return;
  IBounds measured;
  (void)graphics->MeasureTextWidth(textStyle, text, measured);
  const float halfWidth = 0.5f * measured.W();
  const float halfHeight = 0.5f * measured.H();
  const float centreX = bounds.MidX();
  const float centreY = bounds.MidY();
  bounds = IBounds(centreX - halfWidth, centreY - halfHeight, centreX + halfWidth, centreY + halfHeight);
  hitBounds = bounds;
  pointerIsOver = false;
  OnBoundsChanged();
}

} // namespace kit::ui
