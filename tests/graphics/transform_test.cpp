#include "graphics/transform.h"

#include <gtest/gtest.h>

#include <limits>

namespace kit::ui
{
namespace
{

TEST(Transform, TheNewestStepActsOnPointsFirst)
{
  // Translate by (10, 20), then scale by 2: a point is scaled first, then moved.
  const ITransform2D t = ITransform2D {}.Translated(10, 20).Scaled(2, 3);
  EXPECT_DOUBLE_EQ(t.MapX(1, 1), 12.0);
  EXPECT_DOUBLE_EQ(t.MapY(1, 1), 23.0);
  // The other order moves first and scales the move too.
  const ITransform2D u = ITransform2D {}.Scaled(2, 3).Translated(10, 20);
  EXPECT_DOUBLE_EQ(u.MapX(1, 1), 22.0);
  EXPECT_DOUBLE_EQ(u.MapY(1, 1), 63.0);
}

TEST(Transform, RotationTurnsClockwiseOnScreen)
{
  // Up (0, -1) turns to the right (1, 0) after 90 degrees, y growing downwards.
  const ITransform2D r = ITransform2D {}.Rotated(90);
  EXPECT_NEAR(r.MapX(0, -1), 1.0, 1e-6);
  EXPECT_NEAR(r.MapY(0, -1), 0.0, 1e-6);
  // About a centre: translate there, rotate, and the centre stays put.
  const ITransform2D about = ITransform2D {}.Translated(50, 60).Rotated(37);
  EXPECT_NEAR(about.MapX(0, 0), 50.0, 1e-12);
  EXPECT_NEAR(about.MapY(0, 0), 60.0, 1e-12);
}

TEST(Transform, OnlyFiniteInvertibleTransformsAreUsable)
{
  struct Case
  {
    const char* name;
    ITransform2D transform;
    bool usable;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
    { "identity", {}, true },
    { "zero scale", ITransform2D {}.Scaled(0, 1), false },
    { "collapsed to a line", { 1, 2, 2, 4, 0, 0 }, false },
    { "not-a-number angle", ITransform2D {}.Rotated(nan), false },
    { "infinite offset", ITransform2D {}.Translated(std::numeric_limits<double>::infinity(), 0), false },
    { "scaled and turned", ITransform2D {}.Scaled(0.5, 2).Rotated(30), true },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.transform.Usable(), c.usable);
  }
}

} // namespace
} // namespace kit::ui
