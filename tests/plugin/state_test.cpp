// The plug-in's state through the host's streams: four little-endian doubles, written and read
// whatever the streams' transfer sizes; states of the wrong length, broken streams and
// partial host extensions handled as the host can see.
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/streams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

namespace kit::test
{
namespace
{

using host::HostFunction;

constexpr std::uint64_t kMiB = std::uint64_t { 1 } << 20;

// The bytes of the given values as consecutive little-endian IEEE 754 doubles.
std::vector<std::uint8_t> StateBytes(std::initializer_list<double> values)
{
  std::vector<std::uint8_t> bytes;
  for (const double value : values)
  {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) bytes.push_back(std::uint8_t(bits >> (8 * i)));
  }
  return bytes;
}

std::vector<double> Values(const LoadedPlugin& p)
{
  return { p.Value(kDither), p.Value(kPower), p.Value(kTargetBits), p.Value(kShowGraph) };
}

const std::vector<double> kDefaults = { 0.0, 9.0, 16.0, 1.0 };

[[nodiscard]] bool Load(const LoadedPlugin& p, host::InputStream& stream)
{
  return p.Extension<clap_plugin_state>(CLAP_EXT_STATE).load(p.Plugin(), stream.Record());
}

TEST(State, SaveWritesTheFourValuesThroughStreamsOfAnyTransferSize)
{
  for (const std::uint64_t perWrite : { std::uint64_t(0), std::uint64_t(5), std::uint64_t(1) })
  {
    SCOPED_TRACE(perWrite);
    LoadedPlugin p;
    ASSERT_TRUE(p.Ready());
    const std::pair<clap_id, double> settings[] = {
      { kDither, 1.0 }, { kPower, 3.0 }, { kTargetBits, 24.0 }, { kShowGraph, 0.0 }
    };
    p.instance->FlushParams(settings);
    host::WriteBehaviour behaviour;
    behaviour.maxBytesPerWrite = perWrite;
    host::OutputStream stream(behaviour);
    ASSERT_TRUE(p.Extension<clap_plugin_state>(CLAP_EXT_STATE).save(p.Plugin(), stream.Record()));
    EXPECT_EQ(stream.Bytes(), StateBytes({ 1.0, 3.0, 24.0, 0.0 }));
    EXPECT_EQ(stream.WriteCalls(), perWrite == 0 ? 1u : (32 + perWrite - 1) / perWrite);
  }
}

TEST(State, SaveFailsOnAWriteErrorOrAnOverlongWriteResult)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& state = p.Extension<clap_plugin_state>(CLAP_EXT_STATE);
  host::WriteBehaviour failing;
  failing.maxBytesPerWrite = 8;
  failing.failAfterBytes = 16;
  host::OutputStream broken(failing);
  EXPECT_FALSE(state.save(p.Plugin(), broken.Record()));
  host::WriteBehaviour lying;
  lying.overReport = true;
  host::OutputStream liar(lying);
  EXPECT_FALSE(state.save(p.Plugin(), liar.Record()));
  EXPECT_FALSE(state.save(p.Plugin(), nullptr));
}

// A good load sets every value and asks the host to rescan the values, once.
TEST(State, LoadReadsStreamsOfAnyTransferSizeAndAsksForARescan)
{
  for (const std::uint64_t perRead : { std::uint64_t(0), std::uint64_t(10), std::uint64_t(1) })
  {
    SCOPED_TRACE(perRead);
    LoadedPlugin p;
    ASSERT_TRUE(p.Ready());
    host::ReadBehaviour behaviour;
    behaviour.maxBytesPerRead = perRead;
    host::InputStream stream(StateBytes({ 1.0, 3.0, 24.0, 0.0 }), behaviour);
    ASSERT_TRUE(Load(p, stream));
    EXPECT_EQ(Values(p), (std::vector<double> { 1.0, 3.0, 24.0, 0.0 }));
    EXPECT_EQ(stream.BytesDelivered(), 32u);
    EXPECT_EQ(p.host.Journal().ParamRescans(), (std::vector<clap_param_rescan_flags> { CLAP_PARAM_RESCAN_VALUES }));
    EXPECT_EQ(p.host.Journal().Count(HostFunction::ParamsClear), 0u);
  }
}

TEST(State, SavedStateLoadsIntoAnotherInstance)
{
  std::vector<std::uint8_t> saved;
  {
    LoadedPlugin source;
    ASSERT_TRUE(source.Ready());
    const std::pair<clap_id, double> settings[] = { { kDither, 1.0 }, { kPower, 0.0 }, { kTargetBits, 20.0 } };
    source.instance->FlushParams(settings);
    host::OutputStream stream;
    ASSERT_TRUE(source.Extension<clap_plugin_state>(CLAP_EXT_STATE).save(source.Plugin(), stream.Record()));
    saved = stream.Bytes();
  }
  LoadedPlugin target;
  ASSERT_TRUE(target.Ready());
  host::InputStream stream(saved);
  ASSERT_TRUE(Load(target, stream));
  EXPECT_EQ(Values(target), (std::vector<double> { 1.0, 0.0, 20.0, 1.0 }));
}

// A state of the wrong length sets the values it covers, fails, and asks for no rescan.
TEST(State, ShortAndLongStatesSetWhatTheyCoverAndFail)
{
  struct Case
  {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::vector<double> values;
  };
  const Case cases[] = {
    { "24 bytes", StateBytes({ 1.0, 4.0, 10.0 }), { 1.0, 4.0, 10.0, 1.0 } },
    { "40 bytes", StateBytes({ 1.0, 4.0, 10.0, 0.0, 5.0 }), { 1.0, 4.0, 10.0, 0.0 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    LoadedPlugin p;
    ASSERT_TRUE(p.Ready());
    host::InputStream stream(c.bytes);
    EXPECT_FALSE(Load(p, stream));
    EXPECT_EQ(Values(p), c.values);
    EXPECT_EQ(p.host.Journal().Count(HostFunction::ParamsRescan), 0u);
  }
}

// A stream that cannot be read to its end changes nothing.
TEST(State, BrokenStreamsFailAndChangeNothing)
{
  const std::vector<std::uint8_t> good = StateBytes({ 1.0, 2.0, 8.0, 0.0 });
  struct Case
  {
    const char* name;
    std::vector<std::uint8_t> bytes;
    host::ReadBehaviour behaviour;
  };
  host::ReadBehaviour failing;
  failing.maxBytesPerRead = 8;
  failing.failAfterBytes = 16;
  host::ReadBehaviour lying;
  lying.overReport = true;
  host::ReadBehaviour endless;
  endless.endless = true;
  const Case cases[] = {
    { "empty", {}, {} },
    { "read error after two values", good, failing },
    { "read claims more than asked", good, lying },
    { "endless", good, endless },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    LoadedPlugin p;
    ASSERT_TRUE(p.Ready());
    host::InputStream stream(c.bytes, c.behaviour);
    EXPECT_FALSE(Load(p, stream));
    EXPECT_EQ(Values(p), kDefaults);
    EXPECT_EQ(p.host.Journal().Count(HostFunction::ParamsRescan), 0u);
    if (c.behaviour.endless)
    {
      // Gives up once the data passes 1 MiB, not later.
      EXPECT_GE(stream.BytesDelivered(), kMiB);
      EXPECT_LE(stream.BytesDelivered(), kMiB + 256);
    }
  }
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  EXPECT_FALSE(p.Extension<clap_plugin_state>(CLAP_EXT_STATE).load(p.Plugin(), nullptr));
}

TEST(State, NonFiniteValuesInAStateAreConformed)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const double inf = std::numeric_limits<double>::infinity();
  host::InputStream stream(StateBytes({ std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1e308 }));
  ASSERT_TRUE(Load(p, stream));
  const double dither = p.Value(kDither);
  EXPECT_TRUE(dither == 0.0 || dither == 1.0) << dither;
  EXPECT_EQ(p.Value(kPower), 12.0);
  EXPECT_EQ(p.Value(kTargetBits), 6.0);
  EXPECT_EQ(p.Value(kShowGraph), 1.0);
}

// A host params extension without clear is reported, once, and gets no rescan; a host
// without the extension at all is not reported.
TEST(State, APartialHostParamsExtensionIsReportedAfterAGoodLoad)
{
  struct Case
  {
    const char* name;
    bool offered;
    bool logged;
  };
  const Case cases[] = {
    { "null clear", true, true },
    { "no params extension", false, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    host::HostConfig config;
    config.offered.params = c.offered;
    config.nullFunctions = { HostFunction::ParamsClear };
    LoadedPlugin p(config);
    ASSERT_TRUE(p.Ready());
    host::InputStream stream(StateBytes({ 1.0, 3.0, 24.0, 0.0 }));
    EXPECT_TRUE(Load(p, stream));
    EXPECT_EQ(Values(p), (std::vector<double> { 1.0, 3.0, 24.0, 0.0 }));
    EXPECT_EQ(p.host.Journal().Count(HostFunction::ParamsRescan), 0u);
    const auto logs = p.host.Journal().Logs();
    if (c.logged)
    {
      ASSERT_EQ(logs.size(), 1u);
      EXPECT_EQ(logs[0].severity, CLAP_LOG_HOST_MISBEHAVING);
      EXPECT_EQ(logs[0].text, "clap_host_params is partially implemented");
    }
    else
      EXPECT_TRUE(logs.empty());
  }
}

TEST(State, WithoutAHostLogThePartialParamsReportGoesToTheErrorStream)
{
  host::HostConfig config;
  config.offered.log = false;
  config.nullFunctions = { HostFunction::ParamsClear };
  LoadedPlugin p(config);
  ASSERT_TRUE(p.Ready());
  host::InputStream stream(StateBytes({ 1.0, 3.0, 24.0, 0.0 }));
  StderrCapture capture;
  const bool loaded = Load(p, stream);
  const std::string text = capture.Text();
  EXPECT_TRUE(loaded);
  EXPECT_EQ(text, "clap_host_params is partially implemented\n");
}

} // namespace
} // namespace kit::test
