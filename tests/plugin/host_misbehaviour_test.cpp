// Hosts that break the rules, one way per row: calls out of order or on the wrong thread,
// host records with null functions or no get_extension at all, malformed audio buffers and
// extension and parameter calls with bad arguments. Every row must leave the plug-in standing,
// answer with false, null or CLAP_PROCESS_ERROR where CLAP has such an answer, and log only
// the host misbehaviour the plug-in reports (to the host's log, or the error stream without one).
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/event_builders.h"
#include "tools/host/streams.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace kit::test
{
namespace
{

using host::HostFunction;
using host::SampleWidth;

constexpr std::uint32_t kMaxFrames = 256;

// One raw instance with the calls a misbehaving host makes, each straight to the plug-in.
struct Session
{
  explicit Session(host::HostConfig config)
      : host(std::move(config))
      , library(LoadOmbrix())
  {
    if (library) raw = std::make_unique<RawInstance>(host, *library);
  }

  [[nodiscard]] const clap_plugin* Plugin() const { return raw->Plugin(); }
  template <class Record>
  [[nodiscard]] const Record* Extension(const char* id) const
  {
    return static_cast<const Record*>(Plugin()->get_extension(Plugin(), id));
  }
  [[nodiscard]] const clap_plugin_params& Params() const { return *Extension<clap_plugin_params>(CLAP_EXT_PARAMS); }
  [[nodiscard]] const clap_plugin_state& State() const { return *Extension<clap_plugin_state>(CLAP_EXT_STATE); }

  [[nodiscard]] bool Activate(double rate = 48000.0, std::uint32_t maxFrames = kMaxFrames)
  {
    return Plugin()->activate(Plugin(), rate, 1, maxFrames);
  }
  void Deactivate() { Plugin()->deactivate(Plugin()); }
  [[nodiscard]] bool StartProcessing()
  {
    const host::AudioThreadScope audio;
    return Plugin()->start_processing(Plugin());
  }
  void StopProcessing()
  {
    const host::AudioThreadScope audio;
    Plugin()->stop_processing(Plugin());
  }
  [[nodiscard]] clap_process_status Process(clap_process& process)
  {
    const host::AudioThreadScope audio;
    return Plugin()->process(Plugin(), &process);
  }
  // One block over the given ports, no input events.
  [[nodiscard]] clap_process_status ProcessBlock(host::AudioBuffers& inputs, host::AudioBuffers& outputs,
                                                 std::uint32_t frames)
  {
    host::ProcessPieces pieces;
    pieces.inputs = &inputs;
    pieces.outputs = &outputs;
    pieces.in = &noEvents;
    pieces.out = &outEvents;
    pieces.frames = frames;
    clap_process process = host::ProcessRecord(pieces);
    return Process(process);
  }
  [[nodiscard]] std::vector<std::uint8_t> SavedState() const
  {
    host::OutputStream stream;
    EXPECT_TRUE(State().save(Plugin(), stream.Record()));
    return stream.Bytes();
  }

  host::Host host;
  std::unique_ptr<host::PluginLibrary> library;
  std::unique_ptr<RawInstance> raw;
  host::InputEventList noEvents;
  host::OutputEventList outEvents;
};

// Stereo 64-bit ports, input at 0.25, output at 9.0 so that an untouched output shows.
struct StereoBlock
{
  explicit StereoBlock(std::uint32_t frames, SampleWidth width = SampleWidth::Float64)
      : inputs(width, { 2 }, frames)
      , outputs(width, { 2 }, frames)
  {
    for (std::uint32_t c = 0; c < 2; ++c)
      for (std::uint32_t i = 0; i < frames; ++i)
      {
        if (width == SampleWidth::Float64)
        {
          inputs.Channel64(0, c)[i] = 0.25;
          outputs.Channel64(0, c)[i] = 9.0;
        }
        else
        {
          inputs.Channel32(0, c)[i] = 0.25f;
          outputs.Channel32(0, c)[i] = 9.0f;
        }
      }
  }
  host::AudioBuffers inputs;
  host::AudioBuffers outputs;
};

// Every sample of the 64-bit output is the untouched 9.0.
bool Untouched(host::AudioBuffers& outputs)
{
  for (std::uint32_t c = 0; c < 2; ++c)
    for (const double sample : outputs.Channel64(0, c))
      if (sample != 9.0) return false;
  return true;
}

// Every sample is finite and near the 0.25 input: the block was dithered, not left or blown up.
bool Rendered(std::span<const double> channel)
{
  for (const double sample : channel)
    if (!std::isfinite(sample) || std::abs(sample - 0.25) > 0.01) return false;
  return true;
}

// A session a well-behaved host runs, for rows whose misbehaviour is in the host's records:
// activate, process with a parameter event, flush, state round trip, an unknown render mode,
// a main-thread callback, and back down.
void OrdinarySession(Session& s)
{
  ASSERT_TRUE(s.Activate());
  ASSERT_TRUE(s.StartProcessing());
  StereoBlock block(kMaxFrames);
  host::InputEventList events;
  ASSERT_TRUE(events.Add(host::ParamValueEvent(kTargetBits, 20.0)));
  host::ProcessPieces pieces;
  pieces.inputs = &block.inputs;
  pieces.outputs = &block.outputs;
  pieces.in = &events;
  pieces.out = &s.outEvents;
  pieces.frames = kMaxFrames;
  clap_process process = host::ProcessRecord(pieces);
  EXPECT_EQ(s.Process(process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_TRUE(Rendered(block.outputs.Channel64(0, 0)));
  s.StopProcessing();
  s.Deactivate();

  host::OutputEventList flushed;
  s.Params().flush(s.Plugin(), events.Record(), flushed.Record());
  double bits = 0.0;
  EXPECT_TRUE(s.Params().get_value(s.Plugin(), kTargetBits, &bits));
  EXPECT_EQ(bits, 20.0);

  const std::vector<std::uint8_t> saved = s.SavedState();
  EXPECT_EQ(saved.size(), 32u);
  host::InputStream stream(saved);
  EXPECT_TRUE(s.State().load(s.Plugin(), stream.Record()));

  const auto* render = s.Extension<clap_plugin_render>(CLAP_EXT_RENDER);
  ASSERT_NE(render, nullptr);
  EXPECT_FALSE(render->set(s.Plugin(), 7));
  s.Plugin()->on_main_thread(s.Plugin());
}

const char* const kUnknownMode = "host called clap_plugin_render.set_mode with an unknown mode : 7";
const char* const kPartialParams = "clap_host_params is partially implemented";

struct Row
{
  const char* name;
  std::function<void(host::HostConfig&)> configure;
  std::function<void(Session&)> misbehave;
  std::vector<std::string> logs; // the host-misbehaviour reports expected, in order
};

host::HostConfig WithNull(std::initializer_list<HostFunction> functions)
{
  host::HostConfig config;
  config.offered.posixFdSupport = true;
  config.nullFunctions = functions;
  return config;
}

std::vector<Row> OutOfOrderRows()
{
  return {
    { "process before activate", {},
      [](Session& s)
      {
        StereoBlock block(64);
        EXPECT_FALSE(s.StartProcessing());
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, 64), CLAP_PROCESS_ERROR);
        EXPECT_TRUE(Untouched(block.outputs));
      },
      {} },
    { "activate twice, the second time for smaller blocks", {},
      [](Session& s)
      {
        ASSERT_TRUE(s.Activate(48000.0, 512));
        ASSERT_TRUE(s.Activate(96000.0, 64));
        ASSERT_TRUE(s.StartProcessing());
        StereoBlock large(512);
        EXPECT_EQ(s.ProcessBlock(large.inputs, large.outputs, 512), CLAP_PROCESS_ERROR);
        EXPECT_TRUE(Untouched(large.outputs));
        StereoBlock block(64);
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, 64), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
        EXPECT_TRUE(Rendered(block.outputs.Channel64(0, 1)));
      },
      {} },
    { "start processing while inactive, then process", {},
      [](Session& s)
      {
        EXPECT_FALSE(s.StartProcessing());
        StereoBlock block(64);
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, 64), CLAP_PROCESS_ERROR);
        EXPECT_TRUE(Untouched(block.outputs));
        s.StopProcessing();
        ASSERT_TRUE(s.Activate());
        ASSERT_TRUE(s.StartProcessing());
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, 64), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
        EXPECT_TRUE(Rendered(block.outputs.Channel64(0, 0)));
      },
      {} },
    { "deactivate while processing, then process", {},
      [](Session& s)
      {
        ASSERT_TRUE(s.Activate());
        ASSERT_TRUE(s.StartProcessing());
        s.Deactivate();
        StereoBlock block(64);
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, 64), CLAP_PROCESS_ERROR);
        EXPECT_TRUE(Untouched(block.outputs));
      },
      {} },
    { "destroy while active and processing", {},
      [](Session& s)
      {
        ASSERT_TRUE(s.Activate());
        ASSERT_TRUE(s.StartProcessing());
        StereoBlock block(64);
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, 64), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
        s.raw->Destroy();
        const auto outside = s.host.Journal().CallsOutsideInstanceLife();
        ASSERT_EQ(outside.size(), 1u);
        EXPECT_EQ(outside[0].function, HostFunction::UnregisterTimer);
      },
      {} },
    { "state load while the audio thread processes", {},
      [](Session& s)
      {
        ASSERT_TRUE(s.Activate());
        ASSERT_TRUE(s.StartProcessing());
        std::vector<std::uint8_t> state = s.SavedState();
        ASSERT_EQ(state.size(), 32u);
        std::atomic<bool> allRendered { true };
        std::thread audio(
            [&]
            {
              for (int b = 0; b < 200; ++b)
              {
                StereoBlock block(kMaxFrames);
                if (s.ProcessBlock(block.inputs, block.outputs, kMaxFrames) != CLAP_PROCESS_CONTINUE_IF_NOT_QUIET)
                  allRendered = false;
                for (std::uint32_t c = 0; c < 2; ++c)
                  for (const double sample : block.outputs.Channel64(0, c))
                    if (!std::isfinite(sample) || std::abs(sample - 0.25) > 0.25) allRendered = false;
              }
            });
        for (int i = 0; i < 200; ++i)
        {
          const double bits = double(8 + i % 25);
          std::memcpy(state.data() + 16, &bits, sizeof bits);
          host::InputStream stream(state);
          EXPECT_TRUE(s.State().load(s.Plugin(), stream.Record()));
        }
        audio.join();
        EXPECT_TRUE(allRendered.load());
        double bits = 0.0;
        EXPECT_TRUE(s.Params().get_value(s.Plugin(), kTargetBits, &bits));
        EXPECT_EQ(bits, double(8 + 199 % 25));
      },
      {} },
  };
}

std::vector<Row> WrongThreadRows()
{
  return {
    { "main-thread calls from another thread", {},
      [](Session& s)
      {
        std::thread other(
            [&]
            {
              ASSERT_TRUE(s.Activate());
              const std::vector<std::uint8_t> saved = s.SavedState();
              EXPECT_EQ(saved.size(), 32u);
              host::InputStream stream(saved);
              EXPECT_TRUE(s.State().load(s.Plugin(), stream.Record()));
              std::array<char, 64> text {};
              EXPECT_TRUE(s.Params().value_to_text(s.Plugin(), kPower, 0.0, text.data(), 64));
              EXPECT_STREQ(text.data(), "off");
              s.Plugin()->on_main_thread(s.Plugin());
              s.Deactivate();
            });
        other.join();
      },
      {} },
    { "process on the main thread", {},
      [](Session& s)
      {
        ASSERT_TRUE(s.Activate());
        ASSERT_TRUE(s.Plugin()->start_processing(s.Plugin()));
        StereoBlock block(64);
        host::ProcessPieces pieces;
        pieces.inputs = &block.inputs;
        pieces.outputs = &block.outputs;
        pieces.frames = 64;
        const clap_process process = host::ProcessRecord(pieces);
        EXPECT_EQ(s.Plugin()->process(s.Plugin(), &process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
        EXPECT_TRUE(Rendered(block.outputs.Channel64(0, 0)));
        s.Plugin()->stop_processing(s.Plugin());
      },
      {} },
  };
}

std::vector<Row> NullFunctionRows()
{
  using F = HostFunction;
  return {
    { "log without its function", [](host::HostConfig& c) { c = WithNull({ F::Log }); }, OrdinarySession,
      { kUnknownMode } },
    { "params without functions",
      [](host::HostConfig& c) { c = WithNull({ F::ParamsRescan, F::ParamsClear, F::ParamsRequestFlush }); },
      OrdinarySession, { kPartialParams, kUnknownMode } },
    { "latency without its function", [](host::HostConfig& c) { c = WithNull({ F::LatencyChanged }); },
      OrdinarySession, { kUnknownMode } },
    { "state without its function", [](host::HostConfig& c) { c = WithNull({ F::StateMarkDirty }); },
      OrdinarySession, { kUnknownMode } },
    { "timer support without functions",
      [](host::HostConfig& c) { c = WithNull({ F::RegisterTimer, F::UnregisterTimer }); }, OrdinarySession,
      { kUnknownMode } },
    { "posix fd support without functions",
      [](host::HostConfig& c) { c = WithNull({ F::PosixFdRegister, F::PosixFdModify, F::PosixFdUnregister }); },
      OrdinarySession, { kUnknownMode } },
    { "gui without functions",
      [](host::HostConfig& c)
      {
        c = WithNull({ F::GuiResizeHintsChanged, F::GuiRequestResize, F::GuiRequestShow, F::GuiRequestHide,
                       F::GuiClosed });
      },
      OrdinarySession, { kUnknownMode } },
    { "thread check without functions",
      [](host::HostConfig& c) { c = WithNull({ F::IsMainThread, F::IsAudioThread }); }, OrdinarySession,
      { kUnknownMode } },
    { "no get_extension", [](host::HostConfig& c) { c = WithNull({ F::GetExtension }); }, OrdinarySession,
      { kUnknownMode } },
    { "no extensions and no request functions",
      [](host::HostConfig& c)
      {
        c = WithNull({ F::RequestCallback, F::RequestRestart, F::RequestProcess });
        c.offered = host::OfferedExtensions { false, false, false, false, false, false, false, false, false };
      },
      OrdinarySession, { kUnknownMode } },
  };
}

// Ports over the given channel pointer arrays, one port per direction.
clap_process ProcessOver(clap_audio_buffer& in, clap_audio_buffer& out, std::uint32_t frames)
{
  clap_process process {};
  process.steady_time = -1;
  process.frames_count = frames;
  process.audio_inputs = &in;
  process.audio_outputs = &out;
  process.audio_inputs_count = 1;
  process.audio_outputs_count = 1;
  return process;
}

std::vector<Row> AudioBufferRows()
{
  const auto started = [](Session& s)
  {
    ASSERT_TRUE(s.Activate());
    ASSERT_TRUE(s.StartProcessing());
  };
  return {
    { "null channel pointers", {},
      [started](Session& s)
      {
        started(s);
        StereoBlock block(64);
        clap_audio_buffer in = block.inputs.Ports()[0];
        clap_audio_buffer out = block.outputs.Ports()[0];
        double* nullChannels[] = { nullptr, nullptr };
        struct Spoil
        {
          const char* what;
          bool input;
          bool wholeArray;
        };
        for (const Spoil spoil : { Spoil { "input channel", true, false }, Spoil { "output channel", false, false },
                                   Spoil { "input array", true, true }, Spoil { "output array", false, true } })
        {
          SCOPED_TRACE(spoil.what);
          clap_audio_buffer spoiledIn = in;
          clap_audio_buffer spoiledOut = out;
          clap_audio_buffer& port = spoil.input ? spoiledIn : spoiledOut;
          port.data64 = spoil.wholeArray ? nullptr : nullChannels;
          clap_process process = ProcessOver(spoiledIn, spoiledOut, 64);
          EXPECT_EQ(s.Process(process), CLAP_PROCESS_ERROR);
          EXPECT_TRUE(Untouched(block.outputs));
        }
      },
      {} },
    { "channel counts that do not match the port", {},
      [started](Session& s)
      {
        started(s);
        for (const std::uint32_t channels : { 0u, 1u, 3u, 8u })
        {
          SCOPED_TRACE(channels);
          host::AudioBuffers inputs(SampleWidth::Float64, { channels }, 64);
          host::AudioBuffers outputs(SampleWidth::Float64, { channels }, 64);
          for (std::uint32_t c = 0; c < channels; ++c)
          {
            std::fill(inputs.Channel64(0, c).begin(), inputs.Channel64(0, c).end(), 0.25);
            std::fill(outputs.Channel64(0, c).begin(), outputs.Channel64(0, c).end(), 9.0);
          }
          EXPECT_EQ(s.ProcessBlock(inputs, outputs, 64), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
          // The selected stereo layout renders two channels; any further channel is silence.
          for (std::uint32_t c = 0; c < channels; ++c)
          {
            SCOPED_TRACE(c);
            if (c < 2)
              EXPECT_TRUE(Rendered(outputs.Channel64(0, c)));
            else
              for (const double sample : outputs.Channel64(0, c)) EXPECT_EQ(sample, 0.0);
          }
        }
      },
      {} },
    { "both 32- and 64-bit buffers", {},
      [started](Session& s)
      {
        started(s);
        StereoBlock wide(64);
        StereoBlock narrow(64, SampleWidth::Float32);
        clap_audio_buffer in = wide.inputs.Ports()[0];
        clap_audio_buffer out = wide.outputs.Ports()[0];
        in.data32 = narrow.inputs.Ports()[0].data32;
        out.data32 = narrow.outputs.Ports()[0].data32;
        clap_process process = ProcessOver(in, out, 64);
        EXPECT_EQ(s.Process(process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
        // The plug-in prefers 64-bit samples: those are rendered, the 32-bit ones stay.
        EXPECT_TRUE(Rendered(wide.outputs.Channel64(0, 0)));
        for (const float sample : narrow.outputs.Channel32(0, 1)) EXPECT_EQ(sample, 9.0f);
      },
      {} },
    { "zero frames", {},
      [started](Session& s)
      {
        started(s);
        StereoBlock block(64);
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, 0), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
        EXPECT_TRUE(Untouched(block.outputs));
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, 64), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
        EXPECT_TRUE(Rendered(block.outputs.Channel64(0, 0)));
      },
      {} },
    { "frames above the activated maximum", {},
      [started](Session& s)
      {
        started(s);
        StereoBlock block(kMaxFrames + 1);
        EXPECT_EQ(s.ProcessBlock(block.inputs, block.outputs, kMaxFrames + 1), CLAP_PROCESS_ERROR);
        EXPECT_TRUE(Untouched(block.outputs));
      },
      {} },
  };
}

std::vector<Row> BadArgumentRows()
{
  return {
    { "get_extension with null and very long ids", {},
      [](Session& s)
      {
        EXPECT_EQ(s.Plugin()->get_extension(s.Plugin(), nullptr), nullptr);
        for (const std::string& id : { std::string(1 << 20, 'x'), std::string(CLAP_EXT_PARAMS) + std::string(4096, 's'),
                                       std::string(CLAP_EXT_STATE).substr(0, 9), std::string() })
        {
          SCOPED_TRACE(id.substr(0, 24));
          EXPECT_EQ(s.Plugin()->get_extension(s.Plugin(), id.c_str()), nullptr);
        }
      },
      {} },
    { "parameter calls with out-of-range indexes and ids", {},
      [](Session& s)
      {
        const clap_plugin_params& params = s.Params();
        std::array<char, 64> text {};
        for (const clap_id id : { clap_id(4), clap_id(1000), clap_id(0x7fffffff), CLAP_INVALID_ID })
        {
          SCOPED_TRACE(id);
          clap_param_info info {};
          double value = -7.0;
          EXPECT_FALSE(params.get_info(s.Plugin(), id, &info));
          EXPECT_FALSE(params.get_value(s.Plugin(), id, &value));
          EXPECT_EQ(value, -7.0);
          EXPECT_FALSE(params.value_to_text(s.Plugin(), id, 1.0, text.data(), 64));
          EXPECT_FALSE(params.text_to_value(s.Plugin(), id, "1", &value));
          EXPECT_EQ(value, -7.0);
        }
        EXPECT_FALSE(params.get_info(s.Plugin(), 0, nullptr));
        EXPECT_FALSE(params.get_value(s.Plugin(), 0, nullptr));
        EXPECT_FALSE(params.text_to_value(s.Plugin(), 0, nullptr, nullptr));
        const auto* ports = s.Extension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);
        clap_audio_port_info port {};
        EXPECT_FALSE(ports->get(s.Plugin(), 1, true, &port));
        EXPECT_FALSE(ports->get(s.Plugin(), 0xffffffffu, false, &port));
        const auto* configs = s.Extension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG);
        clap_audio_ports_config config {};
        EXPECT_FALSE(configs->get(s.Plugin(), 2, &config));
        EXPECT_FALSE(configs->select(s.Plugin(), 2));
        EXPECT_FALSE(configs->select(s.Plugin(), CLAP_INVALID_ID));
      },
      {} },
    { "text buffers of size 0 and 1", {},
      [](Session& s)
      {
        const clap_plugin_params& params = s.Params();
        for (const clap_id id : { kDither, kPower, kTargetBits, kShowGraph })
          for (const std::uint32_t capacity : { 0u, 1u })
          {
            SCOPED_TRACE(testing::Message() << "id " << id << " capacity " << capacity);
            char text[2] = { 'z', 'z' };
            EXPECT_FALSE(params.value_to_text(s.Plugin(), id, 1.0, text, capacity));
            EXPECT_EQ(text[0], 'z');
            EXPECT_EQ(text[1], 'z');
          }
      },
      {} },
  };
}

// The messages the plug-in logged: the host's log entries, or the error stream's lines when
// the host has no usable log. Every host-log entry must carry the host-misbehaving severity.
std::vector<std::string> LoggedMessages(const host::Host& host, const std::string& stderrText)
{
  std::vector<std::string> messages;
  for (const host::LogEntry& entry : host.Journal().Logs())
  {
    EXPECT_EQ(entry.severity, CLAP_LOG_HOST_MISBEHAVING) << entry.text;
    messages.push_back(entry.text);
  }
  std::istringstream lines(stderrText);
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) messages.push_back(line);
  return messages;
}

void RunRows(const std::vector<Row>& rows)
{
  for (const Row& row : rows)
  {
    SCOPED_TRACE(row.name);
    host::HostConfig config;
    if (row.configure) row.configure(config);
    std::vector<std::string> logged;
    {
      StderrCapture capture;
      Session s(config);
      ASSERT_NE(s.raw, nullptr);
      ASSERT_NE(s.Plugin(), nullptr);
      ASSERT_TRUE(s.raw->Init());
      row.misbehave(s);
      // Whatever the host did, the instance still answers.
      if (s.raw->Plugin())
      {
        double value = -1.0;
        EXPECT_TRUE(s.Params().get_value(s.Plugin(), kDither, &value));
        EXPECT_EQ(s.SavedState().size(), 32u);
        s.raw->Destroy();
      }
      logged = LoggedMessages(s.host, capture.Text());
    }
    EXPECT_EQ(logged, row.logs);
  }
}

TEST(HostMisbehaviour, CallsOutOfOrder)
{
  RunRows(OutOfOrderRows());
}

TEST(HostMisbehaviour, CallsOnTheWrongThread)
{
  RunRows(WrongThreadRows());
}

TEST(HostMisbehaviour, HostRecordsWithNullFunctions)
{
  RunRows(NullFunctionRows());
}

TEST(HostMisbehaviour, MalformedAudioBuffers)
{
  RunRows(AudioBufferRows());
}

TEST(HostMisbehaviour, BadArgumentsToExtensionsAndParameters)
{
  RunRows(BadArgumentRows());
}

} // namespace
} // namespace kit::test
