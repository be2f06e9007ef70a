// Sixty-four instances in one process, each at its own sample rate, grid and shaping, processed
// block by block by two audio threads taking turns while the main thread saves and loads their
// states and serves their timers. Each output stays on its instance's grid and, with dither
// off, equals bit for bit what a lone instance makes of the same input and events.
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/event_builders.h"
#include "tools/host/streams.h"

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <thread>
#include <vector>

namespace kit::test
{
namespace
{

constexpr int kInstances = 64;
constexpr std::uint32_t kFrames = 256;
constexpr int kBlocks = 100;
constexpr double kRates[] = { 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 };

struct Settings
{
  double rate;
  int bits;
  int power;
};

Settings SettingsOf(int instance)
{
  return { kRates[instance % 6], 8 + instance % 17, instance % 13 };
}

// Stereo input of one block: two sines at the instance's own pitches, below full scale.
void FillInput(host::AudioBuffers& inputs, int instance, int block)
{
  const double rate = SettingsOf(instance).rate;
  for (std::uint32_t c = 0; c < 2; ++c)
  {
    const double hz = 200.0 + 37.0 * instance + 300.0 * c;
    std::span<double> channel = inputs.Channel64(0, c);
    for (std::uint32_t i = 0; i < kFrames; ++i)
    {
      const double t = double(std::uint32_t(block) * kFrames + i) / rate;
      channel[i] = 0.6 * std::sin(2.0 * std::numbers::pi * hz * t);
    }
  }
}

// The events of one block: the instance's own settings asserted again and "Show Graph"
// toggled, at times that move through the block.
void FillEvents(host::InputEventList& events, int instance, int block)
{
  const Settings settings = SettingsOf(instance);
  events.Clear();
  const auto time = std::uint32_t(block) % kFrames;
  EXPECT_TRUE(events.Add(host::ParamValueEvent(kDither, 0.0, 0)));
  EXPECT_TRUE(events.Add(host::ParamValueEvent(kTargetBits, double(settings.bits), time)));
  EXPECT_TRUE(events.Add(host::ParamValueEvent(kShowGraph, double(block % 2), time)));
}

// One instance with its own host, buffers and the output of every block so far.
struct Voice
{
  Voice(host::PluginLibrary& library, int index)
      : instance(index)
  {
    std::string error;
    plugin = host::PluginInstance::Create(library, host, error);
    EXPECT_NE(plugin, nullptr) << error;
  }

  [[nodiscard]] bool Start()
  {
    const Settings settings = SettingsOf(instance);
    const std::pair<clap_id, double> values[] = { { kDither, 0.0 },
                                                  { kPower, double(settings.power) },
                                                  { kTargetBits, double(settings.bits) } };
    plugin->FlushParams(values);
    return plugin->Activate(settings.rate, 1, 512) && plugin->StartProcessing();
  }

  // Audio thread.
  [[nodiscard]] bool ProcessBlock(int block)
  {
    FillInput(inputs, instance, block);
    FillEvents(events, instance, block);
    host::ProcessPieces pieces;
    pieces.inputs = &inputs;
    pieces.outputs = &outputs;
    pieces.in = &events;
    pieces.out = &outEvents;
    pieces.frames = kFrames;
    const clap_process process = host::ProcessRecord(pieces);
    const bool processed = plugin->Process(process) != CLAP_PROCESS_ERROR;
    outEvents.Clear();
    for (std::uint32_t c = 0; c < 2; ++c)
      for (const double sample : outputs.Channel64(0, c)) output.push_back(sample);
    return processed;
  }

  int instance;
  host::Host host;
  std::unique_ptr<host::PluginInstance> plugin;
  host::AudioBuffers inputs { host::SampleWidth::Float64, { 2 }, kFrames };
  host::AudioBuffers outputs { host::SampleWidth::Float64, { 2 }, kFrames };
  host::InputEventList events;
  host::OutputEventList outEvents;
  std::vector<double> output;
};

// The number of samples that are not whole codes of 2^(bits - 1) steps.
std::size_t OffTheGrid(const std::vector<double>& samples, int bits)
{
  const double scale = std::ldexp(1.0, bits - 1);
  std::size_t off = 0;
  for (const double sample : samples)
    if (!std::isfinite(sample) || sample * scale != std::trunc(sample * scale)) ++off;
  return off;
}

TEST(ManyInstances, SixtyFourInstancesOnTwoAudioThreadsMatchLoneInstancesBitForBit)
{
  auto library = LoadOmbrix();
  ASSERT_NE(library, nullptr);
  std::vector<std::unique_ptr<Voice>> voices;
  for (int v = 0; v < kInstances; ++v)
  {
    voices.push_back(std::make_unique<Voice>(*library, v));
    ASSERT_NE(voices.back()->plugin, nullptr);
    ASSERT_TRUE(voices.back()->Start()) << "instance " << v;
    voices.back()->output.reserve(std::size_t(kBlocks) * kFrames * 2);
  }

  // Block b of every instance is processed by audio thread b % 2; the barrier hands over.
  std::barrier turn(2);
  std::atomic<int> audioThreadsLeft { 2 };
  std::atomic<bool> allProcessed { true };
  const auto audioThread = [&](int parity)
  {
    for (int block = 0; block < kBlocks; ++block)
    {
      if (block % 2 == parity)
        for (auto& voice : voices)
          if (!voice->ProcessBlock(block)) allProcessed = false;
      turn.arrive_and_wait();
    }
    audioThreadsLeft.fetch_sub(1, std::memory_order_acq_rel);
  };
  std::thread first(audioThread, 0);
  std::thread second(audioThread, 1);

  // Meanwhile the main thread saves every state and loads it back with "Show Graph" flipped,
  // and serves the timers, round after round until the audio threads are through.
  const auto stateOf = [](const Voice& voice)
  { return voice.plugin->Extension<clap_plugin_state>(CLAP_EXT_STATE); };
  int rounds = 0;
  bool statesWhole = true;
  do
  {
    for (auto& voice : voices)
    {
      const clap_plugin_state* state = stateOf(*voice);
      host::OutputStream saved;
      statesWhole = statesWhole && state->save(voice->plugin->Plugin(), saved.Record()) && saved.Bytes().size() == 32;
      std::vector<std::uint8_t> bytes = saved.Bytes();
      if (bytes.size() == 32)
      {
        double showGraph = 0.0;
        std::memcpy(&showGraph, bytes.data() + 24, sizeof showGraph);
        showGraph = 1.0 - showGraph;
        std::memcpy(bytes.data() + 24, &showGraph, sizeof showGraph);
      }
      host::InputStream restored(bytes);
      statesWhole = statesWhole && state->load(voice->plugin->Plugin(), restored.Record());
      voice->plugin->Idle();
    }
    ++rounds;
  } while (audioThreadsLeft.load(std::memory_order_acquire) > 0);
  first.join();
  second.join();
  EXPECT_TRUE(allProcessed.load());
  EXPECT_TRUE(statesWhole);
  EXPECT_GE(rounds, 1);

  for (int v = 0; v < kInstances; ++v)
  {
    SCOPED_TRACE(testing::Message() << "instance " << v << " at " << SettingsOf(v).rate << " Hz, "
                                    << SettingsOf(v).bits << " bits, power " << SettingsOf(v).power);
    const Voice& voice = *voices[std::size_t(v)];
    EXPECT_EQ(OffTheGrid(voice.output, SettingsOf(v).bits), 0u);

    // The same input and events through an instance that has the process to itself.
    Voice lone(*library, v);
    ASSERT_NE(lone.plugin, nullptr);
    ASSERT_TRUE(lone.Start());
    for (int block = 0; block < kBlocks; ++block) ASSERT_TRUE(lone.ProcessBlock(block));
    ASSERT_EQ(lone.output.size(), voice.output.size());
    EXPECT_EQ(std::memcmp(lone.output.data(), voice.output.data(), voice.output.size() * sizeof(double)), 0);
  }
}

} // namespace
} // namespace kit::test
