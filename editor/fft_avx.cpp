// Compiled for AVX by the pragma below, not by a build flag: only this file's own functions
// carry AVX code, and they run only where HasAvx() says so. Everything the kernels include is
// included first, so that no shared inline function is compiled for AVX here.
#include "editor/fft_variants.h"

#include "editor/fft_tables.h"

#include <emmintrin.h>
#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx"))), apply_to = function)
#else
#pragma GCC target("avx")
#endif

#include "editor/fft_kernels.h"

namespace kit::ui::fft
{
namespace
{

// Four interleaved complex values.
struct AvxOps
{
  using Vector = __m256;
  static constexpr int kFloats = 8;

  static Vector Load(const float* p) noexcept { return _mm256_loadu_ps(p); }
  static void Store(float* p, Vector v) noexcept { _mm256_storeu_ps(p, v); }
  static Vector Add(Vector a, Vector b) noexcept { return _mm256_add_ps(a, b); }
  static Vector Subtract(Vector a, Vector b) noexcept { return _mm256_sub_ps(a, b); }
  static Vector Multiply(Vector a, Vector b) noexcept { return _mm256_mul_ps(a, b); }
  static Vector SwapParts(Vector v) noexcept { return _mm256_permute_ps(v, _MM_SHUFFLE(2, 3, 0, 1)); }
  static Vector TimesI(Vector v) noexcept
  {
    return _mm256_xor_ps(SwapParts(v), _mm256_set_ps(0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f));
  }
  static Vector TimesMinusI(Vector v) noexcept
  {
    return _mm256_xor_ps(SwapParts(v), _mm256_set_ps(-0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f));
  }
};

} // namespace

void TransformAvx(float* buffer, int level, bool inverse) noexcept
{
  inverse ? TransformLevel<AvxOps, true>(buffer, level) : TransformLevel<AvxOps, false>(buffer, level);
}

} // namespace kit::ui::fft

#if defined(__clang__)
#pragma clang attribute pop
#endif
