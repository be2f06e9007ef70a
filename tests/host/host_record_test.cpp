#include "tools/host/host.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace kit::host
{
namespace
{

const void* Ask(const Host& host, const char* id)
{
  return host.Record()->get_extension(host.Record(), id);
}

template <class Record>
const Record* Get(const Host& host, const char* id)
{
  return static_cast<const Record*>(Ask(host, id));
}

TEST(HostRecord, IdentifiesItselfAsConfiguredIncludingNullStrings)
{
  const Host standard;
  const clap_host* record = standard.Record();
  EXPECT_EQ(record->clap_version.major, 1u);
  EXPECT_EQ(record->clap_version.minor, 2u);
  EXPECT_EQ(record->clap_version.revision, 10u);
  EXPECT_STREQ(record->name, "Ombrix Test Host");
  EXPECT_STREQ(record->version, "1.0.0");

  HostConfig config;
  config.name = "REAPER";
  config.version.reset();
  const Host reaper(config);
  EXPECT_STREQ(reaper.Record()->name, "REAPER");
  EXPECT_EQ(reaper.Record()->version, nullptr);
}

TEST(HostRecord, AnswersEachExtensionOnlyWhileItIsOffered)
{
  struct Case
  {
    const char* id;
    bool OfferedExtensions::*offered;
  };
  const Case cases[] = {
    { CLAP_EXT_LOG, &OfferedExtensions::log },
    { CLAP_EXT_THREAD_CHECK, &OfferedExtensions::threadCheck },
    { CLAP_EXT_PARAMS, &OfferedExtensions::params },
    { CLAP_EXT_LATENCY, &OfferedExtensions::latency },
    { CLAP_EXT_STATE, &OfferedExtensions::state },
    { CLAP_EXT_TIMER_SUPPORT, &OfferedExtensions::timerSupport },
    { CLAP_EXT_TRACK_INFO, &OfferedExtensions::trackInfo },
    { CLAP_EXT_GUI, &OfferedExtensions::gui },
  };
  const Host complete;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.id);
    EXPECT_NE(Ask(complete, c.id), nullptr);
    HostConfig config;
    config.offered.*c.offered = false;
    const Host without(config);
    EXPECT_EQ(Ask(without, c.id), nullptr);
    for (const Case& other : cases)
    {
      if (other.id != c.id)
      {
        EXPECT_NE(Ask(without, other.id), nullptr) << other.id;
      }
    }
  }
  EXPECT_EQ(Ask(complete, CLAP_EXT_TAIL), nullptr);
  EXPECT_EQ(Ask(complete, CLAP_EXT_TRACK_INFO_COMPAT), nullptr);
  EXPECT_EQ(Ask(complete, "clap.params/2"), nullptr);
  EXPECT_EQ(Ask(complete, nullptr), nullptr);
}

TEST(HostRecord, TrackInfoCanBeOfferedUnderTheDraftIdOnly)
{
  HostConfig config;
  config.trackInfoId = CLAP_EXT_TRACK_INFO_COMPAT;
  const Host draft(config);
  EXPECT_EQ(Ask(draft, CLAP_EXT_TRACK_INFO), nullptr);
  EXPECT_NE(Ask(draft, CLAP_EXT_TRACK_INFO_COMPAT), nullptr);
}

TEST(HostRecord, ListedFunctionsAreNullInAnOtherwiseOfferedRecord)
{
  HostConfig config;
  config.nullFunctions = { HostFunction::ParamsClear, HostFunction::LatencyChanged, HostFunction::TrackInfoGet };
  const Host host(config);
  const auto* params = Get<clap_host_params>(host, CLAP_EXT_PARAMS);
  ASSERT_NE(params, nullptr);
  EXPECT_NE(params->rescan, nullptr);
  EXPECT_EQ(params->clear, nullptr);
  EXPECT_NE(params->request_flush, nullptr);
  const auto* latency = Get<clap_host_latency>(host, CLAP_EXT_LATENCY);
  ASSERT_NE(latency, nullptr);
  EXPECT_EQ(latency->changed, nullptr);
  const auto* trackInfo = Get<clap_host_track_info>(host, CLAP_EXT_TRACK_INFO);
  ASSERT_NE(trackInfo, nullptr);
  EXPECT_EQ(trackInfo->get, nullptr);
  // Nothing else is touched.
  const auto* timers = Get<clap_host_timer_support>(host, CLAP_EXT_TIMER_SUPPORT);
  EXPECT_NE(timers->register_timer, nullptr);
  EXPECT_NE(timers->unregister_timer, nullptr);
}

TEST(HostRecord, TrackInfoReportsTheConfiguredChannelsOrFails)
{
  struct Case
  {
    bool succeeds;
    std::int32_t channels;
    const char* portType;
  };
  const Case cases[] = {
    { true, 1, CLAP_PORT_MONO }, { true, 2, CLAP_PORT_STEREO }, { true, 6, nullptr }, { false, 2, nullptr }
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.succeeds << " " << c.channels);
    HostConfig config;
    config.trackInfoSucceeds = c.succeeds;
    config.trackChannelCount = c.channels;
    const Host host(config);
    const auto* trackInfo = Get<clap_host_track_info>(host, CLAP_EXT_TRACK_INFO);
    clap_track_info info {};
    ASSERT_EQ(trackInfo->get(host.Record(), &info), c.succeeds);
    if (!c.succeeds) continue;
    EXPECT_EQ(info.audio_channel_count, c.channels);
    EXPECT_EQ(info.audio_port_type, c.portType);
    EXPECT_NE(info.flags & CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL, 0u);
  }
}

TEST(HostRecord, TimersGetDistinctIdsAndOnlyRegisteredOnesUnregister)
{
  Host host;
  const auto* timers = Get<clap_host_timer_support>(host, CLAP_EXT_TIMER_SUPPORT);
  clap_id first = CLAP_INVALID_ID;
  clap_id second = CLAP_INVALID_ID;
  ASSERT_TRUE(timers->register_timer(host.Record(), 20, &first));
  ASSERT_TRUE(timers->register_timer(host.Record(), 15, &second));
  EXPECT_NE(first, CLAP_INVALID_ID);
  EXPECT_NE(second, CLAP_INVALID_ID);
  EXPECT_NE(first, second);
  EXPECT_FALSE(timers->register_timer(host.Record(), 20, nullptr));

  EXPECT_TRUE(timers->unregister_timer(host.Record(), first));
  EXPECT_FALSE(timers->unregister_timer(host.Record(), first)); // already gone
  EXPECT_FALSE(timers->unregister_timer(host.Record(), CLAP_INVALID_ID));
  const auto active = host.ActiveTimers();
  ASSERT_EQ(active.size(), 1u);
  EXPECT_EQ(active[0].id, second);
  EXPECT_EQ(active[0].periodMs, 15u);

  const auto registrations = host.Journal().TimerRegistrations();
  ASSERT_EQ(registrations.size(), 2u);
  EXPECT_EQ(registrations[0].periodMs, 20u);
  EXPECT_EQ(host.Journal().TimerUnregistrations(), (std::vector<clap_id> { first, first, CLAP_INVALID_ID }));
  EXPECT_EQ(host.Journal().Count(HostFunction::RegisterTimer), 3u);

  HostConfig refusing;
  refusing.timerRegistrationSucceeds = false;
  Host refuser(refusing);
  clap_id id = CLAP_INVALID_ID;
  EXPECT_FALSE(
      Get<clap_host_timer_support>(refuser, CLAP_EXT_TIMER_SUPPORT)->register_timer(refuser.Record(), 20, &id));
  EXPECT_TRUE(refuser.ActiveTimers().empty());
}

TEST(HostJournal, RecordsEachCallWithItsPhaseRoleAndArguments)
{
  Host host;
  const clap_host* record = host.Record();
  const auto* log = Get<clap_host_log>(host, CLAP_EXT_LOG);
  const auto* params = Get<clap_host_params>(host, CLAP_EXT_PARAMS);
  host.SetPhase(InstancePhase::Initialising);
  log->log(record, CLAP_LOG_HOST_MISBEHAVING, "clap_host_params is partially implemented");
  host.SetPhase(InstancePhase::Active);
  params->rescan(record, CLAP_PARAM_RESCAN_VALUES);
  params->clear(record, 3, CLAP_PARAM_CLEAR_ALL);
  std::thread other([&] { record->request_callback(record); });
  other.join();

  const std::vector<HostCall> calls = host.Journal().Calls();
  ASSERT_EQ(calls.size(), 6u);
  // The two get_extension calls came before any phase was set.
  EXPECT_EQ(calls[0].function, HostFunction::GetExtension);
  EXPECT_EQ(calls[0].phase, InstancePhase::NoInstance);
  EXPECT_EQ(calls[2].function, HostFunction::Log);
  EXPECT_EQ(calls[2].phase, InstancePhase::Initialising);
  EXPECT_EQ(calls[2].role, ThreadRole::Main);
  EXPECT_EQ(calls[4].function, HostFunction::ParamsClear);
  EXPECT_EQ(calls[4].phase, InstancePhase::Active);
  EXPECT_EQ(calls[5].function, HostFunction::RequestCallback);
  EXPECT_EQ(calls[5].role, ThreadRole::Other);

  EXPECT_EQ(host.Journal().ExtensionQueries(), (std::vector<std::string> { CLAP_EXT_LOG, CLAP_EXT_PARAMS }));
  const auto logs = host.Journal().Logs();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].severity, CLAP_LOG_HOST_MISBEHAVING);
  EXPECT_EQ(logs[0].text, "clap_host_params is partially implemented");
  EXPECT_EQ(host.Journal().ParamRescans(), (std::vector<clap_param_rescan_flags> { CLAP_PARAM_RESCAN_VALUES }));
  const auto clears = host.Journal().ParamClears();
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears[0].paramId, 3u);
  EXPECT_EQ(clears[0].flags, clap_param_clear_flags(CLAP_PARAM_CLEAR_ALL));
  const auto outside = host.Journal().CallsOutsideInstanceLife();
  ASSERT_EQ(outside.size(), 2u);
  EXPECT_EQ(outside[1].function, HostFunction::GetExtension);

  EXPECT_TRUE(host.TakeCallbackRequest());
  EXPECT_FALSE(host.TakeCallbackRequest()); // taken once
  EXPECT_EQ(host.Journal().Count(HostFunction::RequestCallback), 1u);
  host.Journal().Clear();
  EXPECT_TRUE(host.Journal().Calls().empty());
  EXPECT_EQ(host.Journal().Count(HostFunction::Log), 0u);
}

TEST(HostJournal, CountsConcurrentRequestsFromSeveralThreads)
{
  Host host;
  const clap_host* record = host.Record();
  constexpr int kThreads = 4;
  constexpr int kRequestsPerThread = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back(
        [&]
        {
          for (int i = 0; i < kRequestsPerThread; ++i)
          {
            record->request_callback(record);
            record->request_process(record);
          }
        });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(host.Journal().Count(HostFunction::RequestCallback), std::size_t(kThreads * kRequestsPerThread));
  EXPECT_EQ(host.Journal().Count(HostFunction::RequestProcess), std::size_t(kThreads * kRequestsPerThread));
  EXPECT_EQ(host.Journal().Calls().size(), std::size_t(2 * kThreads * kRequestsPerThread));
}

} // namespace
} // namespace kit::host
