#include "binding/clap_timers.h"

#include <chrono>
#include <new>

namespace kit
{

std::unique_ptr<HostTimer> HostTimer::Start(const clap_host* host, const clap_host_timer_support* support,
                                            std::uint32_t intervalMs)
{
  if (!host || !support || !support->register_timer || !support->unregister_timer) return nullptr;
  // Made before the host hears of it: a timer registered for an object that could not be
  // made would go on firing, and never be unregistered.
  std::unique_ptr<HostTimer> timer(new (std::nothrow) HostTimer(host, support, CLAP_INVALID_ID));
  if (!timer) return nullptr;
  clap_id id = CLAP_INVALID_ID;
  if (!support->register_timer(host, intervalMs, &id) || id == CLAP_INVALID_ID) return nullptr;
  timer->id = id;
  return timer;
}

HostTimer::HostTimer(const clap_host* hostRecord, const clap_host_timer_support* timerSupport, clap_id timerId)
    : host(hostRecord)
    , support(timerSupport)
    , id(timerId)
{
}

HostTimer::~HostTimer()
{
  Stop();
}

void HostTimer::Stop()
{
  if (id == CLAP_INVALID_ID) return;
  support->unregister_timer(host, id);
  id = CLAP_INVALID_ID;
}

std::unique_ptr<TickerTimer> TickerTimer::Start(std::function<void()> request, std::uint32_t intervalMs)
{
  std::unique_ptr<TickerTimer> timer(new (std::nothrow) TickerTimer(std::move(request), intervalMs));
  if (!timer) return nullptr;
  try
  {
    timer->thread = std::thread([raw = timer.get()] { raw->Run(); });
  }
  catch (...)
  {
    return nullptr;
  }
  return timer;
}

TickerTimer::TickerTimer(std::function<void()> requestTick, std::uint32_t interval)
    : request(std::move(requestTick))
    , intervalMs(interval)
{
}

TickerTimer::~TickerTimer()
{
  Stop();
}

void TickerTimer::Stop()
{
  {
    std::lock_guard lock(stopMutex);
    stopping = true;
  }
  stopSignal.notify_all();
  if (thread.joinable()) thread.join();
}

void TickerTimer::Run()
{
  std::unique_lock lock(stopMutex);
  for (;;)
  {
    if (stopSignal.wait_for(lock, std::chrono::milliseconds(intervalMs), [this] { return stopping; })) return;
    // Still under the lock, so Stop waits for a request in flight and none starts after.
    request();
  }
}

} // namespace kit
