#include "tools/host/main_loop.h"

#include <algorithm>
#include <utility>

#include <poll.h>

namespace kit::host
{

namespace
{

using std::chrono::milliseconds;

short PollEvents(clap_posix_fd_flags_t flags) noexcept
{
  short events = 0;
  if (flags & clap_posix_fd_flags_t(CLAP_POSIX_FD_READ)) events |= POLLIN;
  if (flags & clap_posix_fd_flags_t(CLAP_POSIX_FD_WRITE)) events |= POLLOUT;
  return events; // errors are reported whatever was asked
}

clap_posix_fd_flags_t FdFlags(short revents) noexcept
{
  clap_posix_fd_flags_t flags = 0;
  if (revents & POLLIN) flags |= clap_posix_fd_flags_t(CLAP_POSIX_FD_READ);
  if (revents & POLLOUT) flags |= clap_posix_fd_flags_t(CLAP_POSIX_FD_WRITE);
  if (revents & (POLLERR | POLLHUP)) flags |= clap_posix_fd_flags_t(CLAP_POSIX_FD_ERROR);
  return flags;
}

template <class Duration>
milliseconds AtLeastZero(Duration duration) noexcept
{
  return std::max(std::chrono::ceil<milliseconds>(duration), milliseconds(0));
}

} // namespace

MainLoop::MainLoop(Host& loopHost, const clap_plugin* loopPlugin)
    : host(loopHost)
    , plugin(loopPlugin)
{
}

void MainLoop::AddDescriptor(int fd, std::function<void()> onReadable)
{
  extras.push_back({ fd, std::move(onReadable) });
}

void MainLoop::RunOnce(milliseconds maxWait)
{
  TrackTimers(Clock::now());
  const std::vector<DescriptorRegistration> registered = host.RegisteredDescriptors();
  const std::size_t extraCount = extras.size();
  std::vector<pollfd> polled;
  polled.reserve(1 + registered.size() + extraCount);
  polled.push_back({ host.CallbackWakeDescriptor(), POLLIN, 0 }); // poll skips a negative descriptor
  for (const DescriptorRegistration& descriptor : registered)
    polled.push_back({ descriptor.fd, PollEvents(descriptor.flags), 0 });
  for (std::size_t i = 0; i < extraCount; ++i) polled.push_back({ extras[i].fd, POLLIN, 0 });

  const int waitMs = int(WaitBefore(Clock::now(), maxWait).count());
  if (::poll(polled.data(), nfds_t(polled.size()), waitMs) > 0)
  {
    if (polled[0].revents & POLLIN) host.DrainCallbackWake();
    const auto* fdSupport =
        static_cast<const clap_plugin_posix_fd_support*>(plugin->get_extension(plugin, CLAP_EXT_POSIX_FD_SUPPORT));
    for (std::size_t i = 0; i < registered.size(); ++i)
    {
      const pollfd& entry = polled[1 + i];
      if (!entry.revents || (entry.revents & POLLNVAL)) continue;
      // An earlier handler may have unregistered it.
      if (fdSupport && fdSupport->on_fd && host.HasDescriptor(entry.fd))
        fdSupport->on_fd(plugin, entry.fd, FdFlags(entry.revents));
    }
    for (std::size_t i = 0; i < extraCount; ++i)
      if (polled[1 + registered.size() + i].revents & (POLLIN | POLLERR | POLLHUP)) extras[i].onReadable();
  }
  RunDueTimers();
  if (host.TakeCallbackRequest()) plugin->on_main_thread(plugin);
}

void MainLoop::RunFor(milliseconds duration)
{
  const Clock::time_point end = Clock::now() + duration;
  for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) RunOnce(AtLeastZero(end - now));
}

bool MainLoop::RunUntil(const std::function<bool()>& done, milliseconds timeout)
{
  const Clock::time_point deadline = Clock::now() + timeout;
  if (done()) return true;
  for (Clock::time_point now = Clock::now(); now < deadline; now = Clock::now())
  {
    RunOnce(AtLeastZero(deadline - now));
    if (done()) return true;
  }
  return false;
}

void MainLoop::TrackTimers(Clock::time_point now)
{
  const std::vector<TimerRegistration> active = host.ActiveTimers();
  std::erase_if(nextDue,
                [&active](const auto& entry)
                {
                  return std::none_of(active.begin(), active.end(),
                                      [&entry](const TimerRegistration& timer) { return timer.id == entry.first; });
                });
  for (const TimerRegistration& timer : active)
  {
    if (nextDue.count(timer.id)) continue;
    const milliseconds period = std::max(milliseconds(timer.periodMs), milliseconds(1));
    nextDue[timer.id] = { period, now + period };
  }
}

milliseconds MainLoop::WaitBefore(Clock::time_point now, milliseconds maxWait) const
{
  if (host.CallbackRequested()) return milliseconds(0);
  milliseconds wait = std::max(maxWait, milliseconds(0));
  for (const auto& [id, timer] : nextDue) wait = std::min(wait, AtLeastZero(timer.due - now));
  return wait;
}

void MainLoop::RunDueTimers()
{
  const auto* timerSupport =
      static_cast<const clap_plugin_timer_support*>(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT));
  const Clock::time_point now = Clock::now();
  std::vector<clap_id> due;
  for (auto& [id, timer] : nextDue)
  {
    if (timer.due > now) continue;
    // Periods missed while the loop was busy are dropped, not run in a burst.
    timer.due += timer.period;
    if (timer.due <= now) timer.due = now + timer.period;
    due.push_back(id);
  }
  for (const clap_id id : due)
    if (timerSupport && timerSupport->on_timer && host.HasTimer(id)) timerSupport->on_timer(plugin, id);
}

} // namespace kit::host
