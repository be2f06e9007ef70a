// X input to the editor's entry points: presses, releases, wheel notches, drags and hover in
// logical units, keys through the keyboard mapping (those the editor leaves go to the host's
// window), and the cursor: its shapes, hiding it, holding it in place during a drag.
#include "graphics/platform/draw_context_x11.h"
#include "graphics/platform/x11_cursors.h"
#include "graphics/platform/x11_keys.h"

#include <X11/Xutil.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kit::ui
{

namespace
{

// Two presses of one button this close in time and place make a double click, as X toolkits
// count them.
constexpr std::uint32_t kDoubleClickMs = 400;
constexpr int kDoubleClickPixels = 4;

unsigned int ButtonMask(unsigned int button) noexcept
{
  switch (button)
  {
  case Button1:
    return Button1Mask;
  case Button3:
    return Button3Mask;
  default:
    return 0;
  }
}

} // namespace

bool IDrawContextX11::CanCallX() const noexcept
{
  return display != nullptr && window != 0 && !windowGone;
}

IPointerMods IDrawContextX11::ModsOf(unsigned int held) const noexcept
{
  IPointerMods mods;
  mods.L = (held & Button1Mask) != 0;
  mods.R = (held & Button3Mask) != 0;
  mods.S = (held & ShiftMask) != 0;
  mods.C = (held & ControlMask) != 0;
  mods.A = (held & Mod1Mask) != 0;
  return mods;
}

IPointerEvent IDrawContextX11::PointerEventAt(int pixelX, int pixelY, unsigned int held)
{
  const float scale = TotalScale();
  IPointerEvent event;
  event.x = float(pixelX) / scale;
  event.y = float(pixelY) / scale;
  event.mods = ModsOf(held);
  SetLastPointer(event.x, event.y);
  return event;
}

void IDrawContextX11::HandleButtonPress(const XButtonEvent& event)
{
  if (PromptTakesButton(event)) return;
  if (event.button == Button4 || event.button == Button5)
  {
    const IPointerEvent wheel = PointerEventAt(event.x, event.y, event.state);
    (void)OnPointerWheel(wheel.x, wheel.y, wheel.mods, event.button == Button4 ? 1.0f : -1.0f);
    return;
  }
  if (event.button != Button1 && event.button != Button3) return;
  // The focus follows a press, never the window's creation: the host's window may not be
  // mapped yet then.
  if (CanCallX()) XSetInputFocus(display, window, RevertToParent, event.time);
  // X reports the state before the event: the button just pressed is held from now on.
  const std::array<IPointerEvent, 1> press { PointerEventAt(event.x, event.y, event.state | ButtonMask(event.button)) };
  const auto elapsedMs = std::uint32_t(event.time) - std::uint32_t(lastPressTime);
  const bool doubleClick = event.button == lastPressButton && elapsedMs <= kDoubleClickMs &&
                           std::abs(event.x - lastPressX) <= kDoubleClickPixels &&
                           std::abs(event.y - lastPressY) <= kDoubleClickPixels;
  lastPressTime = event.time;
  lastPressX = event.x;
  lastPressY = event.y;
  if (doubleClick)
  {
    // A third press starts counting anew.
    lastPressButton = 0;
    if (OnPointerDoubleClick(press[0].x, press[0].y, press[0].mods)) return;
  }
  else
  {
    lastPressButton = event.button;
  }
  OnPointerDown(press);
}

void IDrawContextX11::HandleButtonRelease(const XButtonEvent& event)
{
  if (event.button != Button1 && event.button != Button3) return;
  // The state is the one before the release: the released button no longer counts as held.
  const std::array<IPointerEvent, 1> release { PointerEventAt(event.x, event.y,
                                                              event.state & ~ButtonMask(event.button)) };
  OnPointerUp(release);
}

void IDrawContextX11::HandleMotion(const XMotionEvent& event)
{
  // A burst of motion is one step: its movement summed in order, from where the pointer was
  // before the warp and from the hidden point after the warp's own motion, which moves nothing.
  const float scale = TotalScale();
  float fromX = LastPointerX();
  float fromY = LastPointerY();
  float movedX = 0.0f;
  float movedY = 0.0f;
  bool moved = false;
  const auto add = [&](const XMotionEvent& motion)
  {
    if (warpPending && motion.x == warpX && motion.y == warpY)
    {
      warpPending = false;
      fromX = hiddenX;
      fromY = hiddenY;
      return;
    }
    const float x = float(motion.x) / scale;
    const float y = float(motion.y) / scale;
    movedX += x - fromX;
    movedY += y - fromY;
    fromX = x;
    fromY = y;
    moved = true;
  };
  add(event);
  XMotionEvent latest = event;
  // Only motions that follow one another directly: a press or release between them keeps its place.
  while (CanCallX() && XEventsQueued(display, QueuedAfterReading) > 0)
  {
    XEvent next;
    XPeekEvent(display, &next);
    if (next.type != MotionNotify || next.xmotion.window != window) break;
    XNextEvent(display, &next);
    latest = next.xmotion;
    add(latest);
  }
  if (PromptTakesMotion(latest)) return;
  SetLastPointer(fromX, fromY);
  if (!moved) return;
  const IPointerMods mods = ModsOf(latest.state);
  if (!mods.L && !mods.R)
  {
    (void)OnPointerHover(fromX, fromY, mods);
    return;
  }
  const std::array<IPointerEvent, 1> drag { IPointerEvent { fromX, fromY, movedX, movedY, mods } };
  if (movedX != 0.0f || movedY != 0.0f) OnPointerDrag(drag);
  // A locked cursor stays where it was hidden, so a long drag never meets the screen's edge.
  if (CursorLocked()) WarpToHiddenPoint();
}

void IDrawContextX11::HandleLeave(const XCrossingEvent& event)
{
  if (event.mode != NotifyNormal) return;
  OnPointerLeave();
  // Leaving showed the arrow but kept the kind; the pointer finds that kind again when it
  // comes back, as the window's own cursor.
  if (CanCallX() && !CursorHidden()) XDefineCursor(display, window, FontCursorOf(display, cursors, SavedCursor()));
}

void IDrawContextX11::HandleFocusOut(const XFocusChangeEvent& event)
{
  // The pointer's own focus changes and a child's mean nothing for the field.
  if (event.detail == NotifyPointer || event.detail == NotifyInferior) return;
  if (textEntry && textFieldState != ETextFieldState::kCancel) textFieldState = ETextFieldState::kCommit;
}

void IDrawContextX11::HandleKey(XKeyEvent& event, bool down)
{
  if (PromptTakesKey(event, down)) return;
  const X11Key key = LookupKey(event);
  if (key.single)
  {
    IKeyEvent keyEvent;
    keyEvent.virtualKey = int(key.keysym);
    keyEvent.SetText(key.text);
    keyEvent.S = (event.state & ShiftMask) != 0;
    keyEvent.C = (event.state & ControlMask) != 0;
    keyEvent.A = (event.state & Mod1Mask) != 0;
    const float scale = TotalScale();
    const float x = float(event.x) / scale;
    const float y = float(event.y) / scale;
    if (down ? OnKeyDown(x, y, keyEvent) : OnKeyUp(x, y, keyEvent)) return;
  }
  // The host hears the keys the editor leaves, as if they had been typed into its own window.
  if (!CanCallX() || parentWindow == 0) return;
  XEvent forwarded {};
  forwarded.xkey = event;
  forwarded.xkey.window = parentWindow;
  XSendEvent(display, parentWindow, True, down ? KeyPressMask : KeyReleaseMask, &forwarded);
  XFlush(display);
}

bool IDrawContextX11::GetPointerPosition(float& x, float& y) const
{
  if (!CanCallX()) return false;
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned int held = 0;
  if (!XQueryPointer(display, window, &root, &child, &rootX, &rootY, &windowX, &windowY, &held)) return false;
  const float scale = TotalScale();
  x = float(windowX) / scale;
  y = float(windowY) / scale;
  return true;
}

int IDrawContextX11::SetCursor(int kind)
{
  const int previous = IDrawContext::SetCursor(kind);
  // A hidden cursor stays hidden; showing it again brings back the kind set last.
  if (CanCallX() && !CursorHidden())
  {
    XDefineCursor(display, window, FontCursorOf(display, cursors, kind));
    XFlush(display);
  }
  return previous;
}

void IDrawContextX11::HideCursor(bool hide, bool lock)
{
  const bool wasHidden = CursorHidden();
  const bool wasLocked = CursorLocked();
  IDrawContext::HideCursor(hide, lock);
  if (wasHidden == hide) return;
  if (hide)
  {
    hiddenX = LastPointerX();
    hiddenY = LastPointerY();
  }
  if (!CanCallX()) return;
  if (hide)
  {
    if (emptyCursor == 0) emptyCursor = MakeEmptyCursor(display, window);
    if (emptyCursor != 0) XDefineCursor(display, window, emptyCursor);
  }
  else
  {
    XDefineCursor(display, window, FontCursorOf(display, cursors, SavedCursor()));
    if (wasLocked) WarpToHiddenPoint();
  }
  XFlush(display);
}

void IDrawContextX11::MoveCursor(float x, float y)
{
  if (!CanCallX()) return;
  const float scale = TotalScale();
  XWarpPointer(display, None, window, 0, 0, 0, 0, int(std::lround(x * scale)), int(std::lround(y * scale)));
  float actualX = 0.0f;
  float actualY = 0.0f;
  if (!GetPointerPosition(actualX, actualY)) return;
  SetLastPointer(actualX, actualY);
  hiddenX = actualX;
  hiddenY = actualY;
}

void IDrawContextX11::WarpToHiddenPoint()
{
  if (!CanCallX()) return;
  const float scale = TotalScale();
  const int pixelX = int(std::lround(hiddenX * scale));
  const int pixelY = int(std::lround(hiddenY * scale));
  // Already there: no warp, and no motion of its own to wait for.
  if (int(std::lround(LastPointerX() * scale)) == pixelX && int(std::lround(LastPointerY() * scale)) == pixelY) return;
  XWarpPointer(display, None, window, 0, 0, 0, 0, pixelX, pixelY);
  XFlush(display);
  warpPending = true;
  warpX = pixelX;
  warpY = pixelY;
}

} // namespace kit::ui
