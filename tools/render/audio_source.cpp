#include "tools/render/audio_source.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kit::render
{

namespace
{

class FileSource final : public AudioSource
{
public:
  FileSource(SNDFILE* opened, const SF_INFO& info)
      : AudioSource(info.channels, double(info.samplerate), info.frames)
      , file(opened)
  {
    // Integer files arrive as fractions of full scale, float files as they are.
    sf_command(file, SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
  }
  ~FileSource() override { sf_close(file); }

  std::int64_t Read(double* interleaved, std::int64_t count) override
  {
    const sf_count_t read = sf_readf_double(file, interleaved, count);
    if (read < count && sf_error(file) != SF_ERR_NO_ERROR) return -1;
    return read;
  }

private:
  SNDFILE* file;
};

class DemoSource final : public AudioSource
{
public:
  static constexpr double kRate = 48000.0;
  static constexpr std::int64_t kChordFrames = 5 * 48000;
  static constexpr std::int64_t kQuietFrames = 3 * 48000;
  static constexpr std::int64_t kSilentFrames = 2 * 48000;

  DemoSource()
      : AudioSource(2, kRate, kChordFrames + kQuietFrames + kSilentFrames)
  {
  }

  std::int64_t Read(double* interleaved, std::int64_t count) override
  {
    const std::int64_t delivered = std::min(count, Frames() - position);
    for (std::int64_t i = 0; i < delivered; ++i, ++position) Frame(position, interleaved + 2 * i);
    return delivered;
  }

private:
  static void Frame(std::int64_t index, double* frame)
  {
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    // A minor, spread across the stereo image.
    constexpr std::array<double, 4> kChordHz { 220.0, 261.63, 329.63, 440.0 };
    constexpr std::array<double, 4> kLeftGain { 0.9, 0.7, 0.5, 0.3 };
    if (index < kChordFrames)
    {
      const double t = double(index) / kRate;
      const double envelope = 0.2 * std::exp(-t / 1.5) * std::min(1.0, t / 0.01);
      double left = 0.0;
      double right = 0.0;
      for (std::size_t n = 0; n < kChordHz.size(); ++n)
      {
        const double tone = std::sin(kTwoPi * kChordHz[n] * t) + 0.3 * std::sin(2.0 * kTwoPi * kChordHz[n] * t);
        left += kLeftGain[n] * tone;
        right += (1.2 - kLeftGain[n]) * tone;
      }
      frame[0] = envelope * left;
      frame[1] = envelope * right;
    }
    else if (index < kChordFrames + kQuietFrames)
    {
      // 0.001 is -60 dBFS; a slow swell keeps the level moving.
      const double t = double(index - kChordFrames) / kRate;
      const double level = 0.001 * (1.0 + 0.5 * std::sin(kTwoPi * 0.5 * t));
      frame[0] = level * std::sin(kTwoPi * 1000.0 * t);
      frame[1] = level * std::sin(kTwoPi * 1500.0 * t);
    }
    else
    {
      frame[0] = 0.0;
      frame[1] = 0.0;
    }
  }

  std::int64_t position = 0;
};

} // namespace

std::unique_ptr<AudioSource> OpenAudioFile(const std::string& path, std::string& error)
{
  SF_INFO info {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file)
  {
    error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  if (info.channels < 1 || info.channels > 2)
  {
    sf_close(file);
    error = path + " has " + std::to_string(info.channels) + " channels; only mono and stereo can be dithered";
    return nullptr;
  }
  return std::make_unique<FileSource>(file, info);
}

std::unique_ptr<AudioSource> DemoProgramme()
{
  return std::make_unique<DemoSource>();
}

} // namespace kit::render
