// State load through the state extension with the host's stream handing the bytes over in
// chunks of fuzzed sizes, some reads failing or ending the stream early; then a save and a
// block. Input: a chunk plan (a count and one byte per step, cycled), then the state bytes.
// A plan byte of 0 ends the stream, 255 fails the read, any other is the most that read gives.
#include "tests/fuzz/fuzz_plugin.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{

using kit::fuzz::FuzzInput;
using kit::fuzz::FuzzPlugin;

struct ChunkedStream
{
  std::vector<std::uint8_t> plan;
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
  std::size_t step = 0;
  clap_istream record {};

  ChunkedStream()
  {
    record.ctx = this;
    record.read = [](const clap_istream* stream, void* buffer, std::uint64_t size) -> std::int64_t
    { return static_cast<ChunkedStream*>(stream->ctx)->Read(buffer, size); };
  }

  std::int64_t Read(void* buffer, std::uint64_t size)
  {
    const std::uint8_t next = plan.empty() ? std::uint8_t(254) : plan[step++ % plan.size()];
    if (next == 255) return -1;
    const std::uint64_t count = std::min<std::uint64_t>({ size, next, bytes.size() - position });
    std::copy_n(bytes.begin() + std::ptrdiff_t(position), count, static_cast<std::uint8_t*>(buffer));
    position += count;
    return std::int64_t(count);
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  FuzzPlugin& plugin = FuzzPlugin::Shared();
  plugin.LoadDefaults();
  FuzzInput input(data, size);
  ChunkedStream stream;
  const std::size_t steps = input.Take<std::uint8_t>() % 16;
  for (std::size_t s = 0; s < steps; ++s) stream.plan.push_back(input.Take<std::uint8_t>());
  stream.bytes = input.Rest();

  (void)plugin.State().load(plugin.Plugin(), &stream.record);
  plugin.CheckValuesInRange();
  (void)plugin.SaveState();

  const std::vector<double> left(kit::fuzz::kMaxFrames, 0.3);
  const std::vector<double> right(kit::fuzz::kMaxFrames, -0.7);
  plugin.ProcessAndCheck(left, right, std::uint32_t(1 + size % kit::fuzz::kMaxFrames), nullptr);
  plugin.CheckValuesInRange();
  return 0;
}
