#include "binding/clap_abi.h"
#include "engine/ombrix.h"
#include "tools/host/host.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

extern "C" const clap_plugin_entry clap_entry;

namespace kit
{
namespace
{

using host::HostFunction;

struct Driven
{
  explicit Driven(host::HostConfig config)
      : host(std::move(config))
  {
    std::string error;
    library = host::PluginLibrary::FromEntry(clap_entry, "/in-process/Ombrix.clap", error);
    EXPECT_NE(library, nullptr) << error;
    if (library) instance = host::PluginInstance::Create(*library, host, error);
    EXPECT_NE(instance, nullptr) << error;
  }

  [[nodiscard]] ui::Ombrix& Ombrix() const
  {
    return dynamic_cast<ui::Ombrix&>(*static_cast<ClapPluginBase*>(instance->Plugin()->plugin_data));
  }
  [[nodiscard]] std::uint32_t Latency() const
  {
    const auto* latency = instance->Extension<clap_plugin_latency>(CLAP_EXT_LATENCY);
    return latency->get(instance->Plugin());
  }

  host::Host host;
  std::unique_ptr<host::PluginLibrary> library;
  std::unique_ptr<host::PluginInstance> instance;
};

host::HostConfig WithoutLogAndThreadCheck()
{
  host::HostConfig config;
  config.offered.log = false;
  config.offered.threadCheck = false;
  return config;
}

// The latency a plug-in announces while active reaches the host through a restart: the request
// is made on the main thread, and the next activation applies the value and tells the host.
TEST(LatencyRestart, AChangeWhileActiveRestartsFromTheMainThreadAndTheNextActivationAppliesIt)
{
  Driven d(WithoutLogAndThreadCheck());
  ASSERT_TRUE(d.instance->Activate(48000.0, 1, 256));
  d.Ombrix().UpdateLatency(64);
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestCallback), 1u);
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestRestart), 0u);
  EXPECT_EQ(d.Latency(), 0u);
  d.Ombrix().UpdateLatency(64); // the same value again asks nothing more
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestCallback), 1u);

  d.instance->Idle(); // on_main_thread, then the restart: deactivate and activate
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestRestart), 1u);
  EXPECT_EQ(d.host.Journal().Count(HostFunction::LatencyChanged), 1u);
  EXPECT_EQ(d.Latency(), 64u);

  d.instance->Deactivate();
  ASSERT_TRUE(d.instance->Activate(48000.0, 1, 256));
  EXPECT_EQ(d.host.Journal().Count(HostFunction::LatencyChanged), 1u);
}

TEST(LatencyRestart, OnTheMainThreadTheRequestIsMadeAtOnce)
{
  host::HostConfig config;
  config.threadCheck = host::ThreadCheckAnswer::AlwaysMain;
  Driven d(config);
  ASSERT_TRUE(d.instance->Activate(48000.0, 1, 256));
  d.Ombrix().UpdateLatency(32);
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestRestart), 1u);
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestCallback), 0u);
}

// Work still queued when the instance is destroyed runs without reaching the host.
TEST(LatencyRestart, DestroyDrainsQueuedWorkWithoutCallingTheHost)
{
  Driven d(WithoutLogAndThreadCheck());
  ASSERT_TRUE(d.instance->Activate(48000.0, 1, 256));
  d.Ombrix().UpdateLatency(64);
  ASSERT_EQ(d.host.Journal().Count(HostFunction::RequestCallback), 1u);
  d.instance.reset();
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestRestart), 0u);
}

} // namespace
} // namespace kit
