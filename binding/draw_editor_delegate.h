// The editor side of the delegate: keeps the editor's size and zoom between openings and
// routes values and packets to the editor's controls while an editor exists. Main thread.
// Until a graphics context exists every control-bound route ends here, as with a closed
// editor; the plug-in's own editor-side reactions still run.
#pragma once

#include "binding/editor_delegate.h"

namespace kit
{

class IDrawEditorDelegate : public IEditorDelegate
{
public:
  explicit IDrawEditorDelegate(int paramCount);

  // Runs the close sequence first, so the plug-in hears OnEditorClosed before every opening.
  [[nodiscard]] void* OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override;
  void SendParamValueToEditor(int index, double value, bool normalized) override;
  [[nodiscard]] bool SerializeEditorSize(StateChunk& chunk) const override;
  [[nodiscard]] int UnserializeEditorSize(const StateChunk& chunk, int position) override;

  [[nodiscard]] int SavedWidth() const noexcept { return savedWidth; }
  [[nodiscard]] int SavedHeight() const noexcept { return savedHeight; }
  [[nodiscard]] float SavedDrawScale() const noexcept { return savedDrawScale; }

private:
  void CloseSequence();

  int savedWidth = 0; // logical units, when the editor last closed
  int savedHeight = 0;
  float savedDrawScale = 1.0f;
  bool closing = false; // the close sequence is running
};

} // namespace kit
