// One live magnitude spectrum on the editor's screen: the mono blocks of a buffer sender are
// kept in a history, and each display tick the latest 4096 samples are windowed, transformed,
// smoothed over time, warped onto one value per screen column and drawn as column lines with an
// outline. The signal graph is mirrored about the screen's centre line; the noise graph rises
// from the bottom edge. Owned by the graphics context; editor thread.
#pragma once

#include "graphics/colour.h"
#include "graphics/control.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kit::ui
{

class OmbrixGraph : public IControl
{
public:
  static constexpr int kFftSize = 4096;
  static constexpr int kHistorySize = 48000;
  // Only chooses the shown bins: the graph does not follow the host's rate.
  static constexpr double kSampleRate = 44100.0;
  // Tag, channel count and channel offset, then kFftSize float32 samples.
  static constexpr int kPacketHeaderBytes = 12;
  static constexpr int kPacketBytes = kPacketHeaderBytes + kFftSize * 4;

  // gain: vertical gain; a mirrored graph multiplies it by half its height.
  OmbrixGraph(const IBounds& bounds, float gain, bool mirrored);

  // Appends the packet's samples (4096 zeros for a packet too short to hold them); a message
  // tag other than 0 is ignored.
  void ReceivePacket(int messageTag, int byteCount, const void* bytes) override;
  // The first paint of a display tick advances the analysis; every other paint of the same tick
  // (one per region the graph meets), and a repaint without a tick, draws the same columns.
  void Paint(IDrawContext& drawing) override;
  // The window clears the dirty flags once per display tick, before it paints: that starts a
  // new frame of the analysis.
  void MarkClean() override;

  [[nodiscard]] const IRgba& FillColour() const noexcept { return fillColour; }
  [[nodiscard]] const IRgba& LineColour() const noexcept { return lineColour; }
  [[nodiscard]] int FirstBin() const noexcept { return firstBin; }
  [[nodiscard]] int EndBin() const noexcept { return endBin; }
  // Smoothed magnitudes, one per bin below fftSize / 2.
  [[nodiscard]] std::span<const float> Spectrum() const noexcept { return spectrum; }
  // The values of the columns drawn last.
  [[nodiscard]] std::span<const float> Columns() const noexcept { return columns; }

private:
  // Transform the latest samples, smooth the magnitudes and map them onto the columns.
  void AdvanceAnalysis();
  // kFftSize samples from unaligned bytes, or zeros for null.
  void AppendSamples(const std::uint8_t* samples);

  float gain;
  bool mirrored;
  std::array<float, kHistorySize> history {};
  std::array<float, kFftSize / 2> spectrum {};
  std::array<float, kFftSize> window {};
  std::array<float, 2 * kFftSize> fftBuffer {}; // interleaved (re, im)
  int writePos = 0;
  int firstBin = 0;
  int endBin = 1;
  std::array<float, kFftSize / 2> axisTable {};
  std::vector<float> positions;
  std::vector<float> columns;
  IRgba fillColour;
  IRgba lineColour;
  bool analysisDue = true;
};

} // namespace kit::ui
