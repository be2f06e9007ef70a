// The main-thread callbacks the ticker threads ask the host for: each tick marks itself due,
// and one request serves every tick due until on_main_thread takes them, so the host never
// holds more than one. Tickers mark from their own threads; the main thread takes and forgets.
// Lock-free: two atomics.
#pragma once

#include <atomic>
#include <cstdint>

namespace kit
{

class TickRequests
{
public:
  enum Tick : std::uint32_t
  {
    kHostTick = 1u << 0,    // the 20 ms tick that feeds the editor from the audio thread
    kDisplayTick = 1u << 1, // the open editor's repaint
  };

  // Ticker thread. True when the caller is to ask the host for a callback: none was pending.
  [[nodiscard]] bool MarkDue(Tick tick) noexcept
  {
    due.fetch_or(tick, std::memory_order_release);
    return !pending.exchange(true, std::memory_order_acq_rel);
  }

  // Main thread, in on_main_thread: ends the pending request, then answers the ticks due
  // (a mask of Tick) and clears them. A tick marked after the request ended asks again.
  [[nodiscard]] std::uint32_t Take() noexcept
  {
    pending.exchange(false, std::memory_order_acq_rel);
    return due.exchange(0, std::memory_order_acq_rel);
  }

  // Main thread: a stopped tick's last mark is not run.
  void Forget(Tick tick) noexcept { due.fetch_and(~std::uint32_t(tick), std::memory_order_acq_rel); }

private:
  std::atomic<std::uint32_t> due { 0 };
  std::atomic<bool> pending { false };
};

} // namespace kit
