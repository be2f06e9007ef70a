// Knobs: the drag maps travel over the drag area and the gearing to the value (ten times finer
// with shift or control), stepped parameters follow an unsnapped drag position, the pointer is
// hidden for the drag and comes back where it began, the wheel steps, a drag area without
// extent changes nothing, the rotater turns its picture by value × 260 − 130 degrees and the
// frame knob draws the frame for its value.
#include "editor/knob_control.h"
#include "tests/editor/stock_fixture.h"

#include <cairo.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kit::ui::test
{
namespace
{

// The knobs of the editor: one 31 × 31 frame at (345, 414).
constexpr IBounds kKnobPosition { 345, 414, 376, 445 };
constexpr float kKnobX = 360;
constexpr float kKnobY = 430;

std::unique_ptr<IBKnobControl> MakeKnob(StockEditor& editor, int paramIndex, int direction = 0)
{
  return std::make_unique<IBKnobControl>(kKnobPosition, editor.graphics->LoadBitmapByName("knob_line.png"), paramIndex,
                                         direction);
}

TEST(Knob, DragTravelOverTheAreaTimesTheGearingIsOneSweep)
{
  struct Case
  {
    const char* name;
    int direction;
    float dX;
    float dY;
    IPointerMods mods;
    double change; // of the normalised value
  };
  // A 31-point knob with gearing 4 sweeps over 124 points, or 1240 with a modifier.
  const Case cases[] = {
    { "10 down", 0, 0, 10, Left(), -10.0 / 124.0 },
    { "10 up", 0, 0, -10, Left(), 10.0 / 124.0 },
    { "10 down with shift", 0, 0, 10, LeftWithShift(), -10.0 / 1240.0 },
    { "10 down with control", 0, 0, 10, LeftWithControl(), -10.0 / 1240.0 },
    { "sideways on a vertical knob", 0, 10, 0, Left(), 0.0 },
    { "10 right on a horizontal knob", 1, 10, 0, Left(), 10.0 / 124.0 },
    { "10 right with shift", 1, 10, 0, LeftWithShift(), 10.0 / 1240.0 },
    { "up and down on a horizontal knob", 1, 0, 10, Left(), 0.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    IBKnobControl& knob = editor.Add(MakeKnob(editor, kMix, c.direction));
    knob.SetValue(0.5);
    editor.Press(kKnobX, kKnobY, c.mods);
    editor.Drag(kKnobX + c.dX, kKnobY + c.dY, c.dX, c.dY, c.mods);
    EXPECT_NEAR(knob.GetValue(), 0.5 + c.change, 1e-12);
    EXPECT_NEAR(editor.params.Real(kMix), 0.5 + c.change, 1e-12) << "the host has the value";
    editor.Release(kKnobX + c.dX, kKnobY + c.dY, c.mods);
  }
}

TEST(Knob, TheDragAreaIsTheHitAreaUnlessAKnobSaysOtherwise)
{
  StockEditor editor;
  IBKnobControl& knob = editor.Add(MakeKnob(editor, kMix));
  EXPECT_EQ(knob.KnobDragBounds(), knob.HitBounds());
  // Twice the height: the same travel is half the change.
  knob.SetHitBounds(IBounds(345, 414, 376, 476));
  knob.SetValue(0.5);
  editor.DragBy(kKnobX, kKnobY, 0, 10, 1);
  EXPECT_NEAR(knob.GetValue(), 0.5 - 10.0 / 248.0, 1e-12);
}

TEST(Knob, SteppedParameterFollowsTheUnsnappedDragPosition)
{
  struct Case
  {
    int samples;
    IPointerMods mods;
    double dragValue;  // 9/12 − 62/124 or 9/12 − 62/1240
    double powerAfter; // the nearest step to 12 × dragValue
  };
  // One-point samples with shift move the value by 1/1240 each, far less than half a step
  // (1/24): only a drag position kept apart from the snapped value gets anywhere.
  const Case cases[] = {
    { 1, Left(), 0.25, 3.0 },
    { 62, Left(), 0.25, 3.0 },
    { 1, LeftWithShift(), 0.70, 8.0 },
    { 62, LeftWithShift(), 0.70, 8.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(Num(c.samples) + (c.mods.S ? " samples with shift" : " samples"));
    StockEditor editor;
    IBKnobControl& knob = editor.Add(MakeKnob(editor, kPower));
    knob.SetValue(editor.params.Unit(kPower));
    ASSERT_EQ(editor.params.Real(kPower), 9.0);
    editor.Press(kKnobX, kKnobY, c.mods);
    const float step = 62.0f / float(c.samples);
    for (int i = 1; i <= c.samples; ++i) editor.Drag(kKnobX, kKnobY + step * float(i), 0, step, c.mods);
    EXPECT_NEAR(knob.DragValue(), c.dragValue, 1e-9);
    EXPECT_EQ(editor.params.Real(kPower), c.powerAfter);
    EXPECT_DOUBLE_EQ(knob.GetValue(), c.powerAfter / 12.0) << "the knob shows the step it set";
    editor.Release(kKnobX, kKnobY + 62, c.mods);
  }
}

TEST(Knob, PointerIsHiddenForTheDragAndComesBackWhereItWasPressed)
{
  StockEditor editor;
  IBKnobControl& knob = editor.Add(MakeKnob(editor, kMix));
  editor.Press(kKnobX, kKnobY);
  EXPECT_TRUE(knob.PointerIsDown());
  for (int i = 1; i <= 5; ++i) editor.Drag(kKnobX + float(i), kKnobY + 4.0f * float(i), 1, 4);
  EXPECT_TRUE(editor.graphics->CursorHidden());
  EXPECT_TRUE(editor.graphics->CursorLocked());
  editor.Release(kKnobX + 5, kKnobY + 20);
  EXPECT_FALSE(knob.PointerIsDown());
  EXPECT_FALSE(editor.graphics->CursorHidden());
  EXPECT_EQ(editor.graphics->LastPointerX(), kKnobX);
  EXPECT_EQ(editor.graphics->LastPointerY(), kKnobY);

  using Kind = IDrawContextHeadless::CursorRequest::EKind;
  std::vector<std::pair<bool, bool>> hides;
  for (const auto& request : editor.graphics->CursorRequests())
  {
    if (request.kind == Kind::kHide) hides.emplace_back(request.hide, request.lock);
  }
  const std::vector<std::pair<bool, bool>> expected { { true, true }, { false, false } };
  EXPECT_EQ(hides, expected);
}

TEST(Knob, WheelStepsSteppedParametersAndNudgesOthers)
{
  struct Case
  {
    const char* name;
    int param;
    double startReal;
    float delta;
    IPointerMods mods;
    double expectedReal;
  };
  const Case cases[] = {
    { "Target Bits up", kBits, 16, 1, {}, 17 },
    { "Target Bits down", kBits, 16, -1, {}, 15 },
    { "Target Bits, shift changes nothing for steps", kBits, 16, 1, LeftWithShift(), 17 },
    { "Target Bits two notches are one step", kBits, 16, 2, {}, 17 },
    { "Target Bits at the top", kBits, 32, 1, {}, 32 },
    { "Psychoacoustic Power off and down", kPower, 0, -1, {}, 0 },
    { "continuous up", kMix, 0.5, 1, {}, 0.51 },
    { "continuous down", kMix, 0.5, -1, {}, 0.49 },
    { "continuous with shift", kMix, 0.5, 1, LeftWithShift(), 0.501 },
    { "continuous with control", kMix, 0.5, 1, LeftWithControl(), 0.501 },
    { "continuous two notches", kMix, 0.5, 2, {}, 0.52 },
    { "continuous past the top", kMix, 0.995, 1, {}, 1.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    editor.params.GetParam(c.param)->Set(c.startReal);
    IBKnobControl& knob = editor.Add(MakeKnob(editor, c.param));
    knob.SetValue(editor.params.Unit(c.param));
    EXPECT_TRUE(editor.graphics->OnPointerWheel(kKnobX, kKnobY, c.mods, c.delta));
    EXPECT_NEAR(editor.params.Real(c.param), c.expectedReal, 1e-12);
  }
}

TEST(Knob, WheelWithoutMovementLeavesASteppedValueAlone)
{
  StockEditor editor;
  IBKnobControl& knob = editor.Add(MakeKnob(editor, kBits));
  knob.SetValue(editor.params.Unit(kBits));
  EXPECT_TRUE(editor.graphics->OnPointerWheel(kKnobX, kKnobY, {}, 0.0f));
  EXPECT_EQ(editor.params.Real(kBits), 16.0);
  EXPECT_TRUE(editor.params.Calls("set").empty());
}

// A knob whose drag area is given.
class AreaKnob : public IBKnobControl
{
public:
  AreaKnob(const IBitmapRef& picture, int dragDirection, const IBounds& dragArea, double dragGearing)
      : IBKnobControl(kKnobPosition, picture, kMix, dragDirection, dragGearing)
      , area(dragArea)
  {
  }
  IBounds KnobDragBounds() const override { return area; }

private:
  IBounds area;
};

TEST(Knob, DragAreaWithoutExtentAlongTheDragChangesNothing)
{
  struct Case
  {
    const char* name;
    int direction;
    IBounds area;
    double gearing;
    float dX;
    float dY;
    double expected;
  };
  const Case cases[] = {
    { "vertical, no height", 0, { 345, 414, 376, 414 }, 4.0, 3, 10, 0.5 },
    { "vertical, no height, sideways only", 0, { 345, 414, 376, 414 }, 4.0, 3, 0, 0.5 },
    { "horizontal, no width", 1, { 345, 414, 345, 445 }, 4.0, 10, 3, 0.5 },
    { "horizontal, no width, vertical only", 1, { 345, 414, 345, 445 }, 4.0, 0, 3, 0.5 },
    { "no gearing", 0, { 345, 414, 376, 445 }, 0.0, 0, 10, 0.5 },
    // The other extent does not matter: these still move.
    { "vertical, no width", 0, { 345, 414, 345, 445 }, 4.0, 0, 10, 0.5 - 10.0 / 124.0 },
    { "horizontal, no height", 1, { 345, 414, 376, 414 }, 4.0, 10, 0, 0.5 + 10.0 / 124.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    StockEditor editor;
    auto& knob = editor.Add(
        std::make_unique<AreaKnob>(editor.graphics->LoadBitmapByName("knob_line.png"), c.direction, c.area, c.gearing));
    knob.SetValue(0.5);
    editor.Press(kKnobX, kKnobY);
    editor.Drag(kKnobX + c.dX, kKnobY + c.dY, c.dX, c.dY);
    EXPECT_NEAR(knob.GetValue(), c.expected, 1e-12);
    EXPECT_FALSE(std::isnan(editor.params.Real(kMix)));
    EXPECT_NEAR(editor.params.Real(kMix), c.expected, 1e-12);
    if (c.expected == 0.5)
    {
      EXPECT_TRUE(editor.params.Calls("set").empty()) << "nothing reaches the host";
    }
    editor.Release(kKnobX, kKnobY);
  }
}

// A 31 × 31 picture with an opaque white line from the centre straight up, on transparency.
std::vector<std::uint8_t> PointerLinePng()
{
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 31, 31);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, 14.5, 1, 2, 14.5);
  cairo_fill(cr);
  cairo_destroy(cr);
  std::vector<std::uint8_t> bytes;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* data, unsigned int length)
      {
        auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

TEST(KnobRotater, TurnsItsPictureByValueTimes260Minus130Degrees)
{
  struct Case
  {
    double value;
    double degrees; // clockwise from upright
  };
  const Case cases[] = { { 0.0, -130 }, { 0.25, -65 }, { 0.5, 0 }, { 0.75, 65 }, { 1.0, 130 } };
  const std::vector<std::uint8_t> png = PointerLinePng();
  for (const Case& c : cases)
  {
    SCOPED_TRACE("value " + Num(c.value));
    StockEditor editor;
    editor.Add(std::make_unique<kit::test::PaintingControl>(IBounds(0, 0, 500, 525),
                                                            [](IDrawContext& g) {
                                                              g.PaintRect({ 255, 0, 0, 0 }, IBounds(0, 0, 500, 525));
                                                            }));
    const IBitmapRef line = editor.graphics->LoadBitmapFromMemory("pointer-line", png);
    ASSERT_TRUE(line.IsValid());
    auto& knob = editor.Add(std::make_unique<IBKnobRotaterControl>(IBounds(100, 100, 131, 131), line, kMix));
    knob.SetValue(c.value);
    knob.MarkDirty(false);
    ASSERT_TRUE(editor.graphics->Tick());
    // The line's direction from the centre, weighted by how much of each pixel it covers.
    double sumX = 0;
    double sumY = 0;
    double weight = 0;
    for (int y = 100; y < 131; ++y)
    {
      for (int x = 100; x < 131; ++x)
      {
        const double w = editor.At(x, y).r;
        sumX += w * (x + 0.5 - 115.5);
        sumY += w * (y + 0.5 - 115.5);
        weight += w;
      }
    }
    ASSERT_GT(weight, 0.0);
    const double degrees = std::atan2(sumX / weight, -sumY / weight) * 180.0 / std::numbers::pi;
    EXPECT_NEAR(degrees, c.degrees, 2.0);
  }
}

TEST(KnobFrames, FrameKnobDrawsTheFrameNearestItsValue)
{
  struct Case
  {
    double value;
    int frame;
  };
  // Five frames spread over 0 … 1 at quarters; a value half way between goes up.
  const Case cases[] = { { 0.0, 1 }, { 0.124, 1 }, { 0.125, 2 }, { 0.5, 3 }, { 0.874, 4 }, { 0.875, 5 }, { 1.0, 5 } };
  for (const bool horizontal : { false, true })
  {
    kit::test::RecordingDelegate delegate;
    kit::test::RecordingDrawContext recording(delegate);
    const auto png = horizontal ? PngHeader(100, 20) : PngHeader(20, 100);
    const IBitmapRef strip =
        recording.LoadBitmapFromMemory(horizontal ? "strip-side-by-side" : "strip-stacked", png, 5, horizontal);
    auto* knob = static_cast<IBKnobControl*>(
        recording.AddControl(std::make_unique<IBKnobControl>(IBounds(40, 60, 80, 100), strip, -1)));
    EXPECT_EQ(knob->Bounds(), IBounds(50, 70, 70, 90)) << "one 20 × 20 frame, centred";
    for (const Case& c : cases)
    {
      SCOPED_TRACE((horizontal ? "side by side, value " : "stacked, value ") + Num(c.value));
      recording.log.clear();
      knob->SetValue(c.value);
      knob->Paint(recording);
      const int offset = (c.frame - 1) * 20;
      const std::string from = horizontal ? Num(offset) + " 0" : "0 " + Num(offset);
      EXPECT_EQ(TakeBlits(recording), std::vector<std::string>({ "blit memory@1 50 70 70 90 from " + from }));
    }
  }
}

TEST(KnobFrames, OneFramePictureAlwaysDrawsItsOnlyFrame)
{
  kit::test::RecordingDelegate delegate;
  kit::test::RecordingDrawContext recording(delegate);
  auto* knob = static_cast<IBKnobControl*>(recording.AddControl(
      std::make_unique<IBKnobControl>(kKnobPosition, recording.LoadBitmapByName("knob_line.png"), -1)));
  for (const double value : { 0.0, 0.5, 0.7, 1.0 })
  {
    SCOPED_TRACE(value);
    recording.log.clear();
    knob->SetValue(value);
    knob->Paint(recording);
    EXPECT_EQ(TakeBlits(recording), std::vector<std::string>({ "blit knob_line.png 345 414 376 445 from 0 0" }));
  }
}

} // namespace
} // namespace kit::ui::test
