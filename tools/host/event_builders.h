// Well-formed CLAP events of the core space, ready for an InputEventList or a process's
// transport. A test that wants a malformed event builds a good one and spoils one field.
#pragma once

#include "binding/clap_abi.h"

#include <cstdint>

namespace kit::host
{

// Parameter value for every note, port, channel and key (all -1).
[[nodiscard]] clap_event_param_value ParamValueEvent(clap_id paramId, double value, std::uint32_t time = 0) noexcept;
// type is CLAP_EVENT_PARAM_GESTURE_BEGIN or CLAP_EVENT_PARAM_GESTURE_END.
[[nodiscard]] clap_event_param_gesture GestureEvent(std::uint16_t type, clap_id paramId,
                                                    std::uint32_t time = 0) noexcept;
// type is one of the note types (on, off, choke, end); note id -1, port 0.
[[nodiscard]] clap_event_note NoteEvent(std::uint16_t type, std::int16_t channel, std::int16_t key, double velocity,
                                        std::uint32_t time = 0) noexcept;
[[nodiscard]] clap_event_midi MidiEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                                        std::uint32_t time = 0) noexcept;
// The payload is the caller's and must outlive the list.
[[nodiscard]] clap_event_midi_sysex SysexEvent(const std::uint8_t* payload, std::uint32_t size,
                                               std::uint32_t time = 0) noexcept;
// A playing transport in 4/4 with tempo, beat and seconds timelines.
[[nodiscard]] clap_event_transport PlayingTransport(double tempo, double beats, double seconds) noexcept;

} // namespace kit::host
