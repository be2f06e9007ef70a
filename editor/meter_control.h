// The adaptive-adjustment meter: a horizontal capsule whose straight part grows with the level
// the peak sender reports (0 a dot at the left end, 1 the full slot). The level is drawn as it
// comes, not clamped, so a level outside 0 … 1 runs past the slot. Owned by the graphics
// context; editor thread.
#pragma once

#include "graphics/colour.h"
#include "graphics/control.h"

namespace kit::ui
{

class MeterControl : public IControl
{
public:
  // Tag, channel count and channel offset, then one float32 level.
  static constexpr int kPacketHeaderBytes = 12;
  static constexpr int kPacketBytes = kPacketHeaderBytes + 4;

  MeterControl(const IBounds& bounds, int paramIndex = -1, IActionFn actionFn = {});

  // The packet's level, or 0 for a packet too short to hold one; a message tag other than 0
  // is ignored.
  void ReceivePacket(int messageTag, int byteCount, const void* bytes) override;
  void Paint(IDrawContext& drawing) override;

  void SetBarColour(const IRgba& colour);
  void SetLevel(double newLevel);
  [[nodiscard]] double Level() const noexcept { return level; }

private:
  IRgba barColour;
  double level = 0.0;
};

} // namespace kit::ui
