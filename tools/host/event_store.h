// Copies of CLAP events packed into one fixed arena, each at an 8-byte aligned offset, so
// events of any type and size (also malformed ones) sit side by side and never move. Appending
// never allocates; a full store refuses. Used by the event lists; one thread at a time.
#pragma once

#include "binding/clap_abi.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace kit::host
{

class EventStore
{
public:
  explicit EventStore(std::size_t capacityBytes);

  // Copies size bytes (at least a header) as one event, then extraSize bytes at
  // copy + PaddedSize(size); returns the event's copy, or null when the store is full or size
  // is below a header.
  std::byte* Append(const void* event, std::size_t size, const void* extra = nullptr, std::size_t extraSize = 0);

  [[nodiscard]] static constexpr std::size_t PaddedSize(std::size_t size) noexcept { return (size + 7) / 8 * 8; }

  [[nodiscard]] std::size_t Size() const noexcept { return offsets.size(); }
  [[nodiscard]] const clap_event_header* Event(std::size_t index) const noexcept;
  // The bytes the event was stored with (its own size, not the size its header claims).
  [[nodiscard]] std::size_t StoredBytes(std::size_t index) const noexcept { return sizes[index]; }
  void Clear() noexcept;

private:
  std::size_t capacity;
  std::unique_ptr<std::byte[]> arena; // new[] aligns it for any event record; every offset is a multiple of 8
  std::size_t used = 0;
  std::vector<std::size_t> offsets;
  std::vector<std::size_t> sizes;
};

} // namespace kit::host
