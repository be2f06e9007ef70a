// The host's events of a block, applied in list order before it renders: parameter values,
// notes, MIDI and SysEx. Audio thread, or the main thread in a flush outside processing.
#include "binding/clap_binding.h"

#include <algorithm>
#include <cmath>

namespace kit
{

namespace
{

std::uint8_t DataByte(long value) noexcept
{
  return std::uint8_t(std::clamp(value, 0L, 127L));
}

std::uint8_t VelocityByte(double velocity) noexcept
{
  // Halves away from zero; NaN is no velocity.
  return std::isnan(velocity) ? 0 : DataByte(std::lround(std::clamp(velocity, 0.0, 1.0) * 127.0));
}

} // namespace

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

} // namespace kit
