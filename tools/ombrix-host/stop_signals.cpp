#include "tools/ombrix-host/stop_signals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kit::live
{

namespace
{

// The handler's only way to the pipe; set before the handlers are installed.
int signalPipe = -1;

void OnStopSignal(int) noexcept
{
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already holds a wake-up.
  (void)!::write(signalPipe, &byte, 1);
  errno = savedErrno;
}

[[nodiscard]] bool Handle(int signalNumber, void (*handler)(int)) noexcept
{
  struct sigaction action
  {
  };
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(signalNumber, &action, nullptr) == 0;
}

} // namespace

StopSignals::StopSignals()
{
  std::array<int, 2> ends {};
  if (::pipe2(ends.data(), O_NONBLOCK | O_CLOEXEC) != 0) return;
  readEnd = ends[0];
  writeEnd = ends[1];
  signalPipe = writeEnd;
  if (!Handle(SIGINT, OnStopSignal) || !Handle(SIGTERM, OnStopSignal))
  {
    (void)Handle(SIGINT, SIG_DFL);
    (void)Handle(SIGTERM, SIG_DFL);
    ::close(readEnd);
    ::close(writeEnd);
    readEnd = writeEnd = -1;
    signalPipe = -1;
  }
}

StopSignals::~StopSignals()
{
  if (!Valid()) return;
  (void)Handle(SIGINT, SIG_DFL);
  (void)Handle(SIGTERM, SIG_DFL);
  signalPipe = -1;
  ::close(readEnd);
  ::close(writeEnd);
}

bool StopSignals::Take() noexcept
{
  bool came = false;
  std::array<char, 64> bytes {};
  while (::read(readEnd, bytes.data(), bytes.size()) > 0) came = true;
  return came;
}

} // namespace kit::live
