#pragma once
// Counts heap allocations made by the calling thread while a scope is open, to show that
// audio-thread operations allocate nothing. Include it in one file of a test program: it
// replaces the global operator new and delete.

#include <cstddef>
#include <cstdlib>
#include <new>

namespace kit::test
{

inline thread_local bool countingAllocations = false;
inline thread_local std::size_t allocationCount = 0;

class AllocationScope
{
public:
  AllocationScope() noexcept
  {
    allocationCount = 0;
    countingAllocations = true;
  }
  ~AllocationScope() { countingAllocations = false; }
  [[nodiscard]] std::size_t Count() const noexcept { return allocationCount; }
};

inline thread_local bool failingAllocations = false;

// Makes every allocation of the calling thread fail while open, as an exhausted heap would.
class FailingAllocationScope
{
public:
  FailingAllocationScope() noexcept { failingAllocations = true; }
  ~FailingAllocationScope() { failingAllocations = false; }
};

inline void* CountedAllocate(std::size_t size, std::size_t alignment)
{
  if (failingAllocations) throw std::bad_alloc();
  if (countingAllocations) ++allocationCount;
  if (size == 0) size = 1;
  void* memory = alignment > alignof(std::max_align_t)
                     ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                     : std::malloc(size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

inline void* CountedAllocateNoThrow(std::size_t size, std::size_t alignment) noexcept
{
  try
  {
    return CountedAllocate(size, alignment);
  }
  catch (const std::bad_alloc&)
  {
    return nullptr;
  }
}

} // namespace kit::test

// Not inlined, so that GCC does not pair a malloc() seen through new with a delete and warn.
[[gnu::noinline]] void* operator new(std::size_t size)
{
  return kit::test::CountedAllocate(size, 0);
}
[[gnu::noinline]] void* operator new[](std::size_t size)
{
  return kit::test::CountedAllocate(size, 0);
}
[[gnu::noinline]] void* operator new(std::size_t size, std::align_val_t alignment)
{
  return kit::test::CountedAllocate(size, std::size_t(alignment));
}
[[gnu::noinline]] void* operator new[](std::size_t size, std::align_val_t alignment)
{
  return kit::test::CountedAllocate(size, std::size_t(alignment));
}
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
  return kit::test::CountedAllocateNoThrow(size, 0);
}
[[gnu::noinline]] void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
  return kit::test::CountedAllocateNoThrow(size, 0);
}
[[gnu::noinline]] void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
  return kit::test::CountedAllocateNoThrow(size, std::size_t(alignment));
}
[[gnu::noinline]] void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
  return kit::test::CountedAllocateNoThrow(size, std::size_t(alignment));
}
[[gnu::noinline]] void operator delete(void* memory) noexcept
{
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory) noexcept
{
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept
{
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory, std::size_t) noexcept
{
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::align_val_t) noexcept
{
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory, std::align_val_t) noexcept
{
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t, std::align_val_t) noexcept
{
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept
{
  std::free(memory);
}
