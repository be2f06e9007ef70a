// MIDI and SysEx the editor sends leave towards the host in the next process call, merged
// with the host's own MIDI by offset: a SysEx goes first at a shared offset, its payload is
// cut to 512 bytes, and offsets beyond the block carry into the next one.
#include "binding/clap_abi.h"
#include "engine/ombrix.h"
#include "tools/host/event_builders.h"
#include "tools/host/event_lists.h"
#include "tools/host/host.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern "C" const clap_plugin_entry clap_entry;

namespace kit
{
namespace
{

constexpr std::uint32_t kFrames = 64;

struct Processing
{
  Processing()
  {
    std::string error;
    library = host::PluginLibrary::FromEntry(clap_entry, "/in-process/Ombrix.clap", error);
    EXPECT_NE(library, nullptr) << error;
    if (library) instance = host::PluginInstance::Create(*library, host, error);
    EXPECT_NE(instance, nullptr) << error;
    if (instance)
    {
      EXPECT_TRUE(instance->Activate(48000.0, 1, kFrames) && instance->StartProcessing());
    }
  }

  [[nodiscard]] ui::Ombrix& Ombrix() const
  {
    return dynamic_cast<ui::Ombrix&>(*static_cast<ClapPluginBase*>(instance->Plugin()->plugin_data));
  }

  // One block without audio ports; the events sent to the host are in out.
  void Run(const host::InputEventList& in)
  {
    out.Clear();
    clap_process process {};
    process.steady_time = -1;
    process.frames_count = kFrames;
    process.in_events = in.Record();
    process.out_events = out.Record();
    ASSERT_EQ(instance->Process(process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  }

  host::Host host;
  std::unique_ptr<host::PluginLibrary> library;
  std::unique_ptr<host::PluginInstance> instance;
  host::OutputEventList out;
};

TEST(EditorMidi, SysExIsCutTo512BytesAndGoesBeforeMidiAtTheSameOffset)
{
  Processing p;
  ASSERT_NE(p.instance, nullptr);
  std::vector<std::uint8_t> payload(600);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = std::uint8_t(i * 13 + 5);
  p.Ombrix().SendSysExFromEditor({ 30, std::int32_t(payload.size()), payload.data() });
  p.Ombrix().SendMidiFromEditor({ 12, 0xB1, 7, 100 });
  host::InputEventList in;
  ASSERT_TRUE(in.Add(host::MidiEvent(0xB0, 1, 2, 30)));
  p.Run(in);

  ASSERT_EQ(p.out.Size(), 3u);
  const auto* fromEditor = p.out.As<clap_event_midi>(0);
  ASSERT_NE(fromEditor, nullptr);
  EXPECT_EQ(fromEditor->header.time, 12u);
  EXPECT_EQ(fromEditor->data[0], 0xB1);
  EXPECT_EQ(fromEditor->data[2], 100);

  const auto* sysEx = p.out.As<clap_event_midi_sysex>(1);
  ASSERT_NE(sysEx, nullptr);
  EXPECT_EQ(sysEx->header.type, CLAP_EVENT_MIDI_SYSEX);
  EXPECT_EQ(sysEx->header.size, sizeof(clap_event_midi_sysex));
  EXPECT_EQ(sysEx->header.time, 30u);
  EXPECT_EQ(sysEx->port_index, 0);
  ASSERT_EQ(sysEx->size, 512u);
  EXPECT_EQ(std::memcmp(sysEx->buffer, payload.data(), 512), 0);

  EXPECT_EQ(p.out.Header(2).type, CLAP_EVENT_MIDI);
  EXPECT_EQ(p.out.Header(2).time, 30u);
}

TEST(EditorMidi, SysExBeyondTheBlockLeavesInALaterBlock)
{
  Processing p;
  ASSERT_NE(p.instance, nullptr);
  const std::uint8_t payload[] = { 0xF0, 0x7D, 0x02, 0xF7 };
  p.Ombrix().SendSysExFromEditor({ 100, std::int32_t(sizeof payload), payload });
  const host::InputEventList none;
  p.Run(none);
  EXPECT_EQ(p.out.Size(), 0u);
  p.Run(none);
  ASSERT_EQ(p.out.Size(), 1u);
  const auto* sysEx = p.out.As<clap_event_midi_sysex>(0);
  ASSERT_NE(sysEx, nullptr);
  EXPECT_EQ(sysEx->header.time, 36u);
  ASSERT_EQ(sysEx->size, sizeof payload);
  EXPECT_EQ(std::memcmp(sysEx->buffer, payload, sizeof payload), 0);
  p.Run(none);
  EXPECT_EQ(p.out.Size(), 0u);
}

} // namespace
} // namespace kit
