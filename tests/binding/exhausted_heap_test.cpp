// With the heap exhausted, every CLAP entry that needs memory answers its failure value (or
// goes on without what it could not make) instead of letting the allocation's exception into
// the host, leaves the host nothing to clean up, and works again once memory is back.
#include "binding/clap_abi.h"
#include "engine/ombrix.h"
#include "support/allocation_counter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string_view>

extern "C" const clap_plugin_entry clap_entry;

namespace kit
{
namespace
{

// Longer than a string holds without the heap.
constexpr const char* kPath = "/in-process/exhausted-heap/Ombrix.clap";

// A host whose callbacks allocate nothing, so that they work inside the failing scope too;
// with timer support when asked.
struct PlainHost
{
  explicit PlainHost(bool offerTimers)
      : timersOffered(offerTimers)
  {
    record.clap_version = CLAP_VERSION;
    record.host_data = this;
    record.name = "Plain host";
    record.vendor = "Ombrix tests";
    record.url = "";
    record.version = "1.0.0";
    record.get_extension = [](const clap_host* h, const char* id) -> const void*
    {
      auto* self = static_cast<PlainHost*>(h->host_data);
      return self->timersOffered && std::string_view(id) == CLAP_EXT_TIMER_SUPPORT ? &self->timers : nullptr;
    };
    record.request_restart = [](const clap_host*) {};
    record.request_process = [](const clap_host*) {};
    record.request_callback = [](const clap_host*) {};
    timers.register_timer = [](const clap_host* h, std::uint32_t, clap_id* id)
    {
      *id = 7;
      ++static_cast<PlainHost*>(h->host_data)->registered;
      return true;
    };
    timers.unregister_timer = [](const clap_host* h, clap_id)
    {
      ++static_cast<PlainHost*>(h->host_data)->unregistered;
      return true;
    };
  }

  bool timersOffered;
  clap_host record {};
  clap_host_timer_support timers {};
  int registered = 0;
  int unregistered = 0;
};

// The entry initialised for the test's life.
class Entry
{
public:
  Entry()
      : ready(clap_entry.init(kPath))
  {
  }
  ~Entry()
  {
    if (ready) clap_entry.deinit();
  }
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;

  [[nodiscard]] const clap_plugin* Create(const PlainHost& host) const
  {
    const auto* factory = static_cast<const clap_plugin_factory*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    return factory ? factory->create_plugin(factory, &host.record, "com.felgard.ombrix") : nullptr;
  }

  bool ready;
};

TEST(ExhaustedHeap, EntryInitAnswersFalseAndLeavesTheEntryUninitialised)
{
  {
    test::FailingAllocationScope exhausted;
    EXPECT_FALSE(clap_entry.init(kPath));
  }
  EXPECT_EQ(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  const Entry entry;
  EXPECT_TRUE(entry.ready);
}

TEST(ExhaustedHeap, CreatePluginAnswersNull)
{
  const Entry entry;
  ASSERT_TRUE(entry.ready);
  const PlainHost host(true);
  {
    test::FailingAllocationScope exhausted;
    EXPECT_EQ(entry.Create(host), nullptr);
  }
  const clap_plugin* plugin = entry.Create(host);
  ASSERT_NE(plugin, nullptr);
  plugin->destroy(plugin);
}

// Without memory for its timer an instance goes on without the tick, as with a host that has
// no timer to give; it never leaves the host a timer registered for nothing.
TEST(ExhaustedHeap, InitGoesOnWithoutATickAndLeavesTheHostNoTimer)
{
  for (const bool timers : { true, false })
  {
    SCOPED_TRACE(timers ? "host timers" : "ticker thread");
    const Entry entry;
    ASSERT_TRUE(entry.ready);
    PlainHost host(timers);
    const clap_plugin* plugin = entry.Create(host);
    ASSERT_NE(plugin, nullptr);
    {
      test::FailingAllocationScope exhausted;
      EXPECT_TRUE(plugin->init(plugin));
    }
    EXPECT_EQ(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT) != nullptr, timers);
    ASSERT_TRUE(plugin->activate(plugin, 48000.0, 1, 256));
    plugin->destroy(plugin);
    EXPECT_EQ(host.registered, host.unregistered);
  }
}

TEST(ExhaustedHeap, MainThreadCallsAnswerTheirFailureValues)
{
  const Entry entry;
  ASSERT_TRUE(entry.ready);
  PlainHost host(true);
  const clap_plugin* plugin = entry.Create(host);
  ASSERT_NE(plugin, nullptr);
  ASSERT_TRUE(plugin->init(plugin));
  const auto* state = static_cast<const clap_plugin_state*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
  const auto* render = static_cast<const clap_plugin_render*>(plugin->get_extension(plugin, CLAP_EXT_RENDER));
  ASSERT_NE(state, nullptr);
  ASSERT_NE(render, nullptr);

  // Streams over fixed storage: a saved state and the bytes of one to load.
  struct Bytes
  {
    std::uint8_t data[64] {};
    std::uint64_t used = 0;
  };
  Bytes saved;
  clap_ostream out { &saved,
                     [](const clap_ostream* stream, const void* buffer, std::uint64_t size) -> std::int64_t
                     {
                       auto& bytes = *static_cast<Bytes*>(stream->ctx);
                       const std::uint64_t n = std::min<std::uint64_t>(size, sizeof bytes.data - bytes.used);
                       std::memcpy(bytes.data + bytes.used, buffer, n);
                       bytes.used += n;
                       return std::int64_t(n);
                     } };
  Bytes toLoad;
  const double values[] = { 1.0, 3.0, 24.0, 0.0 };
  std::memcpy(toLoad.data, values, sizeof values);
  toLoad.used = sizeof values;
  std::uint64_t readPosition = 0;
  struct Source
  {
    Bytes* bytes;
    std::uint64_t* position;
  } source { &toLoad, &readPosition };
  clap_istream in { &source,
                    [](const clap_istream* stream, void* buffer, std::uint64_t size) -> std::int64_t
                    {
                      auto& from = *static_cast<Source*>(stream->ctx);
                      const std::uint64_t n = std::min<std::uint64_t>(size, from.bytes->used - *from.position);
                      std::memcpy(buffer, from.bytes->data + *from.position, n);
                      *from.position += n;
                      return std::int64_t(n);
                    } };

  auto& ombrix = dynamic_cast<ui::Ombrix&>(*static_cast<ClapPluginBase*>(plugin->plugin_data));
  {
    test::FailingAllocationScope exhausted;
    EXPECT_FALSE(plugin->activate(plugin, 48000.0, 1, 512));
    EXPECT_FALSE(state->save(plugin, &out));
    EXPECT_FALSE(state->load(plugin, &in));
    EXPECT_FALSE(render->set(plugin, clap_plugin_render_mode(7))); // its report cannot be written
  }
  EXPECT_EQ(ombrix.GetParam(2)->Value(), 16.0); // the load changed nothing

  saved.used = 0;
  readPosition = 0;
  EXPECT_TRUE(plugin->activate(plugin, 48000.0, 1, 512));
  EXPECT_TRUE(state->load(plugin, &in));
  EXPECT_EQ(ombrix.GetParam(2)->Value(), 24.0);
  EXPECT_TRUE(state->save(plugin, &out));
  EXPECT_EQ(saved.used, 32u);
  plugin->deactivate(plugin);
  plugin->destroy(plugin);
}

} // namespace
} // namespace kit
