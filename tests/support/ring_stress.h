#pragma once
// One producer thread fills a single-producer, single-consumer ring with numbered items while
// the calling thread empties it, and reports what arrived. Items describes the item type:
// Make(n), Number(item) and Whole(item), every field derived from the number so that a torn
// copy shows.

#include <atomic>
#include <cstdint>
#include <thread>

namespace kit::test
{

struct RingStressResult
{
  std::uint64_t pushed = 0;   // items the ring took
  std::uint64_t received = 0; // items the consumer took out
  bool whole = true;          // every item arrived as it was made
  bool ordered = true;        // numbers rose by one (waiting producer) or never fell back (dropping)
  bool emptyAfter = true;     // nothing was left in the ring
};

// waitForRoom: the producer retries each item until it fits, so all must arrive; otherwise
// it drops what does not fit. peekThenDrop: the consumer reads each item in place and removes
// it afterwards.
template <class Items, class Ring>
RingStressResult RunRingStress(Ring& ring, std::uint64_t count, bool waitForRoom, bool peekThenDrop = false)
{
  RingStressResult result;
  std::atomic<bool> producerDone { false };
  std::thread producer(
      [&]
      {
        for (std::uint64_t n = 0; n < count; ++n)
        {
          const auto item = Items::Make(n);
          bool taken = ring.Push(item);
          while (waitForRoom && !taken)
          {
            std::this_thread::yield();
            taken = ring.Push(item);
          }
          if (taken) ++result.pushed;
        }
        producerDone.store(true, std::memory_order_release);
      });

  std::uint64_t next = 0;
  for (;;)
  {
    // The flag first: once it is set and the ring is empty, nothing more comes.
    const bool done = producerDone.load(std::memory_order_acquire);
    decltype(Items::Make(0)) item {};
    const bool taken = peekThenDrop ? ring.Peek(item) : ring.Pop(item);
    if (taken)
    {
      if (peekThenDrop) ring.DropFront();
      result.whole = result.whole && Items::Whole(item);
      const std::uint64_t n = Items::Number(item);
      result.ordered = result.ordered && (waitForRoom ? n == next : n >= next);
      next = n + 1;
      ++result.received;
    }
    else if (done)
      break;
    else
      std::this_thread::yield();
  }
  producer.join();
  result.emptyAfter = ring.Empty();
  return result;
}

} // namespace kit::test
