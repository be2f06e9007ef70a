// Process calls with fuzzed input event lists: headers of any size, space, type, flags and
// time (out of order, beyond the block), parameter ids valid and not, values NaN, infinite
// or huge, and frame counts up to the activated maximum. Input, per block: a frame count, an
// event count, then per event its header fields and a 48-byte body; the block's samples follow.
#include "tests/fuzz/fuzz_plugin.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

using kit::fuzz::FuzzInput;
using kit::fuzz::FuzzPlugin;

constexpr std::size_t kEventBytes = 128; // room for the largest event a header may claim
constexpr std::size_t kMaxEvents = 64;

// Events laid out in fixed slots; a header claims what it likes up to the slot's size.
struct FuzzEventList
{
  std::array<std::array<std::uint8_t, kEventBytes>, kMaxEvents> slots {};
  std::uint32_t count = 0;
  std::array<std::uint8_t, 512> sysexPayload {};
  clap_input_events record {};

  FuzzEventList()
  {
    record.ctx = this;
    record.size = [](const clap_input_events* list) { return static_cast<const FuzzEventList*>(list->ctx)->count; };
    record.get = [](const clap_input_events* list, std::uint32_t index) -> const clap_event_header*
    {
      const auto* self = static_cast<const FuzzEventList*>(list->ctx);
      if (index >= self->count) return nullptr;
      return reinterpret_cast<const clap_event_header*>(self->slots[index].data());
    };
  }

  // A well-formed parameter event, as the first of a block.
  void AddParam(clap_id id, double value)
  {
    clap_event_param_value event {};
    event.header = { sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0 };
    event.param_id = id;
    event.note_id = -1;
    event.port_index = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    std::memcpy(slots[count++].data(), &event, sizeof event);
  }

  void Add(FuzzInput& input)
  {
    std::array<std::uint8_t, kEventBytes>& slot = slots[count++];
    slot.fill(0);
    clap_event_header header {};
    header.size = input.Take<std::uint8_t>() % (kEventBytes + 1);
    header.time = input.Take<std::uint32_t>() % (2 * kit::fuzz::kMaxFrames);
    const std::uint8_t space = input.Take<std::uint8_t>();
    header.space_id = space < 240 ? CLAP_CORE_EVENT_SPACE_ID : space;
    header.type = input.Take<std::uint8_t>() % 16;
    header.flags = input.Take<std::uint32_t>();
    std::memcpy(slot.data(), &header, sizeof header);
    for (std::size_t i = sizeof header; i < sizeof header + 48; ++i) slot[i] = input.Take<std::uint8_t>();
    if (header.type == CLAP_EVENT_PARAM_VALUE)
    {
      // Mostly ids that exist, so that the values reach the parameters.
      auto& event = *reinterpret_cast<clap_event_param_value*>(slot.data());
      if (event.param_id >= 0x80000000u) event.param_id %= kit::fuzz::kParamCount + 2;
      event.cookie = nullptr;
    }
    if (header.type == CLAP_EVENT_MIDI_SYSEX)
    {
      // A host's payload is real memory; only its size and content are the fuzzer's.
      auto& event = *reinterpret_cast<clap_event_midi_sysex*>(slot.data());
      const bool none = event.size % 8 == 0;
      event.buffer = none ? nullptr : sysexPayload.data();
      event.size = none ? event.size : event.size % std::uint32_t(sysexPayload.size() + 1);
    }
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  FuzzPlugin& plugin = FuzzPlugin::Shared();
  FuzzInput input(data, size);
  std::vector<double> left(kit::fuzz::kMaxFrames);
  std::vector<double> right(kit::fuzz::kMaxFrames);
  FuzzEventList events;
  for (int block = 0; block < 8 && !input.Empty(); ++block)
  {
    const std::uint32_t frames = input.Take<std::uint16_t>() % (kit::fuzz::kMaxFrames + 1);
    events.count = 0;
    // Each input starts from the default values: events for them come first in its first
    // block (a state load would design the filter for every input).
    if (block == 0)
      for (clap_id id = 0; id < kit::fuzz::kParamCount; ++id) events.AddParam(id, plugin.DefaultValue(id));
    const std::size_t eventCount = input.Take<std::uint8_t>() % (kMaxEvents + 1 - kit::fuzz::kParamCount);
    for (std::size_t e = 0; e < eventCount; ++e) events.Add(input);
    kit::fuzz::TakeSamples(input, left, frames);
    kit::fuzz::TakeSamples(input, right, frames);
    plugin.ProcessAndCheck(left, right, frames, &events.record);
    plugin.CheckValuesInRange();
  }
  (void)plugin.SaveState();
  return 0;
}
