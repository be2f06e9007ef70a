// The headless platform layer: opening lays the editor out at the chosen density, a tick
// repaints what is dirty, the frame is written as PNG atomically, and cursor and prompt
// requests are recorded for the caller to answer.
#include "graphics/platform/draw_context_headless.h"
#include "tests/graphics/cairo_test_support.h"

#include <cairo.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

using test::LayoutDelegate;
using test::PaintingControl;
using test::Pixel;
using test::PixelAt;

// A control that paints its own colour and remembers what the prompts answered.
class AnsweringControl : public PaintingControl
{
public:
  explicit AnsweringControl(const IBounds& area, IRgba* colour)
      : PaintingControl(area,
                        [this, colour](IDrawContext& drawing)
                        {
                          ++paints;
                          drawing.PaintRect(*colour, Bounds());
                        })
  {
  }

  void OnTextCommitted(std::string_view text, int) override { committedText = text; }
  void OnMenuChoice(IMenu* menu, int) override
  {
    menuAnswered = true;
    chosenIndex = menu ? menu->ChosenIndex() : -1;
  }

  int paints = 0;
  std::string committedText;
  bool menuAnswered = false;
  int chosenIndex = -2;
};

struct Editor
{
  LayoutDelegate editorDelegate;
  IRgba backgroundColour { 255, 30, 60, 90 };
  IRgba panelColour { 255, 200, 100, 0 };
  AnsweringControl* background = nullptr;
  AnsweringControl* panel = nullptr;
  std::unique_ptr<IDrawContextHeadless> graphics;

  explicit Editor(float density = 1.0f, float zoom = 1.0f)
  {
    editorDelegate.layout = [this](IDrawContext& context)
    {
      background = static_cast<AnsweringControl*>(
          context.AddControl(std::make_unique<AnsweringControl>(IBounds { 0, 0, 100, 80 }, &backgroundColour)));
      panel = static_cast<AnsweringControl*>(
          context.AddControl(std::make_unique<AnsweringControl>(IBounds { 20, 20, 40, 40 }, &panelColour)));
    };
    graphics = std::make_unique<IDrawContextHeadless>(editorDelegate, 100, 80, 60, zoom);
    graphics->SetDisplayDensity(density);
  }
};

TEST(HeadlessWindow, OpeningLaysOutAtTheChosenDensityAndTheFirstTickPaintsEverything)
{
  for (const float density : { 1.0f, 2.0f, 3.0f })
  {
    SCOPED_TRACE(density);
    Editor editor(density, 1.5f);
    EXPECT_FALSE(editor.graphics->WindowIsOpen());
    EXPECT_NE(editor.graphics->OpenWindow(nullptr), nullptr);
    EXPECT_TRUE(editor.graphics->WindowIsOpen());
    EXPECT_EQ(editor.editorDelegate.openedCount, 1);
    EXPECT_EQ(editor.graphics->ScreenScale(), density);
    EXPECT_EQ(editor.graphics->NControls(), 2);
    EXPECT_EQ(editor.graphics->FramePixelWidth(), int(150 * density));
    EXPECT_EQ(editor.graphics->FramePixelHeight(), int(120 * density));
    EXPECT_STREQ(editor.graphics->PlatformName(), "headless");

    EXPECT_TRUE(editor.graphics->Tick());
    EXPECT_EQ(PixelAt(*editor.graphics, 1, 1), (Pixel { 90, 60, 30, 255 }));
    const int inPanel = int(30 * 1.5f * density);
    EXPECT_EQ(PixelAt(*editor.graphics, inPanel, inPanel), (Pixel { 0, 100, 200, 255 }));
    EXPECT_FALSE(editor.graphics->Tick());
  }
}

// A tick repaints only the regions of dirty controls, padded by 0.75 units.
TEST(HeadlessWindow, TickRepaintsOnlyWhatIsDirty)
{
  Editor editor;
  static_cast<void>(editor.graphics->OpenWindow(nullptr));
  ASSERT_TRUE(editor.graphics->Tick());
  const int backgroundPaints = editor.background->paints;

  editor.backgroundColour = { 255, 0, 0, 0 };
  editor.panelColour = { 255, 0, 255, 0 };
  editor.panel->MarkDirty(false);
  ASSERT_TRUE(editor.graphics->Tick());
  EXPECT_EQ(PixelAt(*editor.graphics, 30, 30), (Pixel { 0, 255, 0, 255 }));
  // The background repainted under the panel's region, and only there.
  EXPECT_EQ(editor.background->paints, backgroundPaints + 1);
  EXPECT_EQ(PixelAt(*editor.graphics, 19, 19), (Pixel { 0, 0, 0, 255 }));
  EXPECT_EQ(PixelAt(*editor.graphics, 17, 17), (Pixel { 90, 60, 30, 255 }));
  EXPECT_EQ(PixelAt(*editor.graphics, 60, 60), (Pixel { 90, 60, 30, 255 }));
}

std::filesystem::path ArtifactPath(const std::string& name)
{
  std::filesystem::create_directories(OMBRIX_TEST_ARTIFACTS);
  return std::filesystem::path(OMBRIX_TEST_ARTIFACTS) / name;
}

// The written file, read back by Cairo, holds the frame buffer's own bytes.
TEST(HeadlessWindow, WritesTheFrameAsPngThatReadsBackByteForByte)
{
  Editor editor(2.0f);
  static_cast<void>(editor.graphics->OpenWindow(nullptr));
  ASSERT_TRUE(editor.graphics->Tick());
  const std::filesystem::path path = ArtifactPath("headless_window_frame.png");
  std::filesystem::remove(path);
  ASSERT_TRUE(editor.graphics->WritePng(path));
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".partial"));

  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  EXPECT_EQ(width, editor.graphics->FramePixelWidth());
  EXPECT_EQ(height, editor.graphics->FramePixelHeight());
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const auto frame = editor.graphics->FrameBufferBytes();
  int differing = 0;
  for (int y = 0; y < height; ++y)
  {
    for (int x = 0; x < width; ++x)
    {
      const std::size_t at = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4;
      // An opaque picture reads back as RGB24, whose unused byte is not defined.
      for (int channel = 0; channel < 3; ++channel)
        differing += data[y * stride + 4 * x + channel] != frame[at + std::size_t(channel)];
    }
  }
  EXPECT_EQ(differing, 0);
  cairo_surface_destroy(surface);
}

TEST(HeadlessWindow, PngThatCannotBeWrittenLeavesNoFile)
{
  Editor unopened;
  const std::filesystem::path path = ArtifactPath("headless_window_unopened.png");
  std::filesystem::remove(path);
  EXPECT_FALSE(unopened.graphics->WritePng(path));
  EXPECT_FALSE(std::filesystem::exists(path));

  Editor editor;
  static_cast<void>(editor.graphics->OpenWindow(nullptr));
  const std::filesystem::path nowhere = ArtifactPath("no-such-folder") / "frame.png";
  EXPECT_FALSE(editor.graphics->WritePng(nowhere));
  EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));

  // An existing file is replaced whole or not at all.
  const std::filesystem::path folderInTheWay = ArtifactPath("headless_window_folder.png");
  std::filesystem::create_directories(folderInTheWay);
  EXPECT_FALSE(editor.graphics->WritePng(folderInTheWay));
  EXPECT_TRUE(std::filesystem::is_directory(folderInTheWay));
  EXPECT_FALSE(std::filesystem::exists(folderInTheWay.string() + ".partial"));
}

TEST(HeadlessWindow, CursorRequestsAreRecordedInOrder)
{
  Editor editor;
  static_cast<void>(editor.graphics->OpenWindow(nullptr));
  IDrawContextHeadless& graphics = *editor.graphics;
  graphics.HideCursor(true, true);
  graphics.MoveCursor(12.5f, 40.0f);
  EXPECT_EQ(graphics.SetCursor(int(ECursor::kHand)), int(ECursor::kArrow));
  EXPECT_EQ(graphics.SetCursor(int(ECursor::kIBeam)), int(ECursor::kHand));
  graphics.HideCursor(false, false);

  using Kind = IDrawContextHeadless::CursorRequest::EKind;
  const auto& requests = graphics.CursorRequests();
  ASSERT_EQ(requests.size(), 5u);
  EXPECT_EQ(requests[0].kind, Kind::kHide);
  EXPECT_TRUE(requests[0].hide);
  EXPECT_TRUE(requests[0].lock);
  EXPECT_EQ(requests[1].kind, Kind::kMove);
  EXPECT_EQ(requests[1].x, 12.5f);
  EXPECT_EQ(requests[1].y, 40.0f);
  EXPECT_EQ(requests[2].kind, Kind::kSet);
  EXPECT_EQ(requests[2].cursor, int(ECursor::kHand));
  EXPECT_EQ(requests[3].cursor, int(ECursor::kIBeam));
  EXPECT_EQ(requests[4].kind, Kind::kHide);
  EXPECT_FALSE(requests[4].hide);
  EXPECT_FALSE(graphics.CursorHidden());
  // Moving the cursor moves the pointer the dispatch knows.
  EXPECT_EQ(graphics.LastPointerX(), 12.5f);
  EXPECT_EQ(graphics.LastPointerY(), 40.0f);
}

TEST(HeadlessWindow, ShowingALockedCursorPutsThePointerBackWhereItWasHidden)
{
  struct Case
  {
    const char* name;
    bool lock;
    float movedToX; // by MoveCursor while hidden; -1: not moved
    float expectedX;
  };
  // Hidden at x 20; the pointer then travels to x 70 as a window reports it.
  const Case cases[] = {
    { "locked", true, -1.0f, 20.0f },
    { "not locked", false, -1.0f, 70.0f },
    { "locked, moved while hidden", true, 45.0f, 45.0f },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    Editor editor;
    static_cast<void>(editor.graphics->OpenWindow(nullptr));
    IDrawContextHeadless& graphics = *editor.graphics;
    graphics.SetLastPointer(20.0f, 30.0f);
    graphics.HideCursor(true, c.lock);
    if (c.movedToX >= 0.0f) graphics.MoveCursor(c.movedToX, 30.0f);
    graphics.SetLastPointer(70.0f, 60.0f);
    graphics.HideCursor(false, false);
    EXPECT_EQ(graphics.LastPointerX(), c.expectedX);
    EXPECT_EQ(graphics.LastPointerY(), c.lock ? 30.0f : 60.0f);
  }
}

TEST(HeadlessWindow, TextFieldIsRecordedAndAnsweredByTheCaller)
{
  Editor editor;
  static_cast<void>(editor.graphics->OpenWindow(nullptr));
  IDrawContextHeadless& graphics = *editor.graphics;
  ITextStyle style;
  style.size = 11.0f;
  graphics.OpenTextField(*editor.panel, style, { 20, 20, 60, 34 }, "16", -1);
  ASSERT_TRUE(graphics.TextField().has_value());
  EXPECT_EQ(graphics.TextField()->text, "16");
  EXPECT_EQ(graphics.TextField()->paramIndex, -1);
  EXPECT_EQ(graphics.TextField()->charLimit, editor.panel->EntryCharLimit());
  EXPECT_EQ(graphics.TextField()->bounds, (IBounds { 20, 20, 60, 34 }));
  EXPECT_EQ(graphics.TextField()->style.size, 11.0f);
  graphics.CommitTextField("24");
  EXPECT_EQ(editor.panel->committedText, "24");

  // Closing the window with a field open cancels it.
  graphics.OpenTextField(*editor.panel, style, { 20, 20, 60, 34 }, "8", -1);
  ASSERT_TRUE(graphics.TextField().has_value());
  graphics.CloseWindow();
  EXPECT_FALSE(graphics.TextField().has_value());
  EXPECT_EQ(graphics.NControls(), 0);
  EXPECT_EQ(graphics.WindowHandle(), nullptr);
}

TEST(HeadlessWindow, PopupMenuCompletesLaterWithTheCallersChoice)
{
  struct Case
  {
    int chosen; // −1: cancelled
  };
  for (const Case c : { Case { 1 }, Case { 0 }, Case { -1 } })
  {
    SCOPED_TRACE(c.chosen);
    Editor editor;
    static_cast<void>(editor.graphics->OpenWindow(nullptr));
    IDrawContextHeadless& graphics = *editor.graphics;
    IMenu menu("Target Bits");
    menu.AddItem("16");
    menu.AddItem("24");
    graphics.OpenMenu(*editor.panel, menu, { 20, 40, 20, 40 }, 0, false);
    ASSERT_TRUE(graphics.PopupMenu().has_value());
    EXPECT_EQ(graphics.PopupMenu()->menu, &menu);
    EXPECT_EQ(graphics.PopupMenu()->bounds, (IBounds { 20, 40, 20, 40 }));
    EXPECT_FALSE(editor.panel->menuAnswered);
    if (c.chosen >= 0)
    {
      menu.SetChosenIndex(c.chosen);
      graphics.CommitMenuChoice(&menu);
    }
    else
    {
      graphics.CommitMenuChoice(nullptr);
    }
    EXPECT_TRUE(editor.panel->menuAnswered);
    EXPECT_EQ(editor.panel->chosenIndex, c.chosen);
    EXPECT_EQ(graphics.MenuControl(), nullptr);
  }
}

} // namespace
} // namespace kit::ui
