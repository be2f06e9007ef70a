#include "editor/ombrix_layout.h"

#include "editor/background_switch_control.h"
#include "editor/caption_control.h"
#include "editor/display_scale_file.h"
#include "editor/grid_control.h"
#include "editor/knob_control.h"
#include "editor/meter_control.h"
#include "editor/ombrix_graph.h"
#include "editor/scale_corner_control.h"
#include "editor/text_control.h"
#include "engine/ombrix_params.h"
#include "graphics/control.h"
#include "graphics/draw_context.h"

#include <algorithm>
#include <vector>

namespace kit::ui
{

namespace
{

constexpr std::string_view kProductName = "Ombrix";

ITextStyle MakeStyle(float size, const IRgba& colour, EAlign align)
{
  ITextStyle style;
  style.SetFont("Roboto-Regular");
  style.size = size;
  style.colour = colour;
  style.entryBackground = IRgba(0, 0, 0, 0);
  style.entryForeground = IRgba(0, 0, 0, 0);
  style.angle = 0.0f;
  style.align = align;
  style.valign = EVAlign::kMiddle;
  return style;
}

// One frame of the picture placed with its top-left corner at (left, top).
IBounds FrameAt(float left, float top, const IBitmapRef& bitmap)
{
  return IBounds(left, top, left + float(bitmap.FrameWidth()), top + float(bitmap.FrameHeight()));
}

} // namespace

float SavedOmbrixZoom()
{
  float saved = 0.0f;
  return ReadSavedScale(kProductName, saved) ? std::clamp(saved, IDrawContext::kMinScale, IDrawContext::kMaxScale)
                                             : 1.0f;
}

void LayoutOmbrixEditor(IDrawContext& graphics, std::string_view versionText)
{
  graphics.EnableHover(true);
  (void)graphics.LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf");
  const IBitmapRef background = graphics.LoadBitmapByName("bg.png", 2, false, 0);
  const IBitmapRef knobLine = graphics.LoadBitmapByName("knob_line.png", 1, false, 0);
  const IBitmapRef lampCover = graphics.LoadBitmapByName("display_button.png", 2, false, 0);

  const ITextStyle captionStyle = MakeStyle(12.0f, IRgba(255, 255, 255, 255), EAlign::kCenter);
  const ITextStyle versionStyle = MakeStyle(13.0f, IRgba(255, 120, 120, 120), EAlign::kFar);
  const ITextStyle cornerStyle = MakeStyle(12.0f, IRgba(255, 255, 255, 255), EAlign::kCenter);
  const IRgba clear(0, 0, 0, 0);
  const IBounds screen(86.0f, 80.0f, 434.0f, 345.0f);

  auto panel = std::make_unique<BackgroundSwitchControl>(IBounds(0.0f, 0.0f, 500.0f, 525.0f), background, kParamDither);
  panel->SetHitArea(IBounds(180.0f, 445.0f, 215.0f, 475.0f));
  graphics.AddControl(std::move(panel));

  graphics.AddControl(std::make_unique<OmbrixGraph>(screen, 8192.0f, false), kNoiseGraphTag);
  graphics.AddControl(std::make_unique<OmbrixGraph>(screen, 3.0f, true), kSignalGraphTag);

  auto grid = std::make_unique<GridControl>(screen);
  grid->SetLineColour(IRgba(255, 128, 128, 128));
  graphics.AddControl(std::move(grid));

  auto meter = std::make_unique<MeterControl>(IBounds(50.0f, 462.0f, 162.0f, 469.0f));
  meter->SetBarColour(IRgba(255, 255, 255, 255));
  meter->SetLevel(0.0);
  graphics.AddControl(std::move(meter), kMeterTag);

  auto lamp = std::make_unique<BackgroundSwitchControl>(FrameAt(240.0f, 462.0f, lampCover), lampCover, kParamShowGraph);
  lamp->SetHitArea(IBounds(232.0f, 454.0f, 256.0f, 478.0f));
  graphics.AddControl(std::move(lamp));

  graphics.AddControl(std::make_unique<IBKnobRotaterControl>(FrameAt(345.0f, 414.0f, knobLine), knobLine,
                                                             kParamPsychoacousticPower, 0, 4.0));
  graphics.AddControl(std::make_unique<ICaptionControl>(IBounds(350.0f, 460.0f, 370.0f, 470.0f),
                                                        kParamPsychoacousticPower, captionStyle, clear, true));
  graphics.AddControl(
      std::make_unique<IBKnobRotaterControl>(FrameAt(412.0f, 414.0f, knobLine), knobLine, kParamTargetBits, 0, 4.0));
  graphics.AddControl(std::make_unique<ICaptionControl>(IBounds(417.0f, 460.0f, 437.0f, 470.0f), kParamTargetBits,
                                                        captionStyle, clear, true));
  graphics.AddControl(
      std::make_unique<ITextControl>(IBounds(384.0f, 490.0f, 458.0f, 502.0f), versionText, versionStyle, clear, false));
  graphics.AddControl(std::make_unique<IRasterScaleCornerDragControl>(
      IBounds(0.0f, 0.0f, float(graphics.Width()), float(graphics.Height())), 20.0f,
      std::vector<float> { 1.0f, 1.25f, 1.5f, 1.75f, 2.0f }, IRgba(10, 0, 0, 0), IRgba(255, 0, 0, 0),
      IRgba(255, 0, 0, 0), cornerStyle));
}

void ShowOmbrixAnalysis(IDrawContext& graphics, bool show)
{
  for (const int tag : { kSignalGraphTag, kNoiseGraphTag, kMeterTag })
    if (IControl* control = graphics.ControlWithTag(tag)) control->SetHidden(!show);
}

void SaveOmbrixZoom(const IDrawContext& graphics)
{
  (void)WriteSavedScale(kProductName, graphics.DrawScale());
}

} // namespace kit::ui
