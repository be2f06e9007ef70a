// Speed of one editor frame on the headless platform layer: both spectrum graphs fed with a
// packet each, the grid and the meter over the background picture, painted through
// PaintRegions at zoom 1 and 2. Beside it, the same frame repainted without advancing the
// analysis (as an expose repaints it), and the two 4096-point transforms a frame runs, so that
// the frame's time splits into transform, rest of the analysis and drawing.
#include "binding/editor_delegate.h"
#include "editor/fft.h"
#include "editor/grid_control.h"
#include "editor/meter_control.h"
#include "editor/ombrix_graph.h"
#include "graphics/bounds_list.h"
#include "graphics/platform/draw_context_headless.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
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

class BackgroundControl : public IControl
{
public:
  BackgroundControl(const IBounds& area, IBitmapRef picture)
      : IControl(area)
      , bitmap(picture)
  {
  }
  void Paint(IDrawContext& drawing) override { drawing.BlitBitmapFrame(bitmap, bounds, 1); }

private:
  IBitmapRef bitmap;
};

constexpr int kPacketVariants = 8;
constexpr double kRate = 44100.0;

// Sender packets as the plug-in writes them: a programme of two tones and noise for the signal
// graph, dither-level noise for the noise graph.
std::vector<std::uint8_t> Packet(int variant, double noisePeak, bool tones)
{
  std::vector<std::uint8_t> bytes(std::size_t(OmbrixGraph::kPacketBytes));
  const std::int32_t header[3] = { tones ? 1 : 2, 1, 0 };
  std::memcpy(bytes.data(), header, sizeof header);
  std::mt19937 random(unsigned(variant + 1));
  std::uniform_real_distribution<double> noise(-noisePeak, noisePeak);
  for (int i = 0; i < OmbrixGraph::kFftSize; ++i)
  {
    const double t = double(variant * OmbrixGraph::kFftSize + i) / kRate;
    double sample = noise(random);
    if (tones)
      sample +=
          0.5 * std::sin(2.0 * std::numbers::pi * 440.0 * t) + 0.2 * std::sin(2.0 * std::numbers::pi * 3100.0 * t);
    const float value = float(sample);
    std::memcpy(bytes.data() + OmbrixGraph::kPacketHeaderBytes + 4 * i, &value, sizeof value);
  }
  return bytes;
}

struct EditorFrame
{
  BenchDelegate editorDelegate;
  IDrawContextHeadless graphics;
  OmbrixGraph* noise = nullptr;
  OmbrixGraph* signal = nullptr;
  MeterControl* meter = nullptr;
  std::vector<std::vector<std::uint8_t>> signalPackets;
  std::vector<std::vector<std::uint8_t>> noisePackets;
  int next = 0;
  bool ready = false;

  explicit EditorFrame(float zoom)
      : graphics(editorDelegate, 500, 525, 60, zoom)
  {
    static_cast<void>(graphics.OpenWindow(nullptr));
    const IBitmapRef background = graphics.LoadBitmapByName("bg.png");
    if (!background.IsValid() || !graphics.LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf")) return;
    const IBounds screen(86.0f, 80.0f, 434.0f, 345.0f);
    graphics.AddControl(std::make_unique<BackgroundControl>(IBounds(0.0f, 0.0f, 500.0f, 525.0f), background));
    noise = static_cast<OmbrixGraph*>(graphics.AddControl(std::make_unique<OmbrixGraph>(screen, 8192.0f, false), 2));
    signal = static_cast<OmbrixGraph*>(graphics.AddControl(std::make_unique<OmbrixGraph>(screen, 3.0f, true), 1));
    auto grid = std::make_unique<GridControl>(screen);
    grid->SetLineColour(IRgba(255, 128, 128, 128));
    graphics.AddControl(std::move(grid));
    auto bar = std::make_unique<MeterControl>(IBounds(50.0f, 462.0f, 162.0f, 469.0f));
    bar->SetBarColour(IRgba(255, 255, 255, 255));
    meter = static_cast<MeterControl*>(graphics.AddControl(std::move(bar), 3));
    for (int variant = 0; variant < kPacketVariants; ++variant)
    {
      signalPackets.push_back(Packet(variant, 0.05, true));
      noisePackets.push_back(Packet(variant, 3e-5, false));
    }
    ready = noise && signal && meter;
    // The first frame paints everything and fills the caches.
    graphics.Tick();
  }

  // What the plug-in's idle processing hands the editor between two display ticks.
  void Feed()
  {
    const auto& signalPacket = signalPackets[std::size_t(next)];
    const auto& noisePacket = noisePackets[std::size_t(next)];
    signal->ReceivePacket(0, int(signalPacket.size()), signalPacket.data());
    noise->ReceivePacket(0, int(noisePacket.size()), noisePacket.data());
    std::array<std::uint8_t, 16> level {};
    const float value = 0.1f * float(next);
    std::memcpy(level.data() + 12, &value, sizeof value);
    meter->ReceivePacket(0, int(level.size()), level.data());
    next = (next + 1) % kPacketVariants;
  }
};

// A display tick: packets in, dirty regions collected, flags cleared, regions painted.
void EditorFrameTick(benchmark::State& state)
{
  EditorFrame frame(float(state.range(0)));
  if (!frame.ready) state.SkipWithError("the editor could not be set up");
  IBoundsList regions;
  for (auto _ : state)
  {
    frame.Feed();
    regions.Clear();
    static_cast<void>(frame.graphics.CollectDirtyRegions(regions));
    frame.graphics.MarkAllControlsClean();
    frame.graphics.PaintRegions(regions);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(EditorFrameTick)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same regions repainted without a tick in between: drawing only, no analysis.
void EditorFrameRepaint(benchmark::State& state)
{
  EditorFrame frame(float(state.range(0)));
  if (!frame.ready) state.SkipWithError("the editor could not be set up");
  frame.Feed();
  IBoundsList regions;
  static_cast<void>(frame.graphics.CollectDirtyRegions(regions));
  frame.graphics.MarkAllControlsClean();
  frame.graphics.PaintRegions(regions);
  const IBoundsList painted = regions;
  for (auto _ : state)
  {
    regions = painted;
    frame.graphics.PaintRegions(regions);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(EditorFrameRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The two forward transforms of one frame, each on a fresh copy of its windowed input as the
// graph prepares it (the copy is part of the figure).
void TwoGraphTransforms(benchmark::State& state)
{
  BuildFftTables();
  std::vector<float> input(2 * OmbrixGraph::kFftSize);
  std::mt19937 random(3);
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  for (std::size_t i = 0; i < input.size(); i += 2) input[i] = sample(random);
  std::vector<float> first(input.size());
  std::vector<float> second(input.size());
  for (auto _ : state)
  {
    std::memcpy(first.data(), input.data(), input.size() * sizeof(float));
    std::memcpy(second.data(), input.data(), input.size() * sizeof(float));
    Fft(first.data(), OmbrixGraph::kFftSize, false);
    Fft(second.data(), OmbrixGraph::kFftSize, false);
    benchmark::DoNotOptimize(first.data());
    benchmark::DoNotOptimize(second.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TwoGraphTransforms)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
