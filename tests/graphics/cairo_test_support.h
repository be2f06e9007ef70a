#pragma once
// Helpers for the Cairo backend's pixel tests: an editor delegate whose layout is a function, a
// control that paints with a function, a headless editor opened at chosen scales, and reading
// the frame buffer's bytes.

#include "binding/editor_delegate.h"
#include "graphics/control.h"
#include "graphics/platform/draw_context_headless.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace kit::test
{

class LayoutDelegate : public IEditorDelegate
{
public:
  LayoutDelegate()
      : IEditorDelegate(0)
  {
  }

  std::function<void(ui::IDrawContext&)> layout;
  int openedCount = 0;

  void LayoutEditor(ui::IDrawContext& graphics) override
  {
    if (layout) layout(graphics);
  }
  void OnEditorOpened() override { ++openedCount; }
};

class PaintingControl : public ui::IControl
{
public:
  PaintingControl(const ui::IBounds& area, std::function<void(ui::IDrawContext&)> paintFunction)
      : IControl(area)
      , paint(std::move(paintFunction))
  {
  }

  void Paint(ui::IDrawContext& drawing) override { paint(drawing); }

private:
  std::function<void(ui::IDrawContext&)> paint;
};

// One frame-buffer pixel as stored: premultiplied.
struct Pixel
{
  int b = 0;
  int g = 0;
  int r = 0;
  int a = 0;

  friend bool operator==(const Pixel&, const Pixel&) = default;
};

inline Pixel PixelAt(const ui::IDrawContextCairo& graphics, int x, int y)
{
  const std::size_t at = (std::size_t(y) * std::size_t(graphics.FramePixelWidth()) + std::size_t(x)) * 4;
  const auto bytes = graphics.FrameBufferBytes();
  return { bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3] };
}

// A headless editor of width × height logical units, opened with its frame buffer, at zoom and
// display density; draw into it directly and call EndFrame before reading pixels.
struct OpenEditor
{
  LayoutDelegate editorDelegate;
  std::unique_ptr<ui::IDrawContextHeadless> graphics;

  OpenEditor(int width, int height, float zoom = 1.0f, float density = 1.0f)
  {
    graphics = std::make_unique<ui::IDrawContextHeadless>(editorDelegate, width, height, 60, zoom);
    graphics->SetDisplayDensity(density);
    static_cast<void>(graphics->OpenWindow(nullptr));
  }

  ui::IDrawContextHeadless& operator*() const { return *graphics; }
  ui::IDrawContextHeadless* operator->() const { return graphics.get(); }
  [[nodiscard]] Pixel At(int x, int y) const { return PixelAt(*graphics, x, y); }
};

} // namespace kit::test
