// The regions of the editor to repaint in one display tick, and the rewrite that makes them
// overlap less before painting. Editor thread.
#pragma once

#include "graphics/bounds.h"

#include <cstddef>
#include <vector>

namespace kit::ui
{

class IBoundsList
{
public:
  void Add(const IBounds& bounds) { rects.push_back(bounds); }
  void Clear() noexcept { rects.clear(); }
  [[nodiscard]] std::size_t Size() const noexcept { return rects.size(); }
  [[nodiscard]] const IBounds& Get(std::size_t index) const { return rects[index]; }
  [[nodiscard]] IBounds& Get(std::size_t index) { return rects[index]; }
  [[nodiscard]] const std::vector<IBounds>& Rects() const noexcept { return rects; }

  // Removes nested rectangles, trims or splits overlapping ones and joins neighbours that
  // share a whole edge, never giving up any area the list covered.
  void OptimizeRegions();

private:
  void RemoveOverlaps();
  void JoinNeighbours();

  std::vector<IBounds> rects;
};

} // namespace kit::ui
