#include "tools/render/plugin_render.h"

#include "tools/render/render_session.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kit::render
{

bool RenderThroughPlugin(const std::string& pluginPath, const RenderOptions& options, AudioSource& source,
                         const BlockSink& sink, std::string& error)
{
  std::unique_ptr<RenderSession> session =
      RenderSession::Start(host::PluginLibrary::Load(pluginPath, error), options, source, error);
  if (!session) return false;

  const auto block = std::int64_t(options.blockFrames);
  const auto samples = std::size_t(block) * std::size_t(source.Channels());
  std::vector<double> input(samples);
  std::vector<double> output(samples);
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
    if (!session->Process(input.data(), output.data(), count, done, error)) return false;
    if (!sink(input.data(), output.data(), count, error)) return false;
    done += count;
    sinceIdle += count;
    if (sinceIdle >= idleEvery)
    {
      session->Idle();
      sinceIdle = 0;
    }
  }
  return true;
}

} // namespace kit::render
