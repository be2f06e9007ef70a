// The FFT built for each instruction set the machine may offer; Fft picks one when the tables
// are built. level is log2 n - 1 (0 ... 14), checked by the caller. Any thread.
#pragma once

namespace kit::ui::fft
{

// Baseline x86_64: every machine has SSE2.
void TransformSse2(float* buffer, int level, bool inverse) noexcept;

// The same steps in 256-bit AVX registers, in the same order for every value, so the results
// are the same to the bit. Only for a processor and system with AVX.
void TransformAvx(float* buffer, int level, bool inverse) noexcept;
[[nodiscard]] bool HasAvx() noexcept;

} // namespace kit::ui::fft
