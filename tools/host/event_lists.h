// The event lists a test host hands to process and params flush. InputEventList holds any
// events a test adds, malformed ones included; OutputEventList keeps a copy of every event the
// plug-in pushes (a sysex payload too) and can refuse pushes after a limit. Each list is used
// by one thread at a time: filled before the call, read after it. Pushing does not allocate.
#pragma once

#include "binding/clap_abi.h"
#include "tools/host/event_store.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>

namespace kit::host
{

inline constexpr std::size_t kEventListCapacityBytes = std::size_t { 1 } << 20;

class InputEventList
{
public:
  explicit InputEventList(std::size_t capacityBytes = kEventListCapacityBytes);
  InputEventList(const InputEventList&) = delete;
  InputEventList& operator=(const InputEventList&) = delete;

  // Copies the record whole and leaves its header as written, so a test can state a wrong size,
  // space or type. False when the list is full.
  template <class Event>
  [[nodiscard]] bool Add(const Event& event)
  {
    static_assert(std::is_trivially_copyable_v<Event> && sizeof(Event) >= sizeof(clap_event_header));
    return store.Append(&event, sizeof event) != nullptr;
  }
  void Clear() noexcept { store.Clear(); }
  [[nodiscard]] std::uint32_t Size() const noexcept { return std::uint32_t(store.Size()); }

  [[nodiscard]] const clap_input_events* Record() const noexcept { return &record; }

private:
  static std::uint32_t SizeOf(const clap_input_events* list) noexcept;
  static const clap_event_header* Get(const clap_input_events* list, std::uint32_t index) noexcept;

  EventStore store;
  clap_input_events record {};
};

class OutputEventList
{
public:
  explicit OutputEventList(std::size_t capacityBytes = kEventListCapacityBytes);
  OutputEventList(const OutputEventList&) = delete;
  OutputEventList& operator=(const OutputEventList&) = delete;

  // Accepts at most count events; later pushes are refused until Clear.
  void AcceptAtMost(std::size_t count) noexcept { acceptLimit = count; }
  [[nodiscard]] const clap_output_events* Record() const noexcept { return &record; }

  // The events accepted so far, in push order.
  [[nodiscard]] std::size_t Size() const noexcept { return store.Size(); }
  [[nodiscard]] const clap_event_header& Header(std::size_t index) const noexcept { return *store.Event(index); }
  // The event as its record type; null when the plug-in pushed fewer bytes than that record.
  template <class Event>
  [[nodiscard]] const Event* As(std::size_t index) const noexcept
  {
    if (store.StoredBytes(index) < sizeof(Event)) return nullptr;
    return reinterpret_cast<const Event*>(store.Event(index));
  }
  // Pushes refused: over the limit, null, smaller than a header, or no room left.
  [[nodiscard]] std::size_t Refused() const noexcept { return refused; }
  // Forgets the events and the refusals; the limit stays.
  void Clear() noexcept;

private:
  static bool TryPush(const clap_output_events* list, const clap_event_header* event) noexcept;
  [[nodiscard]] bool Push(const clap_event_header* event) noexcept;

  EventStore store;
  std::size_t acceptLimit = std::numeric_limits<std::size_t>::max();
  std::size_t refused = 0;
  clap_output_events record {};
};

} // namespace kit::host
