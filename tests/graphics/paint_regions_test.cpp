#include "graphics/draw_context.h"

#include "input_fixture.h"

#include <gtest/gtest.h>

namespace kit::ui::test
{
namespace
{

std::vector<IBounds> Rects(const IBoundsList& list)
{
  return list.Rects();
}

TEST(PaintRegions, DirtyControlsGiveTheirBoundsPaddedByThreeQuarters)
{
  InputFixture f;
  f.Add("a", IBounds(10, 20, 30, 40));
  JournalControl& clean = f.Add("clean", IBounds(100, 100, 110, 110));
  f.Add("b", IBounds(0.5f, 0, 1.5f, 1));
  clean.MarkClean();
  IBoundsList regions;
  EXPECT_TRUE(f.graphics.CollectDirtyRegions(regions));
  EXPECT_EQ(Rects(regions),
            std::vector<IBounds>({ IBounds(9.25f, 19.25f, 30.75f, 40.75f), IBounds(-0.25f, -0.75f, 2.25f, 1.75f) }));
  // Collecting leaves the flags alone: the window clears them.
  EXPECT_TRUE(f.graphics.GetControl(0)->IsDirty());
}

TEST(PaintRegions, NothingDirtyAddsNothing)
{
  InputFixture f;
  f.Add("a", IBounds(10, 20, 30, 40));
  f.graphics.MarkAllControlsClean();
  IBoundsList regions;
  EXPECT_FALSE(f.graphics.CollectDirtyRegions(regions));
  EXPECT_EQ(regions.Size(), 0u);
}

TEST(PaintRegions, AnimationsStepBeforeCollectingAndKeepTheirControlDirty)
{
  InputFixture f;
  JournalControl& a = f.Add("a", IBounds(0, 0, 10, 10));
  JournalControl& b = f.Add("b", IBounds(20, 0, 30, 10));
  f.graphics.MarkAllControlsClean();
  int steps = 0;
  a.SetAnimation([&steps](IControl&) { ++steps; });
  // b's animation moves it; the region must be where it ends up.
  b.SetAnimation([](IControl& self) { self.MoveTo(40, 0); });
  IBoundsList regions;
  EXPECT_TRUE(f.graphics.CollectDirtyRegions(regions));
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(Rects(regions),
            std::vector<IBounds>({ IBounds(-0.75f, -0.75f, 10.75f, 10.75f), IBounds(39.25f, -0.75f, 50.75f, 10.75f) }));
}

TEST(PaintRegions, AnEmptyListBeginsNoFrame)
{
  InputFixture f;
  f.Add("a", IBounds(0, 0, 10, 10));
  IBoundsList regions;
  f.graphics.PaintRegions(regions);
  EXPECT_TRUE(f.graphics.log.empty());
  EXPECT_TRUE(f.Take().empty());
}

TEST(PaintRegions, EachRegionIsAlignedToPixelsOptimisedAndPaintedBetweenBeginAndEnd)
{
  InputFixture f;
  f.Add("a", IBounds(0, 0, 100, 100));
  f.graphics.ApplyScreenScale(2.0f);
  f.graphics.log.clear();
  f.Take();
  IBoundsList regions;
  regions.Add(IBounds(10.3f, 10.3f, 20.6f, 20.6f));
  regions.Add(IBounds(12, 12, 14, 14)); // inside the first once aligned
  f.graphics.PaintRegions(regions);
  // At two pixels per unit 10.3 → 20.6 pixels → 20 → 10, and 20.6 → 41.2 → 42 → 21.
  EXPECT_EQ(Rects(regions), std::vector<IBounds>({ IBounds(10, 10, 21, 21) }));
  EXPECT_EQ(f.graphics.log, Lines({ "begin frame", "matrix 1 0 0 1 0 0", "clear", "clip 10 10 21 21", "end frame" }));
  EXPECT_EQ(f.Take(), Lines({ "a paint" }));
}

TEST(PaintRegions, ControlsPaintInListOrderForEveryRegion)
{
  InputFixture f;
  f.Add("a", IBounds(0, 0, 100, 100));
  f.Add("b", IBounds(0, 0, 20, 20));
  IBoundsList regions;
  regions.Add(IBounds(0, 0, 10, 10));
  regions.Add(IBounds(50, 50, 60, 60));
  f.graphics.PaintRegions(regions);
  EXPECT_EQ(f.Take(), Lines({ "a paint", "b paint", "a paint" }));
}

TEST(PaintRegions, PaintControlClipsToTheAreaWithinThePaddedAlignedBounds)
{
  struct Case
  {
    IBounds area;
    float scale;
    const char* clip; // null: not painted
  };
  // The control covers (10, 10, 20, 20); padded and aligned at scale 1: (9, 9, 21, 21).
  const Case cases[] = {
    { IBounds(0, 0, 100, 100), 1, "clip 9 9 21 21" },
    { IBounds(15, 0, 100, 12), 1, "clip 15 9 21 12" },
    { IBounds(0, 0, 100, 100), 2, "clip 9 9 21 21" }, // 9.25 × 2 = 18.5 → 18 → 9
    { IBounds(0, 0, 100, 100), 4, "clip 9.25 9.25 20.75 20.75" },
    { IBounds(21, 0, 40, 40), 1, nullptr }, // touches the right edge only
    { IBounds(0, 0, 9, 40), 1, nullptr },   // touches the left edge only
    { IBounds(30, 30, 40, 40), 1, nullptr },
    { IBounds(), 1, nullptr }, // no area
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(RecordingDrawContext::Rect(c.area) + " at " + Num(c.scale));
    InputFixture f;
    JournalControl& control = f.Add("c", IBounds(10, 10, 20, 20));
    f.graphics.PaintControl(&control, c.area, c.scale);
    if (c.clip)
    {
      EXPECT_EQ(f.graphics.Lines("clip"), Lines({ c.clip }));
      EXPECT_EQ(f.Take(), Lines({ "c paint" }));
    }
    else
    {
      EXPECT_TRUE(f.graphics.log.empty());
      EXPECT_TRUE(f.Take().empty());
    }
  }
}

TEST(PaintRegions, PaintingStartsFromTheIdentityWithAnEmptyStackAndStoresTheClip)
{
  InputFixture f;
  JournalControl& control = f.Add("c", IBounds(10, 10, 20, 20));
  f.graphics.PathTransformSave();
  f.graphics.PathTransformTranslate(3, 4);
  f.graphics.log.clear();
  f.graphics.PaintControl(&control, IBounds(0, 0, 15, 15), 1);
  EXPECT_EQ(f.graphics.log, Lines({ "matrix 1 0 0 1 0 0", "clear", "clip 9 9 15 15" }));
  EXPECT_EQ(f.graphics.Transform(), ITransform2D {});
  EXPECT_EQ(f.graphics.ClipBounds(), IBounds(9, 9, 15, 15));
  f.graphics.log.clear();
  f.graphics.PathTransformRestore(); // the stack was emptied
  EXPECT_TRUE(f.graphics.log.empty());
}

TEST(PaintRegions, HiddenControlsAreSkippedExceptTheBackground)
{
  struct Case
  {
    bool hideBackground;
    bool hideKnob;
    Lines painted;
  };
  const Case cases[] = {
    { false, false, { "bg paint", "knob paint" } },
    { true, false, { "bg paint", "knob paint" } },
    { false, true, { "bg paint" } },
    { true, true, { "bg paint" } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.hideBackground) + std::to_string(c.hideKnob));
    InputFixture f;
    f.AddBackground().SetHidden(c.hideBackground);
    f.Add("knob", IBounds(10, 10, 20, 20)).SetHidden(c.hideKnob);
    IBoundsList regions;
    regions.Add(IBounds(0, 0, 50, 50));
    f.graphics.PaintRegions(regions);
    EXPECT_EQ(f.Take(), c.painted);
  }
}

TEST(PaintRegions, ANullControlPaintsNothing)
{
  InputFixture f;
  f.graphics.PaintControl(nullptr, IBounds(0, 0, 10, 10), 1);
  EXPECT_TRUE(f.graphics.log.empty());
}

TEST(PaintRegions, AChildIsClippedToItsParent)
{
  InputFixture f;
  JournalControl& parent = f.Add("parent", IBounds(0, 0, 30, 30));
  JournalControl& child = f.Add("child", IBounds(20, 20, 50, 50));
  child.SetParent(&parent);
  f.graphics.PaintControl(&child, IBounds(0, 0, 100, 100), 1);
  EXPECT_EQ(f.graphics.Lines("clip"), Lines({ "clip 19 19 30 30" }));
}

} // namespace
} // namespace kit::ui::test
