// Writes the plug-in's grid values as exact integer codes: sample × 2^(bits-1), in a 16, 24
// or 32-bit PCM container. The file is written beside the output under a temporary name and
// renamed into place by Commit; until then an existing output stays as it was, and a writer
// destroyed without Commit removes its temporary file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

typedef struct sf_private_tag SNDFILE;

namespace kit::render
{

// The container sample width for a target depth: 16 up to 16 bits, 24 up to 24, else 32.
[[nodiscard]] int ContainerBits(int bits) noexcept;

// Whether path names a format (.wav, .flac, .aif, .aiff) that holds bits-bit samples; false
// with a one-line reason otherwise.
[[nodiscard]] bool CheckOutputFormat(const std::string& path, int bits, std::string& error);

class GridWriter
{
public:
  // Null with a one-line reason when the format is unknown or the file cannot be made.
  [[nodiscard]] static std::unique_ptr<GridWriter> Create(const std::string& path, int bits, int channels,
                                                          double sampleRate, std::string& error);
  ~GridWriter();
  GridWriter(const GridWriter&) = delete;
  GridWriter& operator=(const GridWriter&) = delete;

  // Appends frames of interleaved grid values. Codes beyond full scale are clamped and
  // counted. False with a reason for a value off the grid or a write error.
  [[nodiscard]] bool Write(const double* interleaved, std::int64_t frames, std::string& error);
  // Closes the file and renames it into place; false with a reason when that fails.
  [[nodiscard]] bool Commit(std::string& error);

  [[nodiscard]] std::int64_t Clamped() const noexcept { return clamped; }

private:
  GridWriter(SNDFILE* file, std::string path, std::string temporary, int bits, int channels);

  SNDFILE* file;
  std::string path;
  std::string temporary;
  int bits;
  int channels;
  std::int64_t framesWritten = 0;
  std::int64_t clamped = 0;
  bool committed = false;
};

} // namespace kit::render
