#include "graphics/draw_context.h"

#include "binding/editor_delegate.h"
#include "graphics/bitmap_cache.h"
#include "graphics/control.h"

#include <algorithm>
#include <cmath>

namespace kit::ui
{

namespace
{

// Display densities are whole numbers; nothing beyond eight times is a real screen.
constexpr float kMaxScreenScale = 8.0f;

} // namespace

IDrawContext::IDrawContext(IEditorDelegate& editorDelegate, int editorWidth, int editorHeight, int ticksPerSecond,
                           float zoom)
    : width(editorWidth)
    , height(editorHeight)
    , fps(ticksPerSecond)
    , drawScale(zoom)
    , delegate(editorDelegate)
{
  BitmapCache::Process().AddUser();
}

IDrawContext::~IDrawContext()
{
  ClearControls();
  BitmapCache::Process().RemoveUser();
}

void IDrawContext::BeginFrame() {}

void IDrawContext::OnViewInitialized() {}

void IDrawContext::OnViewDestroyed() {}

void IDrawContext::EndFrame() {}

bool IDrawContext::GetPointerPosition(float& x, float& y) const
{
  x = lastPointerX;
  y = lastPointerY;
  return true;
}

void IDrawContext::HideCursor(bool hide, bool lock)
{
  if (cursorHidden == hide) return;
  cursorHidden = hide;
  cursorLocked = hide && lock;
}

void IDrawContext::MoveCursor(float, float) {}

int IDrawContext::SetCursor(int kind)
{
  const int previous = savedCursor;
  savedCursor = kind;
  return previous;
}

void IDrawContext::EndTextEntry() {}

void* IDrawContext::OpenWindow(void*)
{
  return nullptr;
}

void IDrawContext::CloseWindow() {}

void* IDrawContext::WindowHandle() const
{
  return nullptr;
}

bool IDrawContext::WindowIsOpen() const
{
  return WindowHandle() != nullptr;
}

const char* IDrawContext::PlatformName() const
{
  return "";
}

void IDrawContext::CreateTextField(int, const ITextStyle&, const IBounds&, int, std::string_view) {}

IMenu* IDrawContext::CreatePopupMenu(IMenu&, const IBounds&, bool& completesLater)
{
  completesLater = false;
  return nullptr;
}

bool IDrawContext::MultiTouchAvailable() const
{
  return false;
}

float IDrawContext::WindowSizeFactor() const
{
  return 1.0f;
}

void IDrawContext::PlatformResize(bool) {}

int IDrawContext::AlphaChannelIndex() const
{
  return 3;
}

bool IDrawContext::RowsFlipped() const
{
  return false;
}

float IDrawContext::TotalScale() const
{
  return drawScale * screenScale;
}

IControl* IDrawContext::AttachControl(std::unique_ptr<IControl> control, int tag, std::string_view group)
{
  if (tag > -1) controlsByTag.emplace(tag, control.get());
  control->Attach(&delegate, this, group);
  controls.push_back(std::move(control));
  IControl& added = *controls.back();
  added.OnAdded();
  return &added;
}

IControl* IDrawContext::ControlWithTag(int tag) const
{
  const auto found = controlsByTag.find(tag);
  return found == controlsByTag.end() ? nullptr : found->second;
}

IControl* IDrawContext::GetControl(int index) const noexcept
{
  if (index < 0 || index >= NControls()) return nullptr;
  return controls[std::size_t(index)].get();
}

void IDrawContext::ClearControls()
{
  ReleasePointerCapture();
  // The prompts point at controls about to go: neither may commit into them later.
  if (textFieldControl)
  {
    textFieldControl = nullptr;
    EndTextEntry();
  }
  if (menuControl)
  {
    if (menuHoldsGesture) EndParamGestures(*menuControl);
    menuHoldsGesture = false;
    menuControl = nullptr;
  }
  hoverControl = nullptr;
  hoverIndex = -1;
  controlsByTag.clear();
  while (!controls.empty()) controls.pop_back();
}

void IDrawContext::ForEachControl(const std::function<void(IControl&)>& function) const
{
  for (const auto& control : controls) function(*control);
}

void IDrawContext::UpdatePeerControls(IControl& control, int valueIndex)
{
  const int paramIndex = control.ParamIndexOf(valueIndex);
  if (paramIndex < 0) return;
  const double value = control.GetValue(valueIndex);
  for (const auto& peer : controls)
  {
    if (peer.get() == &control) continue;
    const int slot = peer->SlotOfParam(paramIndex);
    if (slot >= 0) peer->ApplyHostValue(value, slot);
  }
}

void IDrawContext::MarkAllControlsDirty()
{
  for (const auto& control : controls) control->MarkDirty(false, -1);
}

void IDrawContext::MarkAllControlsClean()
{
  for (const auto& control : controls) control->MarkClean();
}

bool IDrawContext::CollectDirtyRegions(IBoundsList& regions)
{
  for (const auto& control : controls) control->StepAnimation();
  bool added = false;
  for (const auto& control : controls)
  {
    if (!control->NeedsPaint()) continue;
    regions.Add(control->Bounds().GetPadded(kDirtyPadding));
    added = true;
  }
  return added;
}

void IDrawContext::PaintRegions(IBoundsList& regions)
{
  if (regions.Size() == 0) return;
  const float scale = TotalScale();
  BeginFrame();
  for (std::size_t i = 0; i < regions.Size(); ++i) regions.Get(i) = regions.Get(i).PixelAligned(scale);
  regions.OptimizeRegions();
  for (const IBounds& region : regions.Rects())
  {
    for (const auto& control : controls) PaintControl(control.get(), region, scale);
  }
  EndFrame();
}

void IDrawContext::PaintControl(IControl* control, const IBounds& area, float scale)
{
  if (!control) return;
  if (control->IsHidden() && (controls.empty() || controls.front().get() != control)) return;
  IBounds clip = area.Intersect(control->Bounds().GetPadded(kDirtyPadding).PixelAligned(scale));
  for (const IControl* ancestor = control->Parent(); ancestor; ancestor = ancestor->Parent())
    clip = clip.Intersect(ancestor->Bounds());
  if (!(clip.W() > 0.0f) || !(clip.H() > 0.0f)) return;
  PathTransformReset(true);
  PathClear();
  PathClipRegion(clip);
  clipBounds = clip;
  control->Paint(*this);
}

void IDrawContext::ApplySize(int newWidth, int newHeight, float newDrawScale, bool resizeHost)
{
  (void)delegate.ConstrainEditorSize(newWidth, newHeight);
  // A zoom that is not a number (a drag ratio of 0 / 0) asks for no change of zoom.
  const float scale = std::isnan(newDrawScale) ? drawScale : std::min(maxScale, std::max(newDrawScale, minScale));
  if (newWidth == width && newHeight == height && scale == drawScale) return;
  if (!resizeGestureActive) ReleasePointerCapture();
  width = newWidth;
  height = newHeight;
  drawScale = scale;
  const float factor = WindowSizeFactor();
  const int windowWidth = int(factor * std::trunc(float(width) * drawScale));
  const int windowHeight = int(factor * std::trunc(float(height) * drawScale));
  PlatformResize(delegate.ResizeHostViewFromEditor(windowWidth, windowHeight, resizeHost));
  for (const auto& control : controls) control->OnBoundsChanged();
  MarkAllControlsDirty();
  RebuildFrameBuffer();
}

void IDrawContext::ApplyScreenScale(float scale)
{
  // A density that is no whole number of pixels per unit would make every size fractional.
  screenScale = std::isfinite(scale) && scale >= 1.0f ? std::min(std::trunc(scale), kMaxScreenScale) : 1.0f;
  const float factor = WindowSizeFactor();
  const int windowWidth = int(factor * std::trunc(float(width) * drawScale));
  const int windowHeight = int(factor * std::trunc(float(height) * drawScale));
  PlatformResize(delegate.ResizeHostViewFromEditor(windowWidth, windowHeight, true));
  for (const auto& control : controls) control->OnScaleChanged();
  MarkAllControlsDirty();
  RebuildFrameBuffer();
}

void IDrawContext::SetLastPointer(float x, float y) noexcept
{
  lastPointerX = x;
  lastPointerY = y;
}

} // namespace kit::ui
