#include "binding/draw_editor_delegate.h"

#include "framework/state_chunk.h"
#include "graphics/control.h"
#include "graphics/draw_context.h"

#include <cstdint>
#include <cstring>

namespace kit
{

IDrawEditorDelegate::IDrawEditorDelegate(int paramCount)
    : IEditorDelegate(paramCount)
{
}

IDrawEditorDelegate::~IDrawEditorDelegate()
{
  DeleteEditorGraphics();
  layoutFunction = nullptr;
  graphicsFactory = nullptr;
}

void* IDrawEditorDelegate::OpenEditorWindow(void* parent)
{
  CloseSequence();
  if (!graphics)
  {
    graphics = CreateEditorGraphics();
    if (graphics && savedWidth != 0 && savedHeight != 0 && savedDrawScale != 0.0f)
      graphics->ApplySize(savedWidth, savedHeight, savedDrawScale, true);
  }
  if (!graphics) return nullptr;
  void* window = graphics->OpenWindow(parent);
  // A context whose window cannot open is not an editor: the next opening starts afresh.
  if (!window) graphics.reset();
  return window;
}

void IDrawEditorDelegate::CloseEditorWindow()
{
  CloseSequence();
}

void IDrawEditorDelegate::OnHostWindowResize(int widthPixels, int heightPixels)
{
  if (!graphics) return;
  const float windowScale = graphics->ScreenScale();
  graphics->ApplySize(int(float(widthPixels) / windowScale), int(float(heightPixels) / windowScale), 1.0f, false);
}

bool IDrawEditorDelegate::ForwardKeyDown(const ui::IKeyEvent& key)
{
  return ForwardKey(key, true);
}

bool IDrawEditorDelegate::ForwardKeyUp(const ui::IKeyEvent& key)
{
  return ForwardKey(key, false);
}

void IDrawEditorDelegate::SendValueToControl(int controlTag, double normalized)
{
  if (!graphics) return;
  if (ui::IControl* control = graphics->ControlWithTag(controlTag)) control->ApplyHostValue(normalized, 0);
}

void IDrawEditorDelegate::SendPacketToControl(int controlTag, int messageTag, int size, const void* data)
{
  if (!graphics) return;
  if (ui::IControl* control = graphics->ControlWithTag(controlTag)) control->ReceivePacket(messageTag, size, data);
}

void IDrawEditorDelegate::SendMidiToEditor(const MidiMessage& message)
{
  if (graphics)
    graphics->ForEachControl(
        [&message](ui::IControl& control)
        {
          if (control.WantsMidi()) control.ReceiveMidi(message);
        });
  OnMidiForEditor(message);
}

void IDrawEditorDelegate::SendParamValueToEditor(int index, double value, bool normalized)
{
  const IParam* param = GetParam(index);
  if (!param) return;
  if (graphics)
  {
    const double unit = normalized ? value : param->UnitFromRealClamped(value);
    graphics->ForEachControl(
        [index, unit](ui::IControl& control)
        {
          for (int slot = 0; slot < control.NumValues(); ++slot)
            if (control.ParamIndexOf(slot) == index) control.ApplyHostValue(unit, slot);
        });
  }
  OnParamChangeEditor(index, ChangeSource::kEditorDelegate);
}

bool IDrawEditorDelegate::SerializeEditorSize(StateChunk& chunk) const
{
  const int before = chunk.Size();
  const std::int32_t width = graphics ? graphics->Width() : savedWidth;
  const std::int32_t height = graphics ? graphics->Height() : savedHeight;
  const float scale = graphics ? graphics->DrawScale() : savedDrawScale;
  const bool appended = chunk.Append(&width, 4) && chunk.Append(&height, 4) && chunk.Append(&scale, 4);
  return appended && chunk.Size() > before;
}

int IDrawEditorDelegate::UnserializeEditorSize(const StateChunk& chunk, int position)
{
  std::int32_t width = 0;
  std::int32_t height = 0;
  float scale = 0.0f;
  int next = chunk.Read(&width, 4, position);
  if (next >= 0) next = chunk.Read(&height, 4, next);
  if (next >= 0) next = chunk.Read(&scale, 4, next);
  if (!graphics)
  {
    savedWidth = width;
    savedHeight = height;
    savedDrawScale = scale;
  }
  else if (width != 0 && height != 0 && scale != 0.0f)
    graphics->ApplySize(width, height, scale, true);
  return next;
}

void IDrawEditorDelegate::SetEditorScreenScale(float scale)
{
  if (graphics) graphics->ApplyScreenScale(scale);
}

std::unique_ptr<ui::IDrawContext> IDrawEditorDelegate::CreateEditorGraphics()
{
  return graphicsFactory ? graphicsFactory() : nullptr;
}

void IDrawEditorDelegate::LayoutEditor(ui::IDrawContext& drawContext)
{
  if (layoutFunction) layoutFunction(drawContext);
}

void IDrawEditorDelegate::DeleteEditorGraphics() noexcept
{
  graphics.reset();
}

bool IDrawEditorDelegate::ForwardKey(const ui::IKeyEvent& key, bool down)
{
  if (!graphics) return false;
  // Keys go to the control under the pointer; where it cannot be read, where it was last seen.
  float x = graphics->LastPointerX();
  float y = graphics->LastPointerY();
  (void)graphics->GetPointerPosition(x, y);
  return down ? graphics->OnKeyDown(x, y, key) : graphics->OnKeyUp(x, y, key);
}

void IDrawEditorDelegate::CloseSequence()
{
  if (closing) return;
  closing = true;
  OnEditorClosed();
  if (graphics)
  {
    savedWidth = graphics->Width();
    savedHeight = graphics->Height();
    savedDrawScale = graphics->DrawScale();
    graphics->CloseWindow();
    graphics.reset();
  }
  closing = false;
}

} // namespace kit
