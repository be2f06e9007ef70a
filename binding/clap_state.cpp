// The plug-in's state in the host's project: the parameter chunk, written to and read from
// the host's streams without a header. Main thread.
#include "binding/clap_binding.h"

#include "framework/state_chunk.h"

namespace kit
{

bool IClapBinding::ImplementsState() const
{
  return true;
}

bool IClapBinding::StateSave(const clap_ostream* stream)
{
  if (!stream || !stream->write) return false;
  StateChunk chunk;
  if (!WriteStateChunk(chunk)) return false;
  std::int64_t written = 0;
  while (written < chunk.Size())
  {
    const std::int64_t offered = chunk.Size() - written;
    const std::int64_t result = stream->write(stream, chunk.Data() + written, std::uint64_t(offered));
    if (result < 1 || result > offered) return false;
    written += result;
  }
  return true;
}

bool IClapBinding::StateLoad(const clap_istream* stream)
{
  if (!stream || !stream->read) return false;
  StateChunk chunk;
  std::uint8_t block[256];
  for (;;)
  {
    const std::int64_t result = stream->read(stream, block, sizeof block);
    // More than was asked for is a broken stream, not data.
    if (result < 0 || result > std::int64_t(sizeof block)) return false;
    if (result == 0) break;
    // No state of ours is this large; a stream that never ends must not exhaust memory.
    if (chunk.Size() + result > kMaxStateBytes) return false;
    if (!chunk.Append(block, int(result))) return false;
  }
  if (chunk.Size() == 0) return false;

  const int end = ReadStateChunk(chunk, 0);
  if (end < 0 || end != chunk.Size()) return false;

  OnStateRestored();
  const clap_host_params* hostParams = hostLink.params;
  if (hostParams)
  {
    if (hostParams->rescan && hostParams->clear && hostParams->request_flush)
      hostParams->rescan(hostLink.host, CLAP_PARAM_RESCAN_VALUES);
    else
      ReportPartialHostExtension("clap_host_params is partially implemented");
  }
  return true;
}

} // namespace kit
