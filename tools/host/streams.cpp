#include "tools/host/streams.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kit::host
{
namespace
{

// How many of size bytes one transfer moves under a per-call cap and an error threshold.
std::uint64_t Allowed(std::uint64_t size, std::uint64_t maxPerCall, std::optional<std::uint64_t> failAfter,
                      std::uint64_t done)
{
  if (maxPerCall > 0) size = std::min(size, maxPerCall);
  if (failAfter) size = std::min(size, *failAfter - done);
  return size;
}

} // namespace

InputStream::InputStream(std::vector<std::uint8_t> content, ReadBehaviour readBehaviour)
    : bytes(std::move(content))
    , behaviour(readBehaviour)
{
  record.ctx = this;
  record.read = &InputStream::ReadThunk;
}

std::int64_t InputStream::ReadThunk(const clap_istream* stream, void* buffer, std::uint64_t size) noexcept
{
  return static_cast<InputStream*>(stream->ctx)->Read(buffer, size);
}

std::int64_t InputStream::Read(void* buffer, std::uint64_t size) noexcept
{
  ++readCalls;
  if (behaviour.failAfterBytes && delivered >= *behaviour.failAfterBytes) return -1;
  std::uint64_t count = Allowed(size, behaviour.maxBytesPerRead, behaviour.failAfterBytes, delivered);
  const std::uint64_t left = delivered < bytes.size() ? bytes.size() - delivered : 0;
  if (!behaviour.endless) count = std::min(count, left);
  if (count > 0 && !buffer) return -1;
  const std::uint64_t fromContent = std::min(count, left);
  if (fromContent > 0) std::memcpy(buffer, bytes.data() + delivered, std::size_t(fromContent));
  if (count > fromContent)
    std::memset(static_cast<std::uint8_t*>(buffer) + fromContent, 0, std::size_t(count - fromContent));
  delivered += count;
  return std::int64_t(behaviour.overReport ? size + 1 : count);
}

OutputStream::OutputStream(WriteBehaviour writeBehaviour)
    : behaviour(writeBehaviour)
{
  record.ctx = this;
  record.write = &OutputStream::WriteThunk;
}

std::int64_t OutputStream::WriteThunk(const clap_ostream* stream, const void* buffer, std::uint64_t size) noexcept
{
  return static_cast<OutputStream*>(stream->ctx)->Write(buffer, size);
}

std::int64_t OutputStream::Write(const void* buffer, std::uint64_t size) noexcept
{
  ++writeCalls;
  if (behaviour.failAfterBytes && bytes.size() >= *behaviour.failAfterBytes) return -1;
  const std::uint64_t count = Allowed(size, behaviour.maxBytesPerWrite, behaviour.failAfterBytes, bytes.size());
  if (count > 0 && !buffer) return -1;
  const auto* first = static_cast<const std::uint8_t*>(buffer);
  bytes.insert(bytes.end(), first, first + count);
  return std::int64_t(behaviour.overReport ? size + 1 : count);
}

} // namespace kit::host
