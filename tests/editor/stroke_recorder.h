#pragma once
// A drawing context without pixels that keeps every straight line and every text a control
// draws, with its exact coordinates, grouped by the paint call (one per clip) they came from.

#include "graphics/colour.h"
#include "support/recording_draw_context.h"

#include <string>
#include <vector>

namespace kit::ui::test
{

struct Stroke
{
  IRgba colour;
  float x1 = 0.0f;
  float y1 = 0.0f;
  float x2 = 0.0f;
  float y2 = 0.0f;
  bool blended = false;
  float thickness = 0.0f;

  friend bool operator==(const Stroke&, const Stroke&) = default;
};

struct DrawnText
{
  std::string text;
  IBounds bounds;
};

class StrokeRecorder : public kit::test::RecordingDrawContext
{
public:
  using RecordingDrawContext::RecordingDrawContext;

  // One entry per clip the context set, that is per control painted in a region; lines drawn
  // before any clip go to a first entry of their own.
  std::vector<std::vector<Stroke>> paints;
  std::vector<DrawnText> texts;

  // The lines of the latest paint.
  [[nodiscard]] std::vector<Stroke> Strokes() const { return paints.empty() ? std::vector<Stroke> {} : paints.back(); }

  void StrokeLine(const IRgba& colour, float x1, float y1, float x2, float y2, const IBlending* blend,
                  float thickness) override
  {
    if (paints.empty()) paints.emplace_back();
    paints.back().push_back({ colour, x1, y1, x2, y2, blend != nullptr, thickness });
  }
  void PathClipRegion(const IBounds& region) override
  {
    paints.emplace_back();
    RecordingDrawContext::PathClipRegion(region);
  }
  void DoDrawText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                  const IBlending* blend) override
  {
    texts.push_back({ std::string(text), bounds });
    RecordingDrawContext::DoDrawText(style, text, bounds, blend);
  }
};

} // namespace kit::ui::test
