#include "graphics/platform/draw_context_headless.h"

#include "binding/editor_delegate.h"

#include <cairo.h>

#include <system_error>

namespace kit::ui
{

IDrawContextHeadless::IDrawContextHeadless(IEditorDelegate& editorDelegate, int logicalWidth, int logicalHeight,
                                           int tickRate, float zoom)
    : IDrawContextCairo(editorDelegate, logicalWidth, logicalHeight, tickRate, zoom)
{
}

IDrawContextHeadless::~IDrawContextHeadless() = default;

bool IDrawContextHeadless::Tick()
{
  IBoundsList regions;
  if (!CollectDirtyRegions(regions)) return false;
  MarkAllControlsClean();
  PaintRegions(regions);
  return true;
}

bool IDrawContextHeadless::WritePng(const std::filesystem::path& path) const
{
  const std::span<const std::uint8_t> bytes = FrameBufferBytes();
  if (bytes.empty()) return false;
  // A surface over the frame's own bytes: Cairo only reads them here.
  auto* pixels = const_cast<std::uint8_t*>(bytes.data());
  cairo_surface_t* surface = cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, FramePixelWidth(),
                                                                 FramePixelHeight(), 4 * FramePixelWidth());
  std::filesystem::path temporary = path;
  temporary += ".partial";
  bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                 cairo_surface_write_to_png(surface, temporary.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  std::error_code error;
  if (written)
  {
    std::filesystem::rename(temporary, path, error);
    written = !error;
  }
  if (!written) std::filesystem::remove(temporary, error);
  return written;
}

void IDrawContextHeadless::HideCursor(bool hide, bool lock)
{
  cursorRequests.push_back({ CursorRequest::EKind::kHide, hide, lock, 0.0f, 0.0f, 0 });
  if (hide && !CursorHidden())
  {
    hiddenPointerX = LastPointerX();
    hiddenPointerY = LastPointerY();
  }
  const bool returns = !hide && CursorHidden() && CursorLocked();
  IDrawContextCairo::HideCursor(hide, lock);
  if (returns) SetLastPointer(hiddenPointerX, hiddenPointerY);
}

void IDrawContextHeadless::MoveCursor(float x, float y)
{
  cursorRequests.push_back({ CursorRequest::EKind::kMove, false, false, x, y, 0 });
  SetLastPointer(x, y);
  hiddenPointerX = x;
  hiddenPointerY = y;
}

int IDrawContextHeadless::SetCursor(int kind)
{
  cursorRequests.push_back({ CursorRequest::EKind::kSet, false, false, 0.0f, 0.0f, kind });
  return IDrawContextCairo::SetCursor(kind);
}

void IDrawContextHeadless::EndTextEntry()
{
  textField.reset();
}

void* IDrawContextHeadless::OpenWindow(void* parent)
{
  // There is no window to put into a host's: the editor exists only for its caller.
  if (parent) return nullptr;
  RebuildFrameBuffer();
  open = true;
  ApplyScreenScale(displayDensity);
  Delegate().LayoutEditor(*this);
  MarkAllControlsDirty();
  Delegate().OnEditorOpened();
  return WindowHandle();
}

void IDrawContextHeadless::CloseWindow()
{
  ClearControls();
  textField.reset();
  popupMenu.reset();
  open = false;
}

void* IDrawContextHeadless::WindowHandle() const
{
  return open ? const_cast<IDrawContextHeadless*>(this) : nullptr;
}

const char* IDrawContextHeadless::PlatformName() const
{
  return "headless";
}

void IDrawContextHeadless::CreateTextField(int paramIndex, const ITextStyle& style, const IBounds& bounds,
                                           int charLimit, std::string_view text)
{
  textField = TextFieldRequest { paramIndex, style, bounds, charLimit, std::string(text) };
}

IMenu* IDrawContextHeadless::CreatePopupMenu(IMenu& menu, const IBounds& bounds, bool& completesLater)
{
  popupMenu = MenuRequest { &menu, bounds };
  completesLater = true;
  return nullptr;
}

} // namespace kit::ui
