// Ombrix, the plug-in class the factory creates: its construction record, its four
// parameters and the dither engine it owns. Reacts to parameter changes on the thread that
// makes them and forwards analysis packets to the editor on every main-thread tick.
#pragma once

#include "binding/plugin.h"
#include "engine/dither_processor.h"

namespace kit::ui
{

class Ombrix final : public Plugin
{
public:
  // Seeds the dither from the platform's random source.
  explicit Ombrix(const PluginCreateInfo& info);
  // The same with a fixed dither seed, so that tests reproduce the output bit for bit.
  Ombrix(const PluginCreateInfo& info, std::uint32_t seed);

  // The construction record of this plug-in.
  [[nodiscard]] static PluginConfig Config() noexcept;

  // Audio thread.
  void RenderBlock(double** inputs, double** outputs, int frames) noexcept override;
  // Main thread at activation, audio thread when the host resets.
  void ResetProcessing() override;
  // Any thread: the one that changed the parameter. Touches only atomics.
  void OnParamValueChanged(int index) override;
  void OnParamChangeEditor(int index, ChangeSource source) override;
  void OnIdleTick() override;
  // Keeps the editor's zoom for the next session.
  void OnEditorClosed() override;

  [[nodiscard]] const DitherProcessor& Processor() const noexcept { return processor; }

private:
  DitherProcessor processor;
};

} // namespace kit::ui
