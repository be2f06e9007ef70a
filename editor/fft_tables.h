// The FFT's process-wide tables: twiddle factors for every combining pass and the permutation
// that tells where each bin lands. BuildFftTables fills them once; afterwards they are read-only,
// so transforms on any thread read them without synchronisation.
#pragma once

#include "editor/fft.h"

namespace kit::ui
{

[[nodiscard]] constexpr bool IsFftSize(int n) noexcept
{
  return n >= kFftMinSize && n <= kFftMaxSize && (n & (n - 1)) == 0;
}

// Fills every table; BuildFftTables calls it once.
void FillFftTables() noexcept;

namespace fft
{

// The level of size m (8 ... kFftMaxSize) keeps m / 2 floats of each kind, the levels laid end
// to end, so that level m starts at float m / 2 - 4.
inline constexpr int kTwiddleFloats = kFftMaxSize - 4;
extern float passCosines[kTwiddleFloats];
extern float passSines[kTwiddleFloats];

} // namespace fft

// The m / 4 factors w^k = e^(2 pi i k / m) of the combining pass of size m, each twice over so
// that a vector of interleaved complex values meets its factors in one load: cosines
// (c0, c0, c1, c1, ...) and signed sines (-s0, s0, -s1, s1, ...).
[[nodiscard]] inline const float* FftPassCosines(int m) noexcept { return fft::passCosines + (m / 2 - 4); }
[[nodiscard]] inline const float* FftPassSines(int m) noexcept { return fft::passSines + (m / 2 - 4); }

} // namespace kit::ui
