#include "tools/render/demo_programme.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kit::render
{

AudioData DemoProgramme()
{
  constexpr double kRate = 48000.0;
  constexpr int kChordFrames = 5 * 48000;
  constexpr int kQuietFrames = 3 * 48000;
  constexpr int kSilentFrames = 2 * 48000;
  constexpr double kTwoPi = 2.0 * std::numbers::pi;
  // A minor, spread across the stereo image.
  constexpr std::array<double, 4> kChordHz { 220.0, 261.63, 329.63, 440.0 };
  constexpr std::array<double, 4> kLeftGain { 0.9, 0.7, 0.5, 0.3 };

  AudioData audio;
  audio.channels = 2;
  audio.sampleRate = kRate;
  audio.samples.reserve(std::size_t(kChordFrames + kQuietFrames + kSilentFrames) * 2);

  for (int i = 0; i < kChordFrames; ++i)
  {
    const double t = i / kRate;
    const double envelope = 0.2 * std::exp(-t / 1.5) * std::min(1.0, t / 0.01);
    double left = 0.0;
    double right = 0.0;
    for (std::size_t n = 0; n < kChordHz.size(); ++n)
    {
      const double tone = std::sin(kTwoPi * kChordHz[n] * t) + 0.3 * std::sin(2.0 * kTwoPi * kChordHz[n] * t);
      left += kLeftGain[n] * tone;
      right += (1.2 - kLeftGain[n]) * tone;
    }
    audio.samples.push_back(envelope * left);
    audio.samples.push_back(envelope * right);
  }
  for (int i = 0; i < kQuietFrames; ++i)
  {
    // 0.001 is -60 dBFS; a slow swell keeps the level moving.
    const double t = i / kRate;
    const double level = 0.001 * (1.0 + 0.5 * std::sin(kTwoPi * 0.5 * t));
    audio.samples.push_back(level * std::sin(kTwoPi * 1000.0 * t));
    audio.samples.push_back(level * std::sin(kTwoPi * 1500.0 * t));
  }
  audio.samples.resize(audio.samples.size() + std::size_t(kSilentFrames) * 2, 0.0);
  return audio;
}

} // namespace kit::render
