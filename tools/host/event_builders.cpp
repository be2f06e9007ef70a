#include "tools/host/event_builders.h"

#include <cmath>

namespace kit::host
{
namespace
{

template <class Event>
clap_event_header HeaderFor(std::uint16_t type, std::uint32_t time) noexcept
{
  return { sizeof(Event), time, CLAP_CORE_EVENT_SPACE_ID, type, 0 };
}

// Fixed point with 31 fraction bits, rounded to the nearest step.
std::int64_t FixedPoint(double value, std::int64_t factor) noexcept
{
  return std::llround(value * double(factor));
}

} // namespace

clap_event_param_value ParamValueEvent(clap_id paramId, double value, std::uint32_t time) noexcept
{
  clap_event_param_value event {};
  event.header = HeaderFor<clap_event_param_value>(CLAP_EVENT_PARAM_VALUE, time);
  event.param_id = paramId;
  event.note_id = -1;
  event.port_index = -1;
  event.channel = -1;
  event.key = -1;
  event.value = value;
  return event;
}

clap_event_param_gesture GestureEvent(std::uint16_t type, clap_id paramId, std::uint32_t time) noexcept
{
  clap_event_param_gesture event {};
  event.header = HeaderFor<clap_event_param_gesture>(type, time);
  event.param_id = paramId;
  return event;
}

clap_event_note NoteEvent(std::uint16_t type, std::int16_t channel, std::int16_t key, double velocity,
                          std::uint32_t time) noexcept
{
  clap_event_note event {};
  event.header = HeaderFor<clap_event_note>(type, time);
  event.note_id = -1;
  event.port_index = 0;
  event.channel = channel;
  event.key = key;
  event.velocity = velocity;
  return event;
}

clap_event_midi MidiEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, std::uint32_t time) noexcept
{
  clap_event_midi event {};
  event.header = HeaderFor<clap_event_midi>(CLAP_EVENT_MIDI, time);
  event.data[0] = status;
  event.data[1] = data1;
  event.data[2] = data2;
  return event;
}

clap_event_midi_sysex SysexEvent(const std::uint8_t* payload, std::uint32_t size, std::uint32_t time) noexcept
{
  clap_event_midi_sysex event {};
  event.header = HeaderFor<clap_event_midi_sysex>(CLAP_EVENT_MIDI_SYSEX, time);
  event.buffer = payload;
  event.size = size;
  return event;
}

clap_event_transport PlayingTransport(double tempo, double beats, double seconds) noexcept
{
  clap_event_transport event {};
  event.header = HeaderFor<clap_event_transport>(CLAP_EVENT_TRANSPORT, 0);
  event.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE | CLAP_TRANSPORT_HAS_SECONDS_TIMELINE |
                CLAP_TRANSPORT_HAS_TIME_SIGNATURE | CLAP_TRANSPORT_IS_PLAYING;
  event.song_pos_beats = FixedPoint(beats, CLAP_BEATTIME_FACTOR);
  event.song_pos_seconds = FixedPoint(seconds, CLAP_SECTIME_FACTOR);
  event.tempo = tempo;
  event.bar_start = FixedPoint(std::floor(beats / 4.0) * 4.0, CLAP_BEATTIME_FACTOR);
  event.bar_number = std::int32_t(std::floor(beats / 4.0));
  event.tsig_num = 4;
  event.tsig_denom = 4;
  return event;
}

} // namespace kit::host
