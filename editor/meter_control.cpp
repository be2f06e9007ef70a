#include "editor/meter_control.h"

#include "graphics/draw_context.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace kit::ui
{

MeterControl::MeterControl(const IBounds& meterBounds, int paramIndex, IActionFn action)
    : IControl(meterBounds, paramIndex, std::move(action))
{
}

void MeterControl::ReceivePacket(int messageTag, int byteCount, const void* bytes)
{
  if (messageTag != 0) return;
  float received = 0.0f;
  // The packet's bytes need not be aligned for a float.
  if (bytes != nullptr && byteCount >= kPacketBytes)
    std::memcpy(&received, static_cast<const std::uint8_t*>(bytes) + kPacketHeaderBytes, sizeof received);
  level = double(received);
  MarkDirty(false, -1);
}

void MeterControl::Paint(IDrawContext& drawing)
{
  const int height = int(std::trunc(bounds.H()));
  const int radius = height / 2;
  const float heightF = float(height);
  // The round ends are circles of the slot's half height about the straight part's ends.
  const float straightEnd = bounds.left + heightF + (bounds.W() - 2.0f * heightF) * float(level);
  for (int i = 1; i <= radius; ++i)
  {
    const float halfWidth = std::sqrt(float(radius * radius - (radius - i) * (radius - i)));
    const float x1 = bounds.left + heightF - halfWidth;
    const float x2 = straightEnd + halfWidth;
    drawing.StrokeLine(barColour, x1, bounds.top + float(i), x2, bounds.top + float(i));
    drawing.StrokeLine(barColour, x1, bounds.bottom - float(i), x2, bounds.bottom - float(i));
  }
}

void MeterControl::SetBarColour(const IRgba& colour)
{
  barColour = colour;
  MarkDirty(false, -1);
}

void MeterControl::SetLevel(double newLevel)
{
  level = newLevel;
  MarkDirty(false, -1);
}

} // namespace kit::ui
