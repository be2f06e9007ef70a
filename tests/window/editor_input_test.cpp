// The pointer and the keyboard on the editor in a host's window: the knobs follow a drag with
// the pointer hidden and put back where it was pressed, the wheel steps a value, and the
// caption's text field takes typed digits, ignores letters, commits on Return or a click
// outside and cancels on Escape.
#include "tests/window/editor_window_fixture.h"

#include <gtest/gtest.h>

namespace kit::test
{
namespace
{

constexpr int kPowerKnobX = 360; // the centre of the "Psychoacoustic Power" knob
constexpr int kPowerKnobY = 429;
constexpr int kBitsKnobX = 427; // the "Target Bits" knob
constexpr int kBitsKnobY = 429;
constexpr int kBitsCaptionX = 427; // the "Target Bits" caption
constexpr int kBitsCaptionY = 465;

struct EditorInput : ::testing::Test
{
  void SetUp() override
  {
    server = StartServer();
    ASSERT_NE(server, nullptr);
    editor = std::make_unique<EditorHost>(*server, kTimerAndFd);
    ASSERT_TRUE(editor->Ready());
    ASSERT_TRUE(editor->Open());
  }

  // The host sets the parameter, as automation would, and the editor shows it.
  void SetFromHost(clap_id id, double value)
  {
    if (editor->Value(id) == value) return;
    const WindowPicture before = editor->Picture();
    host::InputEventList in;
    clap_event_param_value event {};
    event.header = { sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0 };
    event.param_id = id;
    event.note_id = -1;
    event.port_index = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    ASSERT_TRUE(in.Add(event));
    host::OutputEventList out;
    editor->instance->FlushParams(in, out);
    ASSERT_EQ(editor->Value(id), value);
    EXPECT_TRUE(editor->RunUntilChanged(before, 0, 400, 500, 480));
  }

  // Presses at the knob, moves the pointer dY pixels down in one motion, waits for the editor to
  // put the pointer back, lets go and waits for the host to hear the gesture end.
  void DragKnob(int x, int y, int dY, bool shift)
  {
    editor->MoveTo(x, y);
    if (shift) PressKey(editor->input, XK_Shift_L, true);
    PressButton(editor->input, 1, true);
    editor->MoveTo(x, y + dY);
    EXPECT_TRUE(editor->RunUntil([&] { return editor->PointerInEditor() == std::make_pair(x, y); }));
    PressButton(editor->input, 1, false);
    if (shift) PressKey(editor->input, XK_Shift_L, false);
    bool ended = false;
    EXPECT_TRUE(editor->RunUntil(
        [&]
        {
          for (const std::uint16_t type : editor->FlushedEventTypes())
            ended = ended || type == CLAP_EVENT_PARAM_GESTURE_END;
          return ended;
        }));
  }

  // Clicks the "Target Bits" caption and waits for its text field to show.
  void OpenBitsField()
  {
    const WindowPicture before = editor->Picture();
    editor->Click(kBitsCaptionX, kBitsCaptionY);
    EXPECT_TRUE(editor->RunUntilChanged(before, 410, 455, 445, 475));
  }

  void TypeAndWait(const std::string& text)
  {
    const WindowPicture before = editor->Picture();
    editor->Type(text);
    EXPECT_TRUE(editor->RunUntilChanged(before, 410, 455, 445, 475));
  }

  std::unique_ptr<XvfbServer> server;
  std::unique_ptr<EditorHost> editor;
};

TEST_F(EditorInput, TheKnobFollowsADragAndThePointerComesBackWhereItWasPressed)
{
  // The presses lie 10 pixels apart: two presses within 4 pixels and 400 ms are a double click.
  struct Case
  {
    bool shift;
    int y;
    double expected;
  };
  for (const Case& c : { Case { false, kPowerKnobY - 5, 3.0 }, Case { true, kPowerKnobY + 5, 8.0 } })
  {
    SCOPED_TRACE(c.shift ? "with shift" : "plain");
    SetFromHost(kPower, 9.0);
    const WindowPicture before = editor->Picture();
    DragKnob(kPowerKnobX, c.y, 62, c.shift);
    EXPECT_TRUE(editor->RunUntil([&] { return editor->Value(kPower) == c.expected; })) << editor->Value(kPower);
    // The knob and its caption show the new value.
    EXPECT_TRUE(editor->RunUntilChanged(before, 340, 410, 380, 475));
    EXPECT_EQ(editor->PointerInEditor(), std::make_pair(kPowerKnobX, c.y));
    editor->KeepPicture(c.shift ? "knob-dragged-with-shift" : "knob-dragged");
  }
}

TEST_F(EditorInput, OneWheelNotchUpStepsTargetBits)
{
  ASSERT_EQ(editor->Value(kTargetBits), 16.0);
  editor->Click(kBitsKnobX, kBitsKnobY, 4);
  EXPECT_TRUE(editor->RunUntil([&] { return editor->Value(kTargetBits) == 17.0; })) << editor->Value(kTargetBits);
}

TEST_F(EditorInput, TheCaptionsTextFieldCommitsCancelsAndFilters)
{
  ASSERT_EQ(editor->Value(kTargetBits), 16.0);
  // Return commits; a letter is not taken.
  OpenBitsField();
  editor->KeepPicture("text-field-open");
  TypeAndWait("2a4");
  editor->KeepPicture("text-field-typed");
  editor->Key(XK_Return);
  EXPECT_TRUE(editor->RunUntil([&] { return editor->Value(kTargetBits) == 24.0; })) << editor->Value(kTargetBits);
  editor->KeepPicture("text-field-committed");

  // Escape cancels: the field closes and the value stays.
  OpenBitsField();
  TypeAndWait("30");
  const WindowPicture typed = editor->Picture();
  editor->Key(XK_Escape);
  EXPECT_TRUE(editor->RunUntilChanged(typed, 410, 455, 445, 475));
  EXPECT_EQ(editor->Value(kTargetBits), 24.0);

  // A click outside the field commits, and that press does nothing else.
  OpenBitsField();
  TypeAndWait("20");
  editor->Click(197, 460);
  EXPECT_TRUE(editor->RunUntil([&] { return editor->Value(kTargetBits) == 20.0; })) << editor->Value(kTargetBits);
  EXPECT_EQ(editor->Value(kDither), 0.0);
}

} // namespace
} // namespace kit::test
