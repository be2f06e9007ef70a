#pragma once
// A headless editor of 500 × 525 units holding a background and the scale corner, with a
// delegate that writes down the host sizes asked for, and the pointer events of the dispatch.

#include "editor/scale_corner_control.h"
#include "graphics/platform/draw_context_headless.h"
#include "support/recording_draw_context.h"

#include <array>
#include <memory>
#include <vector>

namespace kit::ui::test
{

inline const std::vector<float> kEditorChoices { 1.0f, 1.25f, 1.5f, 1.75f, 2.0f };
inline constexpr IRgba kIdle { 255, 0, 0, 255 };  // opaque blue
inline constexpr IRgba kHover { 255, 0, 255, 0 }; // opaque green
inline constexpr IRgba kDrag { 255, 255, 0, 0 };  // opaque red

// White text in the built-in font.
inline ITextStyle LabelStyle()
{
  ITextStyle style;
  style.colour = IRgba(255, 255, 255, 255);
  return style;
}

class NothingControl : public IControl
{
public:
  using IControl::IControl;
  void Paint(IDrawContext&) override {}
};

class CornerDelegate : public kit::test::RecordingDelegate
{
public:
  std::vector<float> choices = kEditorChoices;
  IRasterScaleCornerDragControl* corner = nullptr;

  void LayoutEditor(IDrawContext& graphics) override
  {
    const IBounds editor(0.0f, 0.0f, float(graphics.Width()), float(graphics.Height()));
    (void)graphics.LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf");
    (void)graphics.AddControl(std::make_unique<NothingControl>(editor));
    auto control =
        std::make_unique<IRasterScaleCornerDragControl>(editor, 20.0f, choices, kIdle, kHover, kDrag, LabelStyle());
    corner = static_cast<IRasterScaleCornerDragControl*>(graphics.AddControl(std::move(control)));
  }
};

struct CornerEditor
{
  CornerDelegate editorDelegate;
  std::unique_ptr<IDrawContextHeadless> graphics;

  explicit CornerEditor(float zoom = 1.0f, int width = 500, int height = 525)
  {
    graphics = std::make_unique<IDrawContextHeadless>(editorDelegate, width, height, 60, zoom);
    (void)graphics->OpenWindow(nullptr);
    editorDelegate.calls.clear();
  }

  IRasterScaleCornerDragControl& Corner() const { return *editorDelegate.corner; }

  void Press(float x, float y, IPointerMods mods = IPointerMods { true }) const
  {
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 0.0f, 0.0f, mods } };
    graphics->OnPointerDown(events);
  }
  void Drag(float x, float y, IPointerMods mods = IPointerMods { true }) const
  {
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 1.0f, 1.0f, mods } };
    graphics->OnPointerDrag(events);
  }
  void Release(float x, float y, IPointerMods mods = IPointerMods { true }) const
  {
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 0.0f, 0.0f, mods } };
    graphics->OnPointerUp(events);
  }
};

inline IPointerMods Shift()
{
  IPointerMods mods { true };
  mods.S = true;
  return mods;
}

} // namespace kit::ui::test
