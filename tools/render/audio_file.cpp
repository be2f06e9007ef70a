#include "tools/render/audio_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kit::render
{

namespace
{

struct SndFileCloser
{
  void operator()(SNDFILE* file) const noexcept { sf_close(file); }
};
using SndFile = std::unique_ptr<SNDFILE, SndFileCloser>;

std::string Lowered(std::string text)
{
  for (char& c : text) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// The major format for the output's extension; 0 when unknown.
int MajorFormat(const std::string& path)
{
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 0;
  const std::string extension = Lowered(path.substr(dot + 1));
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

} // namespace

bool ReadAudioFile(const std::string& path, AudioData& audio, std::string& error)
{
  SF_INFO info {};
  SndFile file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file)
  {
    error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.channels > 2)
  {
    error = path + " has " + std::to_string(info.channels) + " channels; only mono and stereo can be dithered";
    return false;
  }
  audio.channels = info.channels;
  audio.sampleRate = double(info.samplerate);
  // Full-scale floats as they are; integers arrive as fractions of full scale.
  sf_command(file.get(), SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
  audio.samples.assign(std::size_t(info.frames) * std::size_t(info.channels), 0.0);
  const sf_count_t read = sf_readf_double(file.get(), audio.samples.data(), info.frames);
  if (read != info.frames)
  {
    error = "cannot read all of " + path + ": " + sf_strerror(file.get());
    return false;
  }
  return true;
}

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

bool WriteGridFile(const std::string& path, const AudioData& audio, int bits, std::int64_t& clamped, std::string& error)
{
  if (!CheckOutputFormat(path, bits, error)) return false;
  const int major = MajorFormat(path);
  const int container = ContainerBits(bits);

  // The codes first: nothing is written unless every sample is on the grid.
  const double scale = std::ldexp(1.0, bits - 1);
  const auto highest = std::int64_t(scale) - 1;
  const auto lowest = -std::int64_t(scale);
  std::vector<int> codes(audio.samples.size());
  clamped = 0;
  for (std::size_t i = 0; i < audio.samples.size(); ++i)
  {
    const double code = audio.samples[i] * scale;
    if (!(code == std::floor(code)))
    {
      error = "the plug-in returned a sample off the " + std::to_string(bits) + "-bit grid (frame " +
              std::to_string(i / std::size_t(std::max(audio.channels, 1))) + ")";
      return false;
    }
    std::int64_t whole = code > double(highest) ? highest : code < double(lowest) ? lowest : std::int64_t(code);
    if (double(whole) != code) ++clamped;
    // libsndfile's integer interface takes codes left-aligned in 32 bits and keeps the top
    // bits the container holds: exact, with no rescaling.
    codes[i] = int(std::uint32_t(whole) << (32 - bits));
  }

  std::string temporary;
  if (!MakeTemporaryPath(path, temporary))
  {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  SF_INFO info {};
  info.channels = audio.channels;
  info.samplerate = int(std::lround(audio.sampleRate));
  info.format = major | Subtype(container);
  bool written = false;
  {
    SndFile file(sf_open(temporary.c_str(), SFM_WRITE, &info));
    if (!file)
      error = "cannot write " + path + ": " + sf_strerror(nullptr);
    else
    {
      // The file holds what was delivered: no dither of libsndfile's own on the way.
      const sf_count_t frames = sf_writef_int(file.get(), codes.data(), audio.Frames());
      written = frames == audio.Frames();
      if (!written) error = "cannot write " + path + ": " + sf_strerror(file.get());
    }
  }
  if (written && std::rename(temporary.c_str(), path.c_str()) != 0)
  {
    error = "cannot write " + path + ": " + std::strerror(errno);
    written = false;
  }
  if (!written) std::remove(temporary.c_str());
  return written;
}

} // namespace kit::render
