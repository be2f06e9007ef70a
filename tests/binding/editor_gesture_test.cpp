// An edit made in the editor reaches the host: gesture-begin, value and gesture-end leave as
// events of the next process or flush, the host is asked to flush when nothing is processing
// (at once on its main thread, through the main-thread queue otherwise), and events the host
// refuses wait for the next call.
#include "engine/ombrix_params.h"
#include "tests/binding/hosted_plugin.h"
#include "tools/host/event_lists.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kit
{
namespace
{

using host::HostFunction;

using Driven = test::HostedPlugin;

// The editor turns "Target Bits" to 24 in one gesture.
void EditTargetBitsTo24(const Driven& d)
{
  d.Ombrix().BeginParamGestureFromEditor(kParamTargetBits);
  d.Ombrix().SetParamFromEditor(kParamTargetBits, (24.0 - 6.0) / 26.0);
  d.Ombrix().EndParamGestureFromEditor(kParamTargetBits);
}

// The events of one edit of "Target Bits" to 24, in order, at time 0.
void ExpectTheEdit(const host::OutputEventList& out, std::size_t first = 0, std::size_t count = 3)
{
  ASSERT_EQ(out.Size(), count);
  const std::uint16_t types[] = { CLAP_EVENT_PARAM_GESTURE_BEGIN, CLAP_EVENT_PARAM_VALUE,
                                  CLAP_EVENT_PARAM_GESTURE_END };
  for (std::size_t i = 0; i < count; ++i)
  {
    SCOPED_TRACE(i);
    const clap_event_header& header = out.Header(i);
    const std::uint16_t type = types[first + i];
    EXPECT_EQ(header.type, type);
    EXPECT_EQ(header.time, 0u);
    EXPECT_EQ(header.space_id, CLAP_CORE_EVENT_SPACE_ID);
    if (type == CLAP_EVENT_PARAM_VALUE)
    {
      const auto* value = out.As<clap_event_param_value>(i);
      ASSERT_NE(value, nullptr);
      EXPECT_EQ(header.size, sizeof(clap_event_param_value));
      EXPECT_EQ(value->param_id, clap_id(kParamTargetBits));
      EXPECT_EQ(value->value, 24.0); // the host sees integer parameters in their own units
      EXPECT_EQ(value->note_id, -1);
      EXPECT_EQ(value->port_index, -1);
      EXPECT_EQ(value->channel, -1);
      EXPECT_EQ(value->key, -1);
    }
    else
    {
      const auto* gesture = out.As<clap_event_param_gesture>(i);
      ASSERT_NE(gesture, nullptr);
      EXPECT_EQ(header.size, sizeof(clap_event_param_gesture));
      EXPECT_EQ(gesture->param_id, clap_id(kParamTargetBits));
    }
  }
}

TEST(EditorGesture, WhileProcessingTheEditLeavesInTheNextProcessCallWithoutAFlushRequest)
{
  Driven d;
  ASSERT_TRUE(d.instance->Activate(48000.0, 1, 64));
  ASSERT_TRUE(d.instance->StartProcessing());
  EditTargetBitsTo24(d);
  EXPECT_EQ(d.Ombrix().GetParam(kParamTargetBits)->Value(), 24.0);

  host::InputEventList in;
  host::OutputEventList out;
  clap_process process {};
  process.steady_time = -1;
  process.in_events = in.Record();
  process.out_events = out.Record();
  ASSERT_EQ(d.instance->Process(process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  ExpectTheEdit(out);
  out.Clear();
  ASSERT_EQ(d.instance->Process(process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_EQ(out.Size(), 0u);
  EXPECT_EQ(d.Count(HostFunction::ParamsRequestFlush), 0u);
  EXPECT_EQ(d.Count(HostFunction::RequestCallback), 0u);
}

// Outside processing each of the three steps asks for a flush: directly when the host says
// the caller is its main thread, through request_callback and on_main_thread otherwise.
TEST(EditorGesture, OutsideProcessingEachStepAsksTheHostToFlush)
{
  struct Case
  {
    const char* name;
    bool threadCheck;
    host::ThreadCheckAnswer answer;
    bool params;
    std::size_t callbacks;     // request_callback calls made by the edit
    std::size_t flushesAtOnce; // request_flush calls before on_main_thread
    std::size_t flushes;       // request_flush calls after it
  };
  const Case cases[] = {
    { "main thread", true, host::ThreadCheckAnswer::ByRole, true, 0, 3, 3 },
    { "host says not main", true, host::ThreadCheckAnswer::NeverMain, true, 3, 0, 3 },
    { "no thread check", false, host::ThreadCheckAnswer::ByRole, true, 3, 0, 3 },
    { "no params extension", true, host::ThreadCheckAnswer::ByRole, false, 0, 0, 0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    host::HostConfig config;
    config.offered.threadCheck = c.threadCheck;
    config.threadCheck = c.answer;
    config.offered.params = c.params;
    Driven d(config);
    ASSERT_NE(d.instance, nullptr);
    const std::size_t callbacksBefore = d.Count(HostFunction::RequestCallback);
    EditTargetBitsTo24(d);
    EXPECT_EQ(d.Count(HostFunction::RequestCallback) - callbacksBefore, c.callbacks);
    EXPECT_EQ(d.Count(HostFunction::ParamsRequestFlush), c.flushesAtOnce);
    d.instance->Plugin()->on_main_thread(d.instance->Plugin());
    EXPECT_EQ(d.Count(HostFunction::ParamsRequestFlush), c.flushes);
    for (const host::HostCall& call : d.host.Journal().Calls())
      if (call.function == HostFunction::ParamsRequestFlush)
      {
        EXPECT_EQ(call.role, host::ThreadRole::Main);
      }

    // The first flush delivers the whole edit, later ones nothing.
    const host::InputEventList in;
    host::OutputEventList out;
    d.instance->FlushParams(in, out);
    ExpectTheEdit(out);
    out.Clear();
    d.instance->FlushParams(in, out);
    EXPECT_EQ(out.Size(), 0u);
  }
}

// Events the host's list refuses stay queued, in order, for the next flush or process.
TEST(EditorGesture, RefusedEventsWaitForTheNextCall)
{
  Driven d;
  ASSERT_NE(d.instance, nullptr);
  EditTargetBitsTo24(d);
  const host::InputEventList in;
  host::OutputEventList first;
  first.AcceptAtMost(1);
  d.instance->FlushParams(in, first);
  ExpectTheEdit(first, 0, 1);
  EXPECT_EQ(first.Refused(), 1u); // the first refusal ends the call

  ASSERT_TRUE(d.instance->Activate(48000.0, 1, 64));
  ASSERT_TRUE(d.instance->StartProcessing());
  host::OutputEventList second;
  clap_process process {};
  process.steady_time = -1;
  process.in_events = in.Record();
  process.out_events = second.Record();
  ASSERT_EQ(d.instance->Process(process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  ExpectTheEdit(second, 1, 2);
}

// The editor reaches parameters by index only through the delegate, which ignores indices
// outside 0 … 3: nothing is set, queued for the host or announced.
TEST(EditorGesture, IndicesOutsideTheParametersDoNothing)
{
  Driven d;
  ASSERT_NE(d.instance, nullptr);
  const double before[] = { 0.0, 9.0, 16.0, 1.0 };
  for (const int index : { -1, 4, 5, std::numeric_limits<int>::min(), std::numeric_limits<int>::max() })
  {
    SCOPED_TRACE(index);
    d.Ombrix().BeginParamGestureFromEditor(index);
    d.Ombrix().SetParamFromEditor(index, 1.0);
    d.Ombrix().EndParamGestureFromEditor(index);
    d.Ombrix().SendParamValueToEditor(index, 1.0, true);
    EXPECT_EQ(d.Count(HostFunction::ParamsRequestFlush), 0u);
    EXPECT_EQ(d.Count(HostFunction::RequestCallback), 0u);
    const host::InputEventList in;
    host::OutputEventList out;
    d.instance->FlushParams(in, out);
    EXPECT_EQ(out.Size(), 0u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(d.Ombrix().GetParam(i)->Value(), before[i]) << "parameter " << i;
  }
}

// A host may serve request_callback at once, from inside the call: the plug-in must not hold
// its queue's lock then.
TEST(EditorGesture, AHostThatCallsBackFromInsideRequestCallbackDoesNotDeadlock)
{
  struct ReentrantHost
  {
    clap_host record {};
    clap_host_params params {};
    clap_host_timer_support timers {}; // so that no ticker thread calls back meanwhile
    const clap_plugin* plugin = nullptr;
    int flushRequests = 0;
  };
  ReentrantHost host;
  host.record.clap_version = CLAP_VERSION;
  host.record.host_data = &host;
  host.record.name = "Re-entrant host";
  host.record.vendor = "Ombrix tests";
  host.record.url = "";
  host.record.version = "1.0.0";
  host.params.rescan = [](const clap_host*, clap_param_rescan_flags) {};
  host.params.clear = [](const clap_host*, clap_id, clap_param_clear_flags) {};
  host.params.request_flush = [](const clap_host* h) { ++static_cast<ReentrantHost*>(h->host_data)->flushRequests; };
  host.timers.register_timer = [](const clap_host*, std::uint32_t, clap_id* id)
  {
    *id = 1;
    return true;
  };
  host.timers.unregister_timer = [](const clap_host*, clap_id) { return true; };
  host.record.get_extension = [](const clap_host* h, const char* id) -> const void*
  {
    auto* self = static_cast<ReentrantHost*>(h->host_data);
    const std::string_view wanted = id;
    if (wanted == CLAP_EXT_PARAMS) return &self->params;
    if (wanted == CLAP_EXT_TIMER_SUPPORT) return &self->timers;
    return nullptr;
  };
  host.record.request_restart = [](const clap_host*) {};
  host.record.request_process = [](const clap_host*) {};
  host.record.request_callback = [](const clap_host* h)
  {
    const clap_plugin* plugin = static_cast<ReentrantHost*>(h->host_data)->plugin;
    plugin->on_main_thread(plugin);
  };

  ASSERT_TRUE(clap_entry.init("/in-process/Ombrix.clap"));
  const auto* factory = static_cast<const clap_plugin_factory*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
  host.plugin = factory->create_plugin(factory, &host.record, "com.felgard.ombrix");
  ASSERT_NE(host.plugin, nullptr);
  ASSERT_TRUE(host.plugin->init(host.plugin));
  auto& ombrix = dynamic_cast<ui::Ombrix&>(*static_cast<ClapPluginBase*>(host.plugin->plugin_data));
  ombrix.BeginParamGestureFromEditor(kParamDither);
  ombrix.SetParamFromEditor(kParamDither, 1.0);
  ombrix.EndParamGestureFromEditor(kParamDither);
  EXPECT_EQ(host.flushRequests, 3);
  host.plugin->destroy(host.plugin);
  clap_entry.deinit();
}

} // namespace
} // namespace kit
