// One instance of the plug-in hosted as ombrix-render hosts it: the settings flushed before
// activation designs the filter, as a host restoring a project does; activated for blocks of
// up to the chosen size and processing, 64-bit, one port of the input's channels. Stopped and
// deactivated when it goes.
#pragma once

#include "tools/host/host.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"
#include "tools/render/audio_source.h"
#include "tools/render/render_options.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kit::render
{

class RenderSession
{
public:
  // Null with a one-line reason when the instance cannot be made, refuses the sample rate or
  // will not start processing.
  [[nodiscard]] static std::unique_ptr<RenderSession> Start(std::unique_ptr<host::PluginLibrary> library,
                                                            const RenderOptions& options, const AudioSource& source,
                                                            std::string& error);
  // The same with the host presenting itself as config says, but for its track's channel
  // count, which follows the source.
  [[nodiscard]] static std::unique_ptr<RenderSession> Start(std::unique_ptr<host::PluginLibrary> library,
                                                            const RenderOptions& options, const AudioSource& source,
                                                            host::HostConfig config, std::string& error);
  ~RenderSession();
  RenderSession(const RenderSession&) = delete;
  RenderSession& operator=(const RenderSession&) = delete;

  // Dithers count interleaved frames (at most the block size) into output, interleaved, when
  // output is not null. False with a reason naming frame `at` when the plug-in fails the block.
  [[nodiscard]] bool Process(const double* input, double* output, std::int64_t count, std::int64_t at,
                             std::string& error);
  // The events the plug-in sent from the last Process, on the thread that called it.
  [[nodiscard]] const host::OutputEventList& Outputs() const noexcept { return plugin->ProcessOutputs(); }
  // What the plug-in asked of the main thread: callbacks, timers, restarts.
  void Idle() { plugin->Idle(); }
  [[nodiscard]] const clap_plugin* Plugin() const noexcept { return plugin->Plugin(); }
  [[nodiscard]] host::Host& Host() noexcept { return *host; }

private:
  RenderSession(std::unique_ptr<host::PluginLibrary> pluginLibrary, int channelCount, std::int64_t blockFrames);

  std::unique_ptr<host::PluginLibrary> library;
  std::unique_ptr<host::Host> host;
  std::unique_ptr<host::PluginInstance> plugin;
  std::size_t channels;
  std::vector<std::vector<double>> in;
  std::vector<std::vector<double>> out;
  std::vector<double*> inPointers;
  std::vector<double*> outPointers;
};

} // namespace kit::render
