// The editor in a host's X11 window: a child window of the host's window on a connection of
// its own, the Cairo frame copied into it (shared memory where the server offers it), the
// display tick and the connection's input driven through the host's main thread, X events
// turned into the editor's pointer and key entry points, cursors, the display density from
// Xft.dpi, and the text field and popup menu drawn over the controls. Every X call is made on
// the thread that opened the window, the host's main thread.
#pragma once

#include "graphics/draw_context_cairo.h"
#include "graphics/popup_menu_view.h"
#include "graphics/text_entry.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

namespace kit::ui
{

class X11FrameCopy;

class IDrawContextX11 : public IDrawContextCairo
{
public:
  // The states of an open text field between display ticks.
  enum class ETextFieldState
  {
    kNone,
    kFocused, // just opened
    kPainted, // a frame was painted around it
    kCancel,  // close it on the next tick without its text
    kCommit,  // take its text on the next tick
  };

  IDrawContextX11(IEditorDelegate& editorDelegate, int logicalWidth, int logicalHeight, int tickRate, float zoom);
  // Closes the text field, the menu and the window.
  ~IDrawContextX11() override;

  // Platform operations of the drawing context.

  // A child of parent (an X11 window id) with the parent's visual and depth; null, with one
  // line for the host's log, when there is no display, the parent is gone or its visual is one
  // the frame's bytes cannot fill.
  [[nodiscard]] void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  [[nodiscard]] void* WindowHandle() const override;
  [[nodiscard]] bool WindowIsOpen() const override;
  [[nodiscard]] const char* PlatformName() const override;
  [[nodiscard]] bool GetPointerPosition(float& x, float& y) const override;
  void HideCursor(bool hide, bool lock) override;
  void MoveCursor(float x, float y) override;
  int SetCursor(int kind) override;
  void EndTextEntry() override;
  void CreateTextField(int paramIndex, const ITextStyle& style, const IBounds& bounds, int charLimit,
                       std::string_view text) override;
  // Always completes later: a choice or a dismissal reaches CommitMenuChoice from the input.
  [[nodiscard]] IMenu* CreatePopupMenu(IMenu& menu, const IBounds& bounds, bool& completesLater) override;
  // Windows are sized in device pixels.
  [[nodiscard]] float WindowSizeFactor() const override;
  // The child window takes its new size; the host's window is never touched.
  void PlatformResize(bool hostHasResized) override;
  void RebuildFrameBuffer() override;
  // Completes the frame, paints the text field and the menu over it, and copies the painted
  // rectangles to the window.
  void EndFrame() override;

  // The display tick: prompt states, input when no descriptor is watched, the density check,
  // then the dirty regions painted.
  void DisplayTick();
  // Reads and handles every queued X event.
  void DrainEvents();
  void HandleEvent(XEvent& event);

  [[nodiscard]] ETextFieldState TextFieldState() const noexcept { return textFieldState; }
  [[nodiscard]] const ITextEntry* TextEntry() const noexcept { return textEntry.get(); }
  [[nodiscard]] const IPopupMenuView* MenuView() const noexcept { return menuView.get(); }
  // The density Xft.dpi gave when last read.
  [[nodiscard]] float ResourceDensity() const noexcept { return resourceDensity; }

private:
  // Input (x11_input.cpp).
  void HandleButtonPress(const XButtonEvent& event);
  void HandleButtonRelease(const XButtonEvent& event);
  void HandleMotion(const XMotionEvent& event);
  void HandleKey(XKeyEvent& event, bool down);
  void HandleLeave(const XCrossingEvent& event);
  // Losing the keyboard focus commits an open text field.
  void HandleFocusOut(const XFocusChangeEvent& event);
  [[nodiscard]] IPointerMods ModsOf(unsigned int state) const noexcept;
  // The event at a window pixel in logical units, remembered as the last pointer position.
  [[nodiscard]] IPointerEvent PointerEventAt(int pixelX, int pixelY, unsigned int held);
  // The pointer back to where the cursor was hidden; its own motion is no drag.
  void WarpToHiddenPoint();
  // The window is open and still there: X calls on it may be made.
  [[nodiscard]] bool CanCallX() const noexcept;

  // Prompts (x11_prompts.cpp).
  // The text field's and the menu's part of the tick; true when the tick ends there.
  [[nodiscard]] bool TickPrompts();
  void CloseTextField();
  void CloseMenu();
  void PaintPrompts();
  // Input while a prompt is open; true when the prompt took the event.
  [[nodiscard]] bool PromptTakesButton(const XButtonEvent& event);
  [[nodiscard]] bool PromptTakesMotion(const XMotionEvent& event);
  [[nodiscard]] bool PromptTakesKey(XKeyEvent& event, bool down);
  // Drawing from now on lands inside bounds only, with no transform.
  void ClipToPrompt(const IBounds& bounds);
  void ApplyEntryResult(ITextEntry::EResult result);
  // before: the menu's bounds before the input, repainted with the new ones.
  void ApplyMenuResult(IPopupMenuView::EResult result, const IBounds& before);
  // Paints the controls in bounds (logical units) at once, the prompts over them.
  void RepaintLogical(const IBounds& bounds);

  // Window (draw_context_x11.cpp).
  // Fails an opening: one line for the host's log, and whatever was made is let go.
  [[nodiscard]] void* RefuseWindow(std::string_view problem);
  // Xft.dpi afresh; a density other than the last one read is applied on the next tick.
  void ReadDensity();
  // The gathered Expose rectangles, widened to logical units, repainted.
  void PaintExposed();
  // Paints the logical regions and notes their device pixels for the copy at the frame's end.
  void PaintLogical(IBoundsList& regions);
  // The connection is gone or the window was destroyed under us: stop drawing. A lost
  // connection is only freed, never used again.
  void Abandon();

  Display* display = nullptr;
  Window window = 0;
  Window parentWindow = 0;
  Visual* visual = nullptr;
  int depth = 0;
  Colormap colormap = 0;
  GC gc = nullptr;
  std::unique_ptr<X11FrameCopy> frameCopy;
  std::vector<IBounds> exposed;      // device pixels, gathered until the last of a series
  std::vector<IBounds> paintedRects; // device pixels painted by the frame under way
  bool windowGone = false;           // destroyed by its parent's destruction, or the connection lost
  bool descriptorWatched = false;
  bool tickRunning = false;
  std::thread::id ownerThread;
  float resourceDensity = 1.0f;
  bool densityChanged = false; // Xft.dpi changed since the tick last applied it
  Atom resourceManagerAtom = 0;
  int windowWidth = 0; // device pixels, as last asked for or reported
  int windowHeight = 0;

  // Pointer.
  Time lastPressTime = 0;
  unsigned int lastPressButton = 0;
  int lastPressX = 0;
  int lastPressY = 0;
  float hiddenX = -1.0f;
  float hiddenY = -1.0f;
  bool warpPending = false; // the motion to (warpX, warpY) is the warp's own
  int warpX = 0;
  int warpY = 0;
  Cursor emptyCursor = 0;
  std::vector<Cursor> cursors; // by kind, made when first asked for

  // Prompts.
  std::unique_ptr<ITextEntry> textEntry;
  ETextFieldState textFieldState = ETextFieldState::kNone;
  std::unique_ptr<IPopupMenuView> menuView;
  IMenu* shownMenu = nullptr;
  bool tickPaintsField = false; // the tick under way paints with the field open: it becomes kPainted
};

} // namespace kit::ui
