#include "graphics/bounds_list.h"

namespace kit::ui
{

namespace
{

bool Overlap(const IBounds& i, const IBounds& j) noexcept
{
  return j.left <= i.right && j.right > i.left && j.top <= i.bottom && j.bottom > i.top;
}

// Cuts the overlap x off r, when that leaves exactly r without x: x must span r's full width
// or height and reach the edge that moves. A band through the middle cannot be cut off.
bool Trim(IBounds& r, const IBounds& x) noexcept
{
  const bool spansWidth = x.left == r.left && x.right == r.right;
  const bool spansHeight = x.top == r.top && x.bottom == r.bottom;
  if (!spansWidth && !spansHeight) return false;
  if (x.left != r.left)
  {
    if (x.right != r.right) return false;
    r.right = x.left;
  }
  else if (x.top != r.top)
  {
    if (x.bottom != r.bottom) return false;
    r.bottom = x.top;
  }
  else if (x.right != r.right)
    r.left = x.right;
  else
    r.top = x.bottom;
  return true;
}

// Splits r around the overlap x lying in one of its corners: r keeps one piece and piece gets
// the other. False, with r unchanged, when x touches no corner of r.
bool SplitAtCorner(IBounds& r, const IBounds& x, IBounds& piece) noexcept
{
  const bool atLeft = x.left == r.left;
  const bool atTop = x.top == r.top;
  const bool atRight = x.right == r.right;
  const bool atBottom = x.bottom == r.bottom;
  if (!atLeft && !atTop && atRight && atBottom)
  {
    piece = { r.left, r.top, r.right, x.top };
    r = { r.left, x.top, x.left, r.bottom };
  }
  else if (!atLeft && atTop && atRight)
  {
    piece = { r.left, r.top, x.left, x.bottom };
    r = { r.left, x.bottom, r.right, r.bottom };
  }
  else if (atLeft && !atTop && atBottom)
  {
    piece = { r.left, r.top, r.right, x.top };
    r = { x.right, x.top, r.right, r.bottom };
  }
  else if (atLeft && atTop)
  {
    piece = { x.right, r.top, r.right, x.bottom };
    r = { r.left, x.bottom, r.right, r.bottom };
  }
  else
    return false;
  return true;
}

// Two rectangles that phase two joins: one of them empty, or the same columns with touching or
// overlapping rows, or the same rows with touching or overlapping columns.
bool Joinable(const IBounds& i, const IBounds& j) noexcept
{
  if (i.Empty() || j.Empty()) return true;
  const bool sameColumns = i.left == j.left && i.right == j.right &&
                           ((j.top <= i.top && i.top <= j.bottom) || (i.top <= j.top && j.top <= i.bottom));
  const bool sameRows = i.top == j.top && i.bottom == j.bottom &&
                        ((j.left <= i.left && i.left <= j.right) || (i.left <= j.left && j.left <= i.right));
  return sameColumns || sameRows;
}

} // namespace

void IBoundsList::OptimizeRegions()
{
  RemoveOverlaps();
  JoinNeighbours();
}

void IBoundsList::RemoveOverlaps()
{
  for (std::size_t i = 0; i < rects.size(); ++i)
  {
    for (std::size_t j = i + 1; j < rects.size();)
    {
      IBounds& a = rects[i];
      IBounds& b = rects[j];
      if (a.Empty() || b.Empty())
      {
        ++j;
        continue;
      }
      if (a.Contains(b))
      {
        rects.erase(rects.begin() + std::ptrdiff_t(j));
        continue;
      }
      if (b.Contains(a))
      {
        rects.erase(rects.begin() + std::ptrdiff_t(i));
        if (i >= rects.size()) return;
        j = i + 1;
        continue;
      }
      if (Overlap(a, b))
      {
        const IBounds x { std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom) };
        if (!Trim(a, x) && !Trim(b, x))
        {
          // The smaller one gives way; on equal areas the later one.
          const std::size_t split = a.Area() < b.Area() ? i : j;
          IBounds piece;
          // An overlap in no corner leaves both whole: painting twice loses nothing.
          if (SplitAtCorner(rects[split], x, piece)) rects.push_back(piece);
        }
      }
      ++j;
    }
  }
}

void IBoundsList::JoinNeighbours()
{
  for (bool joined = true; joined;)
  {
    joined = false;
    for (std::size_t i = 0; i < rects.size() && !joined; ++i)
      for (std::size_t j = i + 1; j < rects.size() && !joined; ++j)
      {
        if (!Joinable(rects[i], rects[j])) continue;
        const IBounds& a = rects[i];
        IBounds& b = rects[j];
        if (!a.Empty() && !b.Empty())
          b = { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom) };
        else if (b.Empty())
          b = a;
        rects.erase(rects.begin() + std::ptrdiff_t(i));
        joined = true;
      }
  }
}

} // namespace kit::ui
