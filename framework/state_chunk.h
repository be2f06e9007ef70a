// A growable byte buffer holding a plug-in's state or a preset: the parameter values and,
// for editors that keep it, the editor size. Main thread only.
#pragma once

#include <cstdint>
#include <vector>

namespace kit
{

class StateChunk
{
public:
  static constexpr int kGrowthBytes = 4096;

  // Appends size bytes; false (and nothing appended) when memory runs out or size is
  // negative.
  [[nodiscard]] bool Append(const void* bytes, int size) noexcept;
  // Copies size bytes from position into out; the position after them, or -1 (nothing
  // copied) when the chunk ends before.
  [[nodiscard]] int Read(void* out, int size, int position) const noexcept;
  void Clear() noexcept { bytes.clear(); }

  [[nodiscard]] int Size() const noexcept { return int(bytes.size()); }
  [[nodiscard]] const std::uint8_t* Data() const noexcept { return bytes.data(); }

private:
  std::vector<std::uint8_t> bytes;
};

} // namespace kit
