// The audio source played over and over: blocks from its start to its end, then from its start
// again, read afresh each pass. Blocks of the first pass are marked as recorded. Main thread.
#pragma once

#include "tools/ombrix-host/audio_block.h"
#include "tools/render/audio_source.h"

#include <functional>
#include <memory>
#include <string>

namespace kit::live
{

// Opens the source from its start; null with a one-line reason.
using SourceOpener = std::function<std::unique_ptr<render::AudioSource>(std::string& error)>;

class LoopingFeed
{
public:
  // first: the source as already opened; open: how to read it again for every later pass.
  LoopingFeed(std::unique_ptr<render::AudioSource> first, SourceOpener open);

  // Fills block with the next frames, up to kBlockFrames. False with a reason when the source
  // cannot be read, holds no audio at all, or has more channels than a block carries.
  [[nodiscard]] bool Next(AudioBlock& block, std::string& error);
  // Whether every frame of the first pass has been handed out.
  [[nodiscard]] bool FirstPassDone() const noexcept { return pass > 0; }

private:
  std::unique_ptr<render::AudioSource> source;
  SourceOpener open;
  int pass = 0;
  std::int64_t readInPass = 0;
  std::int64_t readTotal = 0;
};

} // namespace kit::live
