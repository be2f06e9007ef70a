#include "binding/editor_delegate.h"

#include "framework/state_chunk.h"
// Only for the empty context the base answers; nothing of the graphics library is linked.
#include "graphics/draw_context.h"

#include <algorithm>
#include <cstdint>

namespace kit
{

IEditorDelegate::IEditorDelegate(int paramCount)
{
  params.reserve(std::size_t(std::max(paramCount, 0)));
  for (int i = 0; i < paramCount; ++i) params.push_back(std::make_unique<IParam>());
}

IEditorDelegate::~IEditorDelegate()
{
  while (!params.empty()) params.pop_back();
}

void* IEditorDelegate::OpenEditorWindow(void*)
{
  OnEditorOpened();
  return nullptr;
}

void IEditorDelegate::CloseEditorWindow()
{
  OnEditorClosed();
}

void IEditorDelegate::OnHostWindowResize(int, int) {}

void IEditorDelegate::OnEditorOpened()
{
  SendAllParamValuesToEditor();
}

void IEditorDelegate::OnEditorClosed() {}

void IEditorDelegate::OnParamValueChanged(int) {}

void IEditorDelegate::OnParamChange(int index, ChangeSource, int)
{
  OnParamValueChanged(index);
}

void IEditorDelegate::OnParamChangeEditor(int, ChangeSource) {}

void IEditorDelegate::OnAllParamsReset(ChangeSource source)
{
  for (int i = 0; i < NParams(); ++i)
  {
    OnParamChange(i, source, -1);
    OnParamChangeEditor(i, source);
  }
}

void IEditorDelegate::OnMidiForEditor(const MidiMessage&) {}

void IEditorDelegate::OnSysExForEditor(const SysExRecord&) {}

bool IEditorDelegate::OnDelegateMessage(int, int, int, const void*)
{
  return false;
}

void IEditorDelegate::OnStateRestored()
{
  SendAllParamValuesToEditor();
}

bool IEditorDelegate::ForwardKeyDown(const ui::IKeyEvent&)
{
  return false;
}

bool IEditorDelegate::ForwardKeyUp(const ui::IKeyEvent&)
{
  return false;
}

void IEditorDelegate::SendValueToControl(int, double) {}

void IEditorDelegate::SendPacketToControl(int controlTag, int messageTag, int size, const void* data)
{
  (void)OnDelegateMessage(messageTag, controlTag, size, data);
}

void IEditorDelegate::SendMessageToEditor(int messageTag, int size, const void* data)
{
  (void)OnDelegateMessage(messageTag, -1, size, data);
}

void IEditorDelegate::SendMidiToEditor(const MidiMessage& message)
{
  OnMidiForEditor(message);
}

void IEditorDelegate::SendSysExToEditor(const SysExRecord& record)
{
  OnSysExForEditor(record);
}

void IEditorDelegate::SendParamValueToEditor(int index, double, bool)
{
  if (!GetParam(index)) return;
  OnParamChangeEditor(index, ChangeSource::kEditorDelegate);
}

void IEditorDelegate::QueueAllParamsForHost() {}

void IEditorDelegate::BeginParamGestureFromEditor(int) {}

void IEditorDelegate::SetParamFromEditor(int index, double normalized)
{
  IParam* param = GetParam(index);
  if (!param) return;
  const double value = param->Conform(param->FromNormalized(normalized));
  param->Set(value);
  OnParamChange(index, ChangeSource::kUI, -1);
  // The hook may have moved the value; the editor's value stands.
  param->Set(value);
  OnParamChangeEditor(index, ChangeSource::kUI);
}

void IEditorDelegate::EndParamGestureFromEditor(int) {}

bool IEditorDelegate::ResizeHostViewFromEditor(int, int, bool)
{
  return true;
}

void IEditorDelegate::SendMidiFromEditor(const MidiMessage&) {}

void IEditorDelegate::SendSysExFromEditor(const SysExMessage&) {}

bool IEditorDelegate::SendMessageFromEditor(int, int, int, const void*)
{
  return false;
}

bool IEditorDelegate::ConstrainEditorSize(int& width, int& height) const
{
  const bool inside = width >= minWidth && width <= maxWidth && height >= minHeight && height <= maxHeight;
  if (inside) return true;
  width = std::clamp(width, minWidth, std::max(minWidth, maxWidth));
  height = std::clamp(height, minHeight, std::max(minHeight, maxHeight));
  return false;
}

bool IEditorDelegate::SerializeEditorSize(StateChunk&) const
{
  return false;
}

int IEditorDelegate::UnserializeEditorSize(const StateChunk&, int position)
{
  return position;
}

void IEditorDelegate::SetEditorScreenScale(float) {}

std::unique_ptr<ui::IDrawContext> IEditorDelegate::CreateEditorGraphics()
{
  return nullptr;
}

void IEditorDelegate::LayoutEditor(ui::IDrawContext&) {}

bool IEditorDelegate::StartDisplayTick(std::uint32_t, std::function<void()>)
{
  return false;
}

void IEditorDelegate::StopDisplayTick() {}

bool IEditorDelegate::WatchDescriptor(int, std::function<void()>)
{
  return false;
}

void IEditorDelegate::UnwatchDescriptor() {}

void IEditorDelegate::LogEditorProblem(std::string_view) {}

void IEditorDelegate::OnEditorWindowLost() {}

IParam* IEditorDelegate::GetParam(int index) noexcept
{
  return index >= 0 && index < NParams() ? params[std::size_t(index)].get() : nullptr;
}

const IParam* IEditorDelegate::GetParam(int index) const noexcept
{
  return index >= 0 && index < NParams() ? params[std::size_t(index)].get() : nullptr;
}

void IEditorDelegate::SendAllParamValuesToEditor()
{
  for (int i = 0; i < NParams(); ++i)
    SendParamValueToEditor(i, params[std::size_t(i)]->UnitFromRealClamped(params[std::size_t(i)]->Value()), true);
}

} // namespace kit
