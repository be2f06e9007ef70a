// Once the editor has painted its first frames, the packets that feed both spectrum graphs and
// the meter, and the frame that repaints them over the grid, allocate nothing.
#include "editor/grid_control.h"
#include "editor/meter_control.h"
#include "editor/ombrix_graph.h"

#include "graph_packets.h"
#include "graphics/bounds_list.h"
#include "graphics/cairo_test_support.h"
#include "support/allocation_counter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace kit::ui::test
{
namespace
{

const IBounds kScreen(86.0f, 80.0f, 434.0f, 345.0f);

TEST(OmbrixGraphAllocation, AFrameAllocatesNothingOnceSized)
{
  kit::test::OpenEditor editor(500, 525);
  ASSERT_TRUE(editor->LoadFontByName("Roboto-Regular", "Roboto-Regular.ttf"));
  auto* noise = static_cast<OmbrixGraph*>(editor->AddControl(std::make_unique<OmbrixGraph>(kScreen, 8192.0f, false)));
  auto* signal = static_cast<OmbrixGraph*>(editor->AddControl(std::make_unique<OmbrixGraph>(kScreen, 3.0f, true)));
  auto grid = std::make_unique<GridControl>(kScreen);
  grid->SetLineColour(IRgba(255, 128, 128, 128));
  ASSERT_NE(editor->AddControl(std::move(grid)), nullptr);
  auto* meter =
      static_cast<MeterControl*>(editor->AddControl(std::make_unique<MeterControl>(IBounds(50, 462, 162, 469))));
  ASSERT_NE(noise, nullptr);
  ASSERT_NE(signal, nullptr);
  ASSERT_NE(meter, nullptr);

  const GraphPacket signalPacket(SineSamples(1000.0, 0.5, 0, 0.01));
  const GraphPacket noisePacket(SineSamples(8000.0, 1e-4, 0, 1e-5, 2));
  std::array<std::uint8_t, 16> meterPacket {};
  const float level = 0.4f;
  std::memcpy(meterPacket.data() + 12, &level, sizeof level);
  const auto feed = [&]
  {
    signal->ReceivePacket(0, signalPacket.Size(), signalPacket.Bytes());
    noise->ReceivePacket(0, noisePacket.Size(), noisePacket.Bytes());
    meter->ReceivePacket(0, int(meterPacket.size()), meterPacket.data());
  };
  // The first frames size the scratch arrays and fill the font and glyph caches.
  for (int frame = 0; frame < 3; ++frame)
  {
    feed();
    ASSERT_TRUE(editor->Tick());
  }
  // A display tick: the packets arrive, then the graphs and the meter repaint (and with them
  // the grid beneath the graphs).
  for (int frame = 0; frame < 3; ++frame)
  {
    SCOPED_TRACE("frame " + std::to_string(frame));
    std::size_t packetAllocations = 0;
    {
      const kit::test::AllocationScope scope;
      feed();
      packetAllocations = scope.Count();
    }
    IBoundsList regions;
    ASSERT_TRUE(editor->CollectDirtyRegions(regions));
    editor->MarkAllControlsClean();
    std::size_t paintAllocations = 0;
    {
      const kit::test::AllocationScope scope;
      editor->PaintRegions(regions);
      paintAllocations = scope.Count();
    }
    EXPECT_EQ(packetAllocations, 0u);
    EXPECT_EQ(paintAllocations, 0u);
  }
}

} // namespace
} // namespace kit::ui::test
