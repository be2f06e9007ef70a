// Where ombrix-render's audio comes from: a file libsndfile reads, or the built-in demo
// programme. Read a block at a time, so that files of any length fit in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kit::render
{

class AudioSource
{
public:
  AudioSource(int channelCount, double rate, std::int64_t frameCount)
      : channels(channelCount)
      , sampleRate(rate)
      , frames(frameCount)
  {
  }
  AudioSource(const AudioSource&) = delete;
  AudioSource& operator=(const AudioSource&) = delete;
  virtual ~AudioSource() = default;

  // Fills up to count frames, interleaved, into a buffer that holds count frames (all of it may
  // be written); the frames read, 0 at the end, -1 on a read error.
  [[nodiscard]] virtual std::int64_t Read(double* interleaved, std::int64_t count) = 0;

  [[nodiscard]] int Channels() const noexcept { return channels; }
  [[nodiscard]] double SampleRate() const noexcept { return sampleRate; }
  [[nodiscard]] std::int64_t Frames() const noexcept { return frames; }

private:
  int channels;
  double sampleRate;
  std::int64_t frames;
};

// A mono or stereo file in any format libsndfile reads, as full-scale doubles. Null with a
// one-line reason when it cannot be read or has more than two channels.
[[nodiscard]] std::unique_ptr<AudioSource> OpenAudioFile(const std::string& path, std::string& error);

// About ten seconds of stereo at 48 kHz: a slowly decaying chord, a quiet passage around
// -60 dBFS, then digital silence, so that the adaptive dither and the shaping can be heard
// and measured. The same samples on every machine.
[[nodiscard]] std::unique_ptr<AudioSource> DemoProgramme();

} // namespace kit::render
