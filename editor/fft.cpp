#include "editor/fft.h"

#include "editor/fft_tables.h"
#include "editor/fft_variants.h"

#include <bit>
#include <mutex>

namespace kit::ui
{
namespace
{

using Variant = void (*)(float*, int, bool) noexcept;

std::once_flag tablesBuilt;
// Chosen with the tables and, like them, read-only once BuildFftTables has returned.
Variant transform = nullptr;

} // namespace

bool fft::HasAvx() noexcept
{
  // Also true only where the system saves the 256-bit registers.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx");
}

void BuildFftTables()
{
  std::call_once(tablesBuilt, [] {
    FillFftTables();
    transform = fft::HasAvx() ? fft::TransformAvx : fft::TransformSse2;
  });
}

void Fft(float* buffer, int n, bool inverse) noexcept
{
  if (buffer == nullptr || !IsFftSize(n) || transform == nullptr) return;
  transform(buffer, std::countr_zero(unsigned(n)) - 1, inverse);
}

} // namespace kit::ui
