#include "tools/render/render_session.h"

#include <array>
#include <cmath>
#include <utility>

namespace kit::render
{

namespace
{

constexpr clap_id kDitherId = 0;
constexpr clap_id kPowerId = 1;
constexpr clap_id kBitsId = 2;

} // namespace

RenderSession::RenderSession(std::unique_ptr<host::PluginLibrary> pluginLibrary, int channelCount,
                             std::int64_t blockFrames)
    : library(std::move(pluginLibrary))
    , channels(std::size_t(channelCount))
    , in(channels, std::vector<double>(std::size_t(blockFrames)))
    , out(channels, std::vector<double>(std::size_t(blockFrames)))
{
  for (std::size_t c = 0; c < channels; ++c)
  {
    inPointers.push_back(in[c].data());
    outPointers.push_back(out[c].data());
  }
}

std::unique_ptr<RenderSession> RenderSession::Start(std::unique_ptr<host::PluginLibrary> library,
                                                    const RenderOptions& options, const AudioSource& source,
                                                    std::string& error)
{
  host::HostConfig config;
  config.name = "ombrix-render";
  return Start(std::move(library), options, source, std::move(config), error);
}

std::unique_ptr<RenderSession> RenderSession::Start(std::unique_ptr<host::PluginLibrary> library,
                                                    const RenderOptions& options, const AudioSource& source,
                                                    host::HostConfig config, std::string& error)
{
  if (!library) return nullptr;
  std::unique_ptr<RenderSession> session(new RenderSession(std::move(library), source.Channels(), options.blockFrames));
  // The plug-in picks its port configuration from the track's channel count.
  config.trackChannelCount = source.Channels();
  session->host = std::make_unique<host::Host>(config);
  session->plugin = host::PluginInstance::Create(*session->library, *session->host, error);
  if (!session->plugin) return nullptr;

  const std::array<std::pair<clap_id, double>, 3> settings { { { kDitherId, options.dither ? 1.0 : 0.0 },
                                                               { kPowerId, double(options.power) },
                                                               { kBitsId, double(options.bits) } } };
  session->plugin->FlushParams(settings);
  if (!session->plugin->Activate(source.SampleRate(), 1, std::uint32_t(options.blockFrames)))
  {
    error = "the plug-in refuses the sample rate " + std::to_string(std::lround(source.SampleRate())) + " Hz";
    return nullptr;
  }
  if (!session->plugin->StartProcessing())
  {
    error = "the plug-in would not start processing";
    return nullptr;
  }
  return session;
}

RenderSession::~RenderSession()
{
  if (!plugin) return;
  plugin->StopProcessing();
  plugin->Deactivate();
}

bool RenderSession::Process(const double* input, double* output, std::int64_t count, std::int64_t at,
                            std::string& error)
{
  const auto frames = std::size_t(count);
  for (std::size_t f = 0; f < frames; ++f)
    for (std::size_t c = 0; c < channels; ++c) in[c][f] = input[f * channels + c];
  if (plugin->Process64(inPointers.data(), outPointers.data(), std::uint32_t(channels), std::uint32_t(count)) ==
      CLAP_PROCESS_ERROR)
  {
    error = "the plug-in failed the block at frame " + std::to_string(at);
    return false;
  }
  if (output)
    for (std::size_t f = 0; f < frames; ++f)
      for (std::size_t c = 0; c < channels; ++c) output[f * channels + c] = out[c][f];
  return true;
}

} // namespace kit::render
