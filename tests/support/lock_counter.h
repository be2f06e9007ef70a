#pragma once
// Counts mutex locks taken by the calling thread while a scope is open, to show that
// audio-thread operations never lock. Include it in one file of a test program: it stands in
// for pthread_mutex_lock, which std::mutex uses, and forwards to the C library's.
// ThreadSanitizer intercepts the same function, so under it nothing is counted.

#include <cstddef>

#if defined(__SANITIZE_THREAD__)
#define OMBRIX_COUNTS_LOCKS 0
#else
#define OMBRIX_COUNTS_LOCKS 1
#include <dlfcn.h>
#include <pthread.h>
#endif

namespace kit::test
{

inline thread_local bool countingLocks = false;
inline thread_local std::size_t lockCount = 0;

class LockScope
{
public:
  LockScope() noexcept
  {
    lockCount = 0;
    countingLocks = true;
  }
  ~LockScope() { countingLocks = false; }
  [[nodiscard]] std::size_t Count() const noexcept { return lockCount; }
  [[nodiscard]] static constexpr bool Counts() noexcept { return OMBRIX_COUNTS_LOCKS != 0; }
};

} // namespace kit::test

#if OMBRIX_COUNTS_LOCKS
extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex)
{
  using Lock = int (*)(pthread_mutex_t*);
  static const Lock real = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
  if (kit::test::countingLocks) ++kit::test::lockCount;
  return real(mutex);
}
#endif
