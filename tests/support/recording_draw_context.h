#pragma once
// A drawing context without pixels for tests of the backend-independent framework: every path
// operation, clip, transform, blit, layer and prompt request is written to a log as one short
// line, and pictures are fake bitmaps whose pixel size comes from the PNG header of the bytes
// they were made from.

#include "binding/editor_delegate.h"
#include "graphics/draw_context.h"
#include "graphics/image_variant.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kit::test
{

// A picture with a size and nothing else; `origin` says what it was made from.
class FakeBitmap final : public ui::APIBitmap
{
public:
  FakeBitmap(int widthPixels, int heightPixels, float pixelsPerUnit, float zoom, std::string madeFrom)
      : APIBitmap(widthPixels, heightPixels, pixelsPerUnit, zoom)
      , origin(std::move(madeFrom))
  {
  }

  std::string origin;
};

// Width and height from the IHDR chunk that follows the PNG signature; nothing for other bytes.
inline std::optional<std::pair<int, int>> PngSize(std::span<const std::uint8_t> bytes)
{
  static constexpr std::uint8_t kSignature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
  if (bytes.size() < 24) return std::nullopt;
  for (std::size_t i = 0; i < 8; ++i)
  {
    if (bytes[i] != kSignature[i]) return std::nullopt;
  }
  if (bytes[12] != 'I' || bytes[13] != 'H' || bytes[14] != 'D' || bytes[15] != 'R') return std::nullopt;
  const auto read32 = [&](std::size_t at)
  {
    return int((std::uint32_t(bytes[at]) << 24) | (std::uint32_t(bytes[at + 1]) << 16) |
               (std::uint32_t(bytes[at + 2]) << 8) | std::uint32_t(bytes[at + 3]));
  };
  return std::make_pair(read32(16), read32(20));
}

inline std::string Num(double value)
{
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

class RecordingDrawContext : public ui::IDrawContext
{
public:
  explicit RecordingDrawContext(IEditorDelegate& editorDelegate, int editorWidth = 500, int editorHeight = 525,
                                float zoom = 1.0f)
      : IDrawContext(editorDelegate, editorWidth, editorHeight, 60, zoom)
  {
  }

  // What happened, one line per operation, in order.
  std::vector<std::string> log;
  void Log(std::string line) { log.push_back(std::move(line)); }
  // The lines that start with prefix.
  [[nodiscard]] std::vector<std::string> Lines(std::string_view prefix) const
  {
    std::vector<std::string> lines;
    for (const std::string& line : log)
    {
      if (std::string_view(line).substr(0, prefix.size()) == prefix) lines.push_back(line);
    }
    return lines;
  }

  // Prompts: how the fake platform answers.
  bool menusCompleteLater = false;
  int menuChoice = -1; // the item the "user" picks in a menu that completes at once
  // The last requests.
  struct TextFieldRequest
  {
    int paramIndex = -2;
    ui::IBounds bounds;
    int charLimit = 0;
    std::string text;
  };
  std::optional<TextFieldRequest> textField;
  ui::IMenu* shownMenu = nullptr;
  ui::IBounds shownMenuBounds;
  int endTextEntryCalls = 0;
  int bitmapsCreated = 0;

  // Open access to state the tests look at.
  using IDrawContext::capturedControls;
  using IDrawContext::hoverControl;
  using IDrawContext::promptMenu;

  void BlitBitmap(const ui::IBitmapRef& bitmap, const ui::IBounds& bounds, int srcX, int srcY,
                  const ui::IBlending*) override
  {
    const auto* fake = dynamic_cast<const FakeBitmap*>(bitmap.bitmap);
    Log("blit " + (fake ? fake->origin : std::string("?")) + " " + Rect(bounds) + " from " + Num(srcX) + " " +
        Num(srcY));
  }
  void RenderMultiLineText(const ui::ITextStyle& style, std::string_view text, const ui::IBounds& bounds,
                           const ui::IBlending* blend) override
  {
    RenderText(style, text, bounds, blend);
  }
  [[nodiscard]] ui::IRgba ReadPixel(float, float) override { return { 0, 0, 0, 0 }; }
  [[nodiscard]] void* DrawingContext() override { return nullptr; }
  [[nodiscard]] const char* DrawingApiName() const override { return "RECORDING"; }
  [[nodiscard]] bool BitmapExtensionSupported(std::string_view extension) const override
  {
    return ui::BitmapExtensionSupported(extension);
  }
  void UpdateLayer() override { Log("layer " + Num(double(layerStack.size()))); }
  void PathClear() override { Log("clear"); }
  void PathClose() override { Log("close"); }
  void PathArc(float cx, float cy, float r, float a1, float a2, bool counterClockwise) override
  {
    Log("arc " + Num(cx) + " " + Num(cy) + " " + Num(r) + " " + Num(a1) + " " + Num(a2) +
        (counterClockwise ? " ccw" : ""));
  }
  void PathMoveTo(float x, float y) override { Log("move " + Num(x) + " " + Num(y)); }
  void PathLineTo(float x, float y) override { Log("line " + Num(x) + " " + Num(y)); }
  void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x2, float y2) override
  {
    Log("cubic " + Num(c1x) + " " + Num(c1y) + " " + Num(c2x) + " " + Num(c2y) + " " + Num(x2) + " " + Num(y2));
  }
  void PathQuadTo(float cx, float cy, float x2, float y2) override
  {
    Log("quad " + Num(cx) + " " + Num(cy) + " " + Num(x2) + " " + Num(y2));
  }
  void PathStroke(const ui::IFillPattern& pattern, float thickness, const ui::IStrokeStyle& style,
                  const ui::IBlending* blend) override
  {
    std::string line = "stroke " + Colour(pattern) + " " + Num(thickness);
    for (int i = 0; i < style.dashCount; ++i) line += " dash " + Num(style.dashes[std::size_t(i)]);
    if (blend) line += " opacity " + Num(blend->opacity);
    Log(line);
  }
  void PathFill(const ui::IFillPattern& pattern, const ui::IFillStyle& style, const ui::IBlending* blend) override
  {
    std::string line = "fill " + Colour(pattern);
    if (style.preserve) line += " preserve";
    if (blend) line += " opacity " + Num(blend->opacity);
    Log(line);
  }
  void PathTransformSetMatrix(const ui::ITransform2D& m) override
  {
    Log("matrix " + Num(m.xx) + " " + Num(m.yx) + " " + Num(m.xy) + " " + Num(m.yy) + " " + Num(m.tx) + " " +
        Num(m.ty));
  }
  void PathClipRegion(const ui::IBounds& region) override { Log("clip " + Rect(region)); }
  void BeginFrame() override { Log("begin frame"); }
  void EndFrame() override { Log("end frame"); }
  void RebuildFrameBuffer() override { Log("rebuild"); }
  void PlatformResize(bool hostHasResized) override { Log(std::string("resize ") + (hostHasResized ? "1" : "0")); }
  void EndTextEntry() override { ++endTextEntryCalls; }
  void CreateTextField(int paramIndex, const ui::ITextStyle&, const ui::IBounds& bounds, int charLimit,
                       std::string_view text) override
  {
    textField = TextFieldRequest { paramIndex, bounds, charLimit, std::string(text) };
  }
  [[nodiscard]] ui::IMenu* CreatePopupMenu(ui::IMenu& menu, const ui::IBounds& bounds, bool& completesLater) override
  {
    shownMenu = &menu;
    shownMenuBounds = bounds;
    completesLater = menusCompleteLater;
    if (menusCompleteLater || menuChoice < 0) return nullptr;
    menu.SetChosenIndex(menuChoice);
    return &menu;
  }
  [[nodiscard]] std::unique_ptr<ui::APIBitmap> CreateBitmapFromMemory(std::span<const std::uint8_t> bytes,
                                                                      int scale) override
  {
    return MakeFake(bytes, scale, "memory@" + Num(scale));
  }
  [[nodiscard]] std::unique_ptr<ui::APIBitmap> CreateBitmap(ui::EResourceLocation location, std::string_view path,
                                                            int scale) override
  {
    std::string name(path);
    if (location == ui::EResourceLocation::kEmbedded)
      return MakeFake(ui::LoadResourceBytes(path, ui::ResourceExtension(path)), scale, name);
    std::ifstream file(name, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return MakeFake(bytes, scale, name);
  }
  [[nodiscard]] std::unique_ptr<ui::APIBitmap> CreateLayerBitmap(int widthPixels, int heightPixels) override
  {
    Log("layer bitmap " + Num(widthPixels) + " x " + Num(heightPixels));
    return std::make_unique<FakeBitmap>(widthPixels, heightPixels, screenScale, drawScale, "layer");
  }
  [[nodiscard]] bool MakeBackendFont(std::string_view fontId, std::string_view fileName) override
  {
    Log("font " + std::string(fontId) + " " + std::string(fileName));
    return true;
  }
  [[nodiscard]] float DoMeasureText(const ui::ITextStyle&, std::string_view text, ui::IBounds& bounds) override
  {
    Log("measure " + std::string(text));
    bounds = ui::IBounds(0.0f, 0.0f, float(text.size()), 10.0f);
    return float(text.size());
  }
  void DoDrawText(const ui::ITextStyle&, std::string_view text, const ui::IBounds& bounds,
                  const ui::IBlending*) override
  {
    Log("text " + std::string(text) + " " + Rect(bounds));
  }

  [[nodiscard]] static std::string Rect(const ui::IBounds& b)
  {
    return Num(b.left) + " " + Num(b.top) + " " + Num(b.right) + " " + Num(b.bottom);
  }

private:
  [[nodiscard]] static std::string Colour(const ui::IFillPattern& pattern)
  {
    const ui::IRgba& c = pattern.stops[0].colour;
    return "(" + Num(c.A) + "," + Num(c.R) + "," + Num(c.G) + "," + Num(c.B) + ")";
  }
  [[nodiscard]] std::unique_ptr<ui::APIBitmap> MakeFake(std::span<const std::uint8_t> bytes, int scale,
                                                        std::string origin)
  {
    const auto size = PngSize(bytes);
    if (!size) return nullptr;
    ++bitmapsCreated;
    Log("decode " + origin + " at " + Num(scale));
    return std::make_unique<FakeBitmap>(size->first, size->second, float(scale), 1.0f, std::move(origin));
  }
};

// A delegate with real parameters that writes down what the editor tells it.
class RecordingDelegate : public IEditorDelegate
{
public:
  explicit RecordingDelegate(int paramCount = 4)
      : IEditorDelegate(paramCount)
  {
  }

  std::vector<std::string> calls;
  bool hostResizes = true; // the answer to ResizeHostViewFromEditor

  void BeginParamGestureFromEditor(int index) override { calls.push_back("begin " + Num(index)); }
  void SetParamFromEditor(int index, double normalized) override
  {
    calls.push_back("set " + Num(index) + " " + Num(normalized));
    IEditorDelegate::SetParamFromEditor(index, normalized);
  }
  void EndParamGestureFromEditor(int index) override { calls.push_back("end " + Num(index)); }
  [[nodiscard]] bool ResizeHostViewFromEditor(int widthPixels, int heightPixels, bool resizeHost) override
  {
    calls.push_back("host size " + Num(widthPixels) + " x " + Num(heightPixels) + (resizeHost ? " ask" : ""));
    return hostResizes;
  }
  // The calls that start with prefix.
  [[nodiscard]] std::vector<std::string> Calls(std::string_view prefix) const
  {
    std::vector<std::string> found;
    for (const std::string& call : calls)
    {
      if (std::string_view(call).substr(0, prefix.size()) == prefix) found.push_back(call);
    }
    return found;
  }
};

} // namespace kit::test
