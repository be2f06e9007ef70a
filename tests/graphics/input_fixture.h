#pragma once
// Controls that write every event they receive into one shared journal, and a delegate with
// parameters of every kind the prompts distinguish, for the tests of input and value entry.

#include "graphics/control.h"
#include "support/recording_draw_context.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kit::ui::test
{

using kit::test::Num;
using kit::test::RecordingDelegate;
using kit::test::RecordingDrawContext;

// Parameter indices of EditorParams.
inline constexpr int kDither = 0; // bool with the texts "off" and "on"
inline constexpr int kPower = 1;  // int 0 … 12, 0 shown as "off", default 3
inline constexpr int kBits = 2;   // int 6 … 32, label "bits", default 16
inline constexpr int kShape = 3;  // enum of three named shapes, default 1
inline constexpr int kGraph = 4;  // bool whose two texts are empty
inline constexpr int kParamCount = 5;

class EditorParams : public RecordingDelegate
{
public:
  EditorParams()
      : RecordingDelegate(kParamCount)
  {
    GetParam(kDither)->SetupBool("Dither", true, "", 0, "", "off", "on");
    GetParam(kPower)->SetupInt("Psychoacoustic Power", 3, 0, 12);
    GetParam(kPower)->AddDisplayText(0, "off");
    GetParam(kBits)->SetupInt("Target Bits", 16, 6, 32, "bits");
    GetParam(kShape)->SetupEnum("Shape", 1, 3, "", 0, "", { "Flat", "Gentle", "Steep" });
    GetParam(kGraph)->SetupBool("Show Graph", true);
    for (int i = 0; i < kParamCount; ++i) GetParam(i)->Set(GetParam(i)->DefaultValue());
  }
};

// Writes "<name> <event> …" for every event into the journal it is given.
class JournalControl : public IControl
{
public:
  JournalControl(std::vector<std::string>& eventJournal, std::string controlName, const IBounds& area,
                 int paramIndex = -1)
      : IControl(area, paramIndex)
      , journal(eventJournal)
      , name(std::move(controlName))
  {
  }

  using IControl::values;

  void Paint(IDrawContext&) override { journal.push_back(name + " paint"); }
  void OnPointerDown(float x, float y, const IPointerMods& mods) override
  {
    journal.push_back(name + " down " + Num(x) + " " + Num(y) + (mods.R ? " right" : ""));
    if (opensValueEditorOnPress) graphics->OpenValueEditor(*this, bounds, 0);
  }
  void OnPointerUp(float x, float y, const IPointerMods&) override
  {
    journal.push_back(name + " up " + Num(x) + " " + Num(y));
  }
  void OnPointerDrag(float x, float y, float dX, float dY, const IPointerMods&) override
  {
    journal.push_back(name + " drag " + Num(x) + " " + Num(y) + " by " + Num(dX) + " " + Num(dY));
  }
  void OnPointerDoubleClick(float x, float y, const IPointerMods&) override
  {
    journal.push_back(name + " double " + Num(x) + " " + Num(y));
  }
  void OnPointerWheel(float, float, const IPointerMods&, float delta) override
  {
    journal.push_back(name + " wheel " + Num(delta));
  }
  bool OnKeyDown(float, float, const IKeyEvent& key) override
  {
    journal.push_back(name + " key down " + std::string(key.Text()));
    return handlesKeys;
  }
  bool OnKeyUp(float, float, const IKeyEvent& key) override
  {
    journal.push_back(name + " key up " + std::string(key.Text()));
    return handlesKeys;
  }
  void OnPointerHover(float x, float y, const IPointerMods& mods) override
  {
    journal.push_back(name + " hover");
    IControl::OnPointerHover(x, y, mods);
  }
  void OnPointerLeave() override
  {
    journal.push_back(name + " leave");
    IControl::OnPointerLeave();
  }
  void OnScaleChanged() override { journal.push_back(name + " scale"); }
  void BuildContextMenu(IMenu& menu) override
  {
    for (const std::string& item : contextItems) menu.AddItem(item);
  }
  void OnContextChoice(int itemIndex) override { journal.push_back(name + " context " + Num(itemIndex)); }
  void OnTextCommitted(std::string_view text, int valueIndex) override
  {
    journal.push_back(name + " text " + std::string(text) + " for " + Num(valueIndex));
  }
  void OnMenuChoice(IMenu* menu, int valueIndex) override
  {
    journal.push_back(name + " menu " + (menu ? Num(menu->ChosenIndex()) : std::string("none")));
    IControl::OnMenuChoice(menu, valueIndex);
  }

  std::vector<std::string>& journal;
  std::string name;
  bool handlesKeys = false;
  bool opensValueEditorOnPress = false;
  std::vector<std::string> contextItems;
};

struct InputFixture
{
  EditorParams delegate;
  std::vector<std::string> journal; // outlives the controls
  RecordingDrawContext graphics { delegate };

  JournalControl& Add(std::string name, const IBounds& area, int paramIndex = -1)
  {
    auto control = std::make_unique<JournalControl>(journal, std::move(name), area, paramIndex);
    const std::size_t before = journal.size();
    auto& added = *static_cast<JournalControl*>(graphics.AddControl(std::move(control)));
    journal.resize(before); // the attach notifications are not what the tests look at
    return added;
  }
  // The background at index 0, then whatever the test adds.
  JournalControl& AddBackground() { return Add("bg", IBounds(0, 0, 500, 525)); }

  void Press(float x, float y, IPointerMods mods = IPointerMods { true })
  {
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 0, 0, mods } };
    graphics.OnPointerDown(events);
  }
  void Release(float x, float y, IPointerMods mods = IPointerMods { true })
  {
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 0, 0, mods } };
    graphics.OnPointerUp(events);
  }
  void Drag(float x, float y, float dX, float dY, IPointerMods mods = IPointerMods { true })
  {
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, dX, dY, mods } };
    graphics.OnPointerDrag(events);
  }
  // The journal so far, emptied.
  std::vector<std::string> Take()
  {
    std::vector<std::string> taken;
    taken.swap(journal);
    return taken;
  }
};

inline IPointerMods Right()
{
  IPointerMods mods;
  mods.R = true;
  return mods;
}

using Lines = std::vector<std::string>;

} // namespace kit::ui::test
