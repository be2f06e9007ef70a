#pragma once
// A second, deliberately plain implementation of the dither recursion for tests: one
// channel after another, one frame after another, the error ring read with a modulo,
// exactly in the order of the algorithm. The engine must match it bit for bit.

#include <cmath>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace kit::test
{

struct ReferenceChannel
{
  int historyPos = 0;
  double previousUniform = 0.0;
  double ditherGain = 1.0;
  std::vector<double> errorHistory = std::vector<double>(12, 0.0);
};

class ReferenceDither
{
public:
  explicit ReferenceDither(uint32_t seed)
      : engine(seed)
  {
  }

  double NextUniform()
  {
    const uint64_t r1 = engine();
    const uint64_t r2 = engine();
    return (double(r2) * 2097152.0 + std::floor(double(r1) / 2048.0)) * 1.1102230246251565e-16;
  }

  void Reset()
  {
    for (ReferenceChannel& channel : channels) channel = ReferenceChannel {};
  }

  // One block; returns the largest channel RMS (the meter value) when dither is on.
  double Render(const std::vector<std::vector<double>>& in, std::vector<std::vector<double>>& out,
                std::span<const double> coefficients, double scale, bool ditherOn)
  {
    const int taps = int(coefficients.size());
    const bool shaped = taps > 0;
    double maxLevel = 0.0;
    const int channelCount = int(std::min<std::size_t>(in.size(), 2));
    for (int c = 0; c < channelCount; ++c)
    {
      ReferenceChannel& state = channels[std::size_t(c)];
      if (shaped) state.historyPos = state.historyPos % taps;
      const std::size_t frames = in[std::size_t(c)].size();
      out[std::size_t(c)].assign(frames, 0.0);
      double sumSquares = 0.0;
      for (std::size_t s = 0; s < frames; ++s)
      {
        const double x = in[std::size_t(c)][s];
        const double v0 = x < 1.0 ? x : 1.0;
        const double w = v0 > -1.0 ? v0 : -1.0;
        double d = 0.0;
        if (ditherOn)
        {
          if (shaped)
          {
            const double u = NextUniform();
            d = state.previousUniform - u;
            state.previousUniform = u;
          }
          else
          {
            const double u1 = NextUniform();
            const double u2 = NextUniform();
            d = u1 + u2 - 1.0;
          }
          d = d * state.ditherGain;
        }
        double v = w;
        if (shaped)
        {
          int p = state.historyPos;
          for (int i = 0; i < taps; ++i)
          {
            v = v - state.errorHistory[std::size_t(p)] * coefficients[std::size_t(i)];
            p = p + 1;
            if (p == taps) p = 0;
          }
        }
        const double y = std::floor(scale * v + 0.5 + d) / scale;
        out[std::size_t(c)][s] = y;
        if (shaped)
        {
          state.historyPos = state.historyPos == 0 ? taps - 1 : state.historyPos - 1;
          state.errorHistory[std::size_t(state.historyPos)] = y - v;
        }
        sumSquares += w * w;
      }
      if (ditherOn && frames > 0)
      {
        const double level = std::sqrt(sumSquares / double(frames));
        state.ditherGain = 1.0 - 0.6 * level;
        if (level > maxLevel) maxLevel = level;
      }
    }
    return maxLevel;
  }

  std::vector<ReferenceChannel> channels = std::vector<ReferenceChannel>(2);

private:
  std::mt19937 engine;
};

} // namespace kit::test
