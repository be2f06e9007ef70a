// The spectrum graph's frequency axis: which bins it shows, the warping table that spreads low
// frequencies and compresses high ones, and the mapping of the shown bins onto one value per
// screen column. Plain functions, used by the graph on the editor thread.
#pragma once

#include <span>
#include <vector>

namespace kit::ui
{

// The shown bins [first, end) of an fftSize-point transform: about 100 Hz to 20 kHz.
struct DisplayedBins
{
  int first = 0;
  int end = 1;
};

// Always at least one bin inside 0 … fftSize / 2 − 1, whatever the sample rate.
[[nodiscard]] DisplayedBins DisplayedBinRange(int fftSize, double sampleRate) noexcept;

// table[j] = fftSize^(−j / fftSize) for every j of the table, worked out in double: it falls
// from 1 at j = 0 towards 1 / sqrt(fftSize) at j = fftSize / 2.
void FillAxisTable(std::span<float> table, int fftSize) noexcept;

// Maps values (the shown bins, lowest first) onto width columns by their axis entries (the
// table's entries for the same bins): bin i sits at (axis[i] − axis[0]) / (axis[last] − axis[0])
// × width, and each column takes the largest value that falls into it. While neighbouring bins
// still land in different columns (the sparse low end), each of those bins is shared between
// the two columns it straddles. The last bin sits exactly at width and is left out.
// Without values, with axis and values of different lengths or with no columns, positions and
// columns are left as they are. positions and columns grow only when they are too short.
void MapSpectrumToColumns(std::span<const float> values, std::span<const float> axis, int width,
                          std::vector<float>& positions, std::vector<float>& columns);

} // namespace kit::ui
