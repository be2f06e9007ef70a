#include "tools/host/event_store.h"

#include <cstring>

namespace kit::host
{
EventStore::EventStore(std::size_t capacityBytes)
    : capacity(PaddedSize(capacityBytes))
    , arena(new std::byte[capacity])
{
  // Every event takes at least one header, so this many entries never reallocate.
  offsets.reserve(capacity / sizeof(clap_event_header));
  sizes.reserve(capacity / sizeof(clap_event_header));
}

std::byte* EventStore::Append(const void* event, std::size_t size, const void* extra, std::size_t extraSize)
{
  if (!event || size < sizeof(clap_event_header)) return nullptr;
  const std::size_t needed = PaddedSize(size) + PaddedSize(extraSize);
  if (needed > capacity - used) return nullptr;
  std::byte* copy = arena.get() + used;
  std::memcpy(copy, event, size);
  if (extra && extraSize > 0) std::memcpy(copy + PaddedSize(size), extra, extraSize);
  offsets.push_back(used);
  sizes.push_back(size);
  used += needed;
  return copy;
}

const clap_event_header* EventStore::Event(std::size_t index) const noexcept
{
  return reinterpret_cast<const clap_event_header*>(arena.get() + offsets[index]);
}

void EventStore::Clear() noexcept
{
  used = 0;
  offsets.clear();
  sizes.clear();
}

} // namespace kit::host
