// A host that loads Ombrix.clap, uses an instance and unloads it again, a hundred times in one
// process, leaves nothing allocated behind: in the AddressSanitizer build LeakSanitizer checks
// the heap after the last round and the test fails on any leak it reports.
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/event_builders.h"
#include "tools/host/streams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace kit::test
{
namespace
{

// One round: load, make an instance, activate, process with automation, save and load the
// state, read the parameters, then destroy and unload. Whether every step answered.
bool UseOnce(int round)
{
  LoadedPlugin p;
  if (!p.Ready() || !p.Start(256)) return false;
  host::AudioBuffers inputs(host::SampleWidth::Float32, { 2 }, 256);
  host::AudioBuffers outputs(host::SampleWidth::Float32, { 2 }, 256);
  for (std::uint32_t c = 0; c < 2; ++c)
    for (float& sample : inputs.Channel32(0, c)) sample = 0.3f;
  host::InputEventList in;
  host::OutputEventList out;
  if (!in.Add(host::ParamValueEvent(kTargetBits, double(8 + round % 20)))) return false;
  if (p.RunBlock(inputs, outputs, in, out) == CLAP_PROCESS_ERROR) return false;
  if (!std::isfinite(outputs.Channel32(0, 1)[255])) return false;
  p.instance->Idle();

  const auto& state = p.Extension<clap_plugin_state>(CLAP_EXT_STATE);
  host::OutputStream saved;
  if (!state.save(p.Plugin(), saved.Record()) || saved.Bytes().size() != 32) return false;
  host::InputStream restored(saved.Bytes());
  if (!state.load(p.Plugin(), restored.Record())) return false;
  std::vector<char> text(64);
  return p.Params().value_to_text(p.Plugin(), kPower, p.Value(kPower), text.data(), 64);
}

TEST(LoadUnload, AHundredRoundsOfLoadingUsingAndUnloadingLeakNothing)
{
  for (int round = 0; round < 100; ++round)
    ASSERT_TRUE(UseOnce(round)) << "round " << round;
#if defined(__SANITIZE_ADDRESS__)
  // Non-zero when LeakSanitizer found memory that nothing points at any more; it prints each.
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

} // namespace
} // namespace kit::test
