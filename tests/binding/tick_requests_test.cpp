// The ticks' shared callback request: one request to the host serves every tick marked due
// until on_main_thread takes them, and a tick marked after the take asks again.
#include "binding/tick_requests.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace kit::test
{
namespace
{

using Tick = TickRequests::Tick;
constexpr Tick kHost = TickRequests::kHostTick;
constexpr Tick kDisplay = TickRequests::kDisplayTick;

TEST(TickRequests, OneRequestServesEveryTickDueUntilTheTake)
{
  // A step marks a tick (expecting whether the host is to be asked) or takes (expecting the
  // mask of ticks run).
  struct Step
  {
    bool take;
    Tick tick;
    bool asks;
    std::uint32_t ran;
  };
  struct Case
  {
    const char* name;
    std::vector<Step> steps;
  };
  const Case cases[] = {
    { "one tick", { { false, kHost, true, 0 }, { true, kHost, false, kHost } } },
    { "both ticks, one request",
      { { false, kHost, true, 0 }, { false, kDisplay, false, 0 }, { true, kHost, false, kHost | kDisplay } } },
    { "the same tick twice runs once",
      { { false, kDisplay, true, 0 }, { false, kDisplay, false, 0 }, { true, kHost, false, kDisplay } } },
    { "after the take the next mark asks again",
      { { false, kHost, true, 0 },
        { true, kHost, false, kHost },
        { false, kDisplay, true, 0 },
        { true, kHost, false, kDisplay } } },
    { "a take with nothing due runs nothing and ends no request",
      { { true, kHost, false, 0 }, { false, kHost, true, 0 }, { false, kHost, false, 0 } } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    TickRequests requests;
    for (std::size_t i = 0; i < c.steps.size(); ++i)
    {
      SCOPED_TRACE("step " + std::to_string(i));
      const Step& step = c.steps[i];
      if (step.take)
        EXPECT_EQ(requests.Take(), step.ran);
      else
        EXPECT_EQ(requests.MarkDue(step.tick), step.asks);
    }
  }
}

TEST(TickRequests, AForgottenTickDoesNotRunButTheOtherDoes)
{
  TickRequests requests;
  EXPECT_TRUE(requests.MarkDue(kHost));
  EXPECT_FALSE(requests.MarkDue(kDisplay));
  requests.Forget(kDisplay);
  EXPECT_EQ(requests.Take(), std::uint32_t(kHost));
  // The request still ended with the take.
  EXPECT_TRUE(requests.MarkDue(kDisplay));
}

// Two tickers mark while the main thread takes: the host is never asked again before a take
// ended the last request, and no mark is lost.
TEST(TickRequests, ConcurrentTickersNeverHoldMoreThanOneRequest)
{
  constexpr int kMarksPerTicker = 20000;
  TickRequests requests;
  std::atomic<int> outstanding { 0 }; // requests asked for and not yet ended by a take
  std::atomic<int> tooMany { 0 };
  std::atomic<int> tickersDone { 0 };
  std::atomic<std::uint32_t> marked { 0 };
  const auto ticker = [&](Tick tick)
  {
    for (int i = 0; i < kMarksPerTicker; ++i)
    {
      marked.fetch_or(tick, std::memory_order_relaxed);
      if (requests.MarkDue(tick) && outstanding.fetch_add(1, std::memory_order_acq_rel) >= 1)
        tooMany.fetch_add(1, std::memory_order_relaxed);
    }
    tickersDone.fetch_add(1, std::memory_order_release);
  };
  std::thread hostTicker(ticker, kHost);
  std::thread displayTicker(ticker, kDisplay);
  std::uint32_t ran = 0;
  while (tickersDone.load(std::memory_order_acquire) < 2)
  {
    // The main thread serves only a request that was made, as a host does.
    if (outstanding.load(std::memory_order_acquire) == 0) continue;
    outstanding.fetch_sub(1, std::memory_order_acq_rel);
    ran |= requests.Take();
  }
  hostTicker.join();
  displayTicker.join();
  ran |= requests.Take();
  EXPECT_EQ(tooMany.load(), 0);
  EXPECT_EQ(ran, marked.load());
  EXPECT_EQ(ran, std::uint32_t(kHost | kDisplay));
}

} // namespace
} // namespace kit::test
