// Owned audio ports for a process call: any number of ports, each with its own channel count,
// in 32-bit or 64-bit samples, zero-filled. Ports() is what clap_process points at; a set with
// no ports gives null. Built and read on the test's thread, handed to the audio thread whole.
#pragma once

#include "binding/clap_abi.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kit::host
{

enum class SampleWidth
{
  Float32, // data32 set, data64 null
  Float64  // data64 set, data32 null
};

class AudioBuffers
{
public:
  AudioBuffers(SampleWidth width, std::vector<std::uint32_t> channelsPerPort, std::uint32_t frames);
  AudioBuffers(const AudioBuffers&) = delete;
  AudioBuffers& operator=(const AudioBuffers&) = delete;

  [[nodiscard]] clap_audio_buffer* Ports() noexcept { return ports.empty() ? nullptr : ports.data(); }
  [[nodiscard]] std::uint32_t PortCount() const noexcept { return std::uint32_t(ports.size()); }
  [[nodiscard]] std::uint32_t Frames() const noexcept { return frames; }
  // One channel's samples; the span is empty for the other sample width.
  [[nodiscard]] std::span<float> Channel32(std::uint32_t port, std::uint32_t channel) noexcept;
  [[nodiscard]] std::span<double> Channel64(std::uint32_t port, std::uint32_t channel) noexcept;

private:
  std::uint32_t frames;
  std::vector<std::vector<float>> samples32;   // one vector per channel, ports in order
  std::vector<std::vector<double>> samples64;  // same
  std::vector<std::vector<float*>> pointers32; // one array per port
  std::vector<std::vector<double*>> pointers64;
  std::vector<std::size_t> firstChannel; // index of each port's first channel
  std::vector<clap_audio_buffer> ports;
};

} // namespace kit::host
