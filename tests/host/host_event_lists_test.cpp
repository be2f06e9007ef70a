#include "tools/host/event_lists.h"

#include "tools/host/event_builders.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kit::host
{
namespace
{

TEST(InputEventList, HandsOutEveryEventInOrderWithItsHeaderAsWritten)
{
  InputEventList list;
  auto shortParam = ParamValueEvent(3, 0.5, 7);
  shortParam.header.size = 20; // claims less than a parameter value
  auto foreignSpace = MidiEvent(0x90, 60, 100, 2);
  foreignSpace.header.space_id = 1;
  ASSERT_TRUE(list.Add(ParamValueEvent(1, 24.0, 0)));
  ASSERT_TRUE(list.Add(shortParam));
  ASSERT_TRUE(list.Add(foreignSpace));
  ASSERT_TRUE(list.Add(NoteEvent(CLAP_EVENT_NOTE_ON, 0, 64, 1.0, 9)));

  const clap_input_events* record = list.Record();
  ASSERT_EQ(record->size(record), 4u);
  struct Expected
  {
    std::uint32_t size;
    std::uint16_t space;
    std::uint16_t type;
    std::uint32_t time;
  };
  const Expected expected[] = {
    { 56, 0, CLAP_EVENT_PARAM_VALUE, 0 },
    { 20, 0, CLAP_EVENT_PARAM_VALUE, 7 },
    { 24, 1, CLAP_EVENT_MIDI, 2 },
    { 40, 0, CLAP_EVENT_NOTE_ON, 9 },
  };
  for (std::uint32_t i = 0; i < 4; ++i)
  {
    SCOPED_TRACE(i);
    const clap_event_header* header = record->get(record, i);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(header) % 8, 0u);
    EXPECT_EQ(header->size, expected[i].size);
    EXPECT_EQ(header->space_id, expected[i].space);
    EXPECT_EQ(header->type, expected[i].type);
    EXPECT_EQ(header->time, expected[i].time);
  }
  // The full record travels even when its header claims less.
  EXPECT_EQ(reinterpret_cast<const clap_event_param_value*>(record->get(record, 1))->value, 0.5);
  EXPECT_EQ(record->get(record, 4), nullptr);

  list.Clear();
  EXPECT_EQ(record->size(record), 0u);
}

TEST(InputEventList, AFullListRefusesTheEventThatDoesNotFit)
{
  InputEventList list(2 * sizeof(clap_event_param_value));
  EXPECT_TRUE(list.Add(ParamValueEvent(0, 1.0)));
  EXPECT_TRUE(list.Add(ParamValueEvent(1, 1.0)));
  EXPECT_FALSE(list.Add(GestureEvent(CLAP_EVENT_PARAM_GESTURE_BEGIN, 2)));
  EXPECT_EQ(list.Size(), 2u);
}

TEST(OutputEventList, KeepsItsOwnCopyOfEachPushedEventAndSysexPayload)
{
  OutputEventList list;
  const clap_output_events* record = list.Record();
  auto value = ParamValueEvent(2, 16.0, 5);
  std::array<std::uint8_t, 5> payload { 0xF0, 0x7D, 0x01, 0x02, 0xF7 };
  const auto sysex = SysexEvent(payload.data(), std::uint32_t(payload.size()), 11);
  ASSERT_TRUE(record->try_push(record, &value.header));
  ASSERT_TRUE(record->try_push(record, &sysex.header));
  // The plug-in may reuse its memory as soon as try_push returns.
  value.value = -1.0;
  payload.fill(0);

  ASSERT_EQ(list.Size(), 2u);
  const auto* keptValue = list.As<clap_event_param_value>(0);
  ASSERT_NE(keptValue, nullptr);
  EXPECT_EQ(keptValue->value, 16.0);
  EXPECT_EQ(keptValue->header.time, 5u);
  const auto* keptSysex = list.As<clap_event_midi_sysex>(1);
  ASSERT_NE(keptSysex, nullptr);
  ASSERT_EQ(keptSysex->size, 5u);
  EXPECT_NE(keptSysex->buffer, payload.data());
  const std::vector<std::uint8_t> kept(keptSysex->buffer, keptSysex->buffer + keptSysex->size);
  EXPECT_EQ(kept, (std::vector<std::uint8_t> { 0xF0, 0x7D, 0x01, 0x02, 0xF7 }));
  EXPECT_EQ(list.Header(1).type, CLAP_EVENT_MIDI_SYSEX);
  EXPECT_EQ(list.Refused(), 0u);
}

TEST(OutputEventList, RefusesPushesAfterTheLimitAndMalformedOnes)
{
  OutputEventList list;
  list.AcceptAtMost(2);
  const clap_output_events* record = list.Record();
  auto tooSmall = GestureEvent(CLAP_EVENT_PARAM_GESTURE_END, 1);
  tooSmall.header.size = 12;
  const auto gesture = GestureEvent(CLAP_EVENT_PARAM_GESTURE_BEGIN, 1);

  EXPECT_FALSE(record->try_push(record, nullptr));
  EXPECT_FALSE(record->try_push(record, &tooSmall.header));
  EXPECT_TRUE(record->try_push(record, &gesture.header));
  EXPECT_TRUE(record->try_push(record, &gesture.header));
  EXPECT_FALSE(record->try_push(record, &gesture.header));
  EXPECT_EQ(list.Size(), 2u);
  EXPECT_EQ(list.Refused(), 3u);
  // A record type larger than what was pushed is not handed out.
  EXPECT_EQ(list.As<clap_event_param_value>(0), nullptr);
  EXPECT_NE(list.As<clap_event_param_gesture>(0), nullptr);

  list.Clear();
  EXPECT_EQ(list.Size(), 0u);
  EXPECT_EQ(list.Refused(), 0u);
  EXPECT_TRUE(record->try_push(record, &gesture.header)); // the limit counts from the clear
}

TEST(OutputEventList, CopiesAsManyBytesAsTheHeaderStates)
{
  OutputEventList list;
  const clap_output_events* record = list.Record();
  auto value = ParamValueEvent(4, 3.0);
  value.header.size = sizeof(clap_event_param_gesture); // a plug-in that gets the size wrong
  ASSERT_TRUE(record->try_push(record, &value.header));
  EXPECT_EQ(list.Header(0).size, sizeof(clap_event_param_gesture));
  EXPECT_EQ(list.As<clap_event_param_value>(0), nullptr);
}

} // namespace
} // namespace kit::host
