#include "engine/ombrix_params.h"
#include "support/allocation_counter.h"
#include "support/lock_counter.h"
#include "tests/binding/in_process_plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <vector>

namespace kit
{
namespace
{

using test::EventList;
using test::InProcessPlugin;

// A run of blocks as a host drives them: parameter automation and editor changes in every
// block, 64-bit and 32-bit buffers, flushes and resets on the audio thread. None of it may
// allocate or lock.
TEST(RealtimeProcess, AWholeRunOfBlocksNeitherAllocatesNorLocks)
{
  for (const bool wide : { true, false })
  {
    SCOPED_TRACE(wide ? "64-bit" : "32-bit");
    InProcessPlugin p;
    ASSERT_TRUE(p.plugin->init(p.plugin));
    ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, 512));
    ASSERT_TRUE(p.plugin->start_processing(p.plugin));
    const auto* params = static_cast<const clap_plugin_params*>(p.plugin->get_extension(p.plugin, CLAP_EXT_PARAMS));

    std::vector<std::vector<double>> in64(2, std::vector<double>(512));
    std::vector<std::vector<double>> out64(2, std::vector<double>(512));
    std::vector<std::vector<float>> in32(2, std::vector<float>(512));
    std::vector<std::vector<float>> out32(2, std::vector<float>(512));
    double* in64p[2] = { in64[0].data(), in64[1].data() };
    double* out64p[2] = { out64[0].data(), out64[1].data() };
    float* in32p[2] = { in32[0].data(), in32[1].data() };
    float* out32p[2] = { out32[0].data(), out32[1].data() };
    clap_audio_buffer input { wide ? nullptr : in32p, wide ? in64p : nullptr, 2, 0, 0 };
    clap_audio_buffer output { wide ? nullptr : out32p, wide ? out64p : nullptr, 2, 0, 0 };

    std::vector<EventList> blockEvents(40);
    for (std::size_t b = 0; b < blockEvents.size(); ++b)
    {
      blockEvents[b].AddParam(kParamDither, double(b % 2), 3);
      blockEvents[b].AddParam(kParamTargetBits, double(8 + b % 17), 100);
      blockEvents[b].AddParam(kParamPsychoacousticPower, double(b % 13), 200);
    }
    // Output events are refused: the plug-in keeps them queued without allocating.
    clap_output_events refusing {};
    refusing.try_push = [](const clap_output_events*, const clap_event_header*) { return false; };

    std::size_t allocations = 0;
    std::size_t locks = 0;
    for (std::size_t b = 0; b < blockEvents.size(); ++b)
    {
      for (std::size_t i = 0; i < 512; ++i)
      {
        const double x = 0.5 * std::sin(0.01 * double(i + 512 * b));
        in64[0][i] = in64[1][i] = x;
        in32[0][i] = in32[1][i] = float(x);
      }
      // The editor turns a knob meanwhile (main thread, outside the measured scopes).
      p.Ombrix().BeginParamGestureFromEditor(kParamTargetBits);
      p.Ombrix().SetParamFromEditor(kParamTargetBits, 0.5);
      p.Ombrix().EndParamGestureFromEditor(kParamTargetBits);

      clap_process process {};
      process.steady_time = -1;
      process.frames_count = 512;
      process.audio_inputs = &input;
      process.audio_outputs = &output;
      process.audio_inputs_count = 1;
      process.audio_outputs_count = 1;
      process.in_events = blockEvents[b].Record();
      process.out_events = &refusing;
      {
        test::AllocationScope allocationScope;
        test::LockScope lockScope;
        EXPECT_NE(p.plugin->process(p.plugin, &process), CLAP_PROCESS_ERROR);
        params->flush(p.plugin, blockEvents[b].Record(), &refusing);
        // A host may reset between blocks, on the audio thread.
        if (b % 10 == 9) p.plugin->reset(p.plugin);
        allocations += allocationScope.Count();
        locks += lockScope.Count();
      }
      p.Ombrix().OnHostTimer(); // the main-thread tick drains the rings and redesigns
    }
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(locks, 0u);
    p.plugin->stop_processing(p.plugin);
  }
}

TEST(RealtimeProcess, TheLockCounterSeesAStandardMutex)
{
  if (!test::LockScope::Counts()) GTEST_SKIP() << "ThreadSanitizer owns the lock functions";
  std::mutex mutex;
  test::LockScope scope;
  mutex.lock();
  mutex.unlock();
  EXPECT_EQ(scope.Count(), 1u);
}

} // namespace
} // namespace kit
