// The part of the plug-in that knows it runs in a host: the construction record's identity
// and editor limits, who the host is, the lock-free rings between the audio thread and the
// editor, and the main-thread timer tick that drains them. Main thread unless noted.
#pragma once

#include "binding/timer.h"
#include "framework/fixed_text.h"
#include "framework/plugin_base.h"
#include "framework/spsc_ring.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace kit
{

// A host parameter value on its way to the editor, in real units.
struct EditorParamEntry
{
  std::int32_t index = 0;
  double value = 0.0;
};

class IHostBase : public IPluginBase
{
public:
  static constexpr int kApiClap = 8;
  using EditorParamQueue = SpscRing<EditorParamEntry, 513>;
  using MidiQueue = SpscRing<MidiMessage, 33>;
  using SysExQueue = SpscRing<SysExRecord, 5>;

  IHostBase(const PluginConfig& config, int apiKind);
  ~IHostBase() override;

  // Records the host and identifies it; version is major × 65536 + minor × 256 + patch.
  void SetHost(std::string_view name, std::int32_t version);
  // The host table's code for a name (case-insensitive substring keys), 0 when none matches.
  [[nodiscard]] static int IdentifyHost(std::string_view name) noexcept;

  // One timer tick: hands the host's parameter values, MIDI and SysEx queued so far to the
  // editor side (when the plug-in has an editor), then runs OnIdleTick.
  void OnHostTimer();

  // Overrides of the delegate that route editor traffic towards the host.
  void QueueAllParamsForHost() override;
  void BeginParamGestureFromEditor(int index) override;
  // Sets the parameter as the delegate does, and queues the value for the host before the
  // change hooks run.
  void SetParamFromEditor(int index, double normalized) override;
  void EndParamGestureFromEditor(int index) override;
  [[nodiscard]] bool ResizeHostViewFromEditor(int widthPixels, int heightPixels, bool resizeHost) override;
  void SendMidiFromEditor(const MidiMessage& message) override;
  void SendSysExFromEditor(const SysExMessage& message) override;
  [[nodiscard]] bool SendMessageFromEditor(int messageTag, int controlTag, int size, const void* data) override;

  // Virtual operations that IHostBase adds, in their fixed order.

  // Runs at the end of SetHost, for host-specific set-up.
  virtual void OnHostIdentified();
  // Runs at the end of every timer tick.
  virtual void OnIdleTick();
  // Audio thread. Puts a host value on the ring towards the editor; dropped when full.
  virtual void QueueParamForEditor(int index, double value, bool normalized) noexcept;
  // A line for the plug-in's own diagnostics; formatted text.
  virtual void OnHostMessage(std::string_view text);
  [[nodiscard]] virtual bool RequestEditorResize(int widthPixels, int heightPixels);
  virtual void QueueHostGestureBegin(int index);
  virtual void QueueHostGestureEnd(int index);
  virtual void QueueHostParamValue(int index, double normalized);

  [[nodiscard]] std::string_view HostName() const noexcept { return hostName.View(); }
  [[nodiscard]] int HostCode() const noexcept { return hostCode; }
  [[nodiscard]] std::int32_t HostVersion() const noexcept { return hostVersion; }
  [[nodiscard]] int ApiKind() const noexcept { return apiKind; }
  [[nodiscard]] bool HasEditor() const noexcept { return hasEditor; }
  [[nodiscard]] bool HostMayResize() const noexcept { return hostMayResize; }
  [[nodiscard]] std::string_view PluginName() const noexcept { return pluginName.View(); }
  [[nodiscard]] std::int32_t VendorVersion() const noexcept { return vendorVersion; }

protected:
  FixedText<256> pluginName;
  FixedText<256> productName;
  FixedText<256> makerName;
  std::int32_t uniqueId = 0;
  std::int32_t makerId = 0;
  std::int32_t vendorVersion = 0;
  bool hasEditor = false;
  bool hostMayResize = false;
  bool reservedFlag = false;
  FixedText<256> primaryIdentifier;
  FixedText<256> secondaryIdentifier;
  int apiKind = 0;
  FixedText<256> hostName;
  int hostCode = -1;
  std::int32_t hostVersion = 0;

  // Producer: the audio thread; consumer: the timer tick.
  EditorParamQueue editorParamQueue;
  MidiQueue midiToEditor;
  SysExQueue sysExToEditor;
  // Producer: the editor; consumer: the audio thread.
  MidiQueue midiFromEditor;
  SysExQueue sysExFromEditor;

  // Made and stopped by the binding: started once the host may be called, stopped before
  // anything it reaches goes away.
  std::unique_ptr<Timer> timer;
};

} // namespace kit
