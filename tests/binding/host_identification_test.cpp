#include "binding/host_base.h"
#include "tests/binding/hosted_plugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kit
{
namespace
{

TEST(HostIdentification, NamesMapToTheirHostCodes)
{
  struct Case
  {
    const char* name;
    int code;
  };
  const Case cases[] = {
    { "REAPER", 1 },
    { "Reaper64", 1 },
    { "My Reaper Clone", 1 },
    { "Bitwig Studio", 34 },
    { "WaveLab Elements 12", 32 },
    { "WaveLab Pro", 31 },
    { "Live 12", 9 },
    { "Standalone", 24 },
    { "", 0 },
    { "Logic and Live", 9 },
    { "Audacity", 39 },
    { "Blue Cat's VST Host", 44 },
    { "Carla", 0 },
    { "www.example", 35 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IHostBase::IdentifyHost(c.name), c.code);
  }
}

TEST(HostIdentification, LongNamesAreCutNotOverrun)
{
  EXPECT_EQ(IHostBase::IdentifyHost(std::string(300, 'x') + "reaper"), 0);
  EXPECT_EQ(IHostBase::IdentifyHost("reaper" + std::string(300, 'x')), 1);
}

// An instance learns its host from the host record: a missing name counts as "", a missing,
// empty or unreadable version as 0, missing parts of a version as 0.
TEST(HostIdentification, AnInstanceReadsNameAndVersionFromTheHostRecord)
{
  struct Case
  {
    std::optional<std::string> name;
    std::optional<std::string> version;
    std::string_view expectedName;
    int code;
    std::int32_t packed;
  };
  const Case cases[] = {
    { std::nullopt, std::nullopt, "", 0, 0 },
    { "Bitwig Studio", "5.1.2", "Bitwig Studio", 34, 5 * 65536 + 1 * 256 + 2 },
    { "REAPER", "", "REAPER", 1, 0 },
    { "Live", "12", "Live", 9, 12 * 65536 },
    { "Carla", "beta", "Carla", 0, 0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name.value_or("(null)") + " " + c.version.value_or("(null)"));
    host::HostConfig config;
    config.name = c.name;
    config.version = c.version;
    const test::HostedPlugin p(config);
    ASSERT_NE(p.instance, nullptr);
    EXPECT_EQ(p.Ombrix().HostName(), c.expectedName);
    EXPECT_EQ(p.Ombrix().HostCode(), c.code);
    EXPECT_EQ(p.Ombrix().HostVersion(), c.packed);
  }
}

class RecordingHost : public IHostBase
{
public:
  explicit RecordingHost(const PluginConfig& config)
      : IHostBase(config, kApiClap)
  {
  }
  void OnHostMessage(std::string_view text) override { messages.emplace_back(text); }
  void OnIdleTick() override { ++idleTicks; }
  void SendParamValueToEditor(int index, double value, bool normalized) override
  {
    sent.push_back({ index, value });
    EXPECT_FALSE(normalized);
    // As an audio thread that keeps automating while the tick drains.
    if (refillWhileDraining) Queue(index, value + 1.0);
  }
  void Queue(int index, double value) { QueueParamForEditor(index, value, false); }

  std::vector<std::string> messages;
  std::vector<EditorParamEntry> sent;
  int idleTicks = 0;
  bool refillWhileDraining = false;
};

PluginConfig TwoParamConfig(bool hasEditor)
{
  PluginConfig config;
  config.paramCount = 2;
  config.hasEditor = hasEditor;
  config.minWidth = 1500;
  config.maxWidth = 166;
  config.minHeight = 175;
  config.maxHeight = 1575;
  return config;
}

TEST(HostIdentification, SetHostReportsKnownAndUnknownHostsWithTheVersion)
{
  RecordingHost host(TwoParamConfig(true));
  EXPECT_EQ(host.HostCode(), -1);
  host.SetHost("Bitwig Studio", 66051);
  host.SetHost("Carla", 0);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0], "host_known:Bitwig Studio:v1.2.3");
  EXPECT_EQ(host.messages[1], "host_unknown:Carla:v0.0.0");
  EXPECT_EQ(host.HostCode(), 0);
}

TEST(HostTimerTick, DrainsTheEditorRingOnlyWithAnEditorAndAlwaysRunsTheIdleHook)
{
  for (const bool hasEditor : { true, false })
  {
    SCOPED_TRACE(hasEditor);
    RecordingHost host(TwoParamConfig(hasEditor));
    host.Queue(1, 0.25);
    host.Queue(0, 1.0);
    host.Queue(7, 1.0); // no such parameter
    host.OnHostTimer();
    EXPECT_EQ(host.idleTicks, 1);
    ASSERT_EQ(host.sent.size(), hasEditor ? 2u : 0u);
    if (hasEditor)
    {
      EXPECT_EQ(host.sent[0].index, 1);
      EXPECT_EQ(host.sent[0].value, 0.25);
      EXPECT_EQ(host.sent[1].index, 0);
    }
  }
}

TEST(HostTimerTick, EndsEvenWhenTheRingIsRefilledWhileItDrains)
{
  RecordingHost host(TwoParamConfig(true));
  host.refillWhileDraining = true;
  for (int i = 0; i < 10; ++i) host.Queue(i % 2, double(i));
  host.OnHostTimer();
  EXPECT_EQ(host.sent.size(), 10u);
  EXPECT_EQ(host.idleTicks, 1);
  host.OnHostTimer(); // the refills are next
  EXPECT_EQ(host.sent.size(), 20u);
  EXPECT_EQ(host.sent[10].value, 1.0);
}

TEST(EditorSize, ConstrainClampsToTheLimitsWhicheverWayTheyWereGiven)
{
  RecordingHost host(TwoParamConfig(true));
  struct Case
  {
    int width, height;
    bool inside;
    int expectedWidth, expectedHeight;
  };
  const Case cases[] = {
    { 100, 2000, false, 166, 1575 }, { 500, 525, true, 500, 525 },  { 166, 175, true, 166, 175 },
    { 1501, 175, false, 1500, 175 }, { 500, 174, false, 500, 175 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    int width = c.width;
    int height = c.height;
    EXPECT_EQ(host.ConstrainEditorSize(width, height), c.inside);
    EXPECT_EQ(width, c.expectedWidth);
    EXPECT_EQ(height, c.expectedHeight);
  }
}

TEST(EditorSize, UnserializeNeedsAllThreeValues)
{
  RecordingHost host(TwoParamConfig(true));
  StateChunk chunk;
  const std::int32_t width = 1000;
  const std::int32_t height = 1050;
  const float scale = 2.0f;
  ASSERT_TRUE(chunk.Append(&width, 4) && chunk.Append(&height, 4));
  EXPECT_EQ(host.UnserializeEditorSize(chunk, 0), -1);
  ASSERT_TRUE(chunk.Append(&scale, 4));
  EXPECT_EQ(host.UnserializeEditorSize(chunk, 0), 12);
  EXPECT_EQ(host.SavedWidth(), 1000);
  EXPECT_EQ(host.SavedDrawScale(), 2.0f);
  StateChunk copy;
  EXPECT_TRUE(host.SerializeEditorSize(copy));
  ASSERT_EQ(copy.Size(), 12);
  EXPECT_EQ(std::memcmp(copy.Data(), chunk.Data(), 12), 0);
}

} // namespace
} // namespace kit
