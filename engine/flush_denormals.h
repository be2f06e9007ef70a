#pragma once
// Flush-to-zero and denormals-are-zero for the lifetime of one audio block, so that the
// decaying error feedback never drops into slow denormal arithmetic. Audio thread.

#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

namespace kit
{

class ScopedFlushDenormals
{
public:
#if defined(__x86_64__) || defined(__i386__)
  static constexpr unsigned kFlushBits = 0x8040; // MXCSR FTZ (bit 15) and DAZ (bit 6)
  ScopedFlushDenormals() noexcept
      : saved(_mm_getcsr())
  {
    _mm_setcsr(saved | kFlushBits);
  }
  ~ScopedFlushDenormals()
  {
    _mm_setcsr(saved);
  }

private:
  unsigned saved;
#elif defined(__aarch64__)
  ScopedFlushDenormals() noexcept
  {
    asm volatile("mrs %0, fpcr" : "=r"(saved));
    asm volatile("msr fpcr, %0" ::"r"(saved | (uint64_t(1) << 24)));
  }
  ~ScopedFlushDenormals()
  {
    asm volatile("msr fpcr, %0" ::"r"(saved));
  }

private:
  uint64_t saved;
#else
  ScopedFlushDenormals() noexcept = default;
#endif

public:
  ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
  ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;
};

} // namespace kit
