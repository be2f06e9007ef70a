#include "framework/processor.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <system_error>
#include <utility>

namespace kit
{
namespace
{

// Calls `visit` for each non-empty piece of `text` between separators.
template <typename Visit>
void ForEachPiece(std::string_view text, char separator, Visit&& visit)
{
  while (!text.empty())
  {
    const std::size_t end = text.find(separator);
    const std::string_view piece = text.substr(0, end);
    if (!piece.empty()) visit(piece);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool IsCSpace(char c) noexcept
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A bus piece: "*" is any channel count; otherwise the leading whole number as "%d" reads it
// (white space and a sign allowed), 0 when there is none or it does not fit an int.
int ReadChannelCount(std::string_view piece) noexcept
{
  if (piece == "*") return kAnyChannelCount;
  while (!piece.empty() && IsCSpace(piece.front())) piece.remove_prefix(1);
  bool negative = false;
  if (!piece.empty() && (piece.front() == '+' || piece.front() == '-'))
  {
    negative = piece.front() == '-';
    piece.remove_prefix(1);
  }
  int count = 0;
  const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), count);
  if (error != std::errc {}) return 0;
  return negative ? -count : count;
}

// Adds the buses of one side of a layout; returns that side's channel total.
int ReadBuses(std::string_view side, ERoute direction, std::vector<BusSpec>& buses)
{
  int total = 0;
  ForEachPiece(side, '.',
               [&](std::string_view piece)
               {
                 const int count = ReadChannelCount(piece);
                 if (count == 0) return;
                 buses.push_back(BusSpec { direction, count });
                 total += count;
               });
  return total;
}

// Records first … min(first + count, size) − 1 as a half-open index range.
struct IndexRange
{
  std::size_t begin;
  std::size_t end;
};

IndexRange ClampRange(int first, int count, std::size_t size) noexcept
{
  const long long begin = std::max(0LL, static_cast<long long>(first));
  const long long end =
      std::min(static_cast<long long>(first) + static_cast<long long>(count), static_cast<long long>(size));
  if (end <= begin) return { 0, 0 };
  return { static_cast<std::size_t>(begin), static_cast<std::size_t>(end) };
}

void WriteNumbered(std::string_view prefix, int number, FixedText<32>& text) noexcept
{
  char digits[16] = {};
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
  text.Set(prefix);
  if (error == std::errc {}) text.Append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

} // namespace

IProcessor::IProcessor(const PluginConfig& config)
    : pluginKind(config.pluginKind)
    , midiIn(config.midiIn)
    , midiOut(config.midiOut)
    , mpe(config.mpe)
    , latency(config.latency)
{
  int maxInputs = 0;
  int maxOutputs = 0;
  int maxInputBuses = 0;
  int maxOutputBuses = 0;
  ParseChannelLayouts(config.channelIO != nullptr ? config.channelIO : "", layouts, maxInputs, maxOutputs,
                      maxInputBuses, maxOutputBuses);
  inputPointers.assign(static_cast<std::size_t>(maxInputs), nullptr);
  outputPointers.assign(static_cast<std::size_t>(maxOutputs), nullptr);
  inputChannels.resize(inputPointers.size());
  outputChannels.resize(outputPointers.size());
  for (std::size_t i = 0; i < inputChannels.size(); ++i) inputChannels[i].entry = &inputPointers[i];
  for (std::size_t i = 0; i < outputChannels.size(); ++i)
  {
    outputChannels[i].entry = &outputPointers[i];
  }
}

IProcessor::~IProcessor() = default;

void IProcessor::RenderBlock(double** inputs, double** outputs, int frames) noexcept
{
  if (outputs == nullptr || frames <= 0) return;
  const auto count = static_cast<std::size_t>(frames);
  for (std::size_t i = 0; i < outputChannels.size(); ++i)
  {
    double* output = outputs[i];
    if (output == nullptr) continue;
    const double* input = (inputs != nullptr && i < inputChannels.size()) ? inputs[i] : nullptr;
    if (input == nullptr)
    {
      std::fill_n(output, count, 0.0);
    }
    else if (input != output)
    {
      std::copy_n(input, count, output);
    }
  }
}

void IProcessor::ProcessMidiMessage(const MidiMessage& message) noexcept
{
  static_cast<void>(SendMidiMessage(message));
}

void IProcessor::ProcessSysEx(const SysExMessage&) noexcept {}

void IProcessor::ResetProcessing() {}

void IProcessor::OnActivate(bool) {}

bool IProcessor::SendMidiMessages(std::span<const MidiMessage> messages) noexcept
{
  bool allQueued = true;
  for (const MidiMessage& message : messages)
  {
    if (!SendMidiMessage(message)) allQueued = false;
  }
  return allQueued;
}

bool IProcessor::SendSysEx(const SysExMessage&) noexcept
{
  return false;
}

void IProcessor::NameOfBus(ERoute direction, int busIndex, int busCount, FixedText<32>& text) const
{
  if (direction == kInput)
  {
    if (busCount == 1)
    {
      text.Set("Input");
    }
    else if (busCount == 2)
    {
      text.Set(busIndex == 0 ? "Main" : "Aux");
    }
    else
    {
      WriteNumbered("Input ", busIndex, text);
    }
    return;
  }
  if (busCount == 1)
  {
    text.Set("Output");
  }
  else
  {
    WriteNumbered("Output ", busIndex, text);
  }
}

void IProcessor::UpdateLatency(int frames)
{
  latency = frames;
}

void IProcessor::UpdateTailLength(int frames)
{
  tailLength = frames;
}

int IProcessor::ParseChannelLayouts(std::string_view channelIO, std::vector<ChannelLayout>& layouts, int& maxInputs,
                                    int& maxOutputs, int& maxInputBuses, int& maxOutputBuses)
{
  maxInputs = 0;
  maxOutputs = 0;
  maxInputBuses = 0;
  maxOutputBuses = 0;
  layouts.clear();
  ForEachPiece(channelIO, ' ',
               [&](std::string_view token)
               {
                 const std::size_t dash = token.find('-');
                 const std::string_view inputSide = token.substr(0, dash);
                 const std::string_view outputSide =
                     dash == std::string_view::npos ? std::string_view {} : token.substr(dash + 1);
                 ChannelLayout layout;
                 const int inputs = ReadBuses(inputSide, kInput, layout.inputBuses);
                 const int outputs = ReadBuses(outputSide, kOutput, layout.outputBuses);
                 maxInputs = std::max(maxInputs, inputs);
                 maxOutputs = std::max(maxOutputs, outputs);
                 maxInputBuses = std::max(maxInputBuses, static_cast<int>(layout.inputBuses.size()));
                 maxOutputBuses = std::max(maxOutputBuses, static_cast<int>(layout.outputBuses.size()));
                 layouts.push_back(std::move(layout));
               });
  return static_cast<int>(layouts.size());
}

void IProcessor::ApplyMaxBlockSize(int frames)
{
  frames = std::max(frames, 0);
  if (frames != maxBlockSize)
  {
    for (auto* channels : { &inputChannels, &outputChannels })
    {
      for (ProcessorChannel& channel : *channels)
      {
        channel.scratch.assign(static_cast<std::size_t>(frames), 0.0);
      }
    }
    maxBlockSize = frames;
  }
  // The old scratch memory is gone: no record may keep pointing at it.
  for (auto* channels : { &inputChannels, &outputChannels })
  {
    for (ProcessorChannel& channel : *channels)
    {
      *channel.entry = channel.scratch.data();
      channel.hostBuffer = nullptr;
    }
  }
}

int IProcessor::MaxBusCount(ERoute direction, int* layoutIndex) const noexcept
{
  int most = 0;
  int mostIndex = 0;
  for (std::size_t i = 0; i < layouts.size(); ++i)
  {
    const std::vector<BusSpec>& buses = direction == kInput ? layouts[i].inputBuses : layouts[i].outputBuses;
    const int count = static_cast<int>(buses.size());
    if (count >= most)
    {
      most = count;
      mostIndex = static_cast<int>(i);
    }
  }
  if (layoutIndex != nullptr) *layoutIndex = mostIndex;
  return most;
}

void IProcessor::ConnectChannels(ERoute direction, int first, int count, bool connected) noexcept
{
  std::vector<ProcessorChannel>& channels = Channels(direction);
  const IndexRange range = ClampRange(first, count, channels.size());
  for (std::size_t i = range.begin; i < range.end; ++i)
  {
    channels[i].connected = connected;
    if (!connected) *channels[i].entry = channels[i].scratch.data();
  }
}

void IProcessor::AttachInputsConverting(int first, int count, const float* const* hostBuffers, int frames) noexcept
{
  const auto length = static_cast<std::size_t>(FramesWithinBlock(frames));
  const IndexRange range = ClampRange(first, count, inputChannels.size());
  std::size_t next = 0;
  for (std::size_t i = range.begin; i < range.end; ++i)
  {
    ProcessorChannel& channel = inputChannels[i];
    if (!channel.connected) continue;
    const float* source = hostBuffers != nullptr ? hostBuffers[next] : nullptr;
    ++next;
    double* scratch = channel.scratch.data();
    if (source == nullptr)
    {
      std::fill_n(scratch, length, 0.0);
    }
    else
    {
      for (std::size_t k = 0; k < length; ++k) scratch[k] = static_cast<double>(source[k]);
    }
    *channel.entry = scratch;
  }
}

void IProcessor::AttachOutputsConverting(int first, int count, float* const* hostBuffers) noexcept
{
  const IndexRange range = ClampRange(first, count, outputChannels.size());
  std::size_t next = 0;
  for (std::size_t i = range.begin; i < range.end; ++i)
  {
    ProcessorChannel& channel = outputChannels[i];
    if (!channel.connected) continue;
    channel.hostBuffer = hostBuffers != nullptr ? hostBuffers[next] : nullptr;
    ++next;
    *channel.entry = channel.scratch.data();
  }
}

void IProcessor::AttachDirect(ERoute direction, int first, int count, double* const* hostBuffers) noexcept
{
  std::vector<ProcessorChannel>& channels = Channels(direction);
  const IndexRange range = ClampRange(first, count, channels.size());
  std::size_t next = 0;
  for (std::size_t i = range.begin; i < range.end; ++i)
  {
    ProcessorChannel& channel = channels[i];
    if (!channel.connected) continue;
    double* buffer = hostBuffers != nullptr ? hostBuffers[next] : nullptr;
    ++next;
    *channel.entry = buffer != nullptr ? buffer : channel.scratch.data();
    // A direct block writes in place; nothing is to be converted back afterwards.
    channel.hostBuffer = nullptr;
  }
}

void IProcessor::RenderConverting(int frames) noexcept
{
  const int length = FramesWithinBlock(frames);
  RenderBlock(inputChannels.empty() ? nullptr : inputPointers.data(),
              outputChannels.empty() ? nullptr : outputPointers.data(), length);
  for (ProcessorChannel& channel : outputChannels)
  {
    if (!channel.connected || channel.hostBuffer == nullptr) continue;
    const double* scratch = channel.scratch.data();
    for (std::size_t k = 0; k < static_cast<std::size_t>(length); ++k)
    {
      channel.hostBuffer[k] = static_cast<float>(scratch[k]);
    }
  }
}

void IProcessor::RenderDirect(int frames) noexcept
{
  RenderBlock(inputChannels.empty() ? nullptr : inputPointers.data(),
              outputChannels.empty() ? nullptr : outputPointers.data(), FramesWithinBlock(frames));
}

int IProcessor::CountConnected(ERoute direction) const noexcept
{
  const std::vector<ProcessorChannel>& channels = Channels(direction);
  return static_cast<int>(
      std::count_if(channels.begin(), channels.end(), [](const ProcessorChannel& c) { return c.connected; }));
}

bool IProcessor::IsConnected(ERoute direction, int channel) const noexcept
{
  const std::vector<ProcessorChannel>& channels = Channels(direction);
  if (channel < 0 || static_cast<std::size_t>(channel) >= channels.size()) return false;
  return channels[static_cast<std::size_t>(channel)].connected;
}

int IProcessor::ChannelRecordCount(ERoute direction) const noexcept
{
  return static_cast<int>(Channels(direction).size());
}

std::vector<ProcessorChannel>& IProcessor::Channels(ERoute direction) noexcept
{
  return direction == kInput ? inputChannels : outputChannels;
}

const std::vector<ProcessorChannel>& IProcessor::Channels(ERoute direction) const noexcept
{
  return direction == kInput ? inputChannels : outputChannels;
}

int IProcessor::FramesWithinBlock(int frames) const noexcept
{
  return std::clamp(frames, 0, maxBlockSize);
}

SysExRecord SysExRecord::From(const SysExMessage& message) noexcept
{
  SysExRecord record;
  record.offset = message.offset;
  record.size = std::clamp(message.size, 0, kMaxPayload);
  // A null payload keeps its size and reads as zeros.
  if (message.data) std::memcpy(record.data, message.data, std::size_t(record.size));
  return record;
}

} // namespace kit
