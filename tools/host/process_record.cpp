#include "tools/host/process_record.h"

namespace kit::host
{

clap_process ProcessRecord(const ProcessPieces& pieces) noexcept
{
  clap_process process {};
  process.steady_time = pieces.steadyTime;
  process.frames_count = pieces.frames;
  process.transport = pieces.transport;
  if (pieces.inputs)
  {
    process.audio_inputs = pieces.inputs->Ports();
    process.audio_inputs_count = pieces.inputs->PortCount();
  }
  if (pieces.outputs)
  {
    process.audio_outputs = pieces.outputs->Ports();
    process.audio_outputs_count = pieces.outputs->PortCount();
  }
  process.in_events = pieces.in ? pieces.in->Record() : nullptr;
  process.out_events = pieces.out ? pieces.out->Record() : nullptr;
  return process;
}

} // namespace kit::host
