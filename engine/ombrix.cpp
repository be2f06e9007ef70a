#include "engine/ombrix.h"

#include "editor/fft.h"
#include "editor/ombrix_layout.h"
#include "engine/ombrix_params.h"
#include "graphics/draw_context.h"
#include "graphics/platform/platform_draw_context.h"

#include <algorithm>
#include <random>

namespace kit::ui
{

static_assert(kSignalGraphTag == DitherProcessor::kTagSignalGraph &&
              kNoiseGraphTag == DitherProcessor::kTagNoiseGraph && kMeterTag == DitherProcessor::kTagMeter);

PluginConfig Ombrix::Config() noexcept
{
  PluginConfig config;
  config.paramCount = kOmbrixParamCount;
  config.presetCount = 1;
  config.channelIO = "1-1 2-2";
  config.pluginName = "Ombrix";
  config.productName = "Ombrix";
  config.makerName = "Felgard";
  config.version = 0x00040100;
  config.pluginId = PackFourCharCode("Ombx");
  config.makerId = PackFourCharCode("Fgrd");
  config.latency = 0;
  config.midiIn = false;
  config.midiOut = false;
  config.mpe = false;
  config.reservedFlag = false;
  config.pluginKind = 0;
  config.hasEditor = true;
  config.editorWidth = 500;
  config.editorHeight = 525;
  config.minWidth = 166;
  config.maxWidth = 1500;
  config.minHeight = 175;
  config.maxHeight = 1575;
  config.hostMayResize = false;
  return config;
}

Ombrix::Ombrix(const PluginCreateInfo& info)
    : Ombrix(info, std::random_device {}())
{
}

Ombrix::Ombrix(const PluginCreateInfo& info, std::uint32_t seed)
    : Plugin(Config(), info)
    , processor(*GetParam(kParamPsychoacousticPower), *GetParam(kParamTargetBits), seed)
{
  // The spectrum graphs' transform tables exist before any editor can.
  BuildFftTables();
  SetupOmbrixParams(*GetParam(kParamDither), *GetParam(kParamPsychoacousticPower), *GetParam(kParamTargetBits),
                    *GetParam(kParamShowGraph));
  FillDefaultPresets(nullptr, 1);
  SetEditorGraphicsFactory(
      [this]
      { return MakePlatformDrawContext(*this, EditorWidth(), EditorHeight(), kOmbrixEditorFps, SavedOmbrixZoom()); });
  SetEditorLayoutFunction([](IDrawContext& editor) { LayoutOmbrixEditor(editor, VersionText(Config().version)); });
}

void Ombrix::RenderBlock(double** inputs, double** outputs, int frames) noexcept
{
  const int connectedInputs = CountConnected(kInput);
  processor.RenderBlock(inputs, outputs, frames, connectedInputs);
  // Outputs without an input to requantise carry silence.
  const int processed = std::min(connectedInputs, DitherProcessor::kMaxChannels);
  for (int c = processed; c < ChannelRecordCount(kOutput); ++c)
    if (IsConnected(kOutput, c)) std::fill_n(outputs[c], std::max(frames, 0), 0.0);
}

void Ombrix::ResetProcessing()
{
  processor.ResetProcessing(SampleRate(), MaxBlockSize());
}

void Ombrix::OnParamValueChanged(int index)
{
  if (index == kParamDither) processor.SetDitherOn(GetParam(kParamDither)->Value() >= 0.5);
  // The grid follows automation from the next block on; the shaping follows on the tick.
  if (index == kParamTargetBits) processor.SetTargetBits(GetParam(kParamTargetBits)->Value());
}

void Ombrix::OnParamChangeEditor(int index, ChangeSource)
{
  if (index == kParamPsychoacousticPower || index == kParamTargetBits) processor.DesignShapingFilter();
  if (index == kParamShowGraph && EditorGraphics())
    ShowOmbrixAnalysis(*EditorGraphics(), GetParam(kParamShowGraph)->Value() >= 0.5);
}

void Ombrix::OnEditorClosed()
{
  if (EditorGraphics()) SaveOmbrixZoom(*EditorGraphics());
}

void Ombrix::OnIdleTick()
{
  // A power change whose editor-side entry was dropped from a full ring is caught here.
  (void)processor.RedesignIfStale();
  processor.TransmitPackets(*this);
}

} // namespace kit::ui
