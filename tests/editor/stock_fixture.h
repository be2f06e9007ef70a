#pragma once
// What the tests of the stock controls drive: a delegate with the plug-in's four parameters
// (empty labels, as the plug-in has them) plus an enumeration and a continuous labelled one,
// and a headless editor over it that is fed pointer events the way a window feeds them: each
// event's position becomes the pointer's last position before the dispatch sees it.

#include "engine/ombrix_params.h"
#include "graphics/platform/draw_context_headless.h"
#include "support/recording_draw_context.h"
#include "tests/graphics/cairo_test_support.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace kit::ui::test
{

using kit::test::Num;
using kit::test::Pixel;

// Parameter indices of StockParams: the plug-in's own four first.
inline constexpr int kDither = kParamDither;             // bool "off"/"on", default off
inline constexpr int kPower = kParamPsychoacousticPower; // int 0 … 12, 0 shown as "off", default 9
inline constexpr int kBits = kParamTargetBits;           // int 6 … 32, default 16
inline constexpr int kGraph = kParamShowGraph;           // bool "off"/"on", default on
inline constexpr int kShape = kOmbrixParamCount;         // enum of three named shapes, default 1 ("Gentle")
inline constexpr int kMix = 5;                           // continuous 0 … 1, two decimals, label "%", default 0.5
inline constexpr int kParamCount = 6;
inline constexpr int kMissingParam = 42;

class StockParams : public kit::test::RecordingDelegate
{
public:
  StockParams()
      : RecordingDelegate(kParamCount)
  {
    SetupOmbrixParams(*GetParam(kDither), *GetParam(kPower), *GetParam(kBits), *GetParam(kGraph));
    GetParam(kShape)->SetupEnum("Shape", 1, 3, "", 0, "", { "Flat", "Gentle", "Steep" });
    GetParam(kMix)->SetupDouble("Mix", 0.5, 0.0, 1.0, 0.01, "%");
  }

  [[nodiscard]] double Real(int index) const { return GetParam(index)->Value(); }
  [[nodiscard]] double Unit(int index) const { return GetParam(index)->ToNormalized(Real(index)); }
};

inline IPointerMods Left()
{
  IPointerMods mods;
  mods.L = true;
  return mods;
}

inline IPointerMods LeftWithShift()
{
  IPointerMods mods = Left();
  mods.S = true;
  return mods;
}

inline IPointerMods LeftWithControl()
{
  IPointerMods mods = Left();
  mods.C = true;
  return mods;
}

// A headless editor of 500 × 525 points, opened, with the caption font loaded.
struct StockEditor
{
  StockParams params;
  std::unique_ptr<IDrawContextHeadless> graphics;

  explicit StockEditor(float zoom = 1.0f, float density = 1.0f)
  {
    graphics = std::make_unique<IDrawContextHeadless>(params, 500, 525, 60, zoom);
    graphics->SetDisplayDensity(density);
    static_cast<void>(graphics->OpenWindow(nullptr));
    static_cast<void>(graphics->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  }

  template <class Control>
  Control& Add(std::unique_ptr<Control> control)
  {
    return *static_cast<Control*>(graphics->AddControl(std::move(control)));
  }

  void Press(float x, float y, IPointerMods mods = Left())
  {
    graphics->SetLastPointer(x, y);
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 0, 0, mods } };
    graphics->OnPointerDown(events);
  }
  void Drag(float x, float y, float dX, float dY, IPointerMods mods = Left())
  {
    graphics->SetLastPointer(x, y);
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, dX, dY, mods } };
    graphics->OnPointerDrag(events);
  }
  void Release(float x, float y, IPointerMods mods = Left())
  {
    graphics->SetLastPointer(x, y);
    const std::array<IPointerEvent, 1> events { IPointerEvent { x, y, 0, 0, mods } };
    graphics->OnPointerUp(events);
  }
  void Click(float x, float y, IPointerMods mods = Left())
  {
    Press(x, y, mods);
    Release(x, y, mods);
  }
  // Press at (x, y), move by (dX, dY) in `samples` equal steps, release where the pointer is.
  void DragBy(float x, float y, float dX, float dY, int samples, IPointerMods mods = Left())
  {
    Press(x, y, mods);
    const float stepX = dX / float(samples);
    const float stepY = dY / float(samples);
    for (int i = 1; i <= samples; ++i) Drag(x + stepX * float(i), y + stepY * float(i), stepX, stepY, mods);
    Release(x + dX, y + dY, mods);
  }

  [[nodiscard]] Pixel At(int x, int y) const { return kit::test::PixelAt(*graphics, x, y); }
};

// The 24 bytes of a PNG file up to its size: enough for the recording context's fake pictures.
inline std::vector<std::uint8_t> PngHeader(int width, int height)
{
  std::vector<std::uint8_t> bytes { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R' };
  for (const int value : { width, height })
  {
    const auto v = std::uint32_t(value);
    for (const int shift : { 24, 16, 8, 0 }) bytes.push_back(std::uint8_t((v >> shift) & 0xffu));
  }
  return bytes;
}

// The blit lines of a recording context, emptied.
inline std::vector<std::string> TakeBlits(kit::test::RecordingDrawContext& recording)
{
  std::vector<std::string> blits = recording.Lines("blit");
  recording.log.clear();
  return blits;
}

} // namespace kit::ui::test
