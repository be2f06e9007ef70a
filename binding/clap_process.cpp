// The audio-thread side of the binding: one process call becomes one rendered block, with
// the host's events applied first and the plug-in's events written back after.
#include "binding/clap_binding.h"

#include <algorithm>
#include <limits>

namespace kit
{

namespace
{

constexpr double kTimeFactorInverse = 1.0 / 2147483648.0; // of CLAP_SECTIME_FACTOR and CLAP_BEATTIME_FACTOR

bool SampleWidthIs64(const clap_process& process) noexcept
{
  if (process.audio_inputs_count > 0 && process.audio_inputs && process.audio_inputs[0].channel_count > 0)
    return process.audio_inputs[0].data64 != nullptr;
  if (process.audio_outputs_count > 0 && process.audio_outputs && process.audio_outputs[0].channel_count > 0)
    return process.audio_outputs[0].data64 != nullptr;
  return false;
}

// Every port with channels has a buffer array of the block's width and no null channel.
bool BuffersPresent(const clap_audio_buffer* ports, std::uint32_t count, bool wide) noexcept
{
  if (count > 0 && !ports) return false;
  for (std::uint32_t p = 0; p < count; ++p)
  {
    const clap_audio_buffer& port = ports[p];
    if (port.channel_count == 0) continue;
    if (wide ? !port.data64 : !port.data32) return false;
    for (std::uint32_t c = 0; c < port.channel_count; ++c)
      if (wide ? !port.data64[c] : !port.data32[c]) return false;
  }
  return true;
}

// Every sample of every channel is exactly 0; NaN compares unequal to 0, so it counts as sound.
bool AllSilent(const clap_audio_buffer* ports, std::uint32_t count, bool wide, std::uint32_t frames) noexcept
{
  for (std::uint32_t p = 0; p < count; ++p)
    for (std::uint32_t c = 0; c < ports[p].channel_count; ++c)
      for (std::uint32_t i = 0; i < frames; ++i)
        if (wide ? ports[p].data64[c][i] != 0.0 : ports[p].data32[c][i] != 0.0f) return false;
  return true;
}

TransportInfo ReadTransport(const clap_event_transport& host, double sampleRate) noexcept
{
  TransportInfo info;
  if (host.flags & CLAP_TRANSPORT_HAS_TEMPO) info.tempo = host.tempo;
  if (host.flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE)
    info.samplePosition = double(host.song_pos_seconds) * kTimeFactorInverse * sampleRate;
  if (host.flags & CLAP_TRANSPORT_HAS_BEATS_TIMELINE)
  {
    info.quarterNotePosition = double(host.song_pos_beats) * kTimeFactorInverse;
    info.lastBarStart = double(host.bar_start) * kTimeFactorInverse;
    info.loopStart = double(host.loop_start_beats) * kTimeFactorInverse;
    info.loopEnd = double(host.loop_end_beats) * kTimeFactorInverse;
  }
  if (host.flags & CLAP_TRANSPORT_HAS_TIME_SIGNATURE)
  {
    info.numerator = host.tsig_num;
    info.denominator = host.tsig_denom;
  }
  info.running = (host.flags & CLAP_TRANSPORT_IS_PLAYING) != 0;
  info.loopActive = (host.flags & CLAP_TRANSPORT_IS_LOOP_ACTIVE) != 0;
  return info;
}

} // namespace

clap_process_status IClapBinding::Process(const clap_process* process) noexcept
{
  // A host that deactivated (or never activated) has no block to be processed.
  if (!process || !active.load(std::memory_order_acquire)) return CLAP_PROCESS_ERROR;
  if ((process->audio_inputs_count > 0 && !process->audio_inputs) ||
      (process->audio_outputs_count > 0 && !process->audio_outputs))
    return CLAP_PROCESS_ERROR;
  if (process->frames_count > std::uint32_t(std::max(maxBlockSize, 0))) return CLAP_PROCESS_ERROR;
  const bool wide = SampleWidthIs64(*process);
  if (!BuffersPresent(process->audio_inputs, process->audio_inputs_count, wide) ||
      !BuffersPresent(process->audio_outputs, process->audio_outputs_count, wide))
    return CLAP_PROCESS_ERROR;
  const std::uint32_t frames = process->frames_count;

  if (process->transport) SetTransport(ReadTransport(*process->transport, sampleRate));
  ConvertInputEvents(process->in_events);

  MidiMessage message;
  while (midiFromEditor.Pop(message)) ProcessMidiMessage(message);
  SysExRecord record;
  while (sysExFromEditor.Pop(record)) (void)SendSysEx(record.View());

  const bool silenceCheck = !hostTailUsable && tailLength != 0 && tailLength != std::numeric_limits<int>::max();
  const bool silent = silenceCheck && AllSilent(process->audio_inputs, process->audio_inputs_count, wide, frames);
  (void)ConnectAndAttach(kInput, process->audio_inputs, process->audio_inputs_count, wide, frames);
  const int attachedOutputs =
      ConnectAndAttach(kOutput, process->audio_outputs, process->audio_outputs_count, wide, frames);

  if (wide)
    RenderDirect(int(frames));
  else
    RenderConverting(int(frames));

  // Channels beyond those the processor has records for are silent, not left as they came.
  int channel = 0;
  for (std::uint32_t p = 0; p < process->audio_outputs_count; ++p)
  {
    clap_audio_buffer& port = process->audio_outputs[p];
    port.constant_mask = 0;
    for (std::uint32_t c = 0; c < port.channel_count; ++c, ++channel)
    {
      if (channel < attachedOutputs) continue;
      if (wide)
        std::fill_n(port.data64[c], frames, 0.0);
      else
        std::fill_n(port.data32[c], frames, 0.0f);
    }
  }

  WriteOutputEvents(process->out_events, frames);

  if (hostTailUsable) return CLAP_PROCESS_TAIL;
  if (tailLength == 0) return CLAP_PROCESS_CONTINUE_IF_NOT_QUIET;
  if (tailLength == std::numeric_limits<int>::max()) return CLAP_PROCESS_CONTINUE;
  if (silent)
    silentFrames = std::int32_t(std::min<std::int64_t>(tailLength, std::int64_t(silentFrames) + frames));
  else
    silentFrames = 0;
  return silentFrames >= tailLength ? CLAP_PROCESS_SLEEP : CLAP_PROCESS_CONTINUE;
}

int IClapBinding::ConnectAndAttach(ERoute direction, const clap_audio_buffer* ports, std::uint32_t portCount, bool wide,
                                   std::uint32_t frames) noexcept
{
  std::uint64_t total = 0;
  for (std::uint32_t p = 0; p < portCount; ++p) total += ports[p].channel_count;
  // The processor has records for so many channels; the rest stay unattached.
  const int attached = int(std::min<std::uint64_t>(total, pointers64.size()));

  ConnectChannels(direction, 0, ChannelRecordCount(direction), false);
  ConnectChannels(direction, 0, attached, true);
  if (attached == 0) return 0;

  int channel = 0;
  for (std::uint32_t p = 0; p < portCount && channel < attached; ++p)
  {
    const clap_audio_buffer& port = ports[p];
    for (std::uint32_t c = 0; c < port.channel_count && channel < attached; ++c, ++channel)
    {
      if (wide)
        pointers64[std::size_t(channel)] = port.data64[c];
      else
        pointers32[std::size_t(channel)] = port.data32[c];
    }
  }

  if (wide)
    AttachDirect(direction, 0, attached, pointers64.data());
  else if (direction == kInput)
    AttachInputsConverting(0, attached, pointers32.data(), int(frames));
  else
    AttachOutputsConverting(0, attached, pointers32.data());
  return attached;
}

} // namespace kit
