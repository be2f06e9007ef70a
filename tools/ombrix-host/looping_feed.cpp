#include "tools/ombrix-host/looping_feed.h"

#include <utility>

namespace kit::live
{

LoopingFeed::LoopingFeed(std::unique_ptr<render::AudioSource> first, SourceOpener opener)
    : source(std::move(first))
    , open(std::move(opener))
{
}

bool LoopingFeed::Next(AudioBlock& block, std::string& error)
{
  if (!source || source->Channels() < 1 || source->Channels() > kMaxChannels)
  {
    error = "the input must be mono or stereo";
    return false;
  }
  // Two tries: the end of a pass, then the start of the next.
  for (int attempt = 0; attempt < 2; ++attempt)
  {
    const std::int64_t count = source->Read(block.samples.data(), kBlockFrames);
    if (count < 0)
    {
      error = "cannot read the input after frame " + std::to_string(readTotal);
      return false;
    }
    if (count > 0)
    {
      block.frames = count;
      block.recorded = pass == 0;
      readInPass += count;
      readTotal += count;
      return true;
    }
    if (readInPass == 0) break;
    const int channels = source->Channels();
    source = open(error);
    if (!source) return false;
    if (source->Channels() != channels)
    {
      error = "the input changed its channel count";
      return false;
    }
    ++pass;
    readInPass = 0;
  }
  error = "the input holds no audio";
  return false;
}

} // namespace kit::live
