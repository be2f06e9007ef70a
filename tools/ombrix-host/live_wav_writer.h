// The output file of ombrix-host: a WAV file of 64-bit float samples, so that any target depth
// the editor picks arrives exactly. Written in place as the audio comes, so that it grows while
// the programme plays; its header is complete once Close succeeds. A write failure removes the
// file. Main thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

typedef struct sf_private_tag SNDFILE;

namespace kit::live
{

class LiveWavWriter
{
public:
  // Null with a one-line reason when the file cannot be made.
  [[nodiscard]] static std::unique_ptr<LiveWavWriter> Create(const std::string& path, int channels, double sampleRate,
                                                             std::string& error);
  // Closes the file if Close has not.
  ~LiveWavWriter();
  LiveWavWriter(const LiveWavWriter&) = delete;
  LiveWavWriter& operator=(const LiveWavWriter&) = delete;

  // Appends frames of interleaved samples; false with a reason, the file removed, on a write error.
  [[nodiscard]] bool Write(const double* interleaved, std::int64_t frames, std::string& error);
  // Completes the header and closes; false with a reason, the file removed, when that fails.
  // Nothing for a writer already closed.
  [[nodiscard]] bool Close(std::string& error);
  // Closes the file, if open, and removes it: for a run that failed.
  void Discard();
  [[nodiscard]] bool IsClosed() const noexcept { return file == nullptr; }
  [[nodiscard]] const std::string& Path() const noexcept { return path; }

private:
  LiveWavWriter(SNDFILE* file, std::string path);

  SNDFILE* file;
  std::string path;
};

} // namespace kit::live
