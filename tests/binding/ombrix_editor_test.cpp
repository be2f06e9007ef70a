// The Ombrix editor as the plug-in makes it: what its layout attaches, how it answers the
// lamps and the "Show Graph" switch, and the zoom kept across closing, within an instance and
// in the user's preference file.
#include "binding/in_process_plugin.h"

#include "editor/background_switch_control.h"
#include "editor/caption_control.h"
#include "editor/grid_control.h"
#include "editor/knob_control.h"
#include "editor/meter_control.h"
#include "editor/ombrix_graph.h"
#include "editor/scale_corner_control.h"
#include "editor/text_control.h"
#include "graphics/platform/draw_context_headless.h"
#include "support/preference_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace kit::test
{
namespace
{

using namespace kit::ui;

struct OpenOmbrixEditor
{
  PreferenceFolder preferences; // before the plug-in, so that it outlives the editor
  InProcessPlugin plugin;

  IDrawContextHeadless& Open()
  {
    EXPECT_NE(plugin.Ombrix().OpenEditorWindow(nullptr), nullptr);
    auto* editor = dynamic_cast<IDrawContextHeadless*>(plugin.Ombrix().EditorGraphics());
    EXPECT_NE(editor, nullptr);
    return *editor;
  }
  void Click(float x, float y)
  {
    IDrawContext& editor = *plugin.Ombrix().EditorGraphics();
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 0, 0, IPointerMods { true } } };
    editor.OnPointerDown(events);
    editor.OnPointerUp(events);
  }
  [[nodiscard]] double Param(int index) const { return plugin.Ombrix().GetParam(index)->Value(); }
};

TEST(OmbrixEditor, TheLayoutAttachesTheTwelveControlsInDrawingOrder)
{
  struct Row
  {
    const char* what;
    std::function<bool(const IControl&)> isClass;
    IBounds bounds;
    int tag;
    int paramIndex;
  };
  auto is = [](auto* typed) { return [](const IControl& c) { return dynamic_cast<decltype(typed)>(&c) != nullptr; }; };
  const Row rows[] = {
    { "panel", is(static_cast<const BackgroundSwitchControl*>(nullptr)), { 0, 0, 500, 525 }, -1, 0 },
    { "noise graph", is(static_cast<const OmbrixGraph*>(nullptr)), { 86, 80, 434, 345 }, 2, -1 },
    { "signal graph", is(static_cast<const OmbrixGraph*>(nullptr)), { 86, 80, 434, 345 }, 1, -1 },
    { "grid", is(static_cast<const GridControl*>(nullptr)), { 86, 80, 434, 345 }, -1, -1 },
    { "meter", is(static_cast<const MeterControl*>(nullptr)), { 50, 462, 162, 469 }, 3, -1 },
    { "graph lamp", is(static_cast<const BackgroundSwitchControl*>(nullptr)), { 240, 462, 248, 470 }, -1, 3 },
    { "power knob", is(static_cast<const IBKnobRotaterControl*>(nullptr)), { 345, 414, 376, 445 }, -1, 1 },
    { "power caption", is(static_cast<const ICaptionControl*>(nullptr)), { 350, 460, 370, 470 }, -1, 1 },
    { "bits knob", is(static_cast<const IBKnobRotaterControl*>(nullptr)), { 412, 414, 443, 445 }, -1, 2 },
    { "bits caption", is(static_cast<const ICaptionControl*>(nullptr)), { 417, 460, 437, 470 }, -1, 2 },
    { "version", is(static_cast<const ITextControl*>(nullptr)), { 384, 490, 458, 502 }, -1, -1 },
    { "scale corner", is(static_cast<const IRasterScaleCornerDragControl*>(nullptr)), { 389, 414, 499, 524 }, -1, -1 },
  };
  OpenOmbrixEditor fixture;
  IDrawContext& editor = fixture.Open();
  ASSERT_EQ(editor.NControls(), int(std::size(rows)));
  for (int i = 0; i < editor.NControls(); ++i)
  {
    const Row& row = rows[i];
    SCOPED_TRACE(row.what);
    const IControl& control = *editor.GetControl(i);
    EXPECT_TRUE(row.isClass(control));
    // The grid's own rectangle is where it hits; it also paints its labels above.
    const IBounds& bounds = i == 3 ? control.HitBounds() : control.Bounds();
    EXPECT_EQ(bounds, row.bounds);
    EXPECT_EQ(control.ParamIndexOf(0), row.paramIndex);
    if (row.tag != -1)
    {
      EXPECT_EQ(editor.ControlWithTag(row.tag), &control);
    }
  }
  EXPECT_TRUE(editor.HoverEnabled());
  EXPECT_EQ(dynamic_cast<const ITextControl&>(*editor.GetControl(10)).Text(), "4.1.0");
  const auto& panel = dynamic_cast<const BackgroundSwitchControl&>(*editor.GetControl(0));
  EXPECT_EQ(panel.HitArea(), IBounds(180, 445, 215, 475));
  const auto& lamp = dynamic_cast<const BackgroundSwitchControl&>(*editor.GetControl(5));
  EXPECT_EQ(lamp.HitArea(), IBounds(232, 454, 256, 478));
}

TEST(OmbrixEditor, TheGraphLampHidesTheAnalysisAndTheGridStays)
{
  OpenOmbrixEditor fixture;
  IDrawContext& editor = fixture.Open();
  ASSERT_EQ(fixture.Param(3), 1.0);
  fixture.Click(244, 466);
  EXPECT_EQ(fixture.Param(3), 0.0);
  for (const int tag : { 1, 2, 3 }) EXPECT_TRUE(editor.ControlWithTag(tag)->IsHidden()) << tag;
  EXPECT_FALSE(editor.GetControl(3)->IsHidden());
  // The screen's clicks reach no graph while they are hidden.
  const IControl* target = editor.FindPointerTarget(200, 200, false, false);
  EXPECT_NE(target, editor.ControlWithTag(1));
  EXPECT_NE(target, editor.ControlWithTag(2));

  // Automation shows them again through the plug-in's editor-side hook.
  fixture.plugin.Ombrix().GetParam(3)->Set(1.0);
  fixture.plugin.Ombrix().OnParamChangeEditor(3, ChangeSource::kHost);
  for (const int tag : { 1, 2, 3 }) EXPECT_FALSE(editor.ControlWithTag(tag)->IsHidden()) << tag;
}

TEST(OmbrixEditor, AnEditorOpenedWithTheGraphOffStartsHidden)
{
  OpenOmbrixEditor fixture;
  fixture.plugin.Ombrix().GetParam(3)->Set(0.0);
  IDrawContext& editor = fixture.Open();
  for (const int tag : { 1, 2, 3 }) EXPECT_TRUE(editor.ControlWithTag(tag)->IsHidden()) << tag;
}

TEST(OmbrixEditor, TheDitherLampSwapsTheTintOfTheWholePanel)
{
  OpenOmbrixEditor fixture;
  IDrawContextHeadless& editor = fixture.Open();
  ASSERT_EQ(fixture.Param(0), 0.0);
  (void)editor.Tick();
  // A spot of bare screen between the grid's lines and away from both graphs' baselines.
  const IRgba off = editor.ReadPixel(95, 150);
  EXPECT_GT(off.R, off.G);
  fixture.Click(190, 455);
  EXPECT_EQ(fixture.Param(0), 1.0);
  (void)editor.Tick();
  const IRgba on = editor.ReadPixel(95, 150);
  EXPECT_GT(on.G, on.R);
  // Beside the lamp, the label is no switch.
  fixture.Click(215, 460);
  EXPECT_EQ(fixture.Param(0), 1.0);
}

TEST(OmbrixEditor, TheZoomSurvivesClosingAndIsSavedForTheNextSession)
{
  OpenOmbrixEditor fixture;
  fixture.Open().ApplySize(500, 525, 2.0f, true);
  fixture.plugin.Ombrix().CloseEditorWindow();
  EXPECT_EQ(fixture.plugin.Ombrix().EditorGraphics(), nullptr);
  EXPECT_EQ(fixture.preferences.Content(), "2.0000\n");

  IDrawContextHeadless& again = fixture.Open();
  EXPECT_EQ(again.DrawScale(), 2.0f);
  EXPECT_EQ(again.FramePixelWidth(), 1000);
  EXPECT_EQ(again.FramePixelHeight(), 1050);
  const auto* gui =
      static_cast<const clap_plugin_gui*>(fixture.plugin.plugin->get_extension(fixture.plugin.plugin, CLAP_EXT_GUI));
  ASSERT_NE(gui, nullptr);
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  ASSERT_TRUE(gui->get_size(fixture.plugin.plugin, &width, &height));
  EXPECT_EQ(width, 1000u);
  EXPECT_EQ(height, 1050u);
}

TEST(OmbrixEditor, TheFirstOpeningTakesTheSavedZoomWithinItsLimits)
{
  struct Case
  {
    const char* saved; // null: no file
    float zoom;
  };
  const Case cases[] = { { "8\n", 4.0f }, { "0.3\n", 0.5f }, { "1.5\n", 1.5f }, { nullptr, 1.0f }, { "zoom\n", 1.0f } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.saved ? c.saved : "no file");
    OpenOmbrixEditor fixture;
    if (c.saved) fixture.preferences.Put(c.saved);
    EXPECT_EQ(fixture.Open().DrawScale(), c.zoom);
  }
}

TEST(OmbrixEditor, TheProgrammeReachesTheMeterAndTheGraphsOnTheTimerTick)
{
  OpenOmbrixEditor fixture;
  IDrawContextHeadless& editor = fixture.Open();
  (void)editor.Tick();
  const IRgba quietScreen = editor.ReadPixel(150, 200);
  const clap_plugin* plugin = fixture.plugin.plugin;
  fixture.plugin.Ombrix().GetParam(0)->Set(1.0);
  fixture.plugin.Ombrix().OnParamValueChanged(0);
  ASSERT_TRUE(plugin->activate(plugin, 48000.0, 1, 512));
  ASSERT_TRUE(plugin->start_processing(plugin));
  std::vector<std::vector<double>> in(2, std::vector<double>(512));
  std::vector<std::vector<double>> out(2, std::vector<double>(512));
  std::int64_t frame = 0;
  // The meter's level is the mean over 240 blocks at 48 kHz.
  for (int block = 0; block < 300; ++block)
  {
    for (auto& channel : in)
      for (std::size_t i = 0; i < channel.size(); ++i)
        channel[i] = 0.5 * std::sin(2.0 * 3.141592653589793 * 1000.0 * double(frame + std::int64_t(i)) / 48000.0);
    frame += 512;
    ASSERT_NE(fixture.plugin.Process(in, out), CLAP_PROCESS_ERROR);
  }
  fixture.plugin.Ombrix().OnIdleTick();
  EXPECT_GT(dynamic_cast<MeterControl&>(*editor.ControlWithTag(3)).Level(), 0.0);
  (void)editor.Tick();
  // The 1 kHz line rises from the signal graph's centre line, about a sixth of the way across.
  bool risen = false;
  for (int x = 130; x < 160; ++x) risen = risen || editor.ReadPixel(float(x), 150).R > quietScreen.R + 60;
  EXPECT_TRUE(risen);
  plugin->stop_processing(plugin);
  plugin->deactivate(plugin);
}

} // namespace
} // namespace kit::test
