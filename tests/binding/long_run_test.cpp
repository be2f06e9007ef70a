// A long session: minutes of stereo audio at 48 kHz, processed as fast as the machine goes,
// with a parameter event in every block that cycles through every value of every parameter and
// the host's main-thread idle about every 20 ms of audio. The heap does not grow, process never
// allocates, the dither gains and the meter level stay finite and every output sample stays on
// the grid of its block. Five minutes by default; OMBRIX_LONG_RUN_SECONDS sets another length
// (3600 for the hour). The blocks' processor times are printed, not judged: speed belongs to
// benchmarks. Beside them, as many blocks of fixed arithmetic show what the machine alone adds.
#include "support/allocation_counter.h"
#include "tests/binding/hosted_plugin.h"
#include "tools/host/audio_buffers.h"
#include "tools/host/event_builders.h"
#include "tools/host/process_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <utility>
#include <vector>

#include <malloc.h>
#include <time.h>

namespace kit::test
{
namespace
{

constexpr double kRate = 48000.0;
constexpr std::uint32_t kFrames = 512;

// Every (parameter, value) pair of the four parameters, in order: the events cycle through them.
std::vector<std::pair<clap_id, double>> EveryValue()
{
  std::vector<std::pair<clap_id, double>> values;
  for (const double v : { 0.0, 1.0 }) values.emplace_back(0, v);
  for (int power = 0; power <= 12; ++power) values.emplace_back(1, double(power));
  for (int bits = 6; bits <= 32; ++bits) values.emplace_back(2, double(bits));
  for (const double v : { 0.0, 1.0 }) values.emplace_back(3, v);
  return values;
}

// The programme: a tone whose level sweeps from near full scale down to subnormal values and
// back every 40 s, with a second of digital silence every 25 s. The level moves per block.
double BlockLevel(std::int64_t block)
{
  const double t = double(block * kFrames) / kRate;
  if (std::fmod(t, 25.0) < 1.0) return 0.0;
  const double sweep = 0.5 + 0.5 * std::cos(2.0 * std::numbers::pi * t / 40.0);
  return 0.8 * std::pow(1e-300, 1.0 - sweep) * sweep;
}

double Tone(std::int64_t frame, std::uint32_t channel)
{
  return std::sin(2.0 * std::numbers::pi * (440.0 + 110.0 * channel) * double(frame) / kRate);
}

// The processor time of the calling thread: on a busy machine, what a block cost rather than
// how long others kept the thread waiting.
double ThreadSeconds()
{
  timespec now {};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

// glibc's count of the bytes handed out; under a sanitizer, whose own allocator serves the
// heap instead, it stays 0 and the check holds trivially.
std::size_t HeapInUse()
{
  return mallinfo2().uordblks;
}

// What the machine itself adds to a thread's processor time: blocks of fixed arithmetic that
// touch no memory beyond a small table and take about as long as a median block. Interrupts and
// the hypervisor are charged to whichever thread runs, so slow blocks here are the machine's.
std::vector<double> ControlBlockSeconds(std::size_t count, double target)
{
  std::vector<double> table(256);
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = 1e-3 * double(i);
  // Sized once so that a block takes about target seconds.
  int rounds = 1;
  for (;;)
  {
    const double started = ThreadSeconds();
    volatile double sink = 0.0;
    for (int r = 0; r < rounds; ++r)
      for (const double x : table) sink = sink + std::sin(x + r);
    if (ThreadSeconds() - started >= target || rounds > 1 << 20) break;
    rounds *= 2;
  }
  std::vector<double> seconds;
  seconds.reserve(count);
  volatile double sink = 0.0;
  for (std::size_t block = 0; block < count; ++block)
  {
    const double started = ThreadSeconds();
    for (int r = 0; r < rounds; ++r)
      for (const double x : table) sink = sink + std::sin(x + r);
    seconds.push_back(ThreadSeconds() - started);
  }
  return seconds;
}

struct BlockTimes
{
  double median;
  double nearlySlowest; // the 99.9th percentile
  double slowest;
  long long beyond; // blocks above 20 × the median
};

BlockTimes Summarise(std::vector<double> seconds)
{
  std::sort(seconds.begin(), seconds.end());
  const double median = seconds[seconds.size() / 2];
  const auto beyond = std::count_if(seconds.begin(), seconds.end(), [&](double t) { return t > 20.0 * median; });
  return { median, seconds[seconds.size() * 999 / 1000], seconds.back(), static_cast<long long>(beyond) };
}

std::int64_t RunSeconds()
{
  const char* text = std::getenv("OMBRIX_LONG_RUN_SECONDS");
  const long long seconds = text ? std::atoll(text) : 300;
  return seconds > 0 ? seconds : 300;
}

TEST(LongRun, MinutesOfAutomatedAudioKeepTheHeapTheGainsAndTheGridSteady)
{
  HostedPlugin p;
  ASSERT_NE(p.instance, nullptr);
  ASSERT_TRUE(p.instance->Activate(kRate, 1, kFrames));
  ASSERT_TRUE(p.instance->StartProcessing());
  const DitherProcessor& processor = p.Ombrix().Processor();

  const std::vector<std::pair<clap_id, double>> values = EveryValue();
  const std::int64_t blocks = RunSeconds() * std::int64_t(kRate) / kFrames;
  std::vector<double> blockSeconds;
  blockSeconds.reserve(std::size_t(blocks));
  host::AudioBuffers inputs(host::SampleWidth::Float64, { 2 }, kFrames);
  host::AudioBuffers outputs(host::SampleWidth::Float64, { 2 }, kFrames);
  host::InputEventList events;
  host::OutputEventList outEvents;
  host::ProcessPieces pieces;
  pieces.inputs = &inputs;
  pieces.outputs = &outputs;
  pieces.in = &events;
  pieces.out = &outEvents;
  pieces.frames = kFrames;
  const clap_process process = host::ProcessRecord(pieces);

  // The heap is measured once the first designs, queues and timers are in place.
  constexpr std::int64_t kWarmUpBlocks = 2000;
  std::size_t heapAfterWarmUp = 0;
  std::size_t allocations = 0;
  std::int64_t offGrid = 0;
  std::int64_t unsteady = 0;
  const std::int64_t idleEvery = std::int64_t(kRate * 0.02) / kFrames + 1;
  for (std::int64_t block = 0; block < blocks; ++block)
  {
    if (block == kWarmUpBlocks) heapAfterWarmUp = HeapInUse();
    const double level = BlockLevel(block);
    for (std::uint32_t c = 0; c < 2; ++c)
    {
      std::span<double> channel = inputs.Channel64(0, c);
      for (std::uint32_t i = 0; i < kFrames; ++i) channel[i] = level * Tone(block * kFrames + i, c);
    }
    const auto& [id, value] = values[std::size_t(block) % values.size()];
    events.Clear();
    ASSERT_TRUE(events.Add(host::ParamValueEvent(id, value, std::uint32_t(block) % kFrames)));
    outEvents.Clear();

    const double started = ThreadSeconds();
    clap_process_status status = CLAP_PROCESS_ERROR;
    {
      AllocationScope scope;
      status = p.instance->Process(process);
      allocations += scope.Count();
    }
    blockSeconds.push_back(ThreadSeconds() - started);
    ASSERT_NE(status, CLAP_PROCESS_ERROR) << "block " << block;

    // The grid the block was rendered on, read back as the audio thread left it.
    const double scale = processor.QuantScale();
    for (std::uint32_t c = 0; c < 2; ++c)
      for (const double sample : outputs.Channel64(0, c))
        if (!std::isfinite(sample) || sample * scale != std::trunc(sample * scale)) ++offGrid;
    if (!std::isfinite(processor.AdjustLevel()) || !std::isfinite(processor.ChannelState(0).ditherGain) ||
        !std::isfinite(processor.ChannelState(1).ditherGain))
      ++unsteady;
    if (block % idleEvery == 0) p.instance->Idle();
  }
  p.instance->Idle();
  const std::size_t heapAtEnd = HeapInUse();

  EXPECT_EQ(allocations, 0u);
  EXPECT_EQ(offGrid, 0);
  EXPECT_EQ(unsteady, 0);
  // No growth: what the host library's journal keeps of the idle calls is all that may grow,
  // a few bytes per call, far below a megabyte even for the hour.
  EXPECT_LE(heapAtEnd, heapAfterWarmUp + (std::size_t(1) << 20))
      << "heap " << heapAfterWarmUp << " bytes after warm-up, " << heapAtEnd << " at the end";

  const BlockTimes times = Summarise(blockSeconds);
  std::printf("long run: %lld blocks (%lld s of audio), block median %.1f us, 99.9th percentile %.1f us, "
              "slowest %.1f us (%.1f x median), %lld blocks above 20 x median, heap %zu -> %zu bytes\n",
              static_cast<long long>(blocks), static_cast<long long>(RunSeconds()), times.median * 1e6,
              times.nearlySlowest * 1e6, times.slowest * 1e6, times.slowest / times.median, times.beyond,
              heapAfterWarmUp, heapAtEnd);
  const BlockTimes control = Summarise(ControlBlockSeconds(blockSeconds.size(), times.median));
  std::printf("machine control: as many blocks of fixed arithmetic, median %.1f us, 99.9th percentile %.1f us, "
              "slowest %.1f us (%.1f x median), %lld blocks above 20 x median\n",
              control.median * 1e6, control.nearlySlowest * 1e6, control.slowest * 1e6,
              control.slowest / control.median, control.beyond);
}

} // namespace
} // namespace kit::test
