#include "graphics/control.h"

#include "support/recording_draw_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace kit::ui
{
namespace
{

using test::RecordingDelegate;
using test::RecordingDrawContext;

// The plainest control there is: it draws a rectangle and counts its notifications.
class PlainControl : public IControl
{
public:
  using IControl::IControl;
  using IControl::values;

  void Paint(IDrawContext& drawContext) override { drawContext.PaintRect(IRgba(), bounds); }
  void OnBoundsChanged() override { ++boundsChanged; }

  int boundsChanged = 0;
};

TEST(Control, FieldsStartAtTheirDefaults)
{
  const PlainControl control(IBounds(10, 20, 30, 40), 2);
  EXPECT_EQ(control.Bounds(), IBounds(10, 20, 30, 40));
  EXPECT_EQ(control.HitBounds(), control.Bounds());
  EXPECT_EQ(control.Group(), "");
  EXPECT_EQ(control.TextStyle().Font(), "Roboto-Regular");
  EXPECT_EQ(control.TextStyle().size, 14.0f);
  EXPECT_EQ(control.TextStyle().colour, IRgba(0, 0, 0, 0));
  EXPECT_EQ(control.TextStyle().align, EAlign::kCenter);
  EXPECT_EQ(control.TextStyle().valign, EVAlign::kMiddle);
  EXPECT_EQ(control.Blend().mode, EBlend::kSrcOver);
  EXPECT_EQ(control.Blend().opacity, 1.0f);
  EXPECT_EQ(control.EntryCharLimit(), 7);
  EXPECT_TRUE(control.IsDirty());
  EXPECT_FALSE(control.IsHidden());
  EXPECT_FALSE(control.IsDisabled());
  EXPECT_TRUE(control.PromptDisabled());
  EXPECT_FALSE(control.DoubleClickAsSingle());
  EXPECT_FALSE(control.PointerOverWhenDisabled());
  EXPECT_FALSE(control.PointerWhenDisabled());
  EXPECT_FALSE(control.IgnoresPointer());
  EXPECT_FALSE(control.WantsMidi());
  EXPECT_FALSE(control.AcceptsTouch());
  EXPECT_FALSE(control.PromptShowsLabel());
  EXPECT_FALSE(control.PointerIsOver());
  EXPECT_FALSE(control.IsHighlighted());
  EXPECT_EQ(control.Parent(), nullptr);
  EXPECT_EQ(control.Delegate(), nullptr);
  EXPECT_EQ(control.Graphics(), nullptr);
  EXPECT_FALSE(control.IsAnimating());
  ASSERT_EQ(control.NumValues(), 1);
  EXPECT_EQ(control.ParamIndexOf(0), 2);
  EXPECT_EQ(control.GetValue(0), 0.0);
}

} // namespace
} // namespace kit::ui
