#pragma once
// Fixed-size lock-free ring for one producer thread and one consumer thread: carries
// parameter changes and analysis packets between the audio thread and the main thread.
// Storage is allocated once at construction; Push and Pop never allocate, lock or wait.

#include <atomic>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

namespace kit
{

// N slots, of which N - 1 hold items: one slot always stays empty so that equal
// indices mean "empty" and never "full".
template <class T, std::size_t N>
class SpscRing
{
  static_assert(N >= 2, "a ring needs at least one usable slot");
  static_assert(std::is_trivially_copyable_v<T>, "items are copied byte for byte between threads");
  static_assert(std::is_default_constructible_v<T>, "slots are created before any item arrives");

public:
  static constexpr std::size_t kCapacity = N - 1;

  // Main thread, before either side runs. If the slots cannot be allocated the ring
  // stays empty and every Push fails.
  SpscRing()
      : slots(new (std::nothrow) T[N]())
  {
  }

  SpscRing(const SpscRing&) = delete;
  SpscRing& operator=(const SpscRing&) = delete;

  // Producer thread. Copies item into the ring; false when the ring is full, and the
  // item is dropped.
  [[nodiscard]] bool Push(const T& item) noexcept
  {
    const std::size_t write = writeIndex.load(std::memory_order_relaxed);
    const std::size_t next = Advance(write);
    // Acquire: the consumer's copy out of that slot is finished before we overwrite it.
    if (next == readIndex.load(std::memory_order_acquire) || !slots) return false;
    slots[write] = item;
    // Release: the slot's bytes are visible before the consumer sees the new index.
    writeIndex.store(next, std::memory_order_release);
    return true;
  }

  // Consumer thread. Copies the oldest item into item; false when the ring is empty,
  // and item is left untouched.
  [[nodiscard]] bool Pop(T& item) noexcept
  {
    const std::size_t read = readIndex.load(std::memory_order_relaxed);
    // Acquire: pairs with the producer's release, so the slot is complete.
    if (read == writeIndex.load(std::memory_order_acquire)) return false;
    item = slots[read];
    // Release: the slot may be reused only after this copy.
    readIndex.store(Advance(read), std::memory_order_release);
    return true;
  }

  // Consumer thread. Copies the oldest item into item without removing it; false when the
  // ring is empty. For a consumer that may fail to pass the item on.
  [[nodiscard]] bool Peek(T& item) const noexcept
  {
    const std::size_t read = readIndex.load(std::memory_order_relaxed);
    if (read == writeIndex.load(std::memory_order_acquire)) return false;
    item = slots[read];
    return true;
  }

  // Consumer thread. Removes the oldest item, if any.
  void DropFront() noexcept
  {
    const std::size_t read = readIndex.load(std::memory_order_relaxed);
    if (read == writeIndex.load(std::memory_order_acquire)) return;
    readIndex.store(Advance(read), std::memory_order_release);
  }

  // Either thread; a snapshot that the other side may change at once.
  [[nodiscard]] bool Empty() const noexcept
  {
    return readIndex.load(std::memory_order_acquire) == writeIndex.load(std::memory_order_acquire);
  }

  // Either thread; a snapshot, 0 … N - 1.
  [[nodiscard]] std::size_t Size() const noexcept
  {
    const std::size_t read = readIndex.load(std::memory_order_acquire);
    const std::size_t write = writeIndex.load(std::memory_order_acquire);
    return write >= read ? write - read : write + N - read;
  }

private:
  // Keeps the two indices apart, so that producer and consumer do not share a cache line.
  static constexpr std::size_t kCacheLineBytes = 64;

  static constexpr std::size_t Advance(std::size_t index) noexcept { return index + 1 == N ? 0 : index + 1; }

  std::unique_ptr<T[]> slots;
  // Written by the producer only, read by both.
  alignas(kCacheLineBytes) std::atomic<std::size_t> writeIndex { 0 };
  // Written by the consumer only, read by both.
  alignas(kCacheLineBytes) std::atomic<std::size_t> readIndex { 0 };
};

} // namespace kit
