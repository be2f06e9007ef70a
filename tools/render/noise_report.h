// What ombrix-render says about a run: the added noise (output minus the clipped input) as a
// whole and in octave bands, so that the shaping can be read off. Fed block by block.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kit::render
{

inline constexpr std::array<double, 9> kOctaveCentresHz { 63.0,   125.0,  250.0,  500.0,  1000.0,
                                                          2000.0, 4000.0, 8000.0, 16000.0 };

struct NoiseReport
{
  double rms = 0.0;                                        // of output - clip(input), all channels
  double rmsDbfs = -300.0;                                 // AES17: a full-scale sine reads 0 dB
  double rmsLsb = 0.0;                                     // in steps of the target grid
  bool bandsMeasured = false;                              // false for runs shorter than one spectrum frame
  std::array<double, kOctaveCentresHz.size()> bandDbfs {}; // octave bands, same reference
  std::int64_t nonFiniteInputs = 0;                        // NaN or infinite input samples, left out of the noise
};

class NoiseMeter
{
public:
  // totalFrames: how many frames the run will bring, so that the spectrum's frames can be
  // spread over all of it.
  NoiseMeter(int channels, double sampleRate, int bits, std::int64_t totalFrames);

  // Interleaved input and output of the same frames.
  void Add(const double* input, const double* output, std::int64_t frames);
  [[nodiscard]] NoiseReport Report() const;

private:
  void AnalyseSegment();

  int channels;
  double sampleRate;
  int bits;
  double sumSquares = 0.0;
  std::int64_t nonFiniteInputs = 0;
  std::int64_t framesSeen = 0;
  // The spectrum: half-overlapped Hann frames, at most a fixed number per channel, spread
  // evenly; each is analysed when its last frame arrives.
  std::vector<std::int64_t> segmentEnds; // ascending
  std::size_t nextSegment = 0;
  std::vector<std::vector<double>> recent; // per channel, the last frames, as a ring
  std::vector<double> window;
  std::vector<double> cosine;
  std::vector<double> power;
  std::size_t segments = 0;
};

} // namespace kit::render
