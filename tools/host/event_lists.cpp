#include "tools/host/event_lists.h"

namespace kit::host
{

InputEventList::InputEventList(std::size_t capacityBytes)
    : store(capacityBytes)
{
  record.ctx = this;
  record.size = &InputEventList::SizeOf;
  record.get = &InputEventList::Get;
}

std::uint32_t InputEventList::SizeOf(const clap_input_events* list) noexcept
{
  return static_cast<const InputEventList*>(list->ctx)->Size();
}

const clap_event_header* InputEventList::Get(const clap_input_events* list, std::uint32_t index) noexcept
{
  const auto& self = *static_cast<const InputEventList*>(list->ctx);
  return index < self.store.Size() ? self.store.Event(index) : nullptr;
}

OutputEventList::OutputEventList(std::size_t capacityBytes)
    : store(capacityBytes)
{
  record.ctx = this;
  record.try_push = &OutputEventList::TryPush;
}

void OutputEventList::Clear() noexcept
{
  store.Clear();
  refused = 0;
}

bool OutputEventList::TryPush(const clap_output_events* list, const clap_event_header* event) noexcept
{
  return static_cast<OutputEventList*>(list->ctx)->Push(event);
}

bool OutputEventList::Push(const clap_event_header* event) noexcept
{
  std::byte* copy = nullptr;
  if (event && event->size >= sizeof(clap_event_header) && store.Size() < acceptLimit)
  {
    const bool isSysex = event->space_id == CLAP_CORE_EVENT_SPACE_ID && event->type == CLAP_EVENT_MIDI_SYSEX &&
                         event->size >= sizeof(clap_event_midi_sysex);
    if (isSysex)
    {
      // The payload belongs to the plug-in only during the call: keep a copy beside the event.
      const auto* sysex = reinterpret_cast<const clap_event_midi_sysex*>(event);
      const std::size_t payloadSize = sysex->buffer ? sysex->size : 0;
      copy = store.Append(event, event->size, sysex->buffer, payloadSize);
      if (copy && sysex->buffer)
      {
        const auto* payload = reinterpret_cast<const std::uint8_t*>(copy + EventStore::PaddedSize(event->size));
        reinterpret_cast<clap_event_midi_sysex*>(copy)->buffer = payload;
      }
    }
    else
    {
      copy = store.Append(event, event->size);
    }
  }
  if (!copy) ++refused;
  return copy != nullptr;
}

} // namespace kit::host
