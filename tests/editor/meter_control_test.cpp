// The adaptive-adjustment meter: the level its packets carry, the capsule's rows in exact
// coordinates, and the same rows as pixels of a headless frame.
#include "editor/meter_control.h"

#include "editor_pictures.h"
#include "graphics/cairo_test_support.h"
#include "graphics/input_fixture.h"
#include "stroke_recorder.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kit::ui::test
{
namespace
{

const IBounds kMeterBounds(50.0f, 462.0f, 162.0f, 469.0f); // the layout's slot
const IRgba kWhite(255, 255, 255, 255);

// A sender packet: tag, channel count, channel offset, one float32 level, cut to byteCount,
// starting one byte into its storage so that the level is not aligned.
struct Packet
{
  std::array<std::uint8_t, 33> storage {};
  int byteCount = 0;

  Packet(float level, int bytes)
      : byteCount(bytes)
  {
    const std::int32_t header[3] = { 3, 1, 0 };
    std::memcpy(storage.data() + 1, header, sizeof header);
    std::memcpy(storage.data() + 13, &level, sizeof level);
  }
  [[nodiscard]] const void* Bytes() const { return storage.data() + 1; }
};

TEST(MeterControl, PacketsSetTheLevelAsTheyCome)
{
  struct Case
  {
    const char* what;
    int messageTag;
    float sent;
    int byteCount;
    double expected;
    bool repaints;
  };
  constexpr double kBefore = 0.75;
  const Case cases[] = {
    { "a level", 0, 0.25f, 16, 0.25, true },
    { "widened from float32, not rounded to a decimal", 0, 0.1f, 16, double(0.1f), true },
    { "above full scale, not clamped", 0, 1.5f, 16, 1.5, true },
    { "below empty, not clamped", 0, -0.5f, 16, -0.5, true },
    { "a longer packet", 0, 0.25f, 32, 0.25, true },
    { "a header without a level gives 0", 0, 0.25f, 12, 0.0, true },
    { "one byte short gives 0", 0, 0.25f, 15, 0.0, true },
    { "no bytes at all give 0", 0, 0.25f, 0, 0.0, true },
    { "message tag 1 changes nothing", 1, 0.25f, 16, kBefore, false },
    { "message tag -1 changes nothing", -1, 0.25f, 16, kBefore, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    MeterControl meter(kMeterBounds);
    meter.SetLevel(kBefore);
    meter.MarkClean();
    const Packet packet(c.sent, c.byteCount);
    meter.ReceivePacket(c.messageTag, c.byteCount, packet.Bytes());
    EXPECT_EQ(meter.Level(), c.expected);
    EXPECT_EQ(meter.IsDirty(), c.repaints);
  }
}

TEST(MeterControl, ANullPacketGivesZero)
{
  MeterControl meter(kMeterBounds);
  meter.SetLevel(0.5);
  meter.ReceivePacket(0, 16, nullptr);
  EXPECT_EQ(meter.Level(), 0.0);
}

// The capsule as the layout's slot draws it: h = 7, r = 3, the straight part from L + h to
// L + h + (W − 2h) × level, each row reaching out by the circle's half width sqrt(r² − (r − i)²).
TEST(MeterControl, RowsFollowACircleAboutTheStraightPart)
{
  struct Case
  {
    double level;
    float straightEnd;
  };
  const Case cases[] = {
    { 0.5, 106.0f }, // 50 + 7 + 98 × 0.5
    { 0.0, 57.0f },  // a dot at the left end
    { 1.0, 155.0f }, // R − h
    { 1.5, 204.0f }, // past the slot
    { -0.5, 8.0f },  // before it
  };
  const std::array<float, 4> halfWidth { 0.0f, std::sqrt(5.0f), std::sqrt(8.0f), 3.0f };
  for (const Case& c : cases)
  {
    SCOPED_TRACE("level " + std::to_string(c.level));
    EditorParams editorDelegate;
    StrokeRecorder recorder(editorDelegate);
    auto meter = std::make_unique<MeterControl>(kMeterBounds);
    meter->SetBarColour(kWhite);
    meter->SetLevel(c.level);
    meter->Paint(recorder);
    std::vector<Stroke> expected;
    for (int i = 1; i <= 3; ++i)
    {
      const float w = halfWidth[std::size_t(i)];
      expected.push_back({ kWhite, 57.0f - w, 462.0f + float(i), c.straightEnd + w, 462.0f + float(i), false, 1.0f });
      expected.push_back({ kWhite, 57.0f - w, 469.0f - float(i), c.straightEnd + w, 469.0f - float(i), false, 1.0f });
    }
    const std::vector<Stroke> strokes = recorder.Strokes();
    ASSERT_EQ(strokes.size(), expected.size());
    for (std::size_t k = 0; k < strokes.size(); ++k)
    {
      SCOPED_TRACE("row line " + std::to_string(k));
      EXPECT_EQ(strokes[k].colour, expected[k].colour);
      EXPECT_FLOAT_EQ(strokes[k].x1, expected[k].x1);
      EXPECT_FLOAT_EQ(strokes[k].y1, expected[k].y1);
      EXPECT_FLOAT_EQ(strokes[k].x2, expected[k].x2);
      EXPECT_FLOAT_EQ(strokes[k].y2, expected[k].y2);
      EXPECT_FALSE(strokes[k].blended);
      EXPECT_EQ(strokes[k].thickness, 1.0f);
    }
  }
}

// In pixels: a 1-point line along y = T + i covers half of pixel rows T + i − 1 and T + i. Every
// row from T to B − 1 is lit between the ends of the lines crossing it, and nothing is lit past
// them, above T or below B − 1.
TEST(MeterControl, HalfLevelEndsItsStraightPartAt106)
{
  kit::test::OpenEditor editor(500, 525);
  AddBlackBackground(*editor);
  auto meter = std::make_unique<MeterControl>(kMeterBounds);
  meter->SetBarColour(kWhite);
  meter->SetLevel(0.5);
  ASSERT_NE(editor->AddControl(std::move(meter)), nullptr);
  ASSERT_TRUE(editor->Tick());
  ASSERT_TRUE(editor->WritePng(ArtifactPath("meter_half.png")));

  const std::array<float, 4> halfWidth { 0.0f, std::sqrt(5.0f), std::sqrt(8.0f), 3.0f };
  struct Row
  {
    int y;
    std::vector<int> lines; // i of the lines y = T + i or y = B − i crossing the row
  };
  const Row rows[] = {
    { 462, { 1 } },    { 463, { 1, 2 } }, { 464, { 2, 3 } }, { 465, { 3, 3 } },
    { 466, { 3, 2 } }, { 467, { 2, 1 } }, { 468, { 1 } },
  };
  for (const Row& row : rows)
  {
    SCOPED_TRACE("row " + std::to_string(row.y));
    float reachRight = 0.0f;
    float reachLeft = 1000.0f;
    float innerRight = 1000.0f;
    float innerLeft = 0.0f;
    for (const int i : row.lines)
    {
      const float w = halfWidth[std::size_t(i)];
      reachRight = std::max(reachRight, 106.0f + w);
      reachLeft = std::min(reachLeft, 57.0f - w);
      innerRight = std::min(innerRight, 106.0f + w);
      innerLeft = std::max(innerLeft, 57.0f - w);
    }
    // Whole pixels inside every line of the row are at least half covered.
    for (int x = int(std::ceil(innerLeft)); x + 1 <= int(std::floor(innerRight)); ++x)
    {
      SCOPED_TRACE("x " + std::to_string(x));
      EXPECT_GE(editor.At(x, row.y).r, 120);
    }
    // The pixel holding the straight part's end, 106, is lit in every row.
    EXPECT_GE(editor.At(106, row.y).r, 120);
    // Nothing beyond the farthest ends.
    for (int x = int(std::ceil(reachRight)); x < 170; ++x) EXPECT_EQ(editor.At(x, row.y).r, 0) << "x " << x;
    for (int x = 40; x + 1 <= int(std::floor(reachLeft)); ++x) EXPECT_EQ(editor.At(x, row.y).r, 0) << "x " << x;
  }
  for (const int y : { 461, 469 })
  {
    SCOPED_TRACE("outside row " + std::to_string(y));
    for (int x = 40; x < 170; ++x) EXPECT_EQ(editor.At(x, y).r, 0) << "x " << x;
  }
}

} // namespace
} // namespace kit::ui::test
