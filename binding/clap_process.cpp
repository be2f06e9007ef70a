// The audio-thread side of the binding: one process call becomes one rendered block, with
// the host's events applied first and the plug-in's events written back after.
#include "binding/clap_binding.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace kit
{

namespace
{

constexpr double kTimeFactorInverse = 1.0 / 2147483648.0; // of CLAP_SECTIME_FACTOR and CLAP_BEATTIME_FACTOR

std::uint8_t DataByte(long value) noexcept
{
  return std::uint8_t(std::clamp(value, 0L, 127L));
}

std::uint8_t VelocityByte(double velocity) noexcept
{
  // Halves away from zero; NaN is no velocity.
  return std::isnan(velocity) ? 0 : DataByte(std::lround(std::clamp(velocity, 0.0, 1.0) * 127.0));
}

bool SampleWidthIs64(const clap_process& process) noexcept
{
  if (process.audio_inputs_count > 0 && process.audio_inputs && process.audio_inputs[0].channel_count > 0)
    return process.audio_inputs[0].data64 != nullptr;
  if (process.audio_outputs_count > 0 && process.audio_outputs && process.audio_outputs[0].channel_count > 0)
    return process.audio_outputs[0].data64 != nullptr;
  return false;
}

// Every port with channels has a buffer array of the block's width and no null channel.
bool BuffersPresent(const clap_audio_buffer* ports, std::uint32_t count, bool wide) noexcept
{
  if (count > 0 && !ports) return false;
  for (std::uint32_t p = 0; p < count; ++p)
  {
    const clap_audio_buffer& port = ports[p];
    if (port.channel_count == 0) continue;
    if (wide ? !port.data64 : !port.data32) return false;
    for (std::uint32_t c = 0; c < port.channel_count; ++c)
      if (wide ? !port.data64[c] : !port.data32[c]) return false;
  }
  return true;
}

TransportInfo ReadTransport(const clap_event_transport& host, double sampleRate) noexcept
{
  TransportInfo info;
  if (host.flags & CLAP_TRANSPORT_HAS_TEMPO) info.tempo = host.tempo;
  if (host.flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE)
    info.samplePosition = double(host.song_pos_seconds) * kTimeFactorInverse * sampleRate;
  if (host.flags & CLAP_TRANSPORT_HAS_BEATS_TIMELINE)
  {
    info.quarterNotePosition = double(host.song_pos_beats) * kTimeFactorInverse;
    info.lastBarStart = double(host.bar_start) * kTimeFactorInverse;
    info.loopStart = double(host.loop_start_beats) * kTimeFactorInverse;
    info.loopEnd = double(host.loop_end_beats) * kTimeFactorInverse;
  }
  if (host.flags & CLAP_TRANSPORT_HAS_TIME_SIGNATURE)
  {
    info.numerator = host.tsig_num;
    info.denominator = host.tsig_denom;
  }
  info.running = (host.flags & CLAP_TRANSPORT_IS_PLAYING) != 0;
  info.loopActive = (host.flags & CLAP_TRANSPORT_IS_LOOP_ACTIVE) != 0;
  return info;
}

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

clap_process_status IClapBinding::Process(const clap_process* process) noexcept
{
  if (!process) return CLAP_PROCESS_ERROR;
  if ((process->audio_inputs_count > 0 && !process->audio_inputs) ||
      (process->audio_outputs_count > 0 && !process->audio_outputs))
    return CLAP_PROCESS_ERROR;
  if (process->frames_count > std::uint32_t(std::max(maxBlockSize, 0))) return CLAP_PROCESS_ERROR;
  const bool wide = SampleWidthIs64(*process);
  if (!BuffersPresent(process->audio_inputs, process->audio_inputs_count, wide) ||
      !BuffersPresent(process->audio_outputs, process->audio_outputs_count, wide))
    return CLAP_PROCESS_ERROR;
  const std::uint32_t frames = process->frames_count;

  if (process->transport) SetTransport(ReadTransport(*process->transport, sampleRate));
  ConvertInputEvents(process->in_events);

  MidiMessage message;
  while (midiFromEditor.Pop(message)) ProcessMidiMessage(message);
  SysExRecord record;
  while (sysExFromEditor.Pop(record)) (void)SendSysEx(record.View());

  const bool silenceCheck = !hostTailUsable && tailLength != 0 && tailLength != std::numeric_limits<int>::max();
  bool silent = silenceCheck;
  (void)ConnectAndAttach(kInput, process->audio_inputs, process->audio_inputs_count, wide, frames, silent);
  const int attachedOutputs =
      ConnectAndAttach(kOutput, process->audio_outputs, process->audio_outputs_count, wide, frames, silent);

  if (wide)
    RenderDirect(int(frames));
  else
    RenderConverting(int(frames));

  // Channels beyond those the processor has records for are silent, not left as they came.
  int channel = 0;
  for (std::uint32_t p = 0; p < process->audio_outputs_count; ++p)
  {
    clap_audio_buffer& port = process->audio_outputs[p];
    port.constant_mask = 0;
    for (std::uint32_t c = 0; c < port.channel_count; ++c, ++channel)
    {
      if (channel < attachedOutputs) continue;
      if (wide)
        std::fill_n(port.data64[c], frames, 0.0);
      else
        std::fill_n(port.data32[c], frames, 0.0f);
    }
  }

  WriteOutputEvents(process->out_events, frames);

  if (hostTailUsable) return CLAP_PROCESS_TAIL;
  if (tailLength == 0) return CLAP_PROCESS_CONTINUE_IF_NOT_QUIET;
  if (tailLength == std::numeric_limits<int>::max()) return CLAP_PROCESS_CONTINUE;
  if (silent)
    silentFrames = std::int32_t(std::min<std::int64_t>(tailLength, std::int64_t(silentFrames) + frames));
  else
    silentFrames = 0;
  return silentFrames >= tailLength ? CLAP_PROCESS_SLEEP : CLAP_PROCESS_CONTINUE;
}

int IClapBinding::ConnectAndAttach(ERoute direction, const clap_audio_buffer* ports, std::uint32_t portCount, bool wide,
                                   std::uint32_t frames, bool& silent) noexcept
{
  std::uint64_t total = 0;
  for (std::uint32_t p = 0; p < portCount; ++p) total += ports[p].channel_count;
  // The processor has records for so many channels; the rest stay unattached.
  const int attached = int(std::min<std::uint64_t>(total, pointers64.size()));

  ConnectChannels(direction, 0, ChannelRecordCount(direction), false);
  ConnectChannels(direction, 0, attached, true);
  if (attached == 0) return 0;

  int channel = 0;
  for (std::uint32_t p = 0; p < portCount && channel < attached; ++p)
  {
    const clap_audio_buffer& port = ports[p];
    for (std::uint32_t c = 0; c < port.channel_count && channel < attached; ++c, ++channel)
    {
      if (wide)
        pointers64[std::size_t(channel)] = port.data64[c];
      else
        pointers32[std::size_t(channel)] = port.data32[c];
      if (direction == kInput && silent)
      {
        // NaN compares unequal to 0, so it counts as sound.
        for (std::uint32_t i = 0; i < frames && silent; ++i)
          silent = wide ? port.data64[c][i] == 0.0 : port.data32[c][i] == 0.0f;
      }
    }
  }
  if (direction == kInput && total > std::uint64_t(attached) && silent)
  {
    // Channels beyond the records still count for silence.
    std::uint64_t seen = 0;
    for (std::uint32_t p = 0; p < portCount && silent; ++p)
      for (std::uint32_t c = 0; c < ports[p].channel_count && silent; ++c, ++seen)
        if (seen >= std::uint64_t(attached))
          for (std::uint32_t i = 0; i < frames && silent; ++i)
            silent = wide ? ports[p].data64[c][i] == 0.0 : ports[p].data32[c][i] == 0.0f;
  }

  if (wide)
    AttachDirect(direction, 0, attached, pointers64.data());
  else if (direction == kInput)
    AttachInputsConverting(0, attached, pointers32.data(), int(frames));
  else
    AttachOutputsConverting(0, attached, pointers32.data());
  return attached;
}

void IClapBinding::ConvertInputEvents(const clap_input_events* in) noexcept
{
  if (!in || !in->size || !in->get) return;
  for (std::uint32_t i = 0; i < in->size(in); ++i)
  {
    const clap_event_header* header = in->get(in, i);
    if (!header || header->size < sizeof(clap_event_header) || header->space_id != CLAP_CORE_EVENT_SPACE_ID) continue;
    const auto offset = std::int32_t(header->time);
    switch (header->type)
    {
    case CLAP_EVENT_PARAM_VALUE:
      if (header->size >= sizeof(clap_event_param_value))
        ApplyParamEvent(*reinterpret_cast<const clap_event_param_value*>(header));
      break;
    case CLAP_EVENT_NOTE_ON:
    case CLAP_EVENT_NOTE_OFF:
      if (header->size >= sizeof(clap_event_note))
      {
        const auto& note = *reinterpret_cast<const clap_event_note*>(header);
        const bool on = header->type == CLAP_EVENT_NOTE_ON;
        MidiMessage midi;
        midi.offset = offset;
        midi.status = std::uint8_t((on ? 0x90 : 0x80) | (std::uint8_t(note.channel) & 0x0F));
        midi.data1 = DataByte(note.key);
        midi.data2 = on ? VelocityByte(note.velocity) : 0;
        ReceiveMidi(midi);
      }
      break;
    case CLAP_EVENT_MIDI:
      if (header->size >= sizeof(clap_event_midi))
      {
        const auto& event = *reinterpret_cast<const clap_event_midi*>(header);
        ReceiveMidi({ offset, event.data[0], DataByte(event.data[1]), DataByte(event.data[2]) });
      }
      break;
    case CLAP_EVENT_MIDI_SYSEX:
      if (header->size >= sizeof(clap_event_midi_sysex))
      {
        const auto& event = *reinterpret_cast<const clap_event_midi_sysex*>(header);
        if (!event.buffer && event.size > 0) break;
        const auto size = std::int32_t(std::min<std::uint32_t>(event.size, SysExRecord::kMaxPayload));
        const SysExMessage sysEx { offset, size, event.buffer };
        ProcessSysEx(sysEx);
        (void)sysExToEditor.Push(SysExRecord::From(sysEx));
      }
      break;
    default:
      break;
    }
  }
}

void IClapBinding::ApplyParamEvent(const clap_event_param_value& event) noexcept
{
  if (event.param_id >= std::uint32_t(NParams())) return;
  const int index = int(event.param_id);
  IParam& param = *GetParam(index);
  const bool continuous = param.Type() == IParam::kTypeDouble;
  param.Set(param.Conform(continuous ? param.FromNormalized(event.value) : event.value));
  QueueParamForEditor(index, event.value, continuous);
  OnParamChange(index, ChangeSource::kHost, int(event.header.time));
}

void IClapBinding::ReceiveMidi(const MidiMessage& message) noexcept
{
  ProcessMidiMessage(message);
  (void)midiToEditor.Push(message);
}

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
