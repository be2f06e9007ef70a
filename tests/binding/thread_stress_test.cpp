#include "engine/ombrix_params.h"
#include "tests/binding/in_process_plugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

namespace kit
{
namespace
{

using test::InProcessPlugin;

// What the plug-in hands the host, copied as it arrives (audio thread only).
struct RecordedOutput
{
  std::vector<clap_event_param_gesture> gestures; // begin and end
  std::vector<clap_event_param_value> values;
  std::vector<std::uint16_t> paramOrder; // event types of parameter events, in order
  std::vector<clap_event_note> notes;
  std::size_t editorNotes = 0; // those on channel 0, which the editor sends; the host's are on 1
  std::vector<std::vector<std::uint8_t>> sysEx;
  clap_output_events record {};

  RecordedOutput()
  {
    record.ctx = this;
    record.try_push = [](const clap_output_events* list, const clap_event_header* header)
    {
      auto& self = *static_cast<RecordedOutput*>(list->ctx);
      switch (header->type)
      {
      case CLAP_EVENT_PARAM_GESTURE_BEGIN:
      case CLAP_EVENT_PARAM_GESTURE_END:
        self.gestures.push_back(*reinterpret_cast<const clap_event_param_gesture*>(header));
        self.paramOrder.push_back(header->type);
        break;
      case CLAP_EVENT_PARAM_VALUE:
        self.values.push_back(*reinterpret_cast<const clap_event_param_value*>(header));
        self.paramOrder.push_back(header->type);
        break;
      case CLAP_EVENT_NOTE_ON:
        self.notes.push_back(*reinterpret_cast<const clap_event_note*>(header));
        if (self.notes.back().channel == 0) ++self.editorNotes;
        break;
      case CLAP_EVENT_MIDI_SYSEX:
      {
        const auto& event = *reinterpret_cast<const clap_event_midi_sysex*>(header);
        self.sysEx.emplace_back(event.buffer, event.buffer + event.size);
        break;
      }
      default:
        break;
      }
      return true;
    };
  }
};

// The audio thread processes blocks with host automation, notes and SysEx while the main
// thread runs timer ticks and editor gestures, sends MIDI and SysEx from the editor, all
// through the lock-free rings. Run under ThreadSanitizer this shows the rings publish their items properly; in every
// build it shows that items arrive whole and gestures in order.
TEST(ThreadStress, AudioAndMainThreadsShareTheRingsWithoutTearing)
{
  InProcessPlugin p;
  ASSERT_TRUE(p.plugin->init(p.plugin));
  ASSERT_TRUE(p.plugin->activate(p.plugin, 48000.0, 1, 128));
  ASSERT_TRUE(p.plugin->start_processing(p.plugin));
  ui::Ombrix& ombrix = p.Ombrix();

  // At least this many blocks, and on until the editor's traffic has come through (however
  // the two threads are scheduled), within a bound.
  constexpr int kBlocks = 3000;
  constexpr int kMaxBlocks = 1000000;
  std::atomic<bool> audioDone { false };
  RecordedOutput output;

  std::thread audio(
      [&]
      {
        std::vector<std::vector<double>> in(2, std::vector<double>(128));
        const std::vector<std::uint8_t> hostSysEx(600, 0x42);
        std::vector<std::vector<double>> out(2, std::vector<double>(128));
        const auto editorTrafficSeen = [&]
        { return !output.values.empty() && output.editorNotes > 0 && !output.sysEx.empty(); };
        for (int b = 0; b < kMaxBlocks && (b < kBlocks || !editorTrafficSeen()); ++b)
        {
          for (std::size_t i = 0; i < 128; ++i)
            in[0][i] = in[1][i] = 0.25 * std::sin(0.02 * double(i + 128u * unsigned(b)));
          test::EventList events;
          events.AddParam(kParamTargetBits, double(6 + b % 27), 5);
          events.AddParam(kParamPsychoacousticPower, double(b % 13), 9);
          // The host's notes and SysEx travel the rings towards the editor too.
          const auto key = std::int16_t(b % 128);
          events.Add(host::NoteEvent(CLAP_EVENT_NOTE_ON, 1, key, double(key) / 127.0, 11));
          events.Add(host::SysexEvent(hostSysEx.data(), std::uint32_t(hostSysEx.size()), 13));
          std::vector<double*> inPointers { in[0].data(), in[1].data() };
          std::vector<double*> outPointers { out[0].data(), out[1].data() };
          clap_audio_buffer inputPort { nullptr, inPointers.data(), 2, 0, 0 };
          clap_audio_buffer outputPort { nullptr, outPointers.data(), 2, 0, 0 };
          clap_process process {};
          process.steady_time = -1;
          process.frames_count = 128;
          process.audio_inputs = &inputPort;
          process.audio_outputs = &outputPort;
          process.audio_inputs_count = 1;
          process.audio_outputs_count = 1;
          process.in_events = events.Record();
          process.out_events = &output.record;
          ASSERT_EQ(p.plugin->process(p.plugin, &process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
        }
        audioDone.store(true, std::memory_order_release);
      });

  std::uint8_t sequence = 0;
  while (!audioDone.load(std::memory_order_acquire))
  {
    ombrix.OnHostTimer();
    ombrix.BeginParamGestureFromEditor(kParamShowGraph);
    ombrix.SetParamFromEditor(kParamShowGraph, double(sequence % 2));
    ombrix.EndParamGestureFromEditor(kParamShowGraph);
    const auto data = std::uint8_t(sequence % 128);
    ombrix.SendMidiFromEditor({ 0, 0x90, data, data });
    std::uint8_t payload[300];
    std::memset(payload, sequence, sizeof payload);
    ombrix.SendSysExFromEditor({ 0, 300, payload });
    ++sequence;
  }
  audio.join();
  p.plugin->stop_processing(p.plugin);
  // What the last block missed leaves with a flush on the main thread.
  const auto* params = static_cast<const clap_plugin_params*>(p.plugin->get_extension(p.plugin, CLAP_EXT_PARAMS));
  params->flush(p.plugin, nullptr, &output.record);

  // Items arrive whole: when the main thread outruns the blocks, a full ring drops the
  // newest entries, never part of one.
  ASSERT_FALSE(output.paramOrder.empty());
  for (const auto& gesture : output.gestures)
  {
    EXPECT_EQ(gesture.header.size, sizeof(clap_event_param_gesture));
    EXPECT_EQ(gesture.param_id, clap_id(kParamShowGraph));
  }
  for (const auto& value : output.values)
  {
    EXPECT_EQ(value.param_id, clap_id(kParamShowGraph));
    EXPECT_TRUE(value.value == 0.0 || value.value == 1.0);
  }
  for (const auto& note : output.notes) EXPECT_EQ(note.key, std::int16_t(std::lround(note.velocity * 127.0)));
  for (const auto& sysEx : output.sysEx)
  {
    ASSERT_EQ(sysEx.size(), 300u);
    EXPECT_EQ(std::count(sysEx.begin(), sysEx.end(), sysEx[0]), 300);
  }
  EXPECT_GT(output.editorNotes, 0u);
  EXPECT_FALSE(output.sysEx.empty());
}

} // namespace
} // namespace kit
