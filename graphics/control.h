// The base of every element of the editor: a rectangle, value slots linked to parameters, a
// text style, a blending, state flags and three optional callables. Owned by the graphics
// context, which draws, hit-tests and feeds it; every operation runs on the editor thread.
#pragma once

#include "graphics/bounds.h"
#include "graphics/colour.h"
#include "graphics/draw_styles.h"
#include "graphics/input_types.h"
#include "graphics/text_style.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kit
{
class IEditorDelegate;
class IParam;
struct MidiMessage;
} // namespace kit

namespace kit::ui
{

class IControl;
class IDrawContext;
class IMenu;

// One value of a control: the parameter it shows (−1 for none) and its normalised value.
struct IControlValue
{
  int paramIndex = -1;
  double value = 0.0;
};

using IActionFn = std::function<void(IControl&)>;

// A touch gesture; nothing on this platform produces one.
struct IGestureInfo
{
  int kind = 0;
  float x = 0.0f;
  float y = 0.0f;
};

using IGestureFn = std::function<void(IControl&, const IGestureInfo&)>;

class IControl
{
public:
  static constexpr float kDisabledOpacity = 0.25f;

  IControl(const IBounds& bounds, int paramIndex = -1, IActionFn actionFn = {});
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Virtual operations, in their fixed order; subclasses append theirs after FinishAnimation.

  virtual ~IControl();
  // The base opens the value prompt on a right press.
  virtual void OnPointerDown(float x, float y, const IPointerMods& mods);
  virtual void OnPointerUp(float x, float y, const IPointerMods& mods);
  virtual void OnPointerDrag(float x, float y, float dX, float dY, const IPointerMods& mods);
  virtual void OnPointerDoubleClick(float x, float y, const IPointerMods& mods);
  // delta in whole notches, positive away from the user.
  virtual void OnPointerWheel(float x, float y, const IPointerMods& mods, float delta);
  [[nodiscard]] virtual bool OnKeyDown(float x, float y, const IKeyEvent& key);
  [[nodiscard]] virtual bool OnKeyUp(float x, float y, const IKeyEvent& key);
  virtual void OnPointerHover(float x, float y, const IPointerMods& mods);
  virtual void OnPointerLeave();
  virtual void HandlePointerNotice(float x, float y, const IPointerMods& mods);
  virtual void HandleDroppedPath(std::string_view path);
  virtual void HandleDroppedPaths(const std::vector<std::string>& paths);
  [[nodiscard]] virtual bool AcceptsDrops() const;
  virtual void OnScaleChanged();
  virtual void OnBoundsChanged();
  virtual void OnSetup();
  virtual void OnAdded();
  // A packet from the plug-in's analysis, addressed to this control's tag.
  virtual void ReceivePacket(int messageTag, int byteCount, const void* bytes);
  virtual void ReceiveMidi(const MidiMessage& message);
  [[nodiscard]] virtual bool HandleGesture(const IGestureInfo& info);
  virtual void BuildContextMenu(IMenu& menu);
  // The user picked from the value menu of slot valueIndex; menu is null when nothing was picked.
  virtual void OnMenuChoice(IMenu* menu, int valueIndex);
  virtual void HandleMenuNotice(IMenu* menu);
  // Text typed for a slot without a parameter.
  virtual void OnTextCommitted(std::string_view text, int valueIndex);
  virtual void OnContextChoice(int itemIndex);
  virtual void Paint(IDrawContext& graphics) = 0;
  virtual void PaintHostHighlight(IDrawContext& graphics);
  // A slot outside the value list is ignored (asserted in debug builds).
  virtual void SetParamIndex(int paramIndex, int valueIndex = 0);
  // The slot under (x, y): 0 with one slot, −1 (all) otherwise.
  [[nodiscard]] virtual int ValueIndexAt(float x, float y) const;
  // A value from the host; ignored while this control holds the pointer.
  virtual void ApplyHostValue(double value, int valueIndex = 0);
  virtual void SetValueFromUser(double value, int valueIndex = 0);
  virtual void ResetToDefault(int valueIndex = 0);
  // Stores the value as given: no clamping, no redraw.
  virtual void SetValue(double value, int valueIndex = 0);
  virtual void SetTextStyle(const ITextStyle& style);
  virtual void MoveTo(float x, float y);
  virtual void ResizeTo(float width, float height);
  virtual void SetHidden(bool hide);
  virtual void SetDisabled(bool disable);
  virtual void SetPointerIgnored(bool ignore);
  [[nodiscard]] virtual bool HitTest(float x, float y) const;
  // Clamps the slot (or, for −1, every slot) into 0 … 1 and asks for a repaint; with
  // triggerAction the value goes to the host, to the controls showing the same parameter and
  // to the action function.
  virtual void MarkDirty(bool triggerAction = true, int valueIndex = -1);
  virtual void MarkClean();
  [[nodiscard]] virtual bool NeedsPaint() const;
  virtual void HandleIdleNotice();
  [[nodiscard]] virtual bool WantsGestures() const;
  // direction 0: vertical, 1: horizontal.
  virtual void SnapToPointer(float x, float y, int direction, const IBounds& area, int valueIndex = -1,
                             double low = 0.0, double high = 1.0);
  virtual void FinishAnimation();

  // The graphics context runs the animation function once per display tick.
  void StepAnimation();

  [[nodiscard]] int NumValues() const noexcept { return int(values.size()); }
  // The slot's value or parameter index; 0 and −1 for a slot outside the list.
  [[nodiscard]] double GetValue(int valueIndex = 0) const noexcept;
  [[nodiscard]] int ParamIndexOf(int valueIndex = 0) const noexcept;
  // The slot's parameter, or null when it has none the plug-in knows.
  [[nodiscard]] const IParam* ParamOfSlot(int valueIndex = 0) const noexcept;
  // The first slot linked to paramIndex, or −1.
  [[nodiscard]] int SlotOfParam(int paramIndex) const noexcept;

  // Called by the graphics context when it attaches the control.
  void Attach(IEditorDelegate* editorDelegate, IDrawContext* drawContext, std::string_view groupName);

  [[nodiscard]] const IBounds& Bounds() const noexcept { return bounds; }
  [[nodiscard]] const IBounds& HitBounds() const noexcept { return hitBounds; }
  void SetBounds(const IBounds& newBounds) noexcept { bounds = newBounds; }
  void SetHitBounds(const IBounds& newBounds) noexcept { hitBounds = newBounds; }
  void SetTargetAndDrawBounds(const IBounds& newBounds) noexcept { bounds = hitBounds = newBounds; }
  [[nodiscard]] const std::string& Group() const noexcept { return group; }
  [[nodiscard]] const ITextStyle& TextStyle() const noexcept { return textStyle; }
  [[nodiscard]] const IBlending& Blend() const noexcept { return blend; }
  [[nodiscard]] int EntryCharLimit() const noexcept { return entryCharLimit; }
  void SetEntryCharLimit(int limit) noexcept { entryCharLimit = limit; }
  [[nodiscard]] bool IsDirty() const noexcept { return dirty; }
  [[nodiscard]] bool IsHidden() const noexcept { return hidden; }
  [[nodiscard]] bool IsDisabled() const noexcept { return disabled; }
  [[nodiscard]] bool PromptDisabled() const noexcept { return promptDisabled; }
  void SetPromptDisabled(bool disable) noexcept { promptDisabled = disable; }
  [[nodiscard]] bool DoubleClickAsSingle() const noexcept { return doubleClickAsSingle; }
  void SetDoubleClickAsSingle(bool single) noexcept { doubleClickAsSingle = single; }
  [[nodiscard]] bool PointerOverWhenDisabled() const noexcept { return pointerOverWhenDisabled; }
  void SetPointerOverWhenDisabled(bool allow) noexcept { pointerOverWhenDisabled = allow; }
  [[nodiscard]] bool PointerWhenDisabled() const noexcept { return pointerWhenDisabled; }
  void SetPointerWhenDisabled(bool allow) noexcept { pointerWhenDisabled = allow; }
  [[nodiscard]] bool IgnoresPointer() const noexcept { return ignoresPointer; }
  [[nodiscard]] bool WantsMidi() const noexcept { return wantsMidi; }
  void SetWantsMidi(bool want) noexcept { wantsMidi = want; }
  [[nodiscard]] bool AcceptsTouch() const noexcept { return acceptsTouch; }
  void SetAcceptsTouch(bool accept) noexcept { acceptsTouch = accept; }
  [[nodiscard]] bool PromptShowsLabel() const noexcept { return promptShowsLabel; }
  void SetPromptShowsLabel(bool show) noexcept { promptShowsLabel = show; }
  [[nodiscard]] bool PointerIsOver() const noexcept { return pointerIsOver; }
  [[nodiscard]] const std::string& Tooltip() const noexcept { return tooltip; }
  void SetTooltip(std::string_view text) { tooltip = text; }
  void SetHighlightColour(const IRgba& colour) noexcept { highlightColour = colour; }
  [[nodiscard]] bool IsHighlighted() const noexcept { return highlighted; }
  void SetHighlighted(bool highlight) noexcept { highlighted = highlight; }
  [[nodiscard]] IControl* Parent() const noexcept { return parent; }
  void SetParent(IControl* container) noexcept { parent = container; }
  [[nodiscard]] IEditorDelegate* Delegate() const noexcept { return delegate; }
  [[nodiscard]] IDrawContext* Graphics() const noexcept { return graphics; }
  void SetActionFunction(IActionFn function) { actionFn = std::move(function); }
  void SetAnimation(IActionFn function) { animationFn = std::move(function); }
  void SetAnimationEndFunction(IActionFn function) { animationEndFn = std::move(function); }
  [[nodiscard]] bool IsAnimating() const noexcept { return bool(animationFn); }
  void AttachGestureHandler(int kind, IGestureFn handler);
  [[nodiscard]] int LastGesture() const noexcept { return lastGesture; }

protected:
  IBounds bounds;
  IBounds hitBounds;
  std::string group;
  ITextStyle textStyle;
  IBlending blend;
  int entryCharLimit = 7;
  bool dirty = true;
  bool hidden = false;
  bool disabled = false;
  bool promptDisabled = true;
  bool doubleClickAsSingle = false;
  bool pointerOverWhenDisabled = false;
  bool pointerWhenDisabled = false;
  bool ignoresPointer = false;
  bool wantsMidi = false;
  bool acceptsTouch = false;
  bool promptShowsLabel = false;
  bool pointerIsOver = false;
  std::string tooltip;
  IRgba highlightColour { 255, 255, 0, 0 };
  bool highlighted = false;
  IControl* parent = nullptr;
  IEditorDelegate* delegate = nullptr;
  IDrawContext* graphics = nullptr;
  IActionFn actionFn;
  IActionFn animationEndFn;
  IActionFn animationFn;
  std::int64_t animationStart = 0;
  double animationDuration = 0.0;
  std::vector<IControlValue> values;
  std::unordered_map<int, IGestureFn> gestureHandlers;
  int lastGesture = 0;

private:
  // The slot's value limited to 0 … 1; a NaN gives the slot's latest value that was a number.
  [[nodiscard]] double ClampedValue(int valueIndex) const noexcept;
  void ReportSlot(int valueIndex);
  [[nodiscard]] bool HasSlot(int valueIndex) const noexcept { return valueIndex >= 0 && valueIndex < NumValues(); }

  std::vector<double> lastNumbers; // per slot, written by SetValue
};

} // namespace kit::ui
