// Audio-side base of every plug-in class: the channel layouts it supports, one record per
// possible channel that bridges the host's buffers to double-precision processing, and the
// sample rate, block size, latency, tail and transport. The CLAP audio bridge drives it.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "framework/fixed_text.h"
#include "framework/plugin_config.h"

namespace kit
{

enum ERoute : std::int32_t
{
  kInput = 0,
  kOutput = 1,
};

// The channel count of a "*" bus in a channel I/O string: any number of channels.
inline constexpr int kAnyChannelCount = -64;

struct BusSpec
{
  ERoute direction = kInput;
  int channelCount = 0; // kAnyChannelCount for "*"
};

struct ChannelLayout
{
  std::vector<BusSpec> inputBuses;
  std::vector<BusSpec> outputBuses;
};

// One possible input or output channel.
struct ProcessorChannel
{
  bool connected = false;      // this block only; audio thread
  double** entry = nullptr;    // this channel's slot in the array RenderBlock receives
  float* hostBuffer = nullptr; // outputs: where RenderConverting writes the block back
  std::vector<double> scratch; // maxBlockSize frames
};

// The host's musical position for the current block; positions are -1 when unknown.
struct TransportInfo
{
  double tempo = 120.0; // quarter notes per minute
  double samplePosition = -1.0;
  double quarterNotePosition = -1.0;
  double lastBarStart = -1.0; // quarter notes
  double loopStart = -1.0;    // quarter notes
  double loopEnd = -1.0;      // quarter notes
  std::int32_t numerator = 4;
  std::int32_t denominator = 4;
  bool running = false;
  bool loopActive = false;
};

struct MidiMessage
{
  std::int32_t offset = 0; // frames into the block
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};

// A system-exclusive message; `data` is borrowed for the duration of the call.
struct SysExMessage
{
  std::int32_t offset = 0; // frames into the block
  std::int32_t size = 0;   // bytes
  const std::uint8_t* data = nullptr;
};

// A system-exclusive message copied into fixed storage, as it travels through rings and
// output lists: 520 bytes, the payload cut to 512 and zero-filled behind the message.
struct SysExRecord
{
  static constexpr std::int32_t kMaxPayload = 512;

  std::int32_t offset = 0; // frames into the block
  std::int32_t size = 0;   // payload bytes, 0 … kMaxPayload
  std::uint8_t data[kMaxPayload] {};

  // Copies at most kMaxPayload bytes; a null payload reads as zeros.
  [[nodiscard]] static SysExRecord From(const SysExMessage& message) noexcept;
  [[nodiscard]] SysExMessage View() const noexcept { return { offset, size, data }; }
};
static_assert(sizeof(SysExRecord) == 520);

class IProcessor
{
public:
  // Main thread. Parses config.channelIO and makes one disconnected record per channel of the
  // widest layout in each direction.
  explicit IProcessor(const PluginConfig& config);
  IProcessor(const IProcessor&) = delete;
  IProcessor& operator=(const IProcessor&) = delete;

  // Virtual operations, in their fixed order.

  virtual ~IProcessor();
  // Audio thread. Default: output record i gets a copy of input record i, or silence where
  // there is no input record; it goes by records, connected or not.
  virtual void RenderBlock(double** inputs, double** outputs, int frames) noexcept;
  // Audio thread. Default: passes the message on to SendMidiMessage.
  virtual void ProcessMidiMessage(const MidiMessage& message) noexcept;
  // Audio thread. Default: nothing.
  virtual void ProcessSysEx(const SysExMessage& message) noexcept;
  // Main thread when the host activates the plug-in, audio thread when it resets it; never
  // during a block. Default: nothing.
  virtual void ResetProcessing();
  // Main thread; called with true when the host activates the plug-in. Default: nothing.
  virtual void OnActivate(bool active);
  // Audio thread. Queues a message for the host; false when it was dropped.
  [[nodiscard]] virtual bool SendMidiMessage(const MidiMessage& message) noexcept = 0;
  // Audio thread. SendMidiMessage for each message in order; true only if all were queued.
  virtual bool SendMidiMessages(std::span<const MidiMessage> messages) noexcept;
  // Audio thread. Default: false, nothing takes the message.
  virtual bool SendSysEx(const SysExMessage& message) noexcept;
  // Main thread. Names a bus for the host: "Input" (one bus), "Main"/"Aux" (two input buses),
  // "Input N", "Output" (one bus), "Output N" (N = busIndex).
  virtual void NameOfBus(ERoute direction, int busIndex, int busCount, FixedText<32>& text) const;
  // Stores the latency in frames; the binding's override also tells the host.
  virtual void UpdateLatency(int frames);
  // Stores the tail length in frames; the binding's override also tells the host.
  virtual void UpdateTailLength(int frames);

  // Any thread: pure functions of the record.

  // Reads layouts such as "1-1 2-2" (space-separated layouts; inputs "-" outputs; buses
  // separated by "."; "*" is a bus of kAnyChannelCount; a bus of 0 channels is no bus; a
  // layout without "-" has no output buses). Replaces `layouts`, sets the widest channel and
  // bus totals per direction and returns the number of layouts.
  static int ParseChannelLayouts(std::string_view channelIO, std::vector<ChannelLayout>& layouts, int& maxInputs,
                                 int& maxOutputs, int& maxInputBuses, int& maxOutputBuses);

  // Main thread, while the host activates the plug-in (never during a block).

  // Sizes every channel's scratch buffer to `frames` zeros when the size changes, and points
  // every channel at its own scratch buffer.
  void ApplyMaxBlockSize(int frames);
  void SetSampleRate(double rate) noexcept { sampleRate = rate; }
  // Written by the render extension on the main thread while blocks may run; read anywhere.
  void SetRenderingOffline(bool offline) noexcept { renderingOffline.store(offline, std::memory_order_release); }
  // Largest number of buses of `direction` over all layouts; *layoutIndex gets the last layout
  // with that many (0 when there are no layouts).
  [[nodiscard]] int MaxBusCount(ERoute direction, int* layoutIndex = nullptr) const noexcept;

  // Audio thread: no allocation, no lock. A frame count is cut to maxBlockSize (and to 0 when
  // negative): the bridge answers a block longer than announced with an error, and these never
  // touch memory beyond the scratch buffers.

  // Sets the connected flag of records first … min(first + count, records) − 1; a channel
  // that is disconnected points at its own scratch buffer.
  void ConnectChannels(ERoute direction, int first, int count, bool connected) noexcept;
  // Each connected input record in the range takes the next host buffer, converted into its
  // scratch buffer. Disconnected records take none; a null host buffer reads as silence.
  void AttachInputsConverting(int first, int count, const float* const* hostBuffers, int frames) noexcept;
  // Each connected output record in the range renders into its scratch buffer and remembers
  // the next host buffer for RenderConverting.
  void AttachOutputsConverting(int first, int count, float* const* hostBuffers) noexcept;
  // Each connected record in the range points straight at the next host buffer (its own
  // scratch buffer when that is null).
  void AttachDirect(ERoute direction, int first, int count, double* const* hostBuffers) noexcept;
  // RenderBlock over the scratch buffers, then each connected output back to its host buffer.
  void RenderConverting(int frames) noexcept;
  // RenderBlock over whatever the records point at.
  void RenderDirect(int frames) noexcept;
  [[nodiscard]] int CountConnected(ERoute direction) const noexcept;
  [[nodiscard]] bool IsConnected(ERoute direction, int channel) const noexcept;
  void SetTransport(const TransportInfo& info) noexcept { transport = info; }

  [[nodiscard]] int ChannelRecordCount(ERoute direction) const noexcept;
  [[nodiscard]] const std::vector<ChannelLayout>& Layouts() const noexcept { return layouts; }
  [[nodiscard]] double SampleRate() const noexcept { return sampleRate; }
  [[nodiscard]] int MaxBlockSize() const noexcept { return maxBlockSize; }
  [[nodiscard]] int Latency() const noexcept { return latency; }
  [[nodiscard]] int TailLength() const noexcept { return tailLength; }
  [[nodiscard]] bool RenderingOffline() const noexcept { return renderingOffline.load(std::memory_order_acquire); }
  [[nodiscard]] const TransportInfo& Transport() const noexcept { return transport; }

protected:
  int pluginKind = 0; // 1: instrument, for the binding's audio ports
  bool midiIn = false;
  bool midiOut = false;
  bool mpe = false;
  int latency = 0;             // frames
  double sampleRate = 48000.0; // set when the host activates the plug-in
  int maxBlockSize = 0;        // frames
  int tailLength = 0;          // frames
  // Writer: the render extension (main thread); readers: plug-in classes on any thread.
  std::atomic<bool> renderingOffline { false };
  std::vector<ChannelLayout> layouts;
  TransportInfo transport; // audio thread, filled per block

private:
  [[nodiscard]] std::vector<ProcessorChannel>& Channels(ERoute direction) noexcept;
  [[nodiscard]] const std::vector<ProcessorChannel>& Channels(ERoute direction) const noexcept;
  [[nodiscard]] int FramesWithinBlock(int frames) const noexcept;

  // What RenderBlock receives; sized once at construction, so the records' entry addresses
  // stay valid.
  std::vector<double*> inputPointers;
  std::vector<double*> outputPointers;
  std::vector<ProcessorChannel> inputChannels;
  std::vector<ProcessorChannel> outputChannels;
};

} // namespace kit
