#include "editor/ombrix_graph.h"

#include "editor/fft.h"
#include "editor/spectrum_columns.h"
#include "graphics/draw_context.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kit::ui
{

namespace
{

// A fraction of each frame's magnitude joins 0.7 of the previous one, so a steady tone settles
// at the scaled magnitude divided by 0.3.
constexpr float kMagnitudeScale = 0.6f / float(OmbrixGraph::kFftSize);
constexpr float kSmoothing = 0.7f;

} // namespace

OmbrixGraph::OmbrixGraph(const IBounds& graphBounds, float verticalGain, bool mirror)
    : IControl(graphBounds)
    , gain(verticalGain)
    , mirrored(mirror)
    , fillColour(mirror ? IRgba(154, 255, 255, 255) : IRgba(154, 128, 255, 255))
    , lineColour(mirror ? IRgba(255, 255, 255, 255) : IRgba(255, 128, 255, 255))
{
  BuildFftTables();
  // Blackman window.
  const double last = double(kFftSize - 1);
  for (std::size_t i = 0; i < window.size(); ++i)
  {
    const double phase = 2.0 * std::numbers::pi * double(i) / last;
    window[i] = float(0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase));
  }
  FillAxisTable(axisTable, kFftSize);
  const DisplayedBins bins = DisplayedBinRange(kFftSize, kSampleRate);
  firstBin = bins.first;
  endBin = bins.end;
  // Sized now, so that no frame allocates.
  positions.resize(std::size_t(endBin - firstBin));
  columns.resize(std::size_t(std::max(0.0f, std::trunc(bounds.W()))));
}

void OmbrixGraph::ReceivePacket(int messageTag, int byteCount, const void* bytes)
{
  if (messageTag != 0) return;
  const bool complete = bytes != nullptr && byteCount >= kPacketBytes;
  AppendSamples(complete ? static_cast<const std::uint8_t*>(bytes) + kPacketHeaderBytes : nullptr);
  MarkDirty(false, -1);
}

void OmbrixGraph::Paint(IDrawContext& drawing)
{
  if (analysisDue)
  {
    AdvanceAnalysis();
    analysisDue = false;
  }
  const float top = bounds.top;
  const float bottom = bounds.bottom;
  const float baseline = mirrored ? (top + bottom) / 2.0f : bottom - 1.0f;
  const float scale = mirrored ? (bottom - top) / 2.0f * gain : gain;
  const auto width = std::size_t(std::max(0.0f, std::trunc(bounds.W())));
  const std::size_t count = std::min(width, columns.size());
  float yPrev = baseline;
  for (std::size_t k = 0; k < count; ++k)
  {
    const float x = bounds.left + float(k);
    const float y = std::max(top, baseline - std::sqrt(columns[k]) * scale);
    drawing.StrokeLine(fillColour, x, y, x, baseline);
    if (mirrored) drawing.StrokeLine(fillColour, x, std::min(bottom, 2.0f * baseline - y), x, baseline);
    if (k > 0)
    {
      drawing.StrokeLine(lineColour, x - 1.0f, yPrev, x, y);
      if (mirrored) drawing.StrokeLine(lineColour, x - 1.0f, 2.0f * baseline - yPrev, x, 2.0f * baseline - y);
    }
    yPrev = y;
  }
  // A live graph: painted again on the next frame.
  MarkDirty(false, -1);
}

void OmbrixGraph::MarkClean()
{
  analysisDue = true;
  IControl::MarkClean();
}

void OmbrixGraph::AdvanceAnalysis()
{
  int at = (writePos - kFftSize + kHistorySize) % kHistorySize;
  std::fill(fftBuffer.begin(), fftBuffer.end(), 0.0f);
  for (std::size_t i = 0; i < window.size(); ++i)
  {
    fftBuffer[2 * i] = window[i] * history[std::size_t(at)];
    if (++at == kHistorySize) at = 0;
  }
  Fft(fftBuffer.data(), kFftSize, false);
  for (int j = 0; j < kFftSize / 2; ++j)
  {
    const int index = FftBinIndex(kFftSize, j);
    if (index < 0) continue;
    const float re = fftBuffer[std::size_t(2 * index)];
    const float im = fftBuffer[std::size_t(2 * index + 1)];
    const float magnitude = std::sqrt(re * re + im * im);
    float& smoothed = spectrum[std::size_t(j)];
    smoothed = magnitude * kMagnitudeScale + smoothed * kSmoothing;
  }
  const auto shown = std::size_t(std::max(1, endBin - firstBin));
  const auto first = std::size_t(firstBin);
  MapSpectrumToColumns(std::span<const float>(spectrum).subspan(first, shown),
                       std::span<const float>(axisTable).subspan(first, shown), int(std::trunc(bounds.W())), positions,
                       columns);
}

void OmbrixGraph::AppendSamples(const std::uint8_t* samples)
{
  int remaining = kFftSize;
  while (remaining > 0)
  {
    const int chunk = std::min(remaining, kHistorySize - writePos);
    float* target = history.data() + writePos;
    if (samples)
    {
      // The packet's bytes need not be aligned for floats.
      std::memcpy(target, samples, std::size_t(chunk) * sizeof(float));
      samples += std::size_t(chunk) * sizeof(float);
    }
    else
    {
      std::fill_n(target, chunk, 0.0f);
    }
    writePos = (writePos + chunk) % kHistorySize;
    remaining -= chunk;
  }
}

} // namespace kit::ui
