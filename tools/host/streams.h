// The state streams a test host hands to clap_plugin_state: an input stream over fixed bytes
// and an output stream that collects them, each with the misbehaviours a plug-in must survive
// (short transfers, errors, endless data, results that claim more than was asked). One thread.
#pragma once

#include "binding/clap_abi.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kit::host
{

struct ReadBehaviour
{
  std::uint64_t maxBytesPerRead = 0;           // 0: as many as asked
  std::optional<std::uint64_t> failAfterBytes; // once this many were delivered, read returns -1
  bool endless = false;                        // after the bytes, zeros for ever; never 0
  bool overReport = false;                     // each read claims one byte more than asked
};

class InputStream
{
public:
  explicit InputStream(std::vector<std::uint8_t> bytes, ReadBehaviour behaviour = {});
  InputStream(const InputStream&) = delete;
  InputStream& operator=(const InputStream&) = delete;

  [[nodiscard]] const clap_istream* Record() const noexcept { return &record; }
  [[nodiscard]] std::uint64_t BytesDelivered() const noexcept { return delivered; }
  [[nodiscard]] std::uint64_t ReadCalls() const noexcept { return readCalls; }

private:
  static std::int64_t ReadThunk(const clap_istream* stream, void* buffer, std::uint64_t size) noexcept;
  [[nodiscard]] std::int64_t Read(void* buffer, std::uint64_t size) noexcept;

  std::vector<std::uint8_t> bytes;
  ReadBehaviour behaviour;
  std::uint64_t delivered = 0;
  std::uint64_t readCalls = 0;
  clap_istream record {};
};

struct WriteBehaviour
{
  std::uint64_t maxBytesPerWrite = 0;          // 0: all bytes offered
  std::optional<std::uint64_t> failAfterBytes; // once this many were taken, write returns -1
  bool overReport = false;                     // each write claims one byte more than offered
};

class OutputStream
{
public:
  explicit OutputStream(WriteBehaviour behaviour = {});
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  [[nodiscard]] const clap_ostream* Record() const noexcept { return &record; }
  [[nodiscard]] const std::vector<std::uint8_t>& Bytes() const noexcept { return bytes; }
  [[nodiscard]] std::uint64_t WriteCalls() const noexcept { return writeCalls; }

private:
  static std::int64_t WriteThunk(const clap_ostream* stream, const void* buffer, std::uint64_t size) noexcept;
  [[nodiscard]] std::int64_t Write(const void* buffer, std::uint64_t size) noexcept;

  std::vector<std::uint8_t> bytes;
  WriteBehaviour behaviour;
  std::uint64_t writeCalls = 0;
  clap_ostream record {};
};

} // namespace kit::host
