// The meeting point of plug-in, host binding and editor: owns the parameter list and routes
// parameter values, gestures, MIDI and tagged analysis packets between them. Main thread,
// except OnParamChange and OnParamValueChanged, which run where the change happens.
#pragma once

#include "framework/param.h"
#include "framework/plugin_config.h"
#include "framework/processor.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace kit
{

namespace ui
{
class IDrawContext;
struct IKeyEvent;
} // namespace ui

class StateChunk;

class IEditorDelegate
{
public:
  // Creates paramCount blank parameters; the plug-in class sets them up.
  explicit IEditorDelegate(int paramCount);
  IEditorDelegate(const IEditorDelegate&) = delete;
  IEditorDelegate& operator=(const IEditorDelegate&) = delete;

  // Virtual operations, in their fixed order.

  virtual ~IEditorDelegate();
  // The platform window of the opened editor, or null when none could be made.
  [[nodiscard]] virtual void* OpenEditorWindow(void* parent);
  virtual void CloseEditorWindow();
  virtual void OnHostWindowResize(int widthPixels, int heightPixels);
  virtual void OnEditorOpened();
  virtual void OnEditorClosed();
  // Any thread: the one that changed the parameter.
  virtual void OnParamValueChanged(int index);
  // Any thread: the one that changed the parameter. sampleOffset is -1 outside a block.
  virtual void OnParamChange(int index, ChangeSource source, int sampleOffset);
  virtual void OnParamChangeEditor(int index, ChangeSource source);
  // Announces every parameter in index order, OnParamChange then OnParamChangeEditor; on the
  // thread that activates or restores.
  virtual void OnAllParamsReset(ChangeSource source);
  virtual void OnMidiForEditor(const MidiMessage& message);
  virtual void OnSysExForEditor(const SysExRecord& record);
  [[nodiscard]] virtual bool OnDelegateMessage(int messageTag, int controlTag, int size, const void* data);
  virtual void OnStateRestored();
  [[nodiscard]] virtual bool ForwardKeyDown(const ui::IKeyEvent& key);
  [[nodiscard]] virtual bool ForwardKeyUp(const ui::IKeyEvent& key);
  virtual void SendValueToControl(int controlTag, double normalized);
  virtual void SendPacketToControl(int controlTag, int messageTag, int size, const void* data);
  virtual void SendMessageToEditor(int messageTag, int size, const void* data);
  virtual void SendMidiToEditor(const MidiMessage& message);
  virtual void SendSysExToEditor(const SysExRecord& record);
  virtual void SendParamValueToEditor(int index, double value, bool normalized);
  virtual void QueueAllParamsForHost();
  virtual void BeginParamGestureFromEditor(int index);
  virtual void SetParamFromEditor(int index, double normalized);
  virtual void EndParamGestureFromEditor(int index);
  [[nodiscard]] virtual bool ResizeHostViewFromEditor(int widthPixels, int heightPixels, bool resizeHost);
  virtual void SendMidiFromEditor(const MidiMessage& message);
  virtual void SendSysExFromEditor(const SysExMessage& message);
  [[nodiscard]] virtual bool SendMessageFromEditor(int messageTag, int controlTag, int size, const void* data);
  // True when both lie within the limits; otherwise clamps both and answers false.
  [[nodiscard]] virtual bool ConstrainEditorSize(int& width, int& height) const;
  [[nodiscard]] virtual bool SerializeEditorSize(StateChunk& chunk) const;
  // The position after width, height and draw scale, or -1 when the chunk ends before.
  [[nodiscard]] virtual int UnserializeEditorSize(const StateChunk& chunk, int position);
  virtual void SetEditorScreenScale(float scale);
  // A new editor context, not yet open; null when the plug-in has none.
  [[nodiscard]] virtual std::unique_ptr<ui::IDrawContext> CreateEditorGraphics();
  // Fills a newly opened editor with its controls; the window calls it once it exists.
  virtual void LayoutEditor(ui::IDrawContext& graphics);
  // The open editor window's services from the host, main thread. The display tick runs tick
  // on the main thread every intervalMs until stopped; false when it cannot run.
  [[nodiscard]] virtual bool StartDisplayTick(std::uint32_t intervalMs, std::function<void()> tick);
  virtual void StopDisplayTick();
  // Runs onReadable on the main thread whenever fd has input, until unwatched; false when the
  // host cannot watch descriptors, and the window then drains its input on each tick.
  [[nodiscard]] virtual bool WatchDescriptor(int fd, std::function<void()> onReadable);
  virtual void UnwatchDescriptor();
  // One line for the host's log about a window that cannot be made or was lost.
  virtual void LogEditorProblem(std::string_view text);
  // The open window can never show again (its connection is gone): the editor is to be closed
  // on the main thread once the window's own call has returned.
  virtual void OnEditorWindowLost();

  // Parameters; null for an index outside 0 … count - 1.
  [[nodiscard]] int NParams() const noexcept { return int(params.size()); }
  [[nodiscard]] IParam* GetParam(int index) noexcept;
  [[nodiscard]] const IParam* GetParam(int index) const noexcept;

  [[nodiscard]] int EditorWidth() const noexcept { return editorWidth; }
  [[nodiscard]] int EditorHeight() const noexcept { return editorHeight; }

protected:
  // Every parameter at once, normalised, in index order.
  void SendAllParamValuesToEditor();

  std::vector<std::unique_ptr<IParam>> params;
  int editorWidth = 0; // logical units
  int editorHeight = 0;
  int minWidth = 10;
  int maxWidth = 100000;
  int minHeight = 10;
  int maxHeight = 100000;
};

} // namespace kit
