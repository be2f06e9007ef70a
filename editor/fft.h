// Single-precision, in-place complex FFT for every power of two from 2 to 32768: conjugate-pair
// split radix, unnormalised in both directions, output left in the algorithm's scrambled order.
// The tables are built once per process; afterwards transforms may run on any thread at once.
#pragma once

namespace kit::ui
{

inline constexpr int kFftMinSize = 2;
inline constexpr int kFftMaxSize = 32768;

// Builds the twiddle and permutation tables the first time; later calls return at once. Safe
// from several threads at once; a transform on another thread needs it to have returned first.
void BuildFftTables();

// buffer: n interleaved (real, imaginary) pairs. A forward transform followed by an inverse one
// multiplies the data by n. Any n that is not a supported power of two, like a call before
// BuildFftTables, leaves the buffer as it is. No allocation.
void Fft(float* buffer, int n, bool inverse) noexcept;

// Where natural bin j lands in the scrambled output of a forward transform of size n; the value
// there is X[j] = sum over t of x[t] e^(-2 pi i j t / n). −1 for an unsupported n or a j outside
// 0 … n − 1.
[[nodiscard]] int FftBinIndex(int n, int j) noexcept;

} // namespace kit::ui
