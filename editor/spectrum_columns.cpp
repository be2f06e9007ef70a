#include "editor/spectrum_columns.h"

#include <algorithm>
#include <cmath>

namespace kit::ui
{

namespace
{

constexpr double kLowestShownHz = 100.0;
constexpr double kHighestShownHz = 20000.0;

// The first bin above hz: 1 − trunc(−hz × N / rate). Limited to ±N before it becomes an integer,
// so that a rate of 0 or one that is not a number still gives a bin.
int BinAbove(double hz, int fftSize, double sampleRate) noexcept
{
  const double bin = -hz * double(fftSize) / sampleRate;
  const double limited = std::isnan(bin) ? 0.0 : std::clamp(bin, -double(fftSize), double(fftSize));
  return 1 - int(std::trunc(limited));
}

} // namespace

DisplayedBins DisplayedBinRange(int fftSize, double sampleRate) noexcept
{
  const int half = fftSize / 2;
  int first = BinAbove(kLowestShownHz, fftSize, sampleRate);
  int end = BinAbove(kHighestShownHz, fftSize, sampleRate);
  if (first >= end)
  {
    if (first < half)
      end = first + 1;
    else
      first = end - 1;
  }
  first = std::max(0, std::min(first, half - 1));
  end = std::max(first + 1, std::min(end, half));
  return { first, end };
}

void FillAxisTable(std::span<float> table, int fftSize) noexcept
{
  const double n = double(fftSize);
  const double logN = std::log(n);
  for (std::size_t j = 0; j < table.size(); ++j) table[j] = float(std::exp((1.0 - double(j) / n) * logN) / n);
}

void MapSpectrumToColumns(std::span<const float> values, std::span<const float> axis, int width,
                          std::vector<float>& positions, std::vector<float>& columns)
{
  const std::size_t count = values.size();
  if (count < 1 || axis.size() != count || width <= 0) return;
  positions.resize(count);
  columns.resize(std::size_t(width));
  std::fill(columns.begin(), columns.end(), 0.0f);

  const double start = double(axis.front());
  double span = double(axis.back()) - start;
  if (span == 0.0) span = 1.0;
  // The ratio first, so that the last bin lands on exactly width.
  for (std::size_t i = 0; i < count; ++i) positions[i] = float((double(axis[i]) - start) / span * double(width));

  std::size_t sparseEnd = 1;
  while (sparseEnd < count && std::trunc(positions[sparseEnd]) != std::trunc(positions[sparseEnd - 1])) ++sparseEnd;

  const auto columnOf = [width](float position) -> int
  {
    const float whole = std::trunc(position);
    return whole >= 0.0f && whole < float(width) ? int(whole) : -1;
  };
  if (sparseEnd > 1)
  {
    for (std::size_t i = 0; i < sparseEnd; ++i)
    {
      const int k = columnOf(positions[i]);
      if (k < 0) continue;
      const auto at = std::size_t(k);
      const float fraction = positions[i] - float(k);
      if (fraction > 0.0f && k + 1 < width)
      {
        columns[at] = std::max(columns[at], (1.0f - fraction) * values[i]);
        columns[at + 1] = std::max(columns[at + 1], fraction * values[i]);
      }
      else
      {
        columns[at] = std::max(columns[at], values[i]);
      }
    }
  }
  for (std::size_t i = sparseEnd; i < count; ++i)
  {
    const int k = columnOf(positions[i]);
    if (k >= 0) columns[std::size_t(k)] = std::max(columns[std::size_t(k)], values[i]);
  }
}

} // namespace kit::ui
