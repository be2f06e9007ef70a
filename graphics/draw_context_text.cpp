// The text entry points: empty texts never reach the backend.
#include "graphics/draw_context.h"

namespace kit::ui
{

float IDrawContext::MeasureTextWidth(const ITextStyle& style, std::string_view text, IBounds& bounds)
{
  if (text.empty()) return 0.0f;
  return DoMeasureText(style, text, bounds);
}

void IDrawContext::RenderText(const ITextStyle& style, std::string_view text, const IBounds& bounds,
                              const IBlending* blend)
{
  if (text.empty()) return;
  DoDrawText(style, text, bounds, blend);
}

} // namespace kit::ui
