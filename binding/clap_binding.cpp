#include "binding/clap_binding.h"

#include "binding/clap_timers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace kit
{

namespace
{

constexpr std::uint32_t kTickIntervalMs = 20;

// "major.minor.patch" packed as major × 65536 + minor × 256 + patch; missing parts count 0.
std::int32_t PackHostVersion(const char* text) noexcept
{
  if (!text || !*text) return 0;
  int major = 0;
  int minor = 0;
  int patch = 0;
  if (std::sscanf(text, "%d.%d.%d", &major, &minor, &patch) < 1) return 0;
  const auto wrapped = std::uint32_t(major) * 65536u + std::uint32_t(minor) * 256u + std::uint32_t(patch);
  return std::int32_t(wrapped);
}

} // namespace

IClapBinding::IClapBinding(const PluginConfig& config, const PluginCreateInfo& info)
    : IHostBase(config, kApiClap)
    , IProcessor(config)
    , ClapPluginBase(info.descriptor, info.host)
    , midiOutList(kOutputListStep)
    , sysExOutList(kOutputListStep)
    , pointers32(std::size_t(std::max(ChannelRecordCount(kInput), ChannelRecordCount(kOutput))))
    , pointers64(pointers32.size())
{
  const char* name = info.host && info.host->name ? info.host->name : "";
  SetHost(name, PackHostVersion(info.host ? info.host->version : nullptr));
}

IClapBinding::~IClapBinding()
{
  if (displayTimer) displayTimer->Stop();
  if (timer) timer->Stop();
}

bool IClapBinding::Init()
{
  selectedConfig = 0;
  const clap_host_track_info* trackInfo = hostLink.trackInfo;
  if (trackInfo && trackInfo->get)
  {
    clap_track_info track {};
    if (trackInfo->get(hostLink.host, &track))
    {
      const int channels = std::clamp(track.audio_channel_count, 0, 1 << 16);
      if (!SelectChannelConfig(channels) && channels != 2) (void)SelectChannelConfig(2);
    }
    else
      (void)SelectChannelConfig(2);
  }
  else
  {
    if (trackInfo) ReportPartialHostExtension("clap_host_track_info is partially implemented");
    (void)SelectChannelConfig(2);
  }
  StartTimer();
  return true;
}

bool IClapBinding::Activate(double rate, std::uint32_t minFrames, std::uint32_t maxFrames)
{
  if (!std::isfinite(rate) || rate <= 0.0 || minFrames > maxFrames ||
      maxFrames > std::uint32_t(std::numeric_limits<std::int32_t>::max()))
    return false;
  try
  {
    ApplyMaxBlockSize(int(maxFrames));
    SetSampleRate(rate);
    OnActivate(true);
    OnAllParamsReset(ChangeSource::kReset);
    ResetProcessing();
  }
  catch (...)
  {
    return false;
  }
  hostTailUsable = false;
  silentFrames = 0;

  if (latencyPending)
  {
    if (pendingLatency != latency)
    {
      IProcessor::UpdateLatency(pendingLatency);
      const clap_host_latency* hostLatency = hostLink.latency;
      if (hostLatency)
      {
        if (hostLatency->changed)
          hostLatency->changed(hostLink.host);
        else
          ReportPartialHostExtension("clap_host_latency is partially implemented");
      }
    }
    latencyPending = false;
    restartRequested = false;
  }
  return true;
}

void IClapBinding::Deactivate()
{
  OnActivate(false);
}

bool IClapBinding::StartProcessing()
{
  // Processing needs the buffers and the design of an activation.
  return active.load(std::memory_order_acquire);
}

void IClapBinding::StopProcessing() {}

void IClapBinding::Reset()
{
  ResetProcessing();
}

void IClapBinding::OnMainThread()
{
  const std::uint32_t due = tickRequests.Take();
  // Ticks the host calls back for on another thread are dropped, not run there: they touch the
  // editor's window and empty queues the main thread empties. The next tick asks again.
  if (destroying.load(std::memory_order_acquire) || HostSaysNotMainThread()) return;
  if (due & TickRequests::kHostTick) RunHostTick();
  if (due & TickRequests::kDisplayTick) RunDisplayTick();
}

const void* IClapBinding::PluginSpecificExtension(std::string_view)
{
  return nullptr;
}

bool IClapBinding::DraftExtensionsEnabled() const
{
  return false;
}

bool IClapBinding::ImplementsLatency() const
{
  return true;
}

std::uint32_t IClapBinding::LatencyGet()
{
  return std::uint32_t(std::max(latency, 0));
}

bool IClapBinding::ImplementsTail() const
{
  return true;
}

std::uint32_t IClapBinding::TailGet()
{
  if (tailLength == std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::uint32_t>::max();
  return std::uint32_t(std::max(tailLength, 0));
}

bool IClapBinding::ImplementsRender() const
{
  return true;
}

bool IClapBinding::RenderHasHardRealtimeRequirement()
{
  return false;
}

bool IClapBinding::RenderSetMode(clap_plugin_render_mode mode)
{
  if (mode == CLAP_RENDER_REALTIME)
  {
    SetRenderingOffline(false);
    return true;
  }
  if (mode == CLAP_RENDER_OFFLINE)
  {
    if (RenderHasHardRealtimeRequirement()) return false;
    SetRenderingOffline(true);
    return true;
  }
  const std::string message = "host called clap_plugin_render.set_mode with an unknown mode : " + std::to_string(mode);
  OnMisbehaviour(CLAP_LOG_HOST_MISBEHAVING, message);
  HostLog(CLAP_LOG_HOST_MISBEHAVING, message);
  return false;
}

bool IClapBinding::ImplementsTimerSupport() const
{
  const clap_host_timer_support* support = hostLink.timerSupport;
  return support && support->register_timer && support->unregister_timer;
}

void IClapBinding::OnTimer(clap_id id)
{
  if (id == CLAP_INVALID_ID || destroying.load(std::memory_order_acquire)) return;
  if (id == timerId)
    RunHostTick();
  else if (id == displayTimerId)
    RunDisplayTick();
}

void IClapBinding::OnDestroying()
{
  if (timer) timer->Stop();
  StopDisplayTick();
  UnwatchDescriptor();
}

void IClapBinding::ReleaseEditor()
{
  DeleteEditorGraphics();
}

void IClapBinding::StartTimer()
{
  if (timer) return;
  if (ImplementsTimerSupport())
  {
    std::unique_ptr<HostTimer> hostTimer = HostTimer::Start(hostLink.host, hostLink.timerSupport, kTickIntervalMs);
    if (hostTimer)
    {
      timerId = hostTimer->Id();
      timer = std::move(hostTimer);
      return;
    }
  }
  timer = TickerTimer::Start([this] { RequestTick(TickRequests::kHostTick); }, kTickIntervalMs);
}

void IClapBinding::RequestTick(TickRequests::Tick tick)
{
  if (!tickRequests.MarkDue(tick) || destroying.load(std::memory_order_acquire)) return;
  const clap_host* host = hostLink.host;
  if (host && host->request_callback) host->request_callback(host);
}

bool IClapBinding::SelectChannelConfig(int channelCount)
{
  for (std::size_t i = 0; i < layouts.size(); ++i)
  {
    const ChannelLayout& layout = layouts[i];
    if (layout.outputBuses.empty() || layout.outputBuses[0].channelCount != channelCount) continue;
    const bool inputMatches = !layout.inputBuses.empty() && layout.inputBuses[0].channelCount == channelCount;
    const bool instrumentWithoutInput =
        pluginKind == 1 && (layout.inputBuses.empty() || layout.inputBuses[0].channelCount == 0);
    if (inputMatches || instrumentWithoutInput)
    {
      selectedConfig = std::int32_t(i);
      return true;
    }
  }
  return false;
}

void IClapBinding::UpdateLatency(int frames)
{
  if (frames == (latencyPending ? pendingLatency : latency)) return;
  pendingLatency = frames;
  latencyPending = true;
  if (active.load(std::memory_order_acquire) && !restartRequested)
  {
    restartRequested = true;
    PostToMainThread(
        [this]
        {
          const clap_host* host = hostLink.host;
          if (!destroying.load(std::memory_order_acquire) && host && host->request_restart) host->request_restart(host);
        });
  }
}

void IClapBinding::UpdateTailLength(int frames)
{
  tailLength = frames;
  if (hostTailUsable) tailChanged = true;
}

void IClapBinding::ReportPartialHostExtension(std::string_view text) const
{
  HostLog(CLAP_LOG_HOST_MISBEHAVING, text);
}

} // namespace kit
