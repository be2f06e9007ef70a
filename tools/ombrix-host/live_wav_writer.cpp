#include "tools/ombrix-host/live_wav_writer.h"

#include <sndfile.h>

#include <cstdio>
#include <utility>

namespace kit::live
{

std::unique_ptr<LiveWavWriter> LiveWavWriter::Create(const std::string& path, int channels, double sampleRate,
                                                     std::string& error)
{
  SF_INFO info {};
  info.channels = channels;
  info.samplerate = int(sampleRate);
  info.format = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file)
  {
    error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  return std::unique_ptr<LiveWavWriter>(new LiveWavWriter(file, path));
}

LiveWavWriter::LiveWavWriter(SNDFILE* opened, std::string filePath)
    : file(opened)
    , path(std::move(filePath))
{
}

LiveWavWriter::~LiveWavWriter()
{
  if (file) sf_close(file);
}

bool LiveWavWriter::Write(const double* interleaved, std::int64_t frames, std::string& error)
{
  if (!file)
  {
    error = "cannot write " + path + ": the file is closed";
    return false;
  }
  if (sf_writef_double(file, interleaved, frames) == frames) return true;
  error = "cannot write " + path + ": " + sf_strerror(file);
  Discard();
  return false;
}

bool LiveWavWriter::Close(std::string& error)
{
  if (!file) return true;
  // The header's sizes are written on closing.
  const int closed = sf_close(file);
  file = nullptr;
  if (closed == 0) return true;
  error = "cannot complete " + path + ": " + sf_error_number(closed);
  std::remove(path.c_str());
  return false;
}

void LiveWavWriter::Discard()
{
  if (file) sf_close(file);
  file = nullptr;
  std::remove(path.c_str());
}

} // namespace kit::live
