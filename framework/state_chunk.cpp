#include "framework/state_chunk.h"

#include <cstring>
#include <limits>

namespace kit
{

bool StateChunk::Append(const void* source, int size) noexcept
{
  if (size < 0 || (size > 0 && !source)) return false;
  const std::size_t needed = bytes.size() + std::size_t(size);
  if (needed > std::size_t(std::numeric_limits<int>::max())) return false;
  try
  {
    if (needed > bytes.capacity())
    {
      const std::size_t steps = (needed + kGrowthBytes - 1) / kGrowthBytes;
      bytes.reserve(steps * kGrowthBytes);
    }
    const auto* first = static_cast<const std::uint8_t*>(source);
    bytes.insert(bytes.end(), first, first + size);
  }
  catch (...)
  {
    return false;
  }
  return true;
}

int StateChunk::Read(void* out, int size, int position) const noexcept
{
  if (size < 0 || position < 0 || std::size_t(position) + std::size_t(size) > bytes.size()) return -1;
  if (size > 0) std::memcpy(out, bytes.data() + position, std::size_t(size));
  return position + size;
}

} // namespace kit
