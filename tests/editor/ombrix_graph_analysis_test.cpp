// The spectrum graph's analysis, frame by frame: a steady tone's smoothed magnitude closes the
// gap to its steady state by the factor 0.7 per frame, the steady state is the windowed
// magnitude × 0.6 / N / 0.3 (worked out here with a direct transform in double), and tones land
// in the columns the screen's labels promise.
#include "editor/ombrix_graph.h"

#include "graph_packets.h"
#include "graphics/input_fixture.h"
#include "stroke_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace kit::ui::test
{
namespace
{

const IBounds kScreen(86.0f, 80.0f, 434.0f, 345.0f);
constexpr int kN = OmbrixGraph::kFftSize;

void Frame(OmbrixGraph& graph, IDrawContext& drawing)
{
  graph.MarkClean();
  graph.Paint(drawing);
}

// |Σ w[i] x[i] e^(−2πi j i / N)| with the Blackman window, all in double.
double WindowedMagnitude(const std::vector<float>& samples, int bin)
{
  std::complex<double> sum;
  for (int i = 0; i < kN; ++i)
  {
    const double phase = 2.0 * std::numbers::pi * i / (kN - 1);
    const double window = 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
    sum += window * double(samples[std::size_t(i)]) * std::polar(1.0, -2.0 * std::numbers::pi * bin * i / kN);
  }
  return std::abs(sum);
}

TEST(OmbrixGraphAnalysis, ASteadyToneSettlesByFactorPoint7PerFrame)
{
  struct Case
  {
    double hz;
    double amplitude;
  };
  // A tone centred on bin 200, one between bins and a quiet one.
  const Case cases[] = { { 200.0 * kGraphRate / kN, 1.0 }, { 3000.0, 1.0 }, { 440.0, 0.01 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.hz) + " Hz at " + std::to_string(c.amplitude));
    EditorParams editorDelegate;
    StrokeRecorder recorder(editorDelegate);
    OmbrixGraph graph(kScreen, 3.0f, true);
    // The same 4096 samples every frame: a steady tone as the transform sees it.
    const std::vector<float> samples = SineSamples(c.hz, c.amplitude);
    const int bin = int(std::lround(c.hz * kN / kGraphRate));
    const double steadyState = WindowedMagnitude(samples, bin) * 0.6 / kN / 0.3;
    double gap = steadyState;
    for (int frame = 1; frame <= 30; ++frame)
    {
      SCOPED_TRACE("frame " + std::to_string(frame));
      Send(graph, samples);
      Frame(graph, recorder);
      gap *= 0.7;
      const double smoothed = double(graph.Spectrum()[std::size_t(bin)]);
      EXPECT_NEAR(smoothed, steadyState - gap, steadyState * 1e-4);
    }
  }
}

TEST(OmbrixGraphAnalysis, SilenceLeavesEverythingAtZero)
{
  EditorParams editorDelegate;
  StrokeRecorder recorder(editorDelegate);
  OmbrixGraph graph(kScreen, 8192.0f, false);
  for (int frame = 0; frame < 3; ++frame) Frame(graph, recorder);
  for (const float value : graph.Spectrum()) ASSERT_EQ(value, 0.0f);
  ASSERT_EQ(graph.Columns().size(), 348u);
  for (const float value : graph.Columns()) ASSERT_EQ(value, 0.0f);
}

TEST(OmbrixGraphAnalysis, TonesPeakWhereTheScreenPlacesThem)
{
  struct Case
  {
    double hz;
    double fraction; // of the screen's width
  };
  const Case cases[] = { { 1000.0, 0.16 }, { 5000.0, 0.62 }, { 10000.0, 0.87 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.hz) + " Hz");
    EditorParams editorDelegate;
    StrokeRecorder recorder(editorDelegate);
    OmbrixGraph graph(kScreen, 3.0f, true);
    Send(graph, SineSamples(c.hz, 0.5, 0, 1e-4));
    Frame(graph, recorder);
    const std::span<const float> columns = graph.Columns();
    const auto peak = std::max_element(columns.begin(), columns.end()) - columns.begin();
    EXPECT_NEAR(double(peak) / 348.0, c.fraction, 0.01);
  }
}

TEST(OmbrixGraphAnalysis, ShowsBins10To1857)
{
  const OmbrixGraph graph(kScreen, 3.0f, true);
  EXPECT_EQ(graph.FirstBin(), 10);
  EXPECT_EQ(graph.EndBin(), 1858);
}

} // namespace
} // namespace kit::ui::test
