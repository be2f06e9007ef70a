// The editor side of the delegate: owns the editor's drawing context while an editor exists,
// creates and lays it out through the plug-in's two callbacks, keeps its size and zoom between
// openings, and routes host values, packets and MIDI to its controls. Main thread. Without a
// context every control-bound route ends here, as with a closed editor; the plug-in's own
// editor-side reactions still run.
#pragma once

#include "binding/editor_delegate.h"

#include <functional>
#include <memory>

namespace kit
{

class IDrawEditorDelegate : public IEditorDelegate
{
public:
  using GraphicsFactory = std::function<std::unique_ptr<ui::IDrawContext>()>;
  using LayoutFunction = std::function<void(ui::IDrawContext&)>;

  explicit IDrawEditorDelegate(int paramCount);
  // Deletes a context still alive, without the close sequence.
  ~IDrawEditorDelegate() override;

  // Runs the close sequence first, so the plug-in hears OnEditorClosed before every opening.
  [[nodiscard]] void* OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override;
  // The host resized its window to these pixels: the editor takes that size at zoom 1.
  void OnHostWindowResize(int widthPixels, int heightPixels) override;
  [[nodiscard]] bool ForwardKeyDown(const ui::IKeyEvent& key) override;
  [[nodiscard]] bool ForwardKeyUp(const ui::IKeyEvent& key) override;
  void SendValueToControl(int controlTag, double normalized) override;
  void SendPacketToControl(int controlTag, int messageTag, int size, const void* data) override;
  void SendMidiToEditor(const MidiMessage& message) override;
  void SendParamValueToEditor(int index, double value, bool normalized) override;
  [[nodiscard]] bool SerializeEditorSize(StateChunk& chunk) const override;
  [[nodiscard]] int UnserializeEditorSize(const StateChunk& chunk, int position) override;
  void SetEditorScreenScale(float scale) override;
  [[nodiscard]] std::unique_ptr<ui::IDrawContext> CreateEditorGraphics() override;
  void LayoutEditor(ui::IDrawContext& graphics) override;

  // The plug-in class hands these over at its construction.
  void SetEditorGraphicsFactory(GraphicsFactory factory) { graphicsFactory = std::move(factory); }
  void SetEditorLayoutFunction(LayoutFunction function) { layoutFunction = std::move(function); }

  // The open editor's context, or null.
  [[nodiscard]] ui::IDrawContext* EditorGraphics() const noexcept { return graphics.get(); }
  // Deletes a context still alive, without the close sequence: the plug-in's destruction
  // calls it first, while everything the controls may reach still exists.
  void DeleteEditorGraphics() noexcept;

  [[nodiscard]] int SavedWidth() const noexcept { return savedWidth; }
  [[nodiscard]] int SavedHeight() const noexcept { return savedHeight; }
  [[nodiscard]] float SavedDrawScale() const noexcept { return savedDrawScale; }

private:
  [[nodiscard]] bool ForwardKey(const ui::IKeyEvent& key, bool down);
  void CloseSequence();

  GraphicsFactory graphicsFactory;
  LayoutFunction layoutFunction;
  std::unique_ptr<ui::IDrawContext> graphics;
  int savedWidth = 0; // logical units, when the editor last closed
  int savedHeight = 0;
  float savedDrawScale = 1.0f;
  bool closing = false; // the close sequence is running
};

} // namespace kit
