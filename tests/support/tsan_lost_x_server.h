#pragma once
// For a test program that loses its X server under ThreadSanitizer; include it in one file of
// the program. When libX11 finds its connection broken it releases its display lock once more
// than it took it; only a lost server leads there, and the lock is never used again.

#if defined(__SANITIZE_THREAD__)
extern "C" __attribute__((visibility("default"))) const char* __tsan_default_suppressions()
{
  return "mutex:libX11.so.6\n";
}
#endif
