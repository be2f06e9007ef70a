#pragma once
// An Ombrix instance made through the library's own entry and factory inside the test
// program, with a minimal host that offers no extensions and counts callback requests: for
// tests that look inside the instance. The instance is destroyed with the fixture.

#include "binding/clap_abi.h"
#include "engine/ombrix.h"
#include "tools/host/event_builders.h"
#include "tools/host/event_lists.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <vector>

extern "C" const clap_plugin_entry clap_entry;

namespace kit::test
{

struct InProcessPlugin
{
  InProcessPlugin()
  {
    host.clap_version = { 1, 2, 10 };
    host.host_data = this;
    host.name = "In-process test host";
    host.vendor = "Ombrix tests";
    host.url = "";
    host.version = "1.0.0";
    host.get_extension = [](const clap_host*, const char*) -> const void* { return nullptr; };
    host.request_restart = [](const clap_host*) {};
    host.request_process = [](const clap_host*) {};
    host.request_callback = [](const clap_host* h)
    { static_cast<InProcessPlugin*>(h->host_data)->callbackRequests.fetch_add(1); };
    entryReady = clap_entry.init("/in-process/Ombrix.clap");
    const auto* factory = static_cast<const clap_plugin_factory*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    plugin = factory->create_plugin(factory, &host, factory->get_plugin_descriptor(factory, 0)->id);
  }

  ~InProcessPlugin()
  {
    if (plugin) plugin->destroy(plugin);
    if (entryReady) clap_entry.deinit();
  }

  InProcessPlugin(const InProcessPlugin&) = delete;
  InProcessPlugin& operator=(const InProcessPlugin&) = delete;

  [[nodiscard]] ui::Ombrix& Ombrix() const
  {
    return dynamic_cast<ui::Ombrix&>(*static_cast<ClapPluginBase*>(plugin->plugin_data));
  }

  // One 64-bit process call on one port of channels channels.
  clap_process_status Process(std::vector<std::vector<double>>& inputs, std::vector<std::vector<double>>& outputs,
                              const clap_input_events* events = nullptr)
  {
    std::vector<double*> in;
    std::vector<double*> out;
    for (auto& channel : inputs) in.push_back(channel.data());
    for (auto& channel : outputs) out.push_back(channel.data());
    clap_audio_buffer inputPort { nullptr, in.data(), std::uint32_t(in.size()), 0, 0 };
    clap_audio_buffer outputPort { nullptr, out.data(), std::uint32_t(out.size()), 0, 0 };
    clap_process process {};
    process.steady_time = -1;
    process.frames_count = std::uint32_t(outputs.empty() ? 0 : outputs[0].size());
    process.audio_inputs = &inputPort;
    process.audio_outputs = &outputPort;
    process.audio_inputs_count = 1;
    process.audio_outputs_count = 1;
    process.in_events = events;
    return plugin->process(plugin, &process);
  }

  clap_host host {};
  bool entryReady = false;
  const clap_plugin* plugin = nullptr;
  std::atomic<int> callbackRequests { 0 };
};

// Events for one call, in order.
class EventList
{
public:
  void AddParam(clap_id id, double value, std::uint32_t time = 0)
  {
    EXPECT_TRUE(events.Add(host::ParamValueEvent(id, value, time)));
  }
  template <class Event>
  void Add(const Event& event)
  {
    EXPECT_TRUE(events.Add(event));
  }
  [[nodiscard]] const clap_input_events* Record() const noexcept { return events.Record(); }

private:
  host::InputEventList events;
};

} // namespace kit::test
