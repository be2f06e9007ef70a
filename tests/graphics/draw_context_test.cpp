#include "graphics/draw_context.h"

#include "input_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kit::ui::test
{
namespace
{

// Writes its notifications in the order they arrive.
class NoticeControl : public IControl
{
public:
  NoticeControl(std::vector<std::string>& noticeJournal, const IBounds& area, int paramIndex = -1)
      : IControl(area, paramIndex)
      , journal(noticeJournal)
  {
  }
  void Paint(IDrawContext&) override {}
  void OnSetup() override { journal.push_back("setup " + Attached()); }
  void OnBoundsChanged() override { journal.push_back("bounds"); }
  void OnScaleChanged() override { journal.push_back("scale"); }
  void OnAdded() override { journal.push_back("added " + Group()); }
  ~NoticeControl() override { journal.push_back("destroyed " + Num(bounds.left)); }

  [[nodiscard]] std::string Attached() const { return Delegate() && Graphics() ? "attached" : "alone"; }

  std::vector<std::string>& journal;
};

TEST(DrawContext, AttachingNotifiesInOrderAndTagsAreUnique)
{
  EditorParams delegate;
  std::vector<std::string> journal; // outlives the controls, which write to it as they go
  RecordingDrawContext graphics(delegate);
  IControl* first = graphics.AddControl(std::make_unique<NoticeControl>(journal, IBounds(1, 0, 2, 2)), 3, "meters");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(journal, Lines({ "setup attached", "bounds", "scale", "added meters" }));
  EXPECT_EQ(first->Group(), "meters");
  EXPECT_EQ(graphics.ControlWithTag(3), first);

  journal.clear();
  auto second = std::make_unique<NoticeControl>(journal, IBounds(2, 0, 3, 3));
  EXPECT_EQ(graphics.AddControl(std::move(second), 3), nullptr);
  ASSERT_NE(second, nullptr); // still the caller's
  EXPECT_EQ(second->Graphics(), nullptr);
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(graphics.NControls(), 1);

  // Untagged controls never enter the map, however many.
  EXPECT_NE(graphics.AddControl(std::make_unique<NoticeControl>(journal, IBounds(3, 0, 4, 4))), nullptr);
  EXPECT_NE(graphics.AddControl(std::make_unique<NoticeControl>(journal, IBounds(4, 0, 5, 5)), -1), nullptr);
  EXPECT_EQ(graphics.NControls(), 3);
  EXPECT_EQ(graphics.ControlWithTag(-1), nullptr);
  EXPECT_EQ(graphics.ControlWithTag(4), nullptr);
  EXPECT_EQ(graphics.GetControl(0), first);
  EXPECT_EQ(graphics.GetControl(3), nullptr);
  EXPECT_EQ(graphics.GetControl(-1), nullptr);
}

TEST(DrawContext, ClearingDestroysLastFirstAndForgetsTheTags)
{
  EditorParams delegate;
  std::vector<std::string> journal; // outlives the controls, which write to it as they go
  RecordingDrawContext graphics(delegate);
  for (int i = 0; i < 3; ++i)
    (void)graphics.AddControl(std::make_unique<NoticeControl>(journal, IBounds(float(i), 0, 9, 9)), i);
  journal.clear();
  graphics.ClearControls();
  EXPECT_EQ(journal, Lines({ "destroyed 2", "destroyed 1", "destroyed 0" }));
  EXPECT_EQ(graphics.NControls(), 0);
  EXPECT_EQ(graphics.ControlWithTag(1), nullptr);
  EXPECT_NE(graphics.AddControl(std::make_unique<NoticeControl>(journal, IBounds(5, 0, 9, 9)), 1), nullptr);
}

TEST(DrawContext, ForEachControlVisitsInListOrder)
{
  InputFixture f;
  f.Add("a", IBounds(0, 0, 1, 1));
  f.Add("b", IBounds(0, 0, 1, 1));
  std::vector<std::string> seen;
  f.graphics.ForEachControl([&seen](IControl& control) { seen.push_back(static_cast<JournalControl&>(control).name); });
  EXPECT_EQ(seen, Lines({ "a", "b" }));
}

TEST(DrawContext, AUserChangeUpdatesEveryOtherControlOnTheSameParameter)
{
  InputFixture f;
  JournalControl& knob = f.Add("knob", IBounds(0, 0, 10, 10), kBits);
  JournalControl& caption = f.Add("caption", IBounds(0, 20, 10, 30), kBits);
  JournalControl& pair = f.Add("pair", IBounds(0, 40, 10, 50), kPower);
  pair.values.push_back({ kBits, 0.0 }); // its second slot shows the same parameter
  JournalControl& other = f.Add("other", IBounds(0, 60, 10, 70), kPower);
  for (IControl* control :
       { static_cast<IControl*>(&caption), static_cast<IControl*>(&pair), static_cast<IControl*>(&other) })
    control->MarkClean();
  knob.SetValueFromUser(0.5);
  EXPECT_EQ(caption.GetValue(), 0.5);
  EXPECT_TRUE(caption.IsDirty());
  EXPECT_EQ(pair.GetValue(0), 0.0);
  EXPECT_EQ(pair.GetValue(1), 0.5);
  EXPECT_EQ(other.GetValue(), 0.0);
  EXPECT_FALSE(other.IsDirty());
  // The peers follow quietly: the host hears the value once.
  EXPECT_EQ(f.delegate.Calls("set"), Lines({ "set 2 0.5" }));
}

TEST(DrawContext, MarkingAllDirtyAndClean)
{
  InputFixture f;
  JournalControl& a = f.Add("a", IBounds(0, 0, 1, 1), kBits);
  JournalControl& b = f.Add("b", IBounds(0, 0, 1, 1));
  a.SetValue(3.0);
  f.graphics.MarkAllControlsClean();
  EXPECT_FALSE(a.IsDirty());
  EXPECT_FALSE(b.IsDirty());
  f.graphics.MarkAllControlsDirty();
  EXPECT_TRUE(a.IsDirty());
  EXPECT_TRUE(b.IsDirty());
  EXPECT_EQ(a.GetValue(), 1.0);
  EXPECT_TRUE(f.delegate.calls.empty()); // no action, no host
}

TEST(DrawContext, ApplySizeLimitsTheZoomAndAsksTheHostForTheWindowSize)
{
  struct Case
  {
    float requested;
    float zoom;
    const char* hostSize;
  };
  const Case cases[] = {
    { 0.2f, 0.5f, "host size 250 x 262 ask" },
    { 6.0f, 4.0f, "host size 2000 x 2100 ask" },
    { 1.5f, 1.5f, "host size 750 x 787 ask" },
    { std::numeric_limits<float>::infinity(), 4.0f, "host size 2000 x 2100 ask" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.requested);
    InputFixture f;
    f.graphics.ApplySize(500, 525, c.requested, true);
    EXPECT_EQ(f.graphics.DrawScale(), c.zoom);
    EXPECT_EQ(f.delegate.Calls("host size"), Lines({ c.hostSize }));
    EXPECT_EQ(f.graphics.log, Lines({ "resize 1", "rebuild" }));
  }
}

TEST(DrawContext, AZoomThatIsNotANumberKeepsTheZoom)
{
  InputFixture f;
  f.graphics.ApplySize(500, 525, std::numeric_limits<float>::quiet_NaN(), true);
  EXPECT_EQ(f.graphics.DrawScale(), 1.0f);
  EXPECT_TRUE(f.delegate.Calls("host size").empty());
}

TEST(DrawContext, ApplySizeKeepsWhatTheDelegateAllows)
{
  class Limited : public EditorParams
  {
  public:
    Limited()
    {
      minWidth = 166;
      maxWidth = 1500;
      minHeight = 175;
      maxHeight = 1575;
    }
  };
  Limited delegate;
  delegate.hostResizes = false;
  RecordingDrawContext graphics(delegate);
  graphics.ApplySize(100, 2000, 1.0f, false);
  EXPECT_EQ(graphics.Width(), 166);
  EXPECT_EQ(graphics.Height(), 1575);
  EXPECT_EQ(delegate.Calls("host size"), Lines({ "host size 166 x 1575" }));
  EXPECT_EQ(graphics.log, Lines({ "resize 0", "rebuild" })); // the host did not resize its side
}

TEST(DrawContext, ApplySizeWithTheCurrentSizeChangesNothingAndKeepsTheCapture)
{
  InputFixture f;
  JournalControl& knob = f.Add("knob", IBounds(0, 0, 50, 50), kBits);
  f.Press(10, 10);
  knob.MarkClean();
  f.graphics.ApplySize(500, 525, 1.0f, true);
  EXPECT_TRUE(f.graphics.ControlIsCaptured(knob));
  EXPECT_FALSE(knob.IsDirty());
  EXPECT_TRUE(f.delegate.Calls("host size").empty());
  EXPECT_TRUE(f.delegate.Calls("end").empty());
  EXPECT_TRUE(f.graphics.log.empty());
}

TEST(DrawContext, ApplySizeTellsEveryControlAndRepaintsAll)
{
  EditorParams delegate;
  std::vector<std::string> journal; // outlives the controls, which write to it as they go
  RecordingDrawContext graphics(delegate);
  (void)graphics.AddControl(std::make_unique<NoticeControl>(journal, IBounds(0, 0, 5, 5)));
  (void)graphics.AddControl(std::make_unique<NoticeControl>(journal, IBounds(0, 0, 5, 5)));
  graphics.MarkAllControlsClean();
  journal.clear();
  graphics.ApplySize(400, 300, 2.0f, true);
  EXPECT_EQ(journal, Lines({ "bounds", "bounds" }));
  EXPECT_TRUE(graphics.GetControl(0)->IsDirty());
  EXPECT_TRUE(graphics.GetControl(1)->IsDirty());
  EXPECT_EQ(delegate.Calls("host size"), Lines({ "host size 800 x 600 ask" }));
}

TEST(DrawContext, ScreenScalesAreWholeNumbersFromOneToEight)
{
  struct Case
  {
    float requested;
    float kept;
  };
  const Case cases[] = {
    { 1.0f, 1.0f },
    { 2.0f, 2.0f },
    { 2.7f, 2.0f },
    { 8.0f, 8.0f },
    { 1000.0f, 8.0f },
    { 0.5f, 1.0f },
    { 0.0f, 1.0f },
    { -3.0f, 1.0f },
    { std::numeric_limits<float>::quiet_NaN(), 1.0f },
    { std::numeric_limits<float>::infinity(), 1.0f },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.requested);
    EditorParams delegate;
    RecordingDrawContext graphics(delegate);
    graphics.ApplyScreenScale(c.requested);
    EXPECT_EQ(graphics.ScreenScale(), c.kept);
    EXPECT_EQ(graphics.TotalScale(), c.kept);
  }
}

TEST(DrawContext, AScreenScaleChangeResizesTheHostAndTellsEveryControl)
{
  EditorParams delegate;
  std::vector<std::string> journal; // outlives the controls, which write to it as they go
  RecordingDrawContext graphics(delegate, 500, 525, 1.5f);
  (void)graphics.AddControl(std::make_unique<NoticeControl>(journal, IBounds(0, 0, 5, 5)));
  graphics.MarkAllControlsClean();
  journal.clear();
  graphics.ApplyScreenScale(2.0f);
  EXPECT_EQ(journal, Lines({ "scale" }));
  EXPECT_TRUE(graphics.GetControl(0)->IsDirty());
  // The window-size factor is 1 here: the host is asked for the zoomed logical size.
  EXPECT_EQ(delegate.Calls("host size"), Lines({ "host size 750 x 787 ask" }));
  EXPECT_EQ(graphics.log, Lines({ "resize 1", "rebuild" }));
  EXPECT_EQ(graphics.TotalScale(), 3.0f);
}

TEST(DrawContext, TransformsMultiplyOnTheRightAndTellTheBackend)
{
  EditorParams delegate;
  RecordingDrawContext graphics(delegate);
  graphics.PathTransformTranslate(10, 20);
  graphics.PathTransformScale(2, 3);
  const ITransform2D& t = graphics.Transform();
  // (1, 1) is scaled first, then moved.
  EXPECT_EQ(t.MapX(1, 1), 12.0);
  EXPECT_EQ(t.MapY(1, 1), 23.0);
  graphics.PathTransformSave();
  graphics.PathTransformRotate(90);
  EXPECT_NEAR(graphics.Transform().MapX(1, 0), 10.0, 1e-6);
  EXPECT_NEAR(graphics.Transform().MapY(1, 0), 23.0, 1e-6);
  graphics.PathTransformRestore();
  EXPECT_EQ(graphics.Transform(), t);
  ASSERT_EQ(graphics.log.size(), 4u); // one matrix for each change, the rotation's third
  EXPECT_EQ(graphics.log[0], "matrix 1 0 0 1 10 20");
  EXPECT_EQ(graphics.log[1], "matrix 2 0 0 3 10 20");
  EXPECT_EQ(graphics.log[3], "matrix 2 0 0 3 10 20");
}

TEST(DrawContext, ARestoreWithNothingSavedLeavesTheTransform)
{
  EditorParams delegate;
  RecordingDrawContext graphics(delegate);
  graphics.PathTransformTranslate(5, 6);
  const ITransform2D before = graphics.Transform();
  graphics.log.clear();
  graphics.PathTransformRestore();
  EXPECT_EQ(graphics.Transform(), before);
  EXPECT_TRUE(graphics.log.empty());
}

TEST(DrawContext, AResetGivesTheIdentityAndEmptiesTheStackWhenAsked)
{
  for (const bool clearStack : { false, true })
  {
    SCOPED_TRACE(clearStack);
    EditorParams delegate;
    RecordingDrawContext graphics(delegate);
    graphics.PathTransformTranslate(5, 6);
    graphics.PathTransformSave();
    graphics.PathTransformScale(2, 2);
    graphics.PathTransformReset(clearStack);
    EXPECT_EQ(graphics.Transform(), ITransform2D {});
    graphics.PathTransformRestore();
    EXPECT_EQ(graphics.Transform(), clearStack ? ITransform2D {} : ITransform2D {}.Translated(5, 6));
  }
}

TEST(DrawContext, PlatformDefaultsOfAContextWithoutWindow)
{
  EditorParams delegate;
  RecordingDrawContext graphics(delegate);
  EXPECT_EQ(graphics.Fps(), 60);
  EXPECT_EQ(graphics.Width(), 500);
  EXPECT_EQ(graphics.Height(), 525);
  EXPECT_EQ(graphics.WindowSizeFactor(), 1.0f);
  EXPECT_FALSE(graphics.WindowIsOpen());
  EXPECT_EQ(graphics.OpenWindow(nullptr), nullptr);
  EXPECT_STREQ(graphics.PlatformName(), "");
  EXPECT_FALSE(graphics.MultiTouchAvailable());
  EXPECT_EQ(graphics.AlphaChannelIndex(), 3);
  EXPECT_FALSE(graphics.RowsFlipped());
  EXPECT_FALSE(graphics.HoverEnabled());
  EXPECT_FALSE(graphics.TooltipsEnabled());
  EXPECT_EQ(graphics.PendingScale(), 0.0f);
  EXPECT_EQ(graphics.LastPointerX(), -1.0f);
  EXPECT_EQ(graphics.SetCursor(3), 0);
  EXPECT_EQ(graphics.SetCursor(0), 3);
}

TEST(DrawContext, ReleasingCaptureShowsAHiddenCursor)
{
  InputFixture f;
  f.Add("knob", IBounds(0, 0, 50, 50));
  f.Press(10, 10);
  f.graphics.HideCursor(true, true);
  EXPECT_TRUE(f.graphics.CursorHidden());
  EXPECT_TRUE(f.graphics.CursorLocked());
  f.graphics.ReleasePointerCapture();
  EXPECT_FALSE(f.graphics.CursorHidden());
  EXPECT_FALSE(f.graphics.CursorLocked());
}

TEST(DrawContext, TextEntryPointsPassOnlyTextsWithCharacters)
{
  EditorParams delegate;
  RecordingDrawContext graphics(delegate);
  const ITextStyle style;
  IBounds extent(1, 2, 3, 4);
  EXPECT_EQ(graphics.MeasureTextWidth(style, "", extent), 0.0f);
  EXPECT_EQ(extent, IBounds(1, 2, 3, 4));
  graphics.RenderText(style, "", IBounds(0, 0, 10, 10));
  EXPECT_TRUE(graphics.log.empty());
  EXPECT_EQ(graphics.MeasureTextWidth(style, "abc", extent), 3.0f);
  EXPECT_EQ(extent, IBounds(0, 0, 3, 10));
  graphics.RenderText(style, "abc", IBounds(0, 0, 10, 10));
  EXPECT_EQ(graphics.log, Lines({ "measure abc", "text abc 0 0 10 10" }));
}

TEST(DrawContext, FontsAreMadeByTheBackend)
{
  EditorParams delegate;
  RecordingDrawContext graphics(delegate);
  EXPECT_TRUE(graphics.LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  EXPECT_EQ(graphics.log, Lines({ "font Roboto-Regular Roboto-Regular.ttf" }));
}

} // namespace
} // namespace kit::ui::test
