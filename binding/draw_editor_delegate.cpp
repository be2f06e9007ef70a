#include "binding/draw_editor_delegate.h"

#include "framework/state_chunk.h"

#include <cstdint>
#include <cstring>

namespace kit
{

IDrawEditorDelegate::IDrawEditorDelegate(int paramCount)
    : IEditorDelegate(paramCount)
{
}

void* IDrawEditorDelegate::OpenEditorWindow(void*)
{
  CloseSequence();
  return nullptr;
}

void IDrawEditorDelegate::CloseEditorWindow()
{
  CloseSequence();
}

void IDrawEditorDelegate::SendParamValueToEditor(int index, double, bool)
{
  if (!GetParam(index)) return;
  OnParamChangeEditor(index, ChangeSource::kEditorDelegate);
}

bool IDrawEditorDelegate::SerializeEditorSize(StateChunk& chunk) const
{
  const int before = chunk.Size();
  const std::int32_t width = savedWidth;
  const std::int32_t height = savedHeight;
  const float scale = savedDrawScale;
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
  savedWidth = width;
  savedHeight = height;
  savedDrawScale = scale;
  return next;
}

void IDrawEditorDelegate::CloseSequence()
{
  if (closing) return;
  closing = true;
  OnEditorClosed();
  closing = false;
}

} // namespace kit
