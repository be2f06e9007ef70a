// Speed of the Cairo backend through the headless platform layer: one thin line, a whole-window
// repaint of the background picture, and a frame of a spectrum-graph-like control, each at
// display density 1 and 2.
#include "binding/editor_delegate.h"
#include "graphics/control.h"
#include "graphics/platform/draw_context_headless.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace
{

using namespace kit::ui;

class BenchDelegate : public kit::IEditorDelegate
{
public:
  BenchDelegate()
      : IEditorDelegate(0)
  {
  }
};

class PaintingControl : public IControl
{
public:
  PaintingControl(const IBounds& area, std::function<void(IDrawContext&)> paintFunction)
      : IControl(area)
      , paint(std::move(paintFunction))
  {
  }
  void Paint(IDrawContext& drawing) override { paint(drawing); }

private:
  std::function<void(IDrawContext&)> paint;
};

struct BenchEditor
{
  BenchDelegate editorDelegate;
  IDrawContextHeadless graphics;

  explicit BenchEditor(float density)
      : graphics(editorDelegate, 500, 525, 60, 1.0f)
  {
    graphics.SetDisplayDensity(density);
    static_cast<void>(graphics.OpenWindow(nullptr));
  }
};

// One 1-unit line, source-over, in a different place each time.
void StrokeLine(benchmark::State& state)
{
  BenchEditor editor(float(state.range(0)));
  const IRgba colour { 255, 120, 200, 80 };
  float x = 10.0f;
  for (auto _ : state)
  {
    editor.graphics.StrokeLine(colour, x, 100.0f, x + 40.0f, 140.0f, nullptr, 1.0f);
    x = x > 400.0f ? 10.0f : x + 1.0f;
  }
  editor.graphics.EndFrame();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(StrokeLine)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The whole window repainted: the background picture blitted into every pixel.
void BackgroundRepaint(benchmark::State& state)
{
  BenchEditor editor(float(state.range(0)));
  const IBitmapRef background = editor.graphics.LoadBitmapByName("bg.png");
  if (!background.IsValid()) state.SkipWithError("bg.png did not load");
  editor.graphics.AddControl(
      std::make_unique<PaintingControl>(IBounds { 0, 0, 500, 525 },
                                        [&](IDrawContext& drawing) {
                                          drawing.BlitBitmap(background, { 0, 0, 500, 525 }, 0, 0);
                                        }));
  for (auto _ : state)
  {
    editor.graphics.MarkAllControlsDirty();
    benchmark::DoNotOptimize(editor.graphics.Tick());
  }
}
BENCHMARK(BackgroundRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A spectrum graph's frame: 1,400 one-unit line segments across a 348 × 265 area, drawn one
// stroke each as the graph control draws them.
void SpectrumGraphFrame(benchmark::State& state)
{
  BenchEditor editor(float(state.range(0)));
  const IBounds area { 76, 70, 424, 335 };
  constexpr int kSegments = 1400;
  editor.graphics.AddControl(std::make_unique<PaintingControl>(
      area,
      [&](IDrawContext& drawing)
      {
        const IRgba colour { 230, 90, 220, 120 };
        float previousX = area.left;
        float previousY = area.bottom;
        for (int index = 1; index <= kSegments; ++index)
        {
          const float x = area.left + area.W() * float(index) / float(kSegments);
          const float y = area.top + area.H() * (0.5f + 0.45f * std::sin(float(index) * 0.037f));
          drawing.StrokeLine(colour, previousX, previousY, x, y, nullptr, 1.0f);
          previousX = x;
          previousY = y;
        }
      }));
  for (auto _ : state)
  {
    editor.graphics.MarkAllControlsDirty();
    benchmark::DoNotOptimize(editor.graphics.Tick());
  }
}
BENCHMARK(SpectrumGraphFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same curve as one path of 1,401 points (StrokeSeries): what a graph gains by stroking once.
void SpectrumGraphSeriesFrame(benchmark::State& state)
{
  BenchEditor editor(float(state.range(0)));
  const IBounds area { 76, 70, 424, 335 };
  constexpr int kPoints = 1401;
  std::vector<float> ys(kPoints);
  for (int index = 0; index < kPoints; ++index) ys[std::size_t(index)] = 0.5f - 0.45f * std::sin(float(index) * 0.037f);
  editor.graphics.AddControl(std::make_unique<PaintingControl>(
      area,
      [&](IDrawContext& drawing) {
        drawing.StrokeSeries({ 230, 90, 220, 120 }, area, ys.data(), kPoints, nullptr, nullptr, 1.0f);
      }));
  for (auto _ : state)
  {
    editor.graphics.MarkAllControlsDirty();
    benchmark::DoNotOptimize(editor.graphics.Tick());
  }
}
BENCHMARK(SpectrumGraphSeriesFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
