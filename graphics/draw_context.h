// The editor's drawing context and control host: the ordered list of controls with their tags,
// the logical size and the two scale factors (zoom and display density), the repaint of dirty
// regions, the drawing interface in logical units, input dispatch with the value prompts, and
// picture and font loading. One per open editor; every operation runs on the editor thread.
// A drawing backend derives from it (paths, pictures, text, frame buffer), a platform window
// from the backend (window, cursor, text field, menus).
#pragma once

#include "graphics/bitmap.h"
#include "graphics/bounds.h"
#include "graphics/bounds_list.h"
#include "graphics/colour.h"
#include "graphics/draw_styles.h"
#include "graphics/input_types.h"
#include "graphics/menu.h"
#include "graphics/resource_table.h"
#include "graphics/text_style.h"
#include "graphics/transform.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <stack>
#include <string>
#include <string_view>
#include <vector>

namespace kit
{
class IEditorDelegate;
}

namespace kit::ui
{

class IControl;

// An off-screen picture being drawn into: for now only the rescaling of pictures uses one.
struct IDrawLayer
{
  std::unique_ptr<APIBitmap> bitmap;
  IControl* control = nullptr;
  IBounds bounds; // logical units, aligned outward to pixels
  bool cacheable = false;
};

// Cursor kinds a control may ask for; any other value shows the arrow.
enum class ECursor : int
{
  kArrow = 0,
  kIBeam,
  kWait,
  kCross,
  kUpArrow,
  kSizeNWSE,
  kSizeNESW,
  kSizeWE,
  kSizeNS,
  kSizeAll,
  kNo,
  kHand,
  kAppStarting,
  kHelp,
};

class IDrawContext
{
public:
  static constexpr float kDirtyPadding = 0.75f; // lets one-pixel outlines on a control's edge repaint
  static constexpr float kMinScale = 0.5f;
  static constexpr float kMaxScale = 4.0f;

  // Counts itself in the process-wide bitmap cache, which empties when the last context goes.
  IDrawContext(IEditorDelegate& editorDelegate, int width, int height, int fps, float drawScale);
  IDrawContext(const IDrawContext&) = delete;
  IDrawContext& operator=(const IDrawContext&) = delete;

  // Virtual operations, in their fixed order.

  virtual void BeginFrame();
  virtual void OnViewInitialized();
  virtual void OnViewDestroyed();
  // The frame is complete: a window copies it to the screen.
  virtual void EndFrame();
  // Copies the part of the picture that starts at (srcX, srcY) logical units into bounds.
  virtual void BlitBitmap(const IBitmapRef& bitmap, const IBounds& bounds, int srcX, int srcY,
                          const IBlending* blend = nullptr) = 0;
  virtual void BlitFittedBitmap(const IBitmapRef& bitmap, const IBounds& bounds, const IBlending* blend = nullptr);
  virtual void BlitRotatedBitmap(const IBitmapRef& bitmap, float cx, float cy, double angle,
                                 const IBlending* blend = nullptr);
  virtual void PaintPixel(const IRgba& colour, float x, float y, const IBlending* blend = nullptr);
  virtual void StrokeLine(const IRgba& colour, float x1, float y1, float x2, float y2, const IBlending* blend = nullptr,
                          float thickness = 1.0f);
  virtual void StrokeDottedLine(const IRgba& colour, float x1, float y1, float x2, float y2,
                                const IBlending* blend = nullptr, float thickness = 1.0f, float dashLength = 2.0f);
  virtual void OutlineTriangle(const IRgba& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                               const IBlending* blend = nullptr, float thickness = 1.0f);
  virtual void OutlineRect(const IRgba& colour, const IBounds& bounds, const IBlending* blend = nullptr,
                           float thickness = 1.0f);
  virtual void OutlineRoundRect(const IRgba& colour, const IBounds& bounds, float topLeft, float topRight,
                                float bottomRight, float bottomLeft, const IBlending* blend = nullptr,
                                float thickness = 1.0f);
  virtual void OutlineRoundRect(const IRgba& colour, const IBounds& bounds, float radius,
                                const IBlending* blend = nullptr, float thickness = 1.0f);
  // Degrees, 0 at 12 o'clock, growing clockwise.
  virtual void OutlineArc(const IRgba& colour, float cx, float cy, float r, float a1, float a2,
                          const IBlending* blend = nullptr, float thickness = 1.0f);
  virtual void OutlineCircle(const IRgba& colour, float cx, float cy, float r, const IBlending* blend = nullptr,
                             float thickness = 1.0f);
  virtual void OutlineEllipse(const IRgba& colour, float x, float y, float r1, float r2, float angle,
                              const IBlending* blend = nullptr, float thickness = 1.0f);
  virtual void OutlineEllipse(const IRgba& colour, const IBounds& bounds, const IBlending* blend = nullptr,
                              float thickness = 1.0f);
  virtual void OutlinePolygon(const IRgba& colour, const float* xs, const float* ys, int count,
                              const IBlending* blend = nullptr, float thickness = 1.0f);
  virtual void OutlineDottedRect(const IRgba& colour, const IBounds& bounds, const IBlending* blend = nullptr,
                                 float thickness = 1.0f, float dashLength = 2.0f);
  virtual void PaintTriangle(const IRgba& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                             const IBlending* blend = nullptr);
  virtual void PaintRect(const IRgba& colour, const IBounds& bounds, const IBlending* blend = nullptr);
  virtual void PaintRoundRect(const IRgba& colour, const IBounds& bounds, float topLeft, float topRight,
                              float bottomRight, float bottomLeft, const IBlending* blend = nullptr);
  virtual void PaintRoundRect(const IRgba& colour, const IBounds& bounds, float radius,
                              const IBlending* blend = nullptr);
  virtual void PaintCircle(const IRgba& colour, float cx, float cy, float r, const IBlending* blend = nullptr);
  virtual void PaintEllipse(const IRgba& colour, float x, float y, float r1, float r2, float angle,
                            const IBlending* blend = nullptr);
  virtual void PaintEllipse(const IRgba& colour, const IBounds& bounds, const IBlending* blend = nullptr);
  virtual void PaintArcSector(const IRgba& colour, float cx, float cy, float r, float a1, float a2,
                              const IBlending* blend = nullptr);
  virtual void PaintPolygon(const IRgba& colour, const float* xs, const float* ys, int count,
                            const IBlending* blend = nullptr);
  // The text's width; bounds become its extent. 0 for an empty text.
  [[nodiscard]] virtual float MeasureTextWidth(const ITextStyle& style, std::string_view text, IBounds& bounds);
  virtual void RenderMultiLineText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                                   const IBlending* blend = nullptr) = 0;
  // The colour of the pixel under (x, y) logical units; (0, 0, 0, 0) outside the frame.
  [[nodiscard]] virtual IRgba ReadPixel(float x, float y) = 0;
  // The backend's own drawing object, for tests and tools.
  [[nodiscard]] virtual void* DrawingContext() = 0;
  [[nodiscard]] virtual const char* DrawingApiName() const = 0;
  // The picture redrawn at targetScale pixels per logical unit, kept in the cache under name.
  [[nodiscard]] virtual IBitmapRef RescaleBitmap(APIBitmap& source, std::string_view name, int targetScale);
  virtual void RetainBitmap(std::unique_ptr<APIBitmap> bitmap, std::string_view name);
  virtual void ReleaseBitmap(const APIBitmap* bitmap);
  [[nodiscard]] virtual bool BitmapExtensionSupported(std::string_view extension) const = 0;
  virtual void StrokeGrid(const IRgba& colour, const IBounds& bounds, float stepX, float stepY,
                          const IBlending* blend = nullptr, float thickness = 1.0f);
  // ys (and xs when given) are 0 … 1 across the bounds; xs null spreads the points evenly.
  virtual void StrokeSeries(const IRgba& colour, const IBounds& bounds, const float* ys, int count,
                            const float* xs = nullptr, const IBlending* blend = nullptr, float thickness = 1.0f,
                            const IRgba* fillColour = nullptr);
  // Makes the font in the file or built-in resource `fileName` available as fontId.
  [[nodiscard]] virtual bool LoadFontByName(std::string_view fontId, std::string_view fileName);
  // Makes the top layer's pixels (or the frame's) the drawing target.
  virtual void UpdateLayer() = 0;
  virtual void PathClear() = 0;
  virtual void PathClose() = 0;
  virtual void PathArc(float cx, float cy, float r, float a1, float a2, bool counterClockwise = false) = 0;
  virtual void PathMoveTo(float x, float y) = 0;
  virtual void PathLineTo(float x, float y) = 0;
  virtual void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x2, float y2) = 0;
  virtual void PathQuadTo(float cx, float cy, float x2, float y2) = 0;
  virtual void PathStroke(const IFillPattern& pattern, float thickness, const IStrokeStyle& style = {},
                          const IBlending* blend = nullptr) = 0;
  virtual void PathFill(const IFillPattern& pattern, const IFillStyle& style = {}, const IBlending* blend = nullptr) = 0;
  virtual void PathTransformSetMatrix(const ITransform2D& matrix) = 0;
  virtual void PathClipRegion(const IBounds& region) = 0;
  // Platform: the pointer in logical units; false when it cannot be read.
  [[nodiscard]] virtual bool GetPointerPosition(float& x, float& y) const;
  // Keeps cursorHidden and cursorLocked; a platform that overrides it calls this too.
  virtual void HideCursor(bool hide, bool lock);
  virtual void MoveCursor(float x, float y);
  // Stores the kind and answers the one set before.
  virtual int SetCursor(int kind);
  // Cancels an open text field.
  virtual void EndTextEntry();
  // The platform window inside parent, or null when it cannot be made.
  [[nodiscard]] virtual void* OpenWindow(void* parent);
  virtual void CloseWindow();
  [[nodiscard]] virtual void* WindowHandle() const;
  [[nodiscard]] virtual bool WindowIsOpen() const;
  [[nodiscard]] virtual const char* PlatformName() const;
  // Shows a one-line field for typing a value; the window later calls CommitTextField or
  // cancels. paramIndex −1: any character may be typed.
  virtual void CreateTextField(int paramIndex, const ITextStyle& style, const IBounds& bounds, int charLimit,
                               std::string_view text);
  // Shows the menu. Answers the chosen menu (or null) when it completed at once; with
  // completesLater set, the window calls CommitMenuChoice itself.
  [[nodiscard]] virtual IMenu* CreatePopupMenu(IMenu& menu, const IBounds& bounds, bool& completesLater);
  virtual ~IDrawContext();
  [[nodiscard]] virtual bool MultiTouchAvailable() const;
  // Window sizes are this many pixels per zoomed logical unit: 1, or the display density where
  // windows are sized in device pixels.
  [[nodiscard]] virtual float WindowSizeFactor() const;
  // The size or scale changed; hostHasResized: the host already resized its side.
  virtual void PlatformResize(bool hostHasResized);
  virtual void RebuildFrameBuffer() = 0;
  [[nodiscard]] virtual IBitmapRef LoadBitmapFromMemory(std::string_view name, std::span<const std::uint8_t> bytes,
                                                        int frameCount = 1, bool framesHorizontal = false,
                                                        int targetScale = 0);
  // targetScale 0: ceil(drawScale × screenScale).
  [[nodiscard]] virtual IBitmapRef LoadBitmapByName(std::string_view name, int frameCount = 1,
                                                    bool framesHorizontal = false, int targetScale = 0);
  [[nodiscard]] virtual std::span<const std::uint8_t> LoadResourceBytes(std::string_view name,
                                                                        std::string_view type);
  // Backend: decode encoded picture bytes into a bitmap of the given scale; null on failure.
  [[nodiscard]] virtual std::unique_ptr<APIBitmap> CreateBitmapFromMemory(std::span<const std::uint8_t> bytes,
                                                                          int scale) = 0;
  // Backend: a file on disk (kFile, path) or a built-in resource (kEmbedded, its name).
  [[nodiscard]] virtual std::unique_ptr<APIBitmap> CreateBitmap(EResourceLocation location, std::string_view path,
                                                                int scale) = 0;
  // Backend: an empty bitmap of that pixel size at the current scales, for a layer.
  [[nodiscard]] virtual std::unique_ptr<APIBitmap> CreateLayerBitmap(int widthPixels, int heightPixels) = 0;
  // Backend: the typeface for fontId from the font's bytes; false when they cannot be used.
  [[nodiscard]] virtual bool MakeBackendFont(std::string_view fontId, std::string_view fileName) = 0;
  [[nodiscard]] virtual int AlphaChannelIndex() const;
  [[nodiscard]] virtual bool RowsFlipped() const;
  // Backend: measure or draw one line; measuring sets bounds to the text's box.
  [[nodiscard]] virtual float DoMeasureText(const ITextStyle& style, std::string_view text, IBounds& bounds) = 0;
  virtual void DoDrawText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                          const IBlending* blend) = 0;
  [[nodiscard]] virtual float TotalScale() const;

  // Control registry.

  // Attaches and owns the control; null when the tag is taken, and then the control is not
  // attached and `control` still holds it. Tag −1: none.
  template <class Control>
  IControl* AddControl(std::unique_ptr<Control>&& control, int tag = -1, std::string_view group = "")
  {
    if (!control || (tag > -1 && controlsByTag.contains(tag))) return nullptr;
    return AttachControl(std::move(control), tag, group);
  }
  [[nodiscard]] IControl* ControlWithTag(int tag) const;
  [[nodiscard]] int NControls() const noexcept { return int(controls.size()); }
  // Null outside the list.
  [[nodiscard]] IControl* GetControl(int index) const noexcept;
  // Releases the pointer, cancels an open text field and menu and destroys every control,
  // last first.
  void ClearControls();
  void ForEachControl(const std::function<void(IControl&)>& function) const;
  // After a user change of `control`'s slot, the other controls on that parameter follow.
  void UpdatePeerControls(IControl& control, int valueIndex);
  void MarkAllControlsDirty();
  void MarkAllControlsClean();

  // Painting, called by the window on each display tick and paint request.

  // Steps animations, then adds the padded bounds of every control that needs painting.
  [[nodiscard]] bool CollectDirtyRegions(IBoundsList& regions);
  void PaintRegions(IBoundsList& regions);
  void PaintControl(IControl* control, const IBounds& area, float scale);

  // Size and scale.

  // The delegate may narrow the size; the zoom is kept within 0.5 … 4. Outside a resize
  // gesture a change lets the pointer go.
  void ApplySize(int newWidth, int newHeight, float newDrawScale, bool resizeHost);
  // Display densities are whole numbers 1 … 8; anything else below 1 or not finite gives 1.
  void ApplyScreenScale(float scale);
  [[nodiscard]] int Width() const noexcept { return width; }
  [[nodiscard]] int Height() const noexcept { return height; }
  [[nodiscard]] int Fps() const noexcept { return fps; }
  [[nodiscard]] float DrawScale() const noexcept { return drawScale; }
  [[nodiscard]] float ScreenScale() const noexcept { return screenScale; }
  [[nodiscard]] IEditorDelegate& Delegate() const noexcept { return delegate; }

  // Transforms applied to later drawing, in logical units and degrees.

  void PathTransformSave();
  void PathTransformRestore();
  void PathTransformReset(bool clearStack = false);
  void PathTransformTranslate(float x, float y);
  void PathTransformScale(float x, float y);
  void PathTransformRotate(float degrees);
  [[nodiscard]] const ITransform2D& Transform() const noexcept { return transform; }

  // Drawing helpers over the backend.

  // frame is 1-based; limited to the picture's frames.
  void BlitBitmapFrame(const IBitmapRef& bitmap, const IBounds& bounds, int frame, const IBlending* blend = nullptr);
  void RenderText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                  const IBlending* blend = nullptr);
  [[nodiscard]] const IBounds& ClipBounds() const noexcept { return clipBounds; }

  // Layers: drawing goes to an off-screen picture between the two calls. The bounds are
  // widened to whole pixels; the layer starts with the identity transform, clipped to them.
  // False (no layer) when the backend cannot make the picture.
  [[nodiscard]] bool StartLayer(IControl* control, const IBounds& bounds, bool cacheable = false);
  // The top layer, or null without one.
  [[nodiscard]] std::unique_ptr<IDrawLayer> EndLayer();

  // Pictures loaded before at another scale follow the current one.
  [[nodiscard]] IBitmapRef ReloadBitmap(const IBitmapRef& bitmap);

  // Input from the window, in logical units.

  void OnPointerDown(std::span<const IPointerEvent> events);
  void OnPointerUp(std::span<const IPointerEvent> events);
  void OnPointerDrag(std::span<const IPointerEvent> events);
  bool OnPointerDoubleClick(float x, float y, const IPointerMods& mods);
  bool OnPointerWheel(float x, float y, const IPointerMods& mods, float delta);
  bool OnPointerHover(float x, float y, const IPointerMods& mods);
  void OnPointerLeave();
  [[nodiscard]] bool OnKeyDown(float x, float y, const IKeyEvent& key);
  [[nodiscard]] bool OnKeyUp(float x, float y, const IKeyEvent& key);
  void CommitTextField(std::string_view text);
  // The window closed the text field without taking its text.
  void CancelTextField() noexcept;
  // menu: the one shown, with its choice, or null when nothing was chosen.
  void CommitMenuChoice(IMenu* menu);

  // Dispatch services for controls.

  // The control a pointer event at (x, y) goes to: the one holding touchId, else the last
  // added that is hit (hover never reaches index 0). capture: it holds touchId from now on.
  [[nodiscard]] IControl* FindPointerTarget(float x, float y, bool capture, bool hover, std::int64_t touchId = 0);
  // Lets every touch go, ending the parameter gestures their presses began; shows a hidden cursor.
  void ReleasePointerCapture();
  // A menu of the parameter's display texts (enumerations, and booleans with texts), otherwise a
  // text field with its current value. Nothing for a slot without a parameter.
  void OpenValueEditor(IControl& control, const IBounds& bounds, int valueIndex);
  // Ignored while a text field is open.
  void OpenTextField(IControl& control, const ITextStyle& style, const IBounds& bounds, std::string_view text,
                     int valueIndex);
  // Ignored while a menu is open. The gestures of the press that opened it end when it is done.
  void OpenMenu(IControl& control, IMenu& menu, const IBounds& bounds, int valueIndex, bool isContext);
  // Shows the control's context menu at (x, y) when it adds any items.
  void OpenContextMenuForParam(IControl* control, int paramIndex, float x, float y);
  // The zoom is final: every control hears of the new scale and repaints.
  void FinishResizeGesture();
  // Whether the control holds the mouse (a drag is in progress).
  [[nodiscard]] bool ControlIsCaptured(const IControl& control) const;
  [[nodiscard]] IControl* TextFieldControl() const noexcept { return textFieldControl; }
  [[nodiscard]] IControl* MenuControl() const noexcept { return menuControl; }
  [[nodiscard]] int HoverIndex() const noexcept { return hoverIndex; }
  [[nodiscard]] bool CursorHidden() const noexcept { return cursorHidden; }
  [[nodiscard]] bool CursorLocked() const noexcept { return cursorLocked; }
  [[nodiscard]] int SavedCursor() const noexcept { return savedCursor; }
  [[nodiscard]] float LastPointerX() const noexcept { return lastPointerX; }
  [[nodiscard]] float LastPointerY() const noexcept { return lastPointerY; }
  void SetLastPointer(float x, float y) noexcept;
  void EnableHover(bool enable) noexcept { hoverEnabled = enable; }
  [[nodiscard]] bool HoverEnabled() const noexcept { return hoverEnabled; }
  void EnableTooltips(bool enable) noexcept { tooltipsEnabled = enable; }
  [[nodiscard]] bool TooltipsEnabled() const noexcept { return tooltipsEnabled; }

  // The zoom gesture of the scale corner.

  [[nodiscard]] bool ResizeGestureActive() const noexcept { return resizeGestureActive; }
  void SetResizeGestureActive(bool active) noexcept { resizeGestureActive = active; }
  [[nodiscard]] float PendingScale() const noexcept { return pendingScale; }
  // Applied once, when the pointer is released.
  void SetPendingScale(float scale) noexcept { pendingScale = scale; }
  [[nodiscard]] bool ResizeDragShift() const noexcept { return resizeDragShift; }
  void SetResizeDragShift(bool shift) noexcept { resizeDragShift = shift; }

protected:
  std::vector<std::unique_ptr<IControl>> controls; // attach order; index 0 is the background
  std::map<int, IControl*> controlsByTag;
  IMenu promptMenu;
  int savedCursor = 0;
  int width;
  int height;
  int fps;
  float screenScale = 1.0f;
  float drawScale;
  std::map<std::int64_t, IControl*> capturedControls;
  IControl* hoverControl = nullptr;
  IControl* textFieldControl = nullptr;
  IControl* menuControl = nullptr;
  bool menuIsContext = false;
  int textFieldValueIndex = -1;
  int menuValueIndex = -1;
  int hoverIndex = -1;
  float pointerDownX = -1.0f;
  float pointerDownY = -1.0f;
  float minScale = kMinScale;
  float maxScale = kMaxScale;
  bool hoverEnabled = false;
  bool tooltipsEnabled = false;
  bool resizeGestureActive = false;
  bool multiTouchEnabled = false;
  float pendingScale = 0.0f;
  bool resizeDragShift = false;
  IEditorDelegate& delegate;
  bool cursorHidden = false;
  bool cursorLocked = false;
  bool penInput = false;
  float lastPointerX = -1.0f;
  float lastPointerY = -1.0f;
  std::vector<std::unique_ptr<IDrawLayer>> layerStack;
  IBounds clipBounds;
  ITransform2D transform;
  std::stack<ITransform2D> transformStack;
  // Controls whose parameter gestures a press began, by the touch that holds them; each is
  // ended exactly once, whichever way the pointer lets go.
  std::map<std::int64_t, IControl*> gestureControls;
  bool menuHoldsGesture = false; // the press that opened the menu began menuControl's gestures

private:
  IControl* AttachControl(std::unique_ptr<IControl> control, int tag, std::string_view group);

  // Shapes added to the current path.
  void PathRect(const IBounds& bounds);
  void PathRoundRect(const IBounds& bounds, float topLeft, float topRight, float bottomRight, float bottomLeft);
  void PathCircle(float cx, float cy, float r);
  // Clears the path and adds the ellipse; false (nothing done) when a radius is not positive.
  [[nodiscard]] bool PathEllipse(float x, float y, float r1, float r2, float angle);
  void PathPolygon(const float* xs, const float* ys, int count);

  // Begin and end notices for every slot of the control linked to a parameter the plug-in has.
  void BeginParamGestures(const IControl& control);
  void EndParamGestures(const IControl& control);
  void EndGestureOfTouch(std::int64_t touchId);

  // targetScale, or for 0 the total scale rounded up.
  [[nodiscard]] int TargetBitmapScale(int targetScale) const;
};

} // namespace kit::ui
