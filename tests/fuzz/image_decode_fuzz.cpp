// Picture loading given any bytes, as a damaged resource or file would give it: the PNG and
// JPEG decoders of the Cairo backend give a picture or nothing, never a read outside the
// bytes, and a picture they give can be drawn.
#include "binding/editor_delegate.h"
#include "graphics/platform/draw_context_headless.h"
#include "tests/fuzz/fuzz_input.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace
{

// The editor a picture is loaded for: one small headless window.
struct SmallEditor
{
  kit::IEditorDelegate editorDelegate { 0 };
  kit::ui::IDrawContextHeadless graphics { editorDelegate, 32, 32, 60, 1.0f };

  SmallEditor() { static_cast<void>(graphics.OpenWindow(nullptr)); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  static SmallEditor editor;
  // An exact copy, so that any read past the end meets the sanitizer's redzone.
  const std::vector<std::uint8_t> bytes(data, data + size);
  std::unique_ptr<kit::ui::APIBitmap> picture = editor.graphics.CreateBitmapFromMemory(bytes, 1);
  if (picture)
  {
    kit::fuzz::Require(picture->Width() > 0 && picture->Height() > 0, "a decoded picture has pixels");
    kit::ui::IBitmapRef reference;
    reference.bitmap = picture.get();
    reference.width = picture->Width();
    reference.height = picture->Height();
    editor.graphics.BlitBitmap(reference, kit::ui::IBounds(0, 0, 32, 32), 0, 0);
  }
  return 0;
}
