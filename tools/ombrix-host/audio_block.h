// What travels between ombrix-host's main thread and its audio thread: blocks of interleaved
// samples and the parameter changes the plug-in reports. Plain records, copied through the
// lock-free rings.
#pragma once

#include "binding/clap_abi.h"

#include <array>
#include <cstdint>

namespace kit::live
{

inline constexpr std::int64_t kBlockFrames = 512;
inline constexpr int kMaxChannels = 2; // the audio sources hold mono or stereo

struct AudioBlock
{
  std::int64_t frames = 0;
  bool recorded = false; // belongs to the first pass, the part that goes to the output file
  std::array<double, std::size_t(kBlockFrames) * kMaxChannels> samples {};
};

struct ParamChange
{
  clap_id id = CLAP_INVALID_ID;
  double value = 0.0;
};

} // namespace kit::live
