#include "tools/ombrix-host/live_player.h"

#include <chrono>
#include <csignal>
#include <system_error>

#include <pthread.h>

namespace kit::live
{

namespace
{

using Clock = std::chrono::steady_clock;

// The moment frame `frames` is due, counted from start without accumulating rounding.
[[nodiscard]] Clock::time_point DueAt(Clock::time_point start, std::int64_t frames, double sampleRate) noexcept
{
  const double seconds = double(frames) / sampleRate;
  return start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

} // namespace

LivePlayer::LivePlayer(render::RenderSession& playingSession, double rate)
    : session(playingSession)
    , sampleRate(rate)
{
}

LivePlayer::~LivePlayer()
{
  Stop();
}

bool LivePlayer::Start()
{
  if (thread.joinable()) return false;
  running.store(true, std::memory_order_release);
  try
  {
    thread = std::thread([this] { Run(); });
  }
  catch (const std::system_error&)
  {
    running.store(false, std::memory_order_release);
    return false;
  }
  return true;
}

void LivePlayer::Stop()
{
  running.store(false, std::memory_order_release);
  if (thread.joinable()) thread.join();
}

bool LivePlayer::HasRoom() const noexcept
{
  // Only this thread adds blocks, so the room seen here cannot vanish before Queue.
  return input.Size() < decltype(input)::kCapacity;
}

bool LivePlayer::Queue(const AudioBlock& block) noexcept
{
  return input.Push(block);
}

bool LivePlayer::TakeOutput(AudioBlock& block) noexcept
{
  return output.Pop(block);
}

bool LivePlayer::TakeParamChange(ParamChange& change) noexcept
{
  return params.Pop(change);
}

std::string LivePlayer::FailureText() const
{
  return Failed() ? failure : std::string();
}

void LivePlayer::Run() noexcept
{
  // Ctrl-C and the like are the main thread's to handle.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  const Clock::time_point start = Clock::now();
  std::int64_t done = 0;
  while (running.load(std::memory_order_acquire))
  {
    if (!input.Pop(playing))
    {
      playing.frames = kBlockFrames;
      playing.recorded = false;
      playing.samples.fill(0.0);
    }
    if (!session.Process(playing.samples.data(), played.samples.data(), playing.frames, done, failure))
    {
      failed.store(true, std::memory_order_release);
      return;
    }
    CollectParamChanges();
    if (playing.recorded)
    {
      played.frames = playing.frames;
      played.recorded = true;
      if (!output.Push(played)) lostFrames.fetch_add(playing.frames, std::memory_order_acq_rel);
    }
    done += playing.frames;
    std::this_thread::sleep_until(DueAt(start, done, sampleRate));
  }
}

void LivePlayer::CollectParamChanges() noexcept
{
  const host::OutputEventList& events = session.Outputs();
  for (std::size_t i = 0; i < events.Size(); ++i)
  {
    const clap_event_header& header = events.Header(i);
    if (header.space_id != CLAP_CORE_EVENT_SPACE_ID || header.type != CLAP_EVENT_PARAM_VALUE) continue;
    const auto* event = events.As<clap_event_param_value>(i);
    // A change that finds the ring full is only not printed.
    if (event) (void)params.Push({ event->param_id, event->value });
  }
}

} // namespace kit::live
