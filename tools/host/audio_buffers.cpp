#include "tools/host/audio_buffers.h"

namespace kit::host
{

AudioBuffers::AudioBuffers(SampleWidth width, std::vector<std::uint32_t> channelsPerPort, std::uint32_t frameCount)
    : frames(frameCount)
{
  std::size_t channelTotal = 0;
  for (const std::uint32_t channels : channelsPerPort)
  {
    firstChannel.push_back(channelTotal);
    channelTotal += channels;
  }
  if (width == SampleWidth::Float32)
    samples32.assign(channelTotal, std::vector<float>(frames, 0.0f));
  else
    samples64.assign(channelTotal, std::vector<double>(frames, 0.0));

  pointers32.resize(channelsPerPort.size());
  pointers64.resize(channelsPerPort.size());
  for (std::size_t port = 0; port < channelsPerPort.size(); ++port)
  {
    for (std::uint32_t channel = 0; channel < channelsPerPort[port]; ++channel)
    {
      const std::size_t index = firstChannel[port] + channel;
      if (width == SampleWidth::Float32)
        pointers32[port].push_back(samples32[index].data());
      else
        pointers64[port].push_back(samples64[index].data());
    }
    clap_audio_buffer buffer {};
    buffer.data32 = pointers32[port].empty() ? nullptr : pointers32[port].data();
    buffer.data64 = pointers64[port].empty() ? nullptr : pointers64[port].data();
    buffer.channel_count = channelsPerPort[port];
    ports.push_back(buffer);
  }
}

std::span<float> AudioBuffers::Channel32(std::uint32_t port, std::uint32_t channel) noexcept
{
  if (samples32.empty()) return {};
  return samples32[firstChannel[port] + channel];
}

std::span<double> AudioBuffers::Channel64(std::uint32_t port, std::uint32_t channel) noexcept
{
  if (samples64.empty()) return {};
  return samples64[firstChannel[port] + channel];
}

} // namespace kit::host
