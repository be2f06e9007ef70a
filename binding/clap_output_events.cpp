// What leaves the plug-in with a block: the editor's parameter changes, and MIDI and SysEx in
// time order, in lists that carry later offsets into the next block. Audio thread.
#include "binding/clap_binding.h"

#include <algorithm>

namespace kit
{

namespace
{

// Inserts item after every entry whose offset is not greater, keeping [read, count) sorted;
// the list grows by step when full and nothing sent can be dropped. False when it cannot grow.
template <class Item>
bool InsertByOffset(std::vector<Item>& list, std::size_t& count, std::size_t& read, const Item& item,
                    std::size_t step) noexcept
{
  if (count == list.size())
  {
    if (read > 0)
    {
      std::move(list.begin() + std::ptrdiff_t(read), list.begin() + std::ptrdiff_t(count), list.begin());
      count -= read;
      read = 0;
    }
    else
    {
      try
      {
        list.resize(list.size() + step);
      }
      catch (...)
      {
        return false;
      }
    }
  }
  std::size_t position = count;
  while (position > read && list[position - 1].offset > item.offset)
  {
    list[position] = list[position - 1];
    --position;
  }
  list[position] = item;
  ++count;
  return true;
}

// Drops the sent entries and moves the rest into the next block's time.
template <class Item>
void CompactForNextBlock(std::vector<Item>& list, std::size_t& count, std::size_t& read, std::int32_t frames) noexcept
{
  std::move(list.begin() + std::ptrdiff_t(read), list.begin() + std::ptrdiff_t(count), list.begin());
  count -= read;
  read = 0;
  for (std::size_t i = 0; i < count; ++i) list[i].offset -= frames;
}

} // namespace

void IClapBinding::PushParamEventsToHost(const clap_output_events* out) noexcept
{
  if (!out || !out->try_push) return;
  HostParamEntry entry;
  // An entry leaves the queue only once the host took it: a refused gesture end is retried
  // by the next process or flush instead of being lost.
  while (hostParamQueue.Peek(entry))
  {
    bool pushed = false;
    if (entry.kind == HostParamEntry::kValue)
    {
      clap_event_param_value event {};
      event.header = { sizeof(clap_event_param_value), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0 };
      event.param_id = clap_id(entry.index);
      event.cookie = nullptr;
      event.note_id = -1;
      event.port_index = -1;
      event.channel = -1;
      event.key = -1;
      event.value = entry.value;
      pushed = out->try_push(out, &event.header);
    }
    else
    {
      clap_event_param_gesture event {};
      const auto type =
          entry.kind == HostParamEntry::kGestureBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END;
      event.header = { sizeof(clap_event_param_gesture), 0, CLAP_CORE_EVENT_SPACE_ID, std::uint16_t(type), 0 };
      event.param_id = clap_id(entry.index);
      pushed = out->try_push(out, &event.header);
    }
    if (!pushed) return;
    hostParamQueue.DropFront();
  }
}

void IClapBinding::WriteOutputEvents(const clap_output_events* out, std::uint32_t frames) noexcept
{
  PushParamEventsToHost(out);
  if (!out) return;
  const auto blockEnd = std::int64_t(frames);
  for (;;)
  {
    const std::int64_t midiTime = midiOutRead < midiOutCount ? midiOutList[midiOutRead].offset : blockEnd;
    const std::int64_t sysExTime = sysExOutRead < sysExOutCount ? sysExOutList[sysExOutRead].offset : blockEnd;
    if (midiOutRead >= midiOutCount && sysExOutRead >= sysExOutCount) break;
    if (std::min(midiTime, sysExTime) >= blockEnd) break;
    if (sysExTime <= midiTime)
    {
      const SysExRecord& record = sysExOutList[sysExOutRead++];
      clap_event_midi_sysex event {};
      event.header = { sizeof(clap_event_midi_sysex), std::uint32_t(std::max(record.offset, 0)),
                       CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI_SYSEX, 0 };
      event.port_index = 0;
      event.buffer = record.data;
      event.size = std::uint32_t(record.size);
      if (out->try_push) (void)out->try_push(out, &event.header);
      continue;
    }
    const MidiMessage& midi = midiOutList[midiOutRead++];
    const int nibble = midi.status >> 4;
    const auto time = std::uint32_t(std::max(midi.offset, 0));
    if (nibble == 0x9 || nibble == 0x8)
    {
      clap_event_note event {};
      const auto type = nibble == 0x9 ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF;
      event.header = { sizeof(clap_event_note), time, CLAP_CORE_EVENT_SPACE_ID, std::uint16_t(type), 0 };
      event.note_id = -1;
      event.port_index = 0;
      event.channel = std::int16_t(midi.status & 0x0F);
      event.key = std::int16_t(midi.data1);
      event.velocity = midi.data2 / 127.0;
      if (out->try_push) (void)out->try_push(out, &event.header);
    }
    else
    {
      clap_event_midi event {};
      event.header = { sizeof(clap_event_midi), time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0 };
      event.port_index = 0;
      event.data[0] = midi.status;
      event.data[1] = midi.data1;
      event.data[2] = midi.data2;
      if (out->try_push) (void)out->try_push(out, &event.header);
    }
  }
  CompactForNextBlock(midiOutList, midiOutCount, midiOutRead, std::int32_t(frames));
  CompactForNextBlock(sysExOutList, sysExOutCount, sysExOutRead, std::int32_t(frames));
}

bool IClapBinding::SendMidiMessage(const MidiMessage& message) noexcept
{
  (void)InsertByOffset(midiOutList, midiOutCount, midiOutRead, message, kOutputListStep);
  return true;
}

bool IClapBinding::SendSysEx(const SysExMessage& message) noexcept
{
  (void)InsertByOffset(sysExOutList, sysExOutCount, sysExOutRead, SysExRecord::From(message), kOutputListStep);
  return true;
}

} // namespace kit
