// The one-line field a value is typed into, drawn by the editor itself over its controls: the
// text with its caret and selection, the characters a parameter's kind lets through, the
// length limit in characters, and the editing keys. The window feeds it keys and presses and
// paints it after the controls. Editor thread.
#pragma once

#include "graphics/bounds.h"
#include "graphics/text_style.h"

#include <string>
#include <string_view>

namespace kit
{
class IParam;
}

namespace kit::ui
{

class IDrawContext;

// The keys that edit rather than type; the window maps its own key codes onto these.
enum class EEntryKey
{
  kReturn,
  kEscape,
  kBackspace,
  kDelete,
  kLeft,
  kRight,
  kHome,
  kEnd,
  kSelectAll,
};

class ITextEntry
{
public:
  // What an input did to the field.
  enum class EResult
  {
    kIgnored, // nothing changed
    kChanged, // text, caret or selection moved: repaint Bounds()
    kCommit,  // take the text
    kCancel,  // close without taking it
  };

  // param filters typed characters by its kind; null lets every character through. charLimit
  // counts characters, 0 or less for none. The whole text starts selected; a text longer than
  // the limit is cut at a character boundary.
  ITextEntry(const IParam* param, const ITextStyle& style, const IBounds& bounds, int charLimit,
             std::string_view text);

  // shift extends the selection with the caret keys.
  EResult OnKey(EEntryKey key, bool shift);
  // One typed character as UTF-8; dropped when the parameter's kind or the limit refuses it.
  EResult OnCharacter(std::string_view utf8);
  // A press at (x, y) logical units: inside places the caret; outside commits.
  EResult OnPointerDown(IDrawContext& graphics, float x, float y);

  // The background opaque in the entry colour, the text (in the style's own colour when the
  // entry colours cannot be told apart), the selection and the caret, inside Bounds().
  void Paint(IDrawContext& graphics) const;

  [[nodiscard]] const std::string& Text() const noexcept { return text; }
  [[nodiscard]] const IBounds& Bounds() const noexcept { return bounds; }
  // Byte offsets into Text(), always on character boundaries; equal when nothing is selected.
  [[nodiscard]] std::size_t Caret() const noexcept { return caret; }
  [[nodiscard]] std::size_t SelectionStart() const noexcept;
  [[nodiscard]] std::size_t SelectionEnd() const noexcept;

private:
  // Where the text's first glyph starts: as the style aligns it, or scrolled to keep the caret
  // in view when the text is wider than the field.
  [[nodiscard]] float TextLeft(IDrawContext& graphics) const;

  const IParam* param;
  ITextStyle style;
  IBounds bounds;
  int charLimit;
  std::string text;
  std::size_t caret = 0;
  std::size_t anchor = 0; // the selection's other end
};

} // namespace kit::ui
