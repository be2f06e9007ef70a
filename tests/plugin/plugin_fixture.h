// The built Ombrix.clap loaded as a host loads it, with one instance driven through the test
// host: the common set-up of the tests in this folder. Main thread; the host outlives the
// library, the library the instance.
#pragma once

#include "binding/clap_abi.h"
#include "tests/support/stderr_capture.h"
#include "tests/support/wait_until.h"
#include "tools/host/audio_buffers.h"
#include "tools/host/event_lists.h"
#include "tools/host/host.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"
#include "tools/host/process_record.h"
#include "tools/host/thread_roles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace kit::test
{

inline constexpr const char* kPluginPath = OMBRIX_CLAP_PATH;

// Parameter ids of Ombrix.
enum OmbrixParamId : clap_id
{
  kDither = 0,
  kPower = 1,
  kTargetBits = 2,
  kShowGraph = 3,
};

// The library loaded and initialised, or null with the reason reported as a test failure.
[[nodiscard]] inline std::unique_ptr<host::PluginLibrary> LoadOmbrix()
{
  std::string error;
  std::unique_ptr<host::PluginLibrary> library = host::PluginLibrary::Load(kPluginPath, error);
  EXPECT_NE(library, nullptr) << error;
  return library;
}

struct LoadedPlugin
{
  explicit LoadedPlugin(host::HostConfig config = {})
      : host(std::move(config))
      , library(LoadOmbrix())
  {
    std::string error;
    if (library) instance = host::PluginInstance::Create(*library, host, error);
    EXPECT_NE(instance, nullptr) << error;
  }

  [[nodiscard]] bool Ready() const { return instance != nullptr; }
  [[nodiscard]] const clap_plugin* Plugin() const { return instance->Plugin(); }
  template <class Record>
  [[nodiscard]] const Record& Extension(const char* id) const
  {
    const Record* record = instance->Extension<Record>(id);
    EXPECT_NE(record, nullptr) << id;
    return *record;
  }
  [[nodiscard]] const clap_plugin_params& Params() const { return Extension<clap_plugin_params>(CLAP_EXT_PARAMS); }
  [[nodiscard]] double Value(clap_id id) const
  {
    double value = -1.0;
    EXPECT_TRUE(Params().get_value(Plugin(), id, &value)) << "parameter " << id;
    return value;
  }

  // One block of the given ports and events, its length that of the outputs; the instance
  // must be processing.
  [[nodiscard]] clap_process_status RunBlock(host::AudioBuffers& inputs, host::AudioBuffers& outputs,
                                             const host::InputEventList& in, host::OutputEventList& out)
  {
    host::ProcessPieces pieces;
    pieces.inputs = &inputs;
    pieces.outputs = &outputs;
    pieces.in = &in;
    pieces.out = &out;
    pieces.frames = outputs.Frames();
    const clap_process process = host::ProcessRecord(pieces);
    return instance->Process(process);
  }

  // Activates at 48 kHz and starts processing.
  [[nodiscard]] bool Start(std::uint32_t maxFrames = 512)
  {
    return instance->Activate(48000.0, 1, maxFrames) && instance->StartProcessing();
  }

  host::Host host;
  std::unique_ptr<host::PluginLibrary> library;
  std::unique_ptr<host::PluginInstance> instance;
};

// An instance driven call by call, for orders the instance driver refuses (destroy without
// init, destroy while processing). It moves the host's phase around each call, so the journal
// tells when the plug-in called. Destroyed at the end unless a test did.
class RawInstance
{
public:
  RawInstance(host::Host& instanceHost, const host::PluginLibrary& library)
      : host(instanceHost)
  {
    const clap_plugin_factory* factory = library.Factory();
    host.SetPhase(host::InstancePhase::Creating);
    plugin = factory->create_plugin(factory, host.Record(), "com.felgard.ombrix");
    host.SetPhase(plugin ? host::InstancePhase::Created : host::InstancePhase::NoInstance);
  }
  ~RawInstance()
  {
    if (plugin) Destroy();
  }
  RawInstance(const RawInstance&) = delete;
  RawInstance& operator=(const RawInstance&) = delete;

  [[nodiscard]] const clap_plugin* Plugin() const { return plugin; }
  [[nodiscard]] bool Init()
  {
    host.SetPhase(host::InstancePhase::Initialising);
    const bool ok = plugin->init(plugin);
    host.SetPhase(host::InstancePhase::Inactive);
    return ok;
  }
  [[nodiscard]] bool Activate(std::uint32_t maxFrames = 512)
  {
    host.SetPhase(host::InstancePhase::Activating);
    const bool ok = plugin->activate(plugin, 48000.0, 1, maxFrames);
    host.SetPhase(ok ? host::InstancePhase::Active : host::InstancePhase::Inactive);
    return ok;
  }
  [[nodiscard]] bool StartProcessing()
  {
    const host::AudioThreadScope audio;
    const bool ok = plugin->start_processing(plugin);
    if (ok) host.SetPhase(host::InstancePhase::Processing);
    return ok;
  }
  void Destroy()
  {
    host.SetPhase(host::InstancePhase::Destroying);
    plugin->destroy(plugin);
    host.SetPhase(host::InstancePhase::Destroyed);
    plugin = nullptr;
  }

private:
  host::Host& host;
  const clap_plugin* plugin = nullptr;
};

} // namespace kit::test
