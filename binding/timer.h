// The 20 ms main-thread timer that feeds the editor from the audio thread's rings. The
// binding picks the mechanism the host supports; every tick runs on the host's main thread,
// never concurrently with itself.
#pragma once

namespace kit
{

class Timer
{
public:
  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Stops the timer; no tick starts after Stop returns. Main thread.
  virtual ~Timer() = default;
  virtual void Stop() = 0;
};

} // namespace kit
