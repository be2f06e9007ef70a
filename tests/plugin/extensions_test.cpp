// The extension table of an instance, and the small extensions that answer from fixed values:
// latency, tail and render mode.
#include "tests/plugin/plugin_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kit::test
{
namespace
{

using host::HostFunction;

TEST(Extensions, OffersItsExtensionsAndTimerSupportOnlyToAHostWithTimers)
{
  const char* const alwaysOffered[] = {
    CLAP_EXT_AUDIO_PORTS, CLAP_EXT_AUDIO_PORTS_CONFIG,
    CLAP_EXT_LATENCY,     CLAP_EXT_TAIL,
    CLAP_EXT_RENDER,      CLAP_EXT_PARAMS,
    CLAP_EXT_STATE,       CLAP_EXT_GUI,
  };
  const char* const neverOffered[] = {
    CLAP_EXT_NOTE_PORTS,
    "clap.webview/3",
    CLAP_EXT_PRESET_LOAD,
    CLAP_EXT_PRESET_LOAD_COMPAT,
    CLAP_EXT_POSIX_FD_SUPPORT,
    CLAP_EXT_TRACK_INFO,
    CLAP_EXT_AUDIO_PORTS_ACTIVATION,
    CLAP_EXT_CONFIGURABLE_AUDIO_PORTS,
    CLAP_EXT_CONTEXT_MENU,
    CLAP_EXT_MINI_CURVE_DISPLAY,
    "clap.state-context/2",
    "clap.thread-pool",
    "clap.voice-info",
    "clap.params ",
    "clap.param",
    "clap.gui/2",
    "com.example.unknown",
    "",
  };
  for (const bool timers : { true, false })
  {
    SCOPED_TRACE(timers ? "host with timers" : "host without timers");
    host::HostConfig config;
    config.offered.timerSupport = timers;
    LoadedPlugin p(config);
    ASSERT_TRUE(p.Ready());
    const clap_plugin* plugin = p.Plugin();
    for (const char* id : alwaysOffered) EXPECT_NE(plugin->get_extension(plugin, id), nullptr) << id;
    for (const char* id : neverOffered) EXPECT_EQ(plugin->get_extension(plugin, id), nullptr) << id;
    EXPECT_EQ(plugin->get_extension(plugin, nullptr), nullptr);
    EXPECT_EQ(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT) != nullptr, timers);
  }
}

// A host's timer support missing one of its functions is no timer support.
TEST(Extensions, APartialHostTimerSupportIsNotAnswered)
{
  host::HostConfig config;
  config.nullFunctions = { HostFunction::UnregisterTimer };
  LoadedPlugin p(config);
  ASSERT_TRUE(p.Ready());
  EXPECT_EQ(p.Plugin()->get_extension(p.Plugin(), CLAP_EXT_TIMER_SUPPORT), nullptr);
  EXPECT_EQ(p.host.Journal().Count(HostFunction::RegisterTimer), 0u);
}

TEST(Extensions, LatencyAndTailAreZero)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  EXPECT_EQ(p.Extension<clap_plugin_latency>(CLAP_EXT_LATENCY).get(p.Plugin()), 0u);
  EXPECT_EQ(p.Extension<clap_plugin_tail>(CLAP_EXT_TAIL).get(p.Plugin()), 0u);
  ASSERT_TRUE(p.instance->Activate(48000.0, 1, 256));
  EXPECT_EQ(p.Extension<clap_plugin_latency>(CLAP_EXT_LATENCY).get(p.Plugin()), 0u);
  EXPECT_EQ(p.Extension<clap_plugin_tail>(CLAP_EXT_TAIL).get(p.Plugin()), 0u);
}

TEST(Extensions, RenderAcceptsRealtimeAndOfflineAndReportsAnUnknownMode)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& render = p.Extension<clap_plugin_render>(CLAP_EXT_RENDER);
  EXPECT_FALSE(render.has_hard_realtime_requirement(p.Plugin()));
  EXPECT_TRUE(render.set(p.Plugin(), CLAP_RENDER_OFFLINE));
  EXPECT_TRUE(render.set(p.Plugin(), CLAP_RENDER_REALTIME));
  EXPECT_TRUE(p.host.Journal().Logs().empty());

  EXPECT_FALSE(render.set(p.Plugin(), 7));
  const auto logs = p.host.Journal().Logs();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].severity, CLAP_LOG_HOST_MISBEHAVING);
  const std::string ending = ": 7";
  ASSERT_GE(logs[0].text.size(), ending.size());
  EXPECT_EQ(logs[0].text.substr(logs[0].text.size() - ending.size()), ending) << logs[0].text;

  EXPECT_FALSE(render.set(p.Plugin(), -1));
  ASSERT_EQ(p.host.Journal().Logs().size(), 2u);
  EXPECT_NE(p.host.Journal().Logs()[1].text.find(": -1"), std::string::npos);
}

// Without the host's log the report still reaches a person, on the error stream.
TEST(Extensions, WithoutAHostLogTheUnknownRenderModeGoesToTheErrorStream)
{
  host::HostConfig config;
  config.offered.log = false;
  LoadedPlugin p(config);
  ASSERT_TRUE(p.Ready());
  const auto& render = p.Extension<clap_plugin_render>(CLAP_EXT_RENDER);
  StderrCapture capture;
  EXPECT_FALSE(render.set(p.Plugin(), 7));
  const std::string text = capture.Text();
  EXPECT_NE(text.find(": 7\n"), std::string::npos) << text;
  EXPECT_EQ(p.host.Journal().Count(HostFunction::Log), 0u);
}

} // namespace
} // namespace kit::test
