#include "tests/binding/hosted_plugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kit
{
namespace
{

using host::HostFunction;

using Driven = test::HostedPlugin;

std::uint32_t Latency(const Driven& d)
{
  const auto* latency = d.instance->Extension<clap_plugin_latency>(CLAP_EXT_LATENCY);
  return latency->get(d.instance->Plugin());
}

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
  EXPECT_EQ(Latency(d), 0u);
  d.Ombrix().UpdateLatency(64); // the same value again asks nothing more
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestCallback), 1u);

  d.instance->Idle(); // on_main_thread, then the restart: deactivate and activate
  EXPECT_EQ(d.host.Journal().Count(HostFunction::RequestRestart), 1u);
  EXPECT_EQ(d.host.Journal().Count(HostFunction::LatencyChanged), 1u);
  EXPECT_EQ(Latency(d), 64u);

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
