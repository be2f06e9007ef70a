#pragma once
// Sender packets for the spectrum graph's tests: 12 header bytes and 4096 float32 samples of a
// sine (with optional noise), laid out as the buffer sender writes them.

#include "editor/ombrix_graph.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

namespace kit::ui::test
{

inline constexpr double kGraphRate = 44100.0;

// The samples of one packet: amplitude × sin(2π hz t + phase) from sample `start` on, plus
// uniform noise of the given peak.
inline std::vector<float> SineSamples(double hz, double amplitude, long start = 0, double noisePeak = 0.0,
                                      unsigned seed = 1)
{
  std::vector<float> samples(OmbrixGraph::kFftSize);
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> noise(-noisePeak, noisePeak);
  for (std::size_t i = 0; i < samples.size(); ++i)
  {
    const double t = double(start + long(i)) / kGraphRate;
    samples[i] = float(amplitude * std::sin(2.0 * std::numbers::pi * hz * t) + (noisePeak > 0.0 ? noise(random) : 0.0));
  }
  return samples;
}

// A whole packet around the samples; `offset` extra bytes in front let a test hand the graph
// bytes that are not aligned for floats (pass Bytes(offset)).
struct GraphPacket
{
  std::vector<std::uint8_t> storage;
  int offset = 0;

  explicit GraphPacket(const std::vector<float>& samples, int alignmentOffset = 0)
      : storage(std::size_t(OmbrixGraph::kPacketBytes + alignmentOffset))
      , offset(alignmentOffset)
  {
    const std::int32_t header[3] = { 1, 1, 0 };
    std::memcpy(storage.data() + offset, header, sizeof header);
    std::memcpy(storage.data() + offset + OmbrixGraph::kPacketHeaderBytes, samples.data(),
                samples.size() * sizeof(float));
  }
  [[nodiscard]] const void* Bytes() const { return storage.data() + offset; }
  [[nodiscard]] int Size() const { return OmbrixGraph::kPacketBytes; }
};

inline void Send(OmbrixGraph& graph, const std::vector<float>& samples)
{
  const GraphPacket packet(samples);
  graph.ReceivePacket(0, packet.Size(), packet.Bytes());
}

} // namespace kit::ui::test
