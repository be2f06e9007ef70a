// The plug-in's audio shape as the host sees it: its ports, the two configurations, the
// host's choice among them, and the choice made at init from the host's track.
#include "tests/plugin/plugin_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kit::test
{
namespace
{

using host::HostFunction;

struct PortView
{
  std::uint32_t inputs;
  std::uint32_t outputs;
  std::uint32_t channels; // of output port 0
};

PortView Ports(const LoadedPlugin& p)
{
  const auto& ports = p.Extension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);
  PortView view { ports.count(p.Plugin(), true), ports.count(p.Plugin(), false), 0 };
  clap_audio_port_info info {};
  if (ports.get(p.Plugin(), 0, false, &info)) view.channels = info.channel_count;
  return view;
}

TEST(AudioPorts, StereoByDefaultWithOneMainPortEachWay)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& ports = p.Extension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);
  struct Case
  {
    bool isInput;
    const char* name;
  };
  for (const Case& c : { Case { true, "Input" }, Case { false, "Output" } })
  {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ports.count(p.Plugin(), c.isInput), 1u);
    clap_audio_port_info info {};
    ASSERT_TRUE(ports.get(p.Plugin(), 0, c.isInput, &info));
    EXPECT_EQ(info.id, 0u);
    EXPECT_STREQ(info.name, c.name);
    // main, 64-bit supported and preferred, common sample size
    EXPECT_EQ(info.flags, 15u);
    EXPECT_EQ(info.channel_count, 2u);
    ASSERT_NE(info.port_type, nullptr);
    EXPECT_STREQ(info.port_type, "stereo");
    EXPECT_EQ(info.in_place_pair, CLAP_INVALID_ID);

    // Indices are unsigned: none of these is a port, and none reads as -1.
    for (const std::uint32_t index : { 1u, 0x80000000u, 0xFFFFFFFFu })
      EXPECT_FALSE(ports.get(p.Plugin(), index, c.isInput, &info)) << index;
    EXPECT_FALSE(ports.get(p.Plugin(), 0, c.isInput, nullptr));
  }
}

TEST(AudioPorts, TheTwoConfigurationsAreMonoAndStereo)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& configs = p.Extension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  ASSERT_EQ(configs.count(p.Plugin()), 2u);
  struct Case
  {
    std::uint32_t index;
    const char* name;
    std::uint32_t channels;
    const char* portType;
  };
  const Case cases[] = {
    { 0, "1.1-1.1", 1, "mono" },
    { 1, "2.2-2.2", 2, "stereo" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    clap_audio_ports_config config {};
    ASSERT_TRUE(configs.get(p.Plugin(), c.index, &config));
    EXPECT_EQ(config.id, c.index);
    EXPECT_STREQ(config.name, c.name);
    EXPECT_EQ(config.input_port_count, 1u);
    EXPECT_EQ(config.output_port_count, 1u);
    EXPECT_TRUE(config.has_main_input);
    EXPECT_TRUE(config.has_main_output);
    EXPECT_EQ(config.main_input_channel_count, c.channels);
    EXPECT_EQ(config.main_output_channel_count, c.channels);
    ASSERT_NE(config.main_input_port_type, nullptr);
    ASSERT_NE(config.main_output_port_type, nullptr);
    EXPECT_STREQ(config.main_input_port_type, c.portType);
    EXPECT_STREQ(config.main_output_port_type, c.portType);
  }
  clap_audio_ports_config config {};
  for (const std::uint32_t index : { 2u, 0x80000000u, 0xFFFFFFFFu })
    EXPECT_FALSE(configs.get(p.Plugin(), index, &config)) << index;
  EXPECT_FALSE(configs.get(p.Plugin(), 0, nullptr));
}

TEST(AudioPorts, SelectingAConfigurationChangesThePortsAndABadIdChangesNothing)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& configs = p.Extension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  const auto& ports = p.Extension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);

  ASSERT_TRUE(configs.select(p.Plugin(), 0));
  clap_audio_port_info info {};
  ASSERT_TRUE(ports.get(p.Plugin(), 0, true, &info));
  EXPECT_EQ(info.channel_count, 1u);
  EXPECT_STREQ(info.port_type, "mono");
  EXPECT_EQ(info.flags, 15u);

  EXPECT_FALSE(configs.select(p.Plugin(), 0xFFFFFFFFu));
  EXPECT_FALSE(configs.select(p.Plugin(), 0x80000000u));
  EXPECT_FALSE(configs.select(p.Plugin(), 2));
  EXPECT_EQ(Ports(p).channels, 1u);

  ASSERT_TRUE(configs.select(p.Plugin(), 1));
  ASSERT_TRUE(ports.get(p.Plugin(), 0, false, &info));
  EXPECT_EQ(info.channel_count, 2u);
  EXPECT_STREQ(info.port_type, "stereo");
  EXPECT_EQ(info.flags, 15u);
}

// The host's track decides the configuration at init: mono for a mono track, stereo for
// anything else or when the track cannot be asked.
TEST(AudioPorts, InitChoosesTheConfigurationFromTheHostTrack)
{
  struct Case
  {
    const char* name;
    bool offered;
    std::string id;
    bool succeeds;
    std::int32_t channels;
    bool nullGet;
    std::uint32_t expectedChannels;
  };
  const Case cases[] = {
    { "mono track", true, CLAP_EXT_TRACK_INFO, true, 1, false, 1 },
    { "mono track under the draft id", true, CLAP_EXT_TRACK_INFO_COMPAT, true, 1, false, 1 },
    { "stereo track", true, CLAP_EXT_TRACK_INFO, true, 2, false, 2 },
    { "six channels", true, CLAP_EXT_TRACK_INFO, true, 6, false, 2 },
    { "no channels", true, CLAP_EXT_TRACK_INFO, true, 0, false, 2 },
    { "negative channels", true, CLAP_EXT_TRACK_INFO, true, -1, false, 2 },
    { "get fails", true, CLAP_EXT_TRACK_INFO, false, 1, false, 2 },
    { "no track info", false, CLAP_EXT_TRACK_INFO, true, 1, false, 2 },
    { "null get", true, CLAP_EXT_TRACK_INFO, true, 1, true, 2 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    host::HostConfig config;
    config.offered.trackInfo = c.offered;
    config.trackInfoId = c.id;
    config.trackInfoSucceeds = c.succeeds;
    config.trackChannelCount = c.channels;
    if (c.nullGet) config.nullFunctions = { HostFunction::TrackInfoGet };
    LoadedPlugin p(config);
    ASSERT_TRUE(p.Ready());
    const PortView view = Ports(p);
    EXPECT_EQ(view.inputs, 1u);
    EXPECT_EQ(view.outputs, 1u);
    EXPECT_EQ(view.channels, c.expectedChannels);

    const auto logs = p.host.Journal().Logs();
    if (c.nullGet)
    {
      ASSERT_EQ(logs.size(), 1u);
      EXPECT_EQ(logs[0].severity, CLAP_LOG_HOST_MISBEHAVING);
      EXPECT_EQ(logs[0].text, "clap_host_track_info is partially implemented");
    }
    else
      EXPECT_TRUE(logs.empty());
  }
}

} // namespace
} // namespace kit::test
