#include "tools/render/grid_writer.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace kit::render
{

namespace
{

// The major format for the output's extension; 0 when unknown.
int MajorFormat(const std::string& path)
{
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 0;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (extension == "wav") return SF_FORMAT_WAV;
  if (extension == "flac") return SF_FORMAT_FLAC;
  if (extension == "aif" || extension == "aiff") return SF_FORMAT_AIFF;
  return 0;
}

int Subtype(int containerBits)
{
  if (containerBits == 16) return SF_FORMAT_PCM_16;
  if (containerBits == 24) return SF_FORMAT_PCM_24;
  return SF_FORMAT_PCM_32;
}

// A fresh, empty file beside target, so that the rename stays on one file system.
bool MakeTemporaryPath(const std::string& target, std::string& temporary)
{
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string pattern = folder + "/." + name + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) return false;
  // mkstemp makes the file private; the output gets the permissions of any new file.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  temporary = pattern;
  return true;
}

constexpr std::int64_t kChunkFrames = 16384;

} // namespace

int ContainerBits(int bits) noexcept
{
  if (bits <= 16) return 16;
  if (bits <= 24) return 24;
  return 32;
}

bool CheckOutputFormat(const std::string& path, int bits, std::string& error)
{
  const int major = MajorFormat(path);
  if (major == 0)
  {
    error = "cannot tell the format of " + path + ": use .wav, .flac, .aif or .aiff";
    return false;
  }
  if (major == SF_FORMAT_FLAC && ContainerBits(bits) == 32)
  {
    error = "FLAC holds at most 24 bits: write " + std::to_string(bits) + "-bit output as .wav or .aiff";
    return false;
  }
  return true;
}

std::unique_ptr<GridWriter> GridWriter::Create(const std::string& path, int bits, int channels, double sampleRate,
                                               std::string& error)
{
  if (!CheckOutputFormat(path, bits, error)) return nullptr;
  std::string temporary;
  if (!MakeTemporaryPath(path, temporary))
  {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  SF_INFO info {};
  info.channels = channels;
  info.samplerate = int(std::lround(sampleRate));
  info.format = MajorFormat(path) | Subtype(ContainerBits(bits));
  SNDFILE* file = sf_open(temporary.c_str(), SFM_WRITE, &info);
  if (!file)
  {
    error = "cannot write " + path + ": " + sf_strerror(nullptr);
    std::remove(temporary.c_str());
    return nullptr;
  }
  return std::unique_ptr<GridWriter>(new GridWriter(file, path, temporary, bits, channels));
}

GridWriter::GridWriter(SNDFILE* opened, std::string target, std::string temporaryPath, int depth, int channelCount)
    : file(opened)
    , path(std::move(target))
    , temporary(std::move(temporaryPath))
    , bits(depth)
    , channels(channelCount)
{
}

GridWriter::~GridWriter()
{
  if (file) sf_close(file);
  if (!committed) std::remove(temporary.c_str());
}

bool GridWriter::Write(const double* interleaved, std::int64_t frames, std::string& error)
{
  const double scale = std::ldexp(1.0, bits - 1);
  const auto highest = std::int64_t(scale) - 1;
  const auto lowest = -std::int64_t(scale);
  std::vector<int> codes(std::size_t(std::min(frames, kChunkFrames) * channels));
  for (std::int64_t first = 0; first < frames; first += kChunkFrames)
  {
    const std::int64_t count = std::min(kChunkFrames, frames - first);
    const double* samples = interleaved + first * channels;
    for (std::size_t i = 0; i < std::size_t(count * channels); ++i)
    {
      const double code = samples[i] * scale;
      // Beyond 2^62 every double is whole (and clamps); below it, truncation shows a fraction.
      const bool small = std::fabs(code) < 0x1p62;
      const std::int64_t whole = small ? std::int64_t(code) : code > 0 ? highest : lowest;
      if (small ? double(whole) != code : std::isnan(code))
      {
        error = "the plug-in returned a sample off the " + std::to_string(bits) + "-bit grid (frame " +
                std::to_string(framesWritten + first + std::int64_t(i) / channels) + ")";
        return false;
      }
      const std::int64_t kept = std::clamp(whole, lowest, highest);
      if (kept != whole || !small) ++clamped;
      // libsndfile's integer interface takes codes left-aligned in 32 bits and keeps the top
      // bits the container holds: exact, with no rescaling and no dither of its own.
      codes[i] = int(std::uint32_t(kept) << (32 - bits));
    }
    if (sf_writef_int(file, codes.data(), count) != count)
    {
      error = "cannot write " + path + ": " + sf_strerror(file);
      return false;
    }
  }
  framesWritten += frames;
  return true;
}

bool GridWriter::Commit(std::string& error)
{
  const int closed = sf_close(file);
  file = nullptr;
  if (closed != 0)
  {
    error = "cannot write " + path + ": " + sf_error_number(closed);
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0)
  {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  committed = true;
  return true;
}

} // namespace kit::render
