// The editor side of the delegate with a real (window-less) editor: creating and laying it out
// through the plug-in's callbacks, routing host values, packets, MIDI and keys to its controls,
// keeping size and zoom across closing, and an editor left open when the plug-in is destroyed.
#include "binding/draw_editor_delegate.h"
#include "framework/state_chunk.h"
#include "graphics/control.h"
#include "graphics/platform/draw_context_headless.h"
#include "tests/binding/in_process_plugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kit::test
{
namespace
{

// Remembers what reached it through the delegate.
class ListeningControl : public ui::IControl
{
public:
  ListeningControl(const ui::IBounds& area, std::vector<int> paramIndices, std::vector<std::string>& sharedJournal,
                   std::string controlName)
      : IControl(area, paramIndices.empty() ? -1 : paramIndices.front())
      , journal(sharedJournal)
      , name(std::move(controlName))
  {
    for (std::size_t slot = 1; slot < paramIndices.size(); ++slot) values.push_back({ paramIndices[slot], 0.0 });
  }

  void Paint(ui::IDrawContext&) override {}
  void ApplyHostValue(double value, int valueIndex) override
  {
    journal.push_back(name + " value " + std::to_string(valueIndex) + " " + std::to_string(value));
    IControl::ApplyHostValue(value, valueIndex);
  }
  void ReceivePacket(int messageTag, int byteCount, const void*) override
  {
    journal.push_back(name + " packet " + std::to_string(messageTag) + " " + std::to_string(byteCount));
  }
  void ReceiveMidi(const MidiMessage& message) override
  {
    journal.push_back(name + " midi " + std::to_string(message.status));
  }
  bool OnKeyDown(float x, float y, const ui::IKeyEvent& key) override
  {
    journal.push_back(name + " key " + std::string(key.Text()) + " at " + std::to_string(int(x)) + "," +
                      std::to_string(int(y)));
    return true;
  }

private:
  std::vector<std::string>& journal;
  std::string name;
};

// A plug-in's delegate chain down to the editor side, with a window-less editor.
class EditorDelegate : public IDrawEditorDelegate
{
public:
  EditorDelegate()
      : IDrawEditorDelegate(4)
  {
    for (int i = 0; i < NParams(); ++i) GetParam(i)->SetupInt("Param", 0, 0, 10);
    editorWidth = 500;
    editorHeight = 525;
    SetEditorGraphicsFactory([this] { return std::make_unique<ui::IDrawContextHeadless>(*this, 500, 525, 60, 1.0f); });
    SetEditorLayoutFunction(
        [this](ui::IDrawContext& editor)
        {
          ++layouts;
          editor.AddControl(std::make_unique<ListeningControl>(ui::IBounds(0, 0, 500, 525), std::vector<int> {},
                                                               journal, "background"));
          auto both = std::make_unique<ListeningControl>(ui::IBounds(10, 10, 60, 60), std::vector<int> { 1, 2, 1 },
                                                         journal, "both");
          both->SetWantsMidi(true);
          editor.AddControl(std::move(both), 3);
          editor.AddControl(
              std::make_unique<ListeningControl>(ui::IBounds(100, 10, 150, 60), std::vector<int> { 1 }, journal, "one"),
              1);
        });
  }

  void OnParamChangeEditor(int index, ChangeSource source) override
  {
    journal.push_back("changed " + std::to_string(index) + " from " + std::to_string(int(source)));
  }
  void OnEditorClosed() override { journal.push_back("closed"); }
  void OnMidiForEditor(const MidiMessage& message) override
  {
    journal.push_back("editor midi " + std::to_string(message.status));
  }
  [[nodiscard]] bool ResizeHostViewFromEditor(int widthPixels, int heightPixels, bool resizeHost) override
  {
    journal.push_back("host size " + std::to_string(widthPixels) + " x " + std::to_string(heightPixels) +
                      (resizeHost ? " ask" : ""));
    return true;
  }

  [[nodiscard]] ui::IDrawContextHeadless& Headless() const
  {
    return dynamic_cast<ui::IDrawContextHeadless&>(*EditorGraphics());
  }
  // The journal entries that start with prefix, and a fresh journal.
  [[nodiscard]] std::vector<std::string> Take(std::string_view prefix = "")
  {
    std::vector<std::string> found;
    for (const std::string& entry : journal)
      if (std::string_view(entry).substr(0, prefix.size()) == prefix) found.push_back(entry);
    journal.clear();
    return found;
  }

  std::vector<std::string> journal;
  int layouts = 0;
};

TEST(EditorContext, OpeningMakesLaysOutAndOpensTheEditorAndClosingDeletesIt)
{
  EditorDelegate plugin;
  EXPECT_EQ(plugin.EditorGraphics(), nullptr);
  EXPECT_NE(plugin.OpenEditorWindow(nullptr), nullptr);
  ASSERT_NE(plugin.EditorGraphics(), nullptr);
  EXPECT_EQ(plugin.layouts, 1);
  EXPECT_EQ(plugin.EditorGraphics()->NControls(), 3);
  // Every opening begins with the close sequence; the new controls then get every value.
  const std::vector<std::string> opened = plugin.Take();
  ASSERT_FALSE(opened.empty());
  EXPECT_EQ(opened.front(), "closed");
  EXPECT_EQ(std::count(opened.begin(), opened.end(), "changed 1 from 4"), 1);

  plugin.CloseEditorWindow();
  EXPECT_EQ(plugin.EditorGraphics(), nullptr);
  EXPECT_EQ(plugin.Take(), (std::vector<std::string> { "closed" }));

  plugin.SetEditorGraphicsFactory({});
  EXPECT_EQ(plugin.OpenEditorWindow(nullptr), nullptr);
  EXPECT_EQ(plugin.EditorGraphics(), nullptr);
}

TEST(EditorContext, AWindowThatCannotOpenLeavesNoEditorBehind)
{
  EditorDelegate plugin;
  // The window-less layer cannot go into a host's window.
  int hostWindow = 0;
  EXPECT_EQ(plugin.OpenEditorWindow(&hostWindow), nullptr);
  EXPECT_EQ(plugin.EditorGraphics(), nullptr);
  EXPECT_EQ(plugin.layouts, 0);
  EXPECT_NE(plugin.OpenEditorWindow(nullptr), nullptr);
  EXPECT_EQ(plugin.layouts, 1);
}

TEST(EditorContext, HostValuesReachEverySlotOfTheParameterAndTheHookOnce)
{
  EditorDelegate plugin;
  (void)plugin.OpenEditorWindow(nullptr);
  (void)plugin.Take();

  // Real 5 of 0 … 10 is 0.5 normalised.
  plugin.SendParamValueToEditor(1, 5.0, false);
  EXPECT_EQ(plugin.Take(), (std::vector<std::string> { "both value 0 0.500000", "both value 2 0.500000",
                                                       "one value 0 0.500000", "changed 1 from 4" }));
  // An index the plug-in lacks goes nowhere.
  plugin.SendParamValueToEditor(7, 0.5, true);
  EXPECT_TRUE(plugin.Take().empty());

  plugin.CloseEditorWindow();
  (void)plugin.Take();
  plugin.SendParamValueToEditor(1, 0.25, true);
  EXPECT_EQ(plugin.Take(), (std::vector<std::string> { "changed 1 from 4" }));
}

TEST(EditorContext, PacketsValuesAndMidiGoWhereTheyAreAddressed)
{
  EditorDelegate plugin;
  (void)plugin.OpenEditorWindow(nullptr);
  (void)plugin.Take();

  const float payload[4] {};
  plugin.SendPacketToControl(3, 0, int(sizeof payload), payload);
  plugin.SendPacketToControl(2, 0, int(sizeof payload), payload);
  EXPECT_EQ(plugin.Take(), (std::vector<std::string> { "both packet 0 16" }));

  plugin.SendValueToControl(1, 0.75);
  EXPECT_EQ(plugin.Take(), (std::vector<std::string> { "one value 0 0.750000" }));

  plugin.SendMidiToEditor(MidiMessage { 0, 0x90, 60, 100 });
  EXPECT_EQ(plugin.Take(), (std::vector<std::string> { "both midi 144", "editor midi 144" }));

  plugin.CloseEditorWindow();
  (void)plugin.Take();
  plugin.SendPacketToControl(3, 0, int(sizeof payload), payload);
  plugin.SendMidiToEditor(MidiMessage { 0, 0x80, 60, 0 });
  EXPECT_EQ(plugin.Take(), (std::vector<std::string> { "editor midi 128" }));
}

TEST(EditorContext, KeysGoToTheControlUnderThePointer)
{
  EditorDelegate plugin;
  ui::IKeyEvent key;
  key.SetText("a");
  EXPECT_FALSE(plugin.ForwardKeyDown(key));

  (void)plugin.OpenEditorWindow(nullptr);
  (void)plugin.Take();
  plugin.EditorGraphics()->MoveCursor(120.0f, 30.0f);
  EXPECT_TRUE(plugin.ForwardKeyDown(key));
  EXPECT_EQ(plugin.Take(), (std::vector<std::string> { "one key a at 120,30" }));
  // Over the background nobody takes the key: the window passes it to the host.
  plugin.EditorGraphics()->MoveCursor(300.0f, 300.0f);
  EXPECT_FALSE(plugin.ForwardKeyDown(key));
  EXPECT_TRUE(plugin.Take().empty());
}

TEST(EditorContext, ZoomAndSizeSurviveClosingAndReopening)
{
  EditorDelegate plugin;
  (void)plugin.OpenEditorWindow(nullptr);
  plugin.EditorGraphics()->ApplySize(500, 525, 2.0f, true);
  plugin.CloseEditorWindow();
  EXPECT_EQ(plugin.SavedWidth(), 500);
  EXPECT_EQ(plugin.SavedHeight(), 525);
  EXPECT_EQ(plugin.SavedDrawScale(), 2.0f);
  (void)plugin.Take();

  (void)plugin.OpenEditorWindow(nullptr);
  EXPECT_EQ(plugin.EditorGraphics()->DrawScale(), 2.0f);
  const std::vector<std::string> asked = plugin.Take("host size");
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.front(), "host size 1000 x 1050 ask");
  EXPECT_EQ(plugin.Headless().Width(), 500);
}

TEST(EditorContext, TheEditorSizeRoundTripsThroughAChunk)
{
  EditorDelegate plugin;
  (void)plugin.OpenEditorWindow(nullptr);
  plugin.EditorGraphics()->ApplySize(500, 525, 1.5f, true);
  StateChunk chunk;
  ASSERT_TRUE(plugin.SerializeEditorSize(chunk));
  EXPECT_EQ(chunk.Size(), 12);

  // With an editor open, a stored size is applied at once and the host asked to follow.
  plugin.EditorGraphics()->ApplySize(500, 525, 1.0f, true);
  (void)plugin.Take();
  EXPECT_EQ(plugin.UnserializeEditorSize(chunk, 0), 12);
  EXPECT_EQ(plugin.EditorGraphics()->DrawScale(), 1.5f);
  EXPECT_EQ(plugin.Take("host size"), (std::vector<std::string> { "host size 750 x 787 ask" }));

  // Without one it is kept for the next opening; a chunk that ends early reads −1.
  plugin.CloseEditorWindow();
  EditorDelegate other;
  EXPECT_EQ(other.UnserializeEditorSize(chunk, 0), 12);
  EXPECT_EQ(other.SavedDrawScale(), 1.5f);
  (void)other.OpenEditorWindow(nullptr);
  EXPECT_EQ(other.EditorGraphics()->DrawScale(), 1.5f);
  EXPECT_EQ(other.UnserializeEditorSize(chunk, 4), -1);
}

TEST(EditorContext, HostResizesAndDisplayScalesReachTheEditor)
{
  EditorDelegate plugin;
  plugin.OnHostWindowResize(800, 600);
  plugin.SetEditorScreenScale(2.0f);
  (void)plugin.OpenEditorWindow(nullptr);
  ui::IDrawContext& graphics = *plugin.EditorGraphics();
  EXPECT_EQ(graphics.ScreenScale(), 1.0f);

  plugin.SetEditorScreenScale(2.0f);
  EXPECT_EQ(graphics.ScreenScale(), 2.0f);
  (void)plugin.Take();
  // Pixels of the host's window at density 2, taken at zoom 1 without asking the host back.
  plugin.OnHostWindowResize(1000, 1050);
  EXPECT_EQ(graphics.Width(), 500);
  EXPECT_EQ(graphics.Height(), 525);
  EXPECT_EQ(graphics.DrawScale(), 1.0f);
  for (const std::string& asked : plugin.Take("host size")) EXPECT_EQ(asked.find("ask"), std::string::npos) << asked;
}

// A control that reports, when the editor is destroyed, whether the plug-in it belongs to was
// still whole.
class WitnessControl : public ui::IControl
{
public:
  WitnessControl(IEditorDelegate& owner, bool& ownerWhole)
      : IControl(ui::IBounds(0, 0, 10, 10))
      , plugin(owner)
      , pluginWhole(ownerWhole)
  {
  }
  ~WitnessControl() override { pluginWhole = dynamic_cast<ui::Ombrix*>(&plugin) != nullptr; }
  void Paint(ui::IDrawContext&) override {}

private:
  IEditorDelegate& plugin;
  bool& pluginWhole;
};

TEST(EditorContext, AnEditorLeftOpenGoesWhileThePlugInIsStillWhole)
{
  bool pluginWhole = false;
  {
    InProcessPlugin instance;
    ASSERT_NE(instance.plugin, nullptr);
    ASSERT_TRUE(instance.plugin->init(instance.plugin));
    ui::Ombrix& plugin = instance.Ombrix();
    plugin.SetEditorLayoutFunction([&plugin, &pluginWhole](ui::IDrawContext& graphics)
                                   { graphics.AddControl(std::make_unique<WitnessControl>(plugin, pluginWhole)); });
    // An editor opened without the host's gui create: destroy does not close it.
    ASSERT_NE(plugin.OpenEditorWindow(nullptr), nullptr);
  }
  EXPECT_TRUE(pluginWhole);
}

} // namespace
} // namespace kit::test
