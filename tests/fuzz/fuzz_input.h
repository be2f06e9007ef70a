// Reads a fuzzer's bytes as a sequence of small values; past the end every value is 0, so a
// target never runs out of input and every input means something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

namespace kit::fuzz
{

class FuzzInput
{
public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : bytes(data, size)
  {
  }

  [[nodiscard]] bool Empty() const noexcept { return position >= bytes.size(); }
  [[nodiscard]] std::size_t Remaining() const noexcept { return Empty() ? 0 : bytes.size() - position; }

  template <class Value>
  [[nodiscard]] Value Take() noexcept
  {
    Value value {};
    const std::size_t count = sizeof value < Remaining() ? sizeof value : Remaining();
    if (count > 0) std::memcpy(&value, bytes.data() + position, count);
    position += count;
    return value;
  }

  // The bytes not read yet.
  [[nodiscard]] std::span<const std::uint8_t> Rest() noexcept
  {
    const std::span<const std::uint8_t> rest = bytes.subspan(Empty() ? bytes.size() : position);
    position = bytes.size();
    return rest;
  }

private:
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
};

// A broken promise of the code under test: say which and stop, so the fuzzer keeps the input.
inline void Require(bool holds, const char* what)
{
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

} // namespace kit::fuzz
