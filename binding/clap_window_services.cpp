// What the open editor window asks of the host through the binding: its display tick, the
// watch on its connection's descriptor, and its log lines. Main thread.
#include "binding/clap_binding.h"

#include "binding/clap_timers.h"

#include <utility>

namespace kit
{

bool IClapBinding::StartDisplayTick(std::uint32_t intervalMs, std::function<void()> tick)
{
  StopDisplayTick();
  if (!tick || intervalMs == 0 || destroying.load(std::memory_order_acquire)) return false;
  displayTick = std::make_shared<const std::function<void()>>(std::move(tick));
  if (ImplementsTimerSupport())
  {
    std::unique_ptr<HostTimer> hostTimer = HostTimer::Start(hostLink.host, hostLink.timerSupport, intervalMs);
    if (hostTimer)
    {
      displayTimerId = hostTimer->Id();
      displayTimer = std::move(hostTimer);
      return true;
    }
  }
  const clap_host* host = hostLink.host;
  if (host && host->request_callback)
    displayTimer = TickerTimer::Start([this] { RequestTick(TickRequests::kDisplayTick); }, intervalMs);
  if (!displayTimer) displayTick.reset();
  return displayTimer != nullptr;
}

void IClapBinding::StopDisplayTick()
{
  if (displayTimer)
  {
    displayTimer->Stop();
    displayTimer.reset();
  }
  displayTimerId = CLAP_INVALID_ID;
  // A request the ticker made before it stopped finds nothing due.
  tickRequests.Forget(TickRequests::kDisplayTick);
  displayTick.reset();
}

void IClapBinding::RunDisplayTick()
{
  // Held for the run: the tick may stop or restart itself.
  if (const std::shared_ptr<const std::function<void()>> tick = displayTick) (*tick)();
}

bool IClapBinding::ImplementsPosixFdSupport() const
{
  const clap_host_posix_fd_support* support = hostLink.posixFdSupport;
  return support && support->register_fd && support->modify_fd && support->unregister_fd;
}

bool IClapBinding::WatchDescriptor(int fd, std::function<void()> onReadable)
{
  UnwatchDescriptor();
  if (fd < 0 || !onReadable || !ImplementsPosixFdSupport() || destroying.load(std::memory_order_acquire)) return false;
  // Made before the host hears of the descriptor, so that nothing can fail after it has.
  auto handler = std::make_shared<const std::function<void()>>(std::move(onReadable));
  if (!hostLink.posixFdSupport->register_fd(hostLink.host, fd, clap_posix_fd_flags_t(CLAP_POSIX_FD_READ))) return false;
  watchedFd = fd;
  onWatchedReadable = std::move(handler);
  return true;
}

void IClapBinding::UnwatchDescriptor()
{
  if (watchedFd < 0) return;
  const int fd = watchedFd;
  watchedFd = -1;
  onWatchedReadable.reset();
  (void)hostLink.posixFdSupport->unregister_fd(hostLink.host, fd);
}

void IClapBinding::OnPosixFd(int fd, clap_posix_fd_flags_t)
{
  // Any of the flags sends the window to read its connection: an error shows there too.
  if (fd < 0 || fd != watchedFd || destroying.load(std::memory_order_acquire)) return;
  if (const std::shared_ptr<const std::function<void()>> handler = onWatchedReadable) (*handler)();
}

void IClapBinding::LogEditorProblem(std::string_view text)
{
  HostLog(CLAP_LOG_ERROR, text);
}

} // namespace kit
