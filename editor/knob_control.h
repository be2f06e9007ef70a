// Knobs: a value dragged up and down (or sideways) with the pointer hidden, and stepped by the
// wheel; drawn from a picture, either one frame per value or one picture turned with the value.
// Owned by the graphics context; editor thread.
#pragma once

#include "editor/bitmap_base.h"
#include "graphics/control.h"

namespace kit::ui
{

class IKnobControlBase : public IControl
{
public:
  static constexpr int kVertical = 0;
  static constexpr int kHorizontal = 1;

  // gearing: how many sweeps of the drag area one sweep of the value takes.
  IKnobControlBase(const IBounds& bounds, int paramIndex, int direction, double gearing);

  // Starts a drag from the current value and hides the pointer until the release.
  void OnPointerDown(float x, float y, const IPointerMods& mods) override;
  void OnPointerUp(float x, float y, const IPointerMods& mods) override;
  // Shift or control makes the drag ten times finer.
  void OnPointerDrag(float x, float y, float dX, float dY, const IPointerMods& mods) override;
  // A stepped parameter moves one step per wheel event, whatever its size; any other moves 0.01
  // per notch (0.001 with shift or control).
  void OnPointerWheel(float x, float y, const IPointerMods& mods, float delta) override;

  // The area whose extent along the drag direction is one sweep (before gearing).
  [[nodiscard]] virtual IBounds KnobDragBounds() const;

  [[nodiscard]] bool PointerIsDown() const noexcept { return pointerIsDown; }
  [[nodiscard]] double DragValue() const noexcept { return dragValue; }

protected:
  bool cursorHiddenWhileDragging = true;
  int direction;
  double gearing;
  bool pointerIsDown = false;
  // The drag's own position, never snapped, so that many small moves add up on a stepped
  // parameter instead of each being rounded away.
  double dragValue = 0.0;
};

// A knob drawn as one frame of its picture per value.
class IBKnobControl : public IKnobControlBase, public IBitmapBase
{
public:
  // The bounds are one frame of the picture, centred on `position`.
  IBKnobControl(const IBounds& position, const IBitmapRef& bitmap, int paramIndex, int direction = kVertical,
                double gearing = 4.0);

  void OnScaleChanged() override;
  void Paint(IDrawContext& graphics) override;
};

// A knob whose whole picture turns about the centre: −130° at 0, upright at 0.5, +130° at 1.
class IBKnobRotaterControl : public IBKnobControl
{
public:
  static constexpr double kSweepDegrees = 260.0;

  using IBKnobControl::IBKnobControl;

  void Paint(IDrawContext& graphics) override;
};

} // namespace kit::ui
