// The transforms of the conjugate-pair split radix for one vector width. Each instruction-set
// variant (fft_sse2.cpp, fft_avx.cpp) includes this after defining its wide vector operations;
// everything here has internal linkage, so the variants' copies, compiled for different
// instruction sets, never merge. No state: any number of threads may transform at once.
#pragma once

#include "editor/fft_tables.h"

#include <emmintrin.h>

namespace kit::ui::fft
{
namespace
{

// Two interleaved complex values, (r0, i0, r1, i1); sizes 2 to 16 stay in these registers.
struct NarrowOps
{
  using Vector = __m128;
  static constexpr int kFloats = 4;

  static Vector Load(const float* p) noexcept { return _mm_loadu_ps(p); }
  static void Store(float* p, Vector v) noexcept { _mm_storeu_ps(p, v); }
  static Vector Add(Vector a, Vector b) noexcept { return _mm_add_ps(a, b); }
  static Vector Subtract(Vector a, Vector b) noexcept { return _mm_sub_ps(a, b); }
  static Vector Multiply(Vector a, Vector b) noexcept { return _mm_mul_ps(a, b); }
  // (r, i) -> (i, r) in every complex value.
  static Vector SwapParts(Vector v) noexcept { return _mm_shuffle_ps(v, v, _MM_SHUFFLE(2, 3, 0, 1)); }
  static Vector TimesI(Vector v) noexcept { return _mm_xor_ps(SwapParts(v), _mm_set_ps(0.0f, -0.0f, 0.0f, -0.0f)); }
  static Vector TimesMinusI(Vector v) noexcept
  {
    return _mm_xor_ps(SwapParts(v), _mm_set_ps(-0.0f, 0.0f, -0.0f, 0.0f));
  }
};

// v * w and v * conj(w) for factors held as (c, c) and (-s, s).
template <class Ops>
inline typename Ops::Vector Times(typename Ops::Vector v, typename Ops::Vector c, typename Ops::Vector s) noexcept
{
  return Ops::Add(Ops::Multiply(v, c), Ops::Multiply(Ops::SwapParts(v), s));
}
template <class Ops>
inline typename Ops::Vector TimesConjugate(typename Ops::Vector v, typename Ops::Vector c,
                                           typename Ops::Vector s) noexcept
{
  return Ops::Subtract(Ops::Multiply(v, c), Ops::Multiply(Ops::SwapParts(v), s));
}

// One step of the forward combining pass on the values k, k + m/4, k + m/2, k + 3m/4 of a block
// of m: the sums feed the half-size transform (even frequencies), the differences turned by
// w^k and conj(w^k) the quarter-size ones (frequencies 4j + 1 and 4j - 1).
template <class Ops>
inline void ForwardStep(typename Ops::Vector& a, typename Ops::Vector& b, typename Ops::Vector& c,
                        typename Ops::Vector& d, const float* cosines, const float* sines) noexcept
{
  const auto t1 = Ops::Subtract(a, c);
  const auto t2 = Ops::TimesI(Ops::Subtract(b, d));
  const auto cosine = Ops::Load(cosines);
  const auto sine = Ops::Load(sines);
  a = Ops::Add(a, c);
  b = Ops::Add(b, d);
  c = Times<Ops>(Ops::Add(t1, t2), cosine, sine);
  d = TimesConjugate<Ops>(Ops::Subtract(t1, t2), cosine, sine);
}

// The transpose of ForwardStep with conjugate factors.
template <class Ops>
inline void InverseStep(typename Ops::Vector& a, typename Ops::Vector& b, typename Ops::Vector& c,
                        typename Ops::Vector& d, const float* cosines, const float* sines) noexcept
{
  const auto cosine = Ops::Load(cosines);
  const auto sine = Ops::Load(sines);
  const auto u = TimesConjugate<Ops>(c, cosine, sine);
  const auto v = Times<Ops>(d, cosine, sine);
  const auto t1 = Ops::Add(u, v);
  const auto t2 = Ops::TimesMinusI(Ops::Subtract(u, v));
  c = Ops::Subtract(a, t1);
  d = Ops::Subtract(b, t2);
  a = Ops::Add(a, t1);
  b = Ops::Add(b, t2);
}

using Narrow = __m128;

// (a, b) -> (a + b, a - b) within one vector.
inline Narrow Butterfly(Narrow v) noexcept
{
  const Narrow low = _mm_movelh_ps(v, v);
  const Narrow high = _mm_movehl_ps(v, v);
  return _mm_add_ps(low, _mm_xor_ps(high, _mm_set_ps(-0.0f, -0.0f, 0.0f, 0.0f)));
}

inline void Forward4(Narrow& first, Narrow& second) noexcept
{
  const Narrow sum = _mm_add_ps(first, second);
  const Narrow difference = _mm_sub_ps(first, second);
  // difference = (t1, t2) becomes (t1 + i t2, t1 - i t2).
  const Narrow t1 = _mm_movelh_ps(difference, difference);
  const Narrow t2 = _mm_movehl_ps(difference, difference);
  const Narrow rotated =
    _mm_xor_ps(_mm_shuffle_ps(t2, t2, _MM_SHUFFLE(2, 3, 0, 1)), _mm_set_ps(-0.0f, 0.0f, 0.0f, -0.0f));
  first = Butterfly(sum);
  second = _mm_add_ps(t1, rotated);
}

inline void Inverse4(Narrow& first, Narrow& second) noexcept
{
  const Narrow half = Butterfly(first);
  // second = (u, v) gives t1 = u + v and t2 = -i (u - v).
  const Narrow u = _mm_movelh_ps(second, second);
  const Narrow v = _mm_movehl_ps(second, second);
  const Narrow t = _mm_movelh_ps(_mm_add_ps(u, v), NarrowOps::TimesMinusI(_mm_sub_ps(u, v)));
  first = _mm_add_ps(half, t);
  second = _mm_sub_ps(half, t);
}

inline void Forward8(Narrow* v) noexcept
{
  ForwardStep<NarrowOps>(v[0], v[1], v[2], v[3], FftPassCosines(8), FftPassSines(8));
  Forward4(v[0], v[1]);
  v[2] = Butterfly(v[2]);
  v[3] = Butterfly(v[3]);
}

inline void Inverse8(Narrow* v) noexcept
{
  Inverse4(v[0], v[1]);
  v[2] = Butterfly(v[2]);
  v[3] = Butterfly(v[3]);
  InverseStep<NarrowOps>(v[0], v[1], v[2], v[3], FftPassCosines(8), FftPassSines(8));
}

inline void Forward16(Narrow* v) noexcept
{
  const float* cosines = FftPassCosines(16);
  const float* sines = FftPassSines(16);
  ForwardStep<NarrowOps>(v[0], v[2], v[4], v[6], cosines, sines);
  ForwardStep<NarrowOps>(v[1], v[3], v[5], v[7], cosines + 4, sines + 4);
  Forward8(v);
  Forward4(v[4], v[5]);
  Forward4(v[6], v[7]);
}

inline void Inverse16(Narrow* v) noexcept
{
  const float* cosines = FftPassCosines(16);
  const float* sines = FftPassSines(16);
  Inverse8(v);
  Inverse4(v[4], v[5]);
  Inverse4(v[6], v[7]);
  InverseStep<NarrowOps>(v[0], v[2], v[4], v[6], cosines, sines);
  InverseStep<NarrowOps>(v[1], v[3], v[5], v[7], cosines + 4, sines + 4);
}

// A whole transform of up to 16 points, loaded once and stored once.
template <int n, bool inverse>
inline void Small(float* x) noexcept
{
  Narrow v[static_cast<unsigned>(n / 2)];
  for (int i = 0; i < n / 2; ++i) v[i] = _mm_loadu_ps(x + 4 * i);
  if constexpr (n == 2)
    v[0] = Butterfly(v[0]);
  else if constexpr (n == 4)
    inverse ? Inverse4(v[0], v[1]) : Forward4(v[0], v[1]);
  else if constexpr (n == 8)
    inverse ? Inverse8(v) : Forward8(v);
  else
    inverse ? Inverse16(v) : Forward16(v);
  for (int i = 0; i < n / 2; ++i) _mm_storeu_ps(x + 4 * i, v[i]);
}

// The combining pass of a block of m points (m >= 32), Wide::kFloats / 2 values per step.
template <class Wide, int m, bool inverse>
inline void Pass(float* x) noexcept
{
  constexpr int quarter = m / 2; // floats
  const float* cosines = FftPassCosines(m);
  const float* sines = FftPassSines(m);
  for (int k = 0; k < quarter; k += Wide::kFloats)
  {
    auto a = Wide::Load(x + k);
    auto b = Wide::Load(x + quarter + k);
    auto c = Wide::Load(x + 2 * quarter + k);
    auto d = Wide::Load(x + 3 * quarter + k);
    if constexpr (inverse)
      InverseStep<Wide>(a, b, c, d, cosines + k, sines + k);
    else
      ForwardStep<Wide>(a, b, c, d, cosines + k, sines + k);
    Wide::Store(x + k, a);
    Wide::Store(x + quarter + k, b);
    Wide::Store(x + 2 * quarter + k, c);
    Wide::Store(x + 3 * quarter + k, d);
  }
}

// One routine per size: the combining pass, then the half-size and the two quarter-size
// transforms; the inverse runs the same steps in reverse order, each one transposed.
template <class Wide, int n, bool inverse>
void Transform(float* x) noexcept
{
  if constexpr (n <= 16)
    Small<n, inverse>(x);
  else if constexpr (inverse)
  {
    Transform<Wide, n / 2, true>(x);
    Transform<Wide, n / 4, true>(x + n);
    Transform<Wide, n / 4, true>(x + n + n / 2);
    Pass<Wide, n, true>(x);
  }
  else
  {
    Pass<Wide, n, false>(x);
    Transform<Wide, n / 2, false>(x);
    Transform<Wide, n / 4, false>(x + n);
    Transform<Wide, n / 4, false>(x + n + n / 2);
  }
}

// level: log2 n - 1, 0 ... 14.
template <class Wide, bool inverse>
void TransformLevel(float* x, int level) noexcept
{
  switch (level)
  {
  case 0: Transform<Wide, 2, inverse>(x); break;
  case 1: Transform<Wide, 4, inverse>(x); break;
  case 2: Transform<Wide, 8, inverse>(x); break;
  case 3: Transform<Wide, 16, inverse>(x); break;
  case 4: Transform<Wide, 32, inverse>(x); break;
  case 5: Transform<Wide, 64, inverse>(x); break;
  case 6: Transform<Wide, 128, inverse>(x); break;
  case 7: Transform<Wide, 256, inverse>(x); break;
  case 8: Transform<Wide, 512, inverse>(x); break;
  case 9: Transform<Wide, 1024, inverse>(x); break;
  case 10: Transform<Wide, 2048, inverse>(x); break;
  case 11: Transform<Wide, 4096, inverse>(x); break;
  case 12: Transform<Wide, 8192, inverse>(x); break;
  case 13: Transform<Wide, 16384, inverse>(x); break;
  case 14: Transform<Wide, 32768, inverse>(x); break;
  default: break;
  }
}

} // namespace
} // namespace kit::ui::fft
