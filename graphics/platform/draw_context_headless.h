// A platform layer without a window: the editor draws into the Cairo backend's frame buffer,
// a display tick repaints what is dirty, cursor and prompt requests are recorded for the caller
// to inspect and answer, and the frame can be written as a PNG file. Used by tests and for
// snapshots of the editor. Editor thread, like the drawing context.
#pragma once

#include "graphics/draw_context_cairo.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kit::ui
{

class IDrawContextHeadless : public IDrawContextCairo
{
public:
  // One request to the pointer cursor, in the order they came.
  struct CursorRequest
  {
    enum class EKind
    {
      kHide, // hide and lock as given
      kMove, // to (x, y) logical units
      kSet,  // cursor kind
    };
    EKind kind = EKind::kSet;
    bool hide = false;
    bool lock = false;
    float x = 0.0f;
    float y = 0.0f;
    int cursor = 0;
  };

  // The text field the dispatch asked for last; answer it with CommitTextField (the typed text)
  // or CancelTextField.
  struct TextFieldRequest
  {
    int paramIndex = -1;
    ITextStyle style;
    IBounds bounds;
    int charLimit = 0;
    std::string text;
  };

  // The menu the dispatch asked for last; answer it with CommitMenuChoice (the menu with its
  // chosen index set, or null when nothing was chosen).
  struct MenuRequest
  {
    IMenu* menu = nullptr;
    IBounds bounds;
  };

  IDrawContextHeadless(IEditorDelegate& editorDelegate, int logicalWidth, int logicalHeight, int tickRate, float zoom);
  ~IDrawContextHeadless() override;

  // The display density OpenWindow adopts (1 unless set before).
  void SetDisplayDensity(float density) noexcept { displayDensity = density; }

  // What a window's display tick does: collect the dirty regions, mark the controls clean and
  // paint the regions. True when anything was painted.
  bool Tick();

  // Writes the frame buffer as PNG under a temporary name beside path, then renames it into
  // place; false (and no file left behind) when there is no frame or the file cannot be written.
  [[nodiscard]] bool WritePng(const std::filesystem::path& path) const;

  [[nodiscard]] const std::vector<CursorRequest>& CursorRequests() const noexcept { return cursorRequests; }
  [[nodiscard]] const std::optional<TextFieldRequest>& TextField() const noexcept { return textField; }
  [[nodiscard]] const std::optional<MenuRequest>& PopupMenu() const noexcept { return popupMenu; }

  // Platform operations of the drawing context.

  // Showing a cursor that was hidden with the lock puts the pointer back where it was hidden,
  // as a window does.
  void HideCursor(bool hide, bool lock) override;
  // Also becomes the last pointer position, and the place a locked cursor returns to.
  void MoveCursor(float x, float y) override;
  int SetCursor(int kind) override;
  // Forgets the text field.
  void EndTextEntry() override;
  // No window is made: the frame buffer is built, the display density applied, the editor laid
  // out and everything marked dirty. Answers a handle that stands for the open editor; null for
  // a parent window, which this layer cannot draw into.
  [[nodiscard]] void* OpenWindow(void* parent) override;
  // Destroys the controls and forgets the prompts.
  void CloseWindow() override;
  [[nodiscard]] void* WindowHandle() const override;
  [[nodiscard]] const char* PlatformName() const override;
  void CreateTextField(int paramIndex, const ITextStyle& style, const IBounds& bounds, int charLimit,
                       std::string_view text) override;
  // Always completes later: the caller answers through CommitMenuChoice.
  [[nodiscard]] IMenu* CreatePopupMenu(IMenu& menu, const IBounds& bounds, bool& completesLater) override;

private:
  float displayDensity = 1.0f;
  bool open = false;
  float hiddenPointerX = -1.0f;
  float hiddenPointerY = -1.0f;
  std::vector<CursorRequest> cursorRequests;
  std::optional<TextFieldRequest> textField;
  std::optional<MenuRequest> popupMenu;
};

} // namespace kit::ui
