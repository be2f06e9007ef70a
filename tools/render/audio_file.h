// Audio files for ombrix-render: reading any mono or stereo file libsndfile knows as doubles,
// and writing the plug-in's grid values as exact integer codes. Writing goes to a temporary
// file beside the output, renamed into place only when everything succeeded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kit::render
{

// Interleaved samples.
struct AudioData
{
  int channels = 0;
  double sampleRate = 0.0;
  std::vector<double> samples;

  [[nodiscard]] std::int64_t Frames() const noexcept
  {
    return channels > 0 ? std::int64_t(samples.size()) / channels : 0;
  }
};

// False with a one-line reason for an unreadable file or one with more than two channels.
[[nodiscard]] bool ReadAudioFile(const std::string& path, AudioData& audio, std::string& error);

// The container sample width for a target depth: 16 up to 16 bits, 24 up to 24, else 32.
[[nodiscard]] int ContainerBits(int bits) noexcept;

// Whether path names a format that holds bits-bit samples; false with a reason otherwise.
[[nodiscard]] bool CheckOutputFormat(const std::string& path, int bits, std::string& error);

// Writes audio, whose samples lie on the grid of step 2^-(bits-1), as the integer codes
// sample × 2^(bits-1) in the format the extension names (.wav, .flac, .aif, .aiff). Codes
// beyond the largest or smallest are clamped and counted in clamped. False with a reason
// when the format is unknown, a sample lies off the grid, or the file cannot be written;
// then no file is left at path and an existing one is untouched.
[[nodiscard]] bool WriteGridFile(const std::string& path, const AudioData& audio, int bits, std::int64_t& clamped,
                                 std::string& error);

} // namespace kit::render
