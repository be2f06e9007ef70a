// The background switch: clickable only inside its hit area (never with an all-zero one), a
// click toggles its parameter, and the picture's frame follows, drawn over the whole bounds.
#include "editor/background_switch_control.h"
#include "graphics/resource_table.h"
#include "tests/editor/stock_fixture.h"

#include <cairo.h>

#include <gtest/gtest.h>

namespace kit::ui::test
{
namespace
{

constexpr IBounds kDitherLamp { 180, 445, 215, 475 };
constexpr IBounds kGraphLampArea { 232, 454, 256, 478 };

BackgroundSwitchControl& AddBackground(StockEditor& editor, const IBounds& hitArea)
{
  auto control = std::make_unique<BackgroundSwitchControl>(IBounds(0, 0, 500, 525),
                                                           editor.graphics->LoadBitmapByName("bg.png", 2), kDither);
  control->SetHitArea(hitArea);
  return editor.Add(std::move(control));
}

TEST(BackgroundSwitch, HitsOnlyInsideItsHitArea)
{
  struct Case
  {
    float x;
    float y;
    bool hit;
  };
  const Case cases[] = {
    { 180, 445, true },     { 214.9f, 474.9f, true }, { 197, 460, true },  { 215, 460, false },
    { 179.9f, 460, false }, { 197, 444.9f, false },   { 197, 475, false }, { 10, 10, false },
  };
  StockEditor editor;
  const BackgroundSwitchControl& control = AddBackground(editor, kDitherLamp);
  EXPECT_EQ(control.HitArea(), kDitherLamp);
  EXPECT_EQ(control.Bounds(), IBounds(0, 0, 500, 525)) << "it still draws the whole editor";
  for (const Case& c : cases)
  {
    SCOPED_TRACE(Num(c.x) + ", " + Num(c.y));
    EXPECT_EQ(control.HitTest(c.x, c.y), c.hit);
  }
}

TEST(BackgroundSwitch, AllZeroHitAreaIsNeverHit)
{
  StockEditor editor;
  const BackgroundSwitchControl& control = AddBackground(editor, {});
  for (const auto& [x, y] : { std::pair { 0.0f, 0.0f }, { 180.0f, 445.0f }, { 250.0f, 260.0f }, { 499.0f, 524.0f } })
  {
    SCOPED_TRACE(Num(x) + ", " + Num(y));
    EXPECT_FALSE(control.HitTest(x, y));
    editor.Click(x, y);
  }
  EXPECT_EQ(editor.params.Real(kDither), 0.0);
  EXPECT_TRUE(editor.params.Calls("set").empty());
}

TEST(BackgroundSwitch, ClicksOnTheLampToggleTheParameterAndNothingElseDoes)
{
  struct Case
  {
    float x;
    float y;
    double ditherAfter;
  };
  const Case cases[] = { { 180, 445, 1.0 }, { 215, 460, 1.0 }, { 214, 474, 0.0 }, { 100, 100, 0.0 } };
  StockEditor editor;
  AddBackground(editor, kDitherLamp);
  for (const Case& c : cases)
  {
    SCOPED_TRACE(Num(c.x) + ", " + Num(c.y));
    editor.Click(c.x, c.y);
    EXPECT_EQ(editor.params.Real(kDither), c.ditherAfter);
  }
  EXPECT_EQ(editor.params.Calls("set"), std::vector<std::string>({ "set 0 1", "set 0 0" }));
}

TEST(BackgroundSwitch, LampCoverTogglesShowGraph)
{
  StockEditor editor;
  auto lamp = std::make_unique<BackgroundSwitchControl>(
      IBounds(240, 462, 248, 470), editor.graphics->LoadBitmapByName("display_button.png", 2), kGraph);
  lamp->SetHitArea(kGraphLampArea);
  lamp->SetValue(editor.params.Unit(kGraph));
  editor.Add(std::move(lamp));
  editor.Click(256, 466);
  EXPECT_EQ(editor.params.Real(kGraph), 1.0) << "the right edge is outside";
  editor.Click(232, 454);
  EXPECT_EQ(editor.params.Real(kGraph), 0.0);
}

// bg.png decoded by Cairo itself: the reference for the frame buffer.
class Background
{
public:
  Background()
  {
    const auto bytes = LoadResourceBytes("bg.png", "png");
    Reader reader { bytes.data(), bytes.size() };
    surface = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length)
        {
          auto* r = static_cast<Reader*>(closure);
          if (r->left < length) return CAIRO_STATUS_READ_ERROR;
          std::copy(r->at, r->at + length, data);
          r->at += length;
          r->left -= length;
          return CAIRO_STATUS_SUCCESS;
        },
        &reader);
  }
  ~Background() { cairo_surface_destroy(surface); }
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

  [[nodiscard]] bool Loaded() const { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
  // The pixel at (x, y) of frame 1 or 2, as the frame buffer stores it.
  [[nodiscard]] Pixel At(int x, int y, int frame) const
  {
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const std::size_t stride = std::size_t(cairo_image_surface_get_stride(surface));
    const unsigned char* p = data + std::size_t(y + (frame - 1) * 525) * stride + std::size_t(x) * 4;
    return { p[0], p[1], p[2], p[3] };
  }

private:
  struct Reader
  {
    const std::uint8_t* at;
    std::size_t left;
  };
  cairo_surface_t* surface = nullptr;
};

TEST(BackgroundSwitch, DrawnFrameFollowsTheValue)
{
  const Background reference;
  ASSERT_TRUE(reference.Loaded());
  // The screen's tint, a lamp and the bottom corner: places where the two looks differ or not.
  const std::pair<int, int> spots[] = { { 250, 200 }, { 197, 460 }, { 40, 30 }, { 499, 524 } };
  StockEditor editor;
  AddBackground(editor, kDitherLamp);
  struct Step
  {
    int clicks;
    int frame;
  };
  for (const auto& [clicks, frame] : { Step { 0, 1 }, Step { 1, 2 }, Step { 1, 1 } })
  {
    SCOPED_TRACE("frame " + Num(frame));
    for (int i = 0; i < clicks; ++i) editor.Click(180, 445);
    ASSERT_TRUE(editor.graphics->Tick());
    for (const auto& [x, y] : spots)
    {
      SCOPED_TRACE(Num(x) + ", " + Num(y));
      EXPECT_EQ(editor.At(x, y), reference.At(x, y, frame));
    }
  }
  EXPECT_NE(reference.At(250, 200, 1), reference.At(250, 200, 2)) << "the two looks differ on the screen";
}

} // namespace
} // namespace kit::ui::test
