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

bool StartRendering(host::PluginInstance& plugin, const RenderOptions& options, double sampleRate, std::string& error)
{
  const std::array<std::pair<clap_id, double>, 3> settings { { { kDitherId, options.dither ? 1.0 : 0.0 },
                                                               { kPowerId, double(options.power) },
                                                               { kBitsId, double(options.bits) } } };
  plugin.FlushParams(settings);

  if (!plugin.Activate(sampleRate, 1, std::uint32_t(options.blockFrames)))
  {
    error = "the plug-in refuses the sample rate " + std::to_string(std::lround(sampleRate)) + " Hz";
    return false;
  }
  if (!plugin.StartProcessing())
  {
    error = "the plug-in would not start processing";
    return false;
  }
  return true;
}

bool RenderThroughPlugin(const std::string& pluginPath, const RenderOptions& options, AudioSource& source,
                         const BlockSink& sink, std::string& error)
{
  std::unique_ptr<host::PluginLibrary> library = host::PluginLibrary::Load(pluginPath, error);
  if (!library) return false;
  host::HostConfig config;
  config.name = "ombrix-render";
  config.trackChannelCount = source.Channels();
  host::Host host(config);
  std::unique_ptr<host::PluginInstance> plugin = host::PluginInstance::Create(*library, host, error);
  if (!plugin) return false;

  if (!StartRendering(*plugin, options, source.SampleRate(), error)) return false;

  const auto block = std::uint32_t(options.blockFrames);
  const auto channels = std::size_t(source.Channels());
  std::vector<double> input(block * channels);
  std::vector<double> output(block * channels);
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
  const auto idleEvery = std::max<std::int64_t>(1, std::llround(source.SampleRate() * 0.02));
  std::int64_t sinceIdle = 0;
  std::int64_t done = 0;
  for (;;)
  {
    const std::int64_t count = source.Read(input.data(), block);
    if (count < 0)
    {
      error = "cannot read the input after frame " + std::to_string(done);
      return false;
    }
    if (count == 0) break;
    const auto frames = std::size_t(count);
    for (std::size_t f = 0; f < frames; ++f)
      for (std::size_t c = 0; c < channels; ++c) in[c][f] = input[f * channels + c];
    if (plugin->Process64(inPointers.data(), outPointers.data(), std::uint32_t(channels), std::uint32_t(count)) ==
        CLAP_PROCESS_ERROR)
    {
      error = "the plug-in failed the block at frame " + std::to_string(done);
      return false;
    }
    for (std::size_t f = 0; f < frames; ++f)
      for (std::size_t c = 0; c < channels; ++c) output[f * channels + c] = out[c][f];
    if (!sink(input.data(), output.data(), count, error)) return false;
    done += count;
    sinceIdle += count;
    if (sinceIdle >= idleEvery)
    {
      plugin->Idle();
      sinceIdle = 0;
    }
  }
  plugin->StopProcessing();
  plugin->Deactivate();
  return true;
}

} // namespace kit::render
