// Ctrl-C and SIGTERM become a readable descriptor, and the process survives them while the
// handlers are in place.
#include "tools/ombrix-host/stop_signals.h"

#include <gtest/gtest.h>

#include <csignal>

#include <poll.h>

namespace kit::live
{
namespace
{

[[nodiscard]] bool Readable(int descriptor)
{
  pollfd watched { descriptor, POLLIN, 0 };
  return ::poll(&watched, 1, 0) == 1 && (watched.revents & POLLIN) != 0;
}

TEST(StopSignals, EachStopSignalWakesTheDescriptorOnce)
{
  for (const int signalNumber : { SIGINT, SIGTERM })
  {
    SCOPED_TRACE(signalNumber);
    StopSignals signals;
    ASSERT_TRUE(signals.Valid());
    EXPECT_FALSE(Readable(signals.Descriptor()));
    EXPECT_FALSE(signals.Take());
    ASSERT_EQ(std::raise(signalNumber), 0);
    EXPECT_TRUE(Readable(signals.Descriptor()));
    EXPECT_TRUE(signals.Take());
    EXPECT_FALSE(Readable(signals.Descriptor()));
  }
}

} // namespace
} // namespace kit::live
