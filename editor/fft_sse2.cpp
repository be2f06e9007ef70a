#include "editor/fft_variants.h"

#include "editor/fft_kernels.h"

namespace kit::ui::fft
{

void TransformSse2(float* buffer, int level, bool inverse) noexcept
{
  inverse ? TransformLevel<NarrowOps, true>(buffer, level) : TransformLevel<NarrowOps, false>(buffer, level);
}

} // namespace kit::ui::fft
