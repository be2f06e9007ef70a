// Notes and MIDI pass through the plug-in: each event of a block comes back in the same block
// at its offset (events beyond the block in a later one), converted through MIDI bytes on the
// way.
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/event_builders.h"

#include <gtest/gtest.h>

#include <vector>

namespace kit::test
{
namespace
{

constexpr std::uint32_t kFrames = 64;

// A processing instance and one block's ports, run block by block.
struct Passthrough
{
  Passthrough()
  {
    EXPECT_TRUE(p.Ready());
    if (p.Ready())
    {
      EXPECT_TRUE(p.Start());
    }
  }

  // One block with these events; the events the plug-in sent back are in out.
  void Run(const host::InputEventList& in)
  {
    out.Clear();
    ASSERT_EQ(p.RunBlock(inputs, outputs, in, out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  }

  LoadedPlugin p;
  host::AudioBuffers inputs { host::SampleWidth::Float32, { 2 }, kFrames };
  host::AudioBuffers outputs { host::SampleWidth::Float32, { 2 }, kFrames };
  host::OutputEventList out;
};

TEST(MidiEvents, NotesComeBackAtTheirOffsetsWithVelocityThroughMidiBytes)
{
  struct Case
  {
    const char* name;
    std::uint16_t type;
    double velocity;
    double returned; // the 7-bit velocity it became, over 127
  };
  const Case cases[] = {
    { "on, full velocity", CLAP_EVENT_NOTE_ON, 1.0, 127.0 / 127.0 },
    { "on, half velocity rounds up", CLAP_EVENT_NOTE_ON, 0.5, 64.0 / 127.0 },
    { "on, just below a half step", CLAP_EVENT_NOTE_ON, 63.49 / 127.0, 63.0 / 127.0 },
    { "on, beyond full", CLAP_EVENT_NOTE_ON, 1.5, 1.0 },
    { "on, zero", CLAP_EVENT_NOTE_ON, 0.0, 0.0 },
    { "off keeps no velocity", CLAP_EVENT_NOTE_OFF, 0.8, 0.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    Passthrough t;
    host::InputEventList in;
    ASSERT_TRUE(in.Add(host::NoteEvent(c.type, 3, 60, c.velocity, 10)));
    t.Run(in);
    ASSERT_EQ(t.out.Size(), 1u);
    const auto* note = t.out.As<clap_event_note>(0);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->header.type, c.type);
    EXPECT_EQ(note->header.size, sizeof(clap_event_note));
    EXPECT_EQ(note->header.space_id, CLAP_CORE_EVENT_SPACE_ID);
    EXPECT_EQ(note->header.time, 10u);
    EXPECT_EQ(note->channel, 3);
    EXPECT_EQ(note->key, 60);
    EXPECT_EQ(note->note_id, -1);
    EXPECT_EQ(note->port_index, 0);
    EXPECT_DOUBLE_EQ(note->velocity, c.returned);
  }
}

TEST(MidiEvents, MidiDataBytesAboveSevenBitsAreClampedAndNoteMessagesBecomeNotes)
{
  Passthrough t;
  host::InputEventList in;
  ASSERT_TRUE(in.Add(host::MidiEvent(0xB2, 200, 255, 4)));
  ASSERT_TRUE(in.Add(host::MidiEvent(0xE0, 0x7F, 0x40, 5)));
  ASSERT_TRUE(in.Add(host::MidiEvent(0x91, 64, 100, 6)));
  t.Run(in);
  ASSERT_EQ(t.out.Size(), 3u);

  const auto* control = t.out.As<clap_event_midi>(0);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->header.type, CLAP_EVENT_MIDI);
  EXPECT_EQ(control->header.time, 4u);
  EXPECT_EQ(control->port_index, 0);
  EXPECT_EQ(control->data[0], 0xB2);
  EXPECT_EQ(control->data[1], 127);
  EXPECT_EQ(control->data[2], 127);

  const auto* bend = t.out.As<clap_event_midi>(1);
  ASSERT_NE(bend, nullptr);
  EXPECT_EQ(bend->header.time, 5u);
  EXPECT_EQ(bend->data[0], 0xE0);
  EXPECT_EQ(bend->data[1], 0x7F);
  EXPECT_EQ(bend->data[2], 0x40);

  const auto* note = t.out.As<clap_event_note>(2);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->header.type, CLAP_EVENT_NOTE_ON);
  EXPECT_EQ(note->header.time, 6u);
  EXPECT_EQ(note->channel, 1);
  EXPECT_EQ(note->key, 64);
  EXPECT_DOUBLE_EQ(note->velocity, 100.0 / 127.0);
}

// The plug-in's processor has no use for the host's SysEx: it is read (a payload of any
// length, or none) and not sent back. SysEx reaches the host from the editor only.
TEST(MidiEvents, HostSysExIsTakenInAndNotSentBack)
{
  Passthrough t;
  std::vector<std::uint8_t> payload(600, 0x11);
  host::InputEventList in;
  ASSERT_TRUE(in.Add(host::SysexEvent(payload.data(), 6, 20)));
  ASSERT_TRUE(in.Add(host::SysexEvent(payload.data(), 600, 21)));
  ASSERT_TRUE(in.Add(host::SysexEvent(nullptr, 4, 22)));
  ASSERT_TRUE(in.Add(host::SysexEvent(nullptr, 0, 23)));
  ASSERT_TRUE(in.Add(host::MidiEvent(0xB0, 1, 2, 24)));
  t.Run(in);
  ASSERT_EQ(t.out.Size(), 1u);
  EXPECT_EQ(t.out.Header(0).type, CLAP_EVENT_MIDI);
  EXPECT_EQ(t.out.Header(0).time, 24u);
}

// Output events are in time order whatever the order of the input list; events that cannot
// be read are dropped without taking others with them.
TEST(MidiEvents, EventsLeaveInTimeOrder)
{
  Passthrough t;
  host::InputEventList in;
  ASSERT_TRUE(in.Add(host::NoteEvent(CLAP_EVENT_NOTE_ON, 0, 70, 1.0, 40)));
  ASSERT_TRUE(in.Add(host::MidiEvent(0xB0, 1, 2, 30)));
  ASSERT_TRUE(in.Add(host::MidiEvent(0xB0, 1, 3, 30)));
  clap_event_midi foreign = host::MidiEvent(0xB0, 3, 4, 12);
  foreign.header.space_id = 7;
  ASSERT_TRUE(in.Add(foreign));
  clap_event_note shortNote = host::NoteEvent(CLAP_EVENT_NOTE_ON, 0, 50, 1.0, 13);
  shortNote.header.size = sizeof(clap_event_note) - 1;
  ASSERT_TRUE(in.Add(shortNote));
  ASSERT_TRUE(in.Add(host::NoteEvent(CLAP_EVENT_NOTE_CHOKE, 0, 70, 0.0, 14))); // not passed on
  ASSERT_TRUE(in.Add(host::NoteEvent(CLAP_EVENT_NOTE_OFF, 0, 70, 0.0, 2)));
  t.Run(in);

  struct Expected
  {
    std::uint16_t type;
    std::uint32_t time;
  };
  const Expected expected[] = {
    { CLAP_EVENT_NOTE_OFF, 2 },
    { CLAP_EVENT_MIDI, 30 },
    { CLAP_EVENT_MIDI, 30 },
    { CLAP_EVENT_NOTE_ON, 40 },
  };
  ASSERT_EQ(t.out.Size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i)
  {
    SCOPED_TRACE(i);
    EXPECT_EQ(t.out.Header(i).type, expected[i].type);
    EXPECT_EQ(t.out.Header(i).time, expected[i].time);
  }
  // Equal offsets keep their arrival order.
  EXPECT_EQ(t.out.As<clap_event_midi>(1)->data[2], 2);
  EXPECT_EQ(t.out.As<clap_event_midi>(2)->data[2], 3);
}

TEST(MidiEvents, EventsBeyondTheBlockLeaveInALaterBlockWithTheOffsetReduced)
{
  Passthrough t;
  host::InputEventList in;
  ASSERT_TRUE(in.Add(host::NoteEvent(CLAP_EVENT_NOTE_ON, 2, 61, 1.0, 100)));
  ASSERT_TRUE(in.Add(host::NoteEvent(CLAP_EVENT_NOTE_OFF, 2, 61, 0.0, 150)));
  ASSERT_TRUE(in.Add(host::MidiEvent(0xC0, 5, 0, 63)));
  t.Run(in);
  ASSERT_EQ(t.out.Size(), 1u);
  EXPECT_EQ(t.out.Header(0).type, CLAP_EVENT_MIDI);
  EXPECT_EQ(t.out.Header(0).time, 63u);

  const host::InputEventList none;
  t.Run(none); // frames 64..127: the note at 100
  ASSERT_EQ(t.out.Size(), 1u);
  EXPECT_EQ(t.out.Header(0).type, CLAP_EVENT_NOTE_ON);
  EXPECT_EQ(t.out.Header(0).time, 36u);
  EXPECT_EQ(t.out.As<clap_event_note>(0)->key, 61);

  t.Run(none); // frames 128..191: the note-off at 150
  ASSERT_EQ(t.out.Size(), 1u);
  EXPECT_EQ(t.out.Header(0).type, CLAP_EVENT_NOTE_OFF);
  EXPECT_EQ(t.out.Header(0).time, 22u);

  t.Run(none);
  EXPECT_EQ(t.out.Size(), 0u);
}

} // namespace
} // namespace kit::test
