// Assembles a clap_process from a test's owned pieces, so a block with any ports, events and
// transport is one call; every field stays open to spoil afterwards. The pieces must outlive
// the record.
#pragma once

#include "binding/clap_abi.h"
#include "tools/host/audio_buffers.h"
#include "tools/host/event_lists.h"

#include <cstdint>

namespace kit::host
{

struct ProcessPieces
{
  AudioBuffers* inputs = nullptr;  // null: no input ports (null array, count 0)
  AudioBuffers* outputs = nullptr; // null: no output ports
  const InputEventList* in = nullptr;
  OutputEventList* out = nullptr;
  const clap_event_transport* transport = nullptr;
  std::uint32_t frames = 0;
  std::int64_t steadyTime = -1; // -1: the host has no sample clock
};

[[nodiscard]] clap_process ProcessRecord(const ProcessPieces& pieces) noexcept;

} // namespace kit::host
