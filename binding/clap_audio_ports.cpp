// The audio shape the host sees: ports of the selected layout, the layouts as port
// configurations, and note ports when the plug-in takes or sends MIDI. Main thread.
#include "binding/clap_binding.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kit
{

namespace
{

const char* PortType(int channels) noexcept
{
  if (channels == 2) return CLAP_PORT_STEREO;
  if (channels == 1) return CLAP_PORT_MONO;
  return nullptr;
}

// Copies text with its terminator, cut to fit capacity bytes.
void CopyName(std::string_view text, char* target, std::size_t capacity) noexcept
{
  const std::size_t length = std::min(text.size(), capacity - 1);
  std::copy_n(text.data(), length, target);
  target[length] = '\0';
}

// "2.2": the first bus's channels, then "." and each bus's channels; "0" without buses.
std::string BusesName(const std::vector<BusSpec>& buses)
{
  std::string name = std::to_string(buses.empty() ? 0 : buses[0].channelCount);
  for (const BusSpec& bus : buses)
  {
    name += '.';
    name += std::to_string(bus.channelCount);
  }
  return name;
}

} // namespace

int IClapBinding::BusCount(ERoute direction, int layoutIndex) const noexcept
{
  if (layoutIndex < 0 || std::size_t(layoutIndex) >= layouts.size()) return 0;
  const ChannelLayout& layout = layouts[std::size_t(layoutIndex)];
  return int(direction == kInput ? layout.inputBuses.size() : layout.outputBuses.size());
}

int IClapBinding::BusChannelCount(ERoute direction, int busIndex, int layoutIndex) const noexcept
{
  if (busIndex < 0 || busIndex >= BusCount(direction, layoutIndex)) return 0;
  const ChannelLayout& layout = layouts[std::size_t(layoutIndex)];
  return (direction == kInput ? layout.inputBuses : layout.outputBuses)[std::size_t(busIndex)].channelCount;
}

bool IClapBinding::ImplementsAudioPorts() const
{
  return MaxBusCount(kInput) > 0 || MaxBusCount(kOutput) > 0;
}

std::uint32_t IClapBinding::AudioPortsCount(bool isInput)
{
  return std::uint32_t(BusCount(isInput ? kInput : kOutput, selectedConfig));
}

bool IClapBinding::AudioPortsGet(std::uint32_t index, bool isInput, clap_audio_port_info* info)
{
  const ERoute direction = isInput ? kInput : kOutput;
  const int count = BusCount(direction, selectedConfig);
  if (!info || index >= std::uint32_t(count)) return false;
  const int bus = int(index);
  info->id = index;
  FixedText<32> name;
  NameOfBus(direction, bus, count, name);
  CopyName(name.View(), info->name, sizeof info->name);
  info->flags = CLAP_AUDIO_PORT_SUPPORTS_64BITS | CLAP_AUDIO_PORT_PREFERS_64BITS |
                CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE | (index == 0 ? CLAP_AUDIO_PORT_IS_MAIN : 0u);
  const int channels = BusChannelCount(direction, bus, selectedConfig);
  info->channel_count = std::uint32_t(std::max(channels, 0));
  info->port_type = PortType(channels);
  info->in_place_pair = CLAP_INVALID_ID;
  return true;
}

bool IClapBinding::ImplementsAudioPortsConfig() const
{
  return !layouts.empty();
}

std::uint32_t IClapBinding::AudioPortsConfigCount()
{
  return std::uint32_t(layouts.size());
}

bool IClapBinding::AudioPortsConfigGet(std::uint32_t index, clap_audio_ports_config* config)
{
  if (!config || index >= layouts.size()) return false;
  const ChannelLayout& layout = layouts[index];
  config->id = index;
  CopyName(BusesName(layout.inputBuses) + "-" + BusesName(layout.outputBuses), config->name, sizeof config->name);
  config->input_port_count = std::uint32_t(layout.inputBuses.size());
  config->output_port_count = std::uint32_t(layout.outputBuses.size());
  const int mainInputChannels = BusChannelCount(kInput, 0, int(index));
  const int mainOutputChannels = BusChannelCount(kOutput, 0, int(index));
  config->has_main_input = config->input_port_count > 0;
  config->main_input_channel_count = std::uint32_t(std::max(mainInputChannels, 0));
  config->main_input_port_type = config->has_main_input ? PortType(mainInputChannels) : nullptr;
  config->has_main_output = config->output_port_count > 0;
  config->main_output_channel_count = std::uint32_t(std::max(mainOutputChannels, 0));
  config->main_output_port_type = config->has_main_output ? PortType(mainOutputChannels) : nullptr;
  return true;
}

bool IClapBinding::AudioPortsConfigSelect(clap_id configId)
{
  if (configId >= layouts.size()) return false;
  selectedConfig = std::int32_t(configId);
  return true;
}

bool IClapBinding::ImplementsNotePorts() const
{
  return midiIn || midiOut;
}

std::uint32_t IClapBinding::NotePortsCount(bool)
{
  return 0;
}

bool IClapBinding::NotePortsGet(std::uint32_t, bool, clap_note_port_info*)
{
  return false;
}

} // namespace kit
