// A line of text on a filled background, optionally sized to fit its text. It never takes the
// pointer, so clicks reach whatever lies below it. Owned by the graphics context; editor thread.
#pragma once

#include "graphics/control.h"

#include <string>
#include <string_view>

namespace kit::ui
{

class ITextControl : public IControl
{
public:
  // sizeToText: once attached, and after each new text, the bounds become the text's measured
  // extent centred on the old centre.
  ITextControl(const IBounds& bounds, std::string_view text, const ITextStyle& style, const IRgba& backgroundColour,
               bool sizeToText);

  void OnSetup() override;
  // The background, then the text unless this control's own text field is open over it.
  void Paint(IDrawContext& graphics) override;

  // Nothing happens for the text already shown.
  virtual void SetText(std::string_view newText);
  // printf-style; the result is cut to at most maxLength bytes, at a whole UTF-8 character.
  [[gnu::format(printf, 3, 4)]] virtual void SetTextFormatted(int maxLength, const char* format, ...);
  virtual void ClearText();

  [[nodiscard]] const std::string& Text() const noexcept { return text; }

protected:
  std::string text;
  IRgba backgroundColour;
  bool sizeToText;

private:
  void FitBoundsToText();
};

} // namespace kit::ui
