#include "tools/render/plugin_render.h"

#include "tools/host/host.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace kit::render
{

namespace
{

constexpr clap_id kDitherId = 0;
constexpr clap_id kPowerId = 1;
constexpr clap_id kBitsId = 2;

} // namespace

bool RenderThroughPlugin(const std::string& pluginPath, const RenderOptions& options, const AudioData& input,
                         AudioData& output, const RenderProgress& progress, std::string& error)
{
  std::unique_ptr<host::PluginLibrary> library = host::PluginLibrary::Load(pluginPath, error);
  if (!library) return false;
  host::HostConfig config;
  config.name = "ombrix-render";
  config.trackChannelCount = input.channels;
  host::Host host(config);
  std::unique_ptr<host::PluginInstance> plugin = host::PluginInstance::Create(*library, host, error);
  if (!plugin) return false;

  // As a host restoring a project: the settings arrive before activation designs the filter.
  const std::array<std::pair<clap_id, double>, 3> settings { { { kDitherId, options.dither ? 1.0 : 0.0 },
                                                               { kPowerId, double(options.power) },
                                                               { kBitsId, double(options.bits) } } };
  plugin->FlushParams(settings);

  const auto block = std::uint32_t(options.blockFrames);
  if (!plugin->Activate(input.sampleRate, 1, block))
  {
    error = "the plug-in refuses the sample rate " + std::to_string(std::lround(input.sampleRate)) + " Hz";
    return false;
  }
  if (!plugin->StartProcessing())
  {
    error = "the plug-in would not start processing";
    return false;
  }

  const auto channels = std::size_t(input.channels);
  const std::int64_t frames = input.Frames();
  output.channels = input.channels;
  output.sampleRate = input.sampleRate;
  output.samples.assign(input.samples.size(), 0.0);
  std::vector<std::vector<double>> in(channels, std::vector<double>(block));
  std::vector<std::vector<double>> out(channels, std::vector<double>(block));
  std::vector<double*> inPointers;
  std::vector<double*> outPointers;
  for (std::size_t c = 0; c < channels; ++c)
  {
    inPointers.push_back(in[c].data());
    outPointers.push_back(out[c].data());
  }

  // The main thread's idle about every 20 ms of audio, as a host's timer would come.
  const auto idleEvery = std::max<std::int64_t>(1, std::llround(input.sampleRate * 0.02));
  std::int64_t sinceIdle = 0;
  for (std::int64_t start = 0; start < frames; start += block)
  {
    const auto count = std::size_t(std::min<std::int64_t>(block, frames - start));
    for (std::size_t f = 0; f < count; ++f)
      for (std::size_t c = 0; c < channels; ++c) in[c][f] = input.samples[(std::size_t(start) + f) * channels + c];
    const clap_process_status status =
        plugin->Process64(inPointers.data(), outPointers.data(), std::uint32_t(channels), std::uint32_t(count));
    if (status == CLAP_PROCESS_ERROR)
    {
      error = "the plug-in failed the block at frame " + std::to_string(start);
      return false;
    }
    for (std::size_t f = 0; f < count; ++f)
      for (std::size_t c = 0; c < channels; ++c) output.samples[(std::size_t(start) + f) * channels + c] = out[c][f];
    sinceIdle += std::int64_t(count);
    if (sinceIdle >= idleEvery)
    {
      plugin->Idle();
      sinceIdle = 0;
    }
    if (progress) progress(start + std::int64_t(count));
  }
  plugin->StopProcessing();
  plugin->Deactivate();
  return true;
}

} // namespace kit::render
