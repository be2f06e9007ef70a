// Pictures in the Cairo backend: decoding PNG and JPEG bytes into image surfaces once, at load time, and
// drawing them (or a layer's pixels) scaled into the frame with bilinear filtering.
#include "graphics/draw_context_cairo.h"

#include "graphics/draw_context_cairo_state.h"
#include "graphics/image_variant.h"
#include "graphics/picture_limits.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace kit::ui
{
namespace
{

constexpr std::array<std::uint8_t, 8> kPngSignature { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A };

// Cairo's PNG reader pulls the bytes through this, never past their end.
struct ByteReader
{
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* data, unsigned int length)
{
  auto& reader = *static_cast<ByteReader*>(closure);
  if (length > reader.bytes.size() - reader.position) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader.bytes.data() + reader.position, length);
  reader.position += length;
  return CAIRO_STATUS_SUCCESS;
}

// The size the PNG's first chunk, which must be IHDR, declares may be decoded.
bool PngSizeAcceptable(std::span<const std::uint8_t> bytes)
{
  constexpr std::size_t kIhdrEnd = 8 + 8 + 8; // signature, chunk length and type, width and height
  if (bytes.size() < kIhdrEnd || !std::equal(bytes.begin() + 12, bytes.begin() + 16, "IHDR")) return false;
  const auto bigEndian = [&](std::size_t at)
  {
    return std::uint64_t(bytes[at]) << 24 | std::uint64_t(bytes[at + 1]) << 16 | std::uint64_t(bytes[at + 2]) << 8 |
           bytes[at + 3];
  };
  return PictureSizeAcceptable(bigEndian(16), bigEndian(20));
}

// Cairo reports a failed decode with an error surface, never with null.
CairoSurfacePtr DecodePng(std::span<const std::uint8_t> bytes)
{
  if (bytes.size() < kPngSignature.size() || !std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin()))
    return nullptr;
  if (!PngSizeAcceptable(bytes)) return nullptr;
  ByteReader reader { bytes };
  CairoSurfacePtr surface(cairo_image_surface_create_from_png_stream(ReadBytes, &reader));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  if (cairo_image_surface_get_width(surface.get()) < 1 || cairo_image_surface_get_height(surface.get()) < 1)
    return nullptr;
  return surface;
}

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// the decoder, whose frame holds only plain C objects, so the jump skips no destructor.
struct JpegError
{
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  bool truncated; // the data ended early: libjpeg only warns and fills the rest with grey
};

[[noreturn]] void LeaveOnJpegError(j_common_ptr info)
{
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void KeepJpegQuiet(j_common_ptr) {}

void NoteJpegWarning(j_common_ptr info, int level)
{
  auto* error = reinterpret_cast<JpegError*>(info->err);
  if (level < 0 && error->manager.msg_code == JWRN_JPEG_EOF) error->truncated = true;
}

// An opaque picture in premultiplied BGRA (libjpeg-turbo writes the bytes in that order with
// alpha 255); null for anything libjpeg cannot read, such as CMYK files, and for a file cut short.
cairo_surface_t* DecodeJpegSurface(const std::uint8_t* data, std::size_t size)
{
  jpeg_decompress_struct info {};
  JpegError error {};
  cairo_surface_t* volatile surface = nullptr;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = LeaveOnJpegError;
  error.manager.output_message = KeepJpegQuiet;
  error.manager.emit_message = NoteJpegWarning;
  if (setjmp(error.jump) != 0)
  {
    jpeg_destroy_decompress(&info);
    if (surface != nullptr) cairo_surface_destroy(surface);
    return nullptr;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  (void)jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRA;
  if (!PictureSizeAcceptable(info.image_width, info.image_height))
  {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  (void)jpeg_start_decompress(&info);
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(info.output_width), int(info.output_height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
  {
    jpeg_destroy_decompress(&info);
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_surface_flush(surface);
  unsigned char* pixels = cairo_image_surface_get_data(surface);
  const std::size_t stride = std::size_t(cairo_image_surface_get_stride(surface));
  while (info.output_scanline < info.output_height)
  {
    JSAMPROW row = pixels + stride * info.output_scanline;
    (void)jpeg_read_scanlines(&info, &row, 1);
  }
  (void)jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  if (error.truncated)
  {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

CairoSurfacePtr DecodeJpeg(std::span<const std::uint8_t> bytes)
{
  if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) return nullptr;
  return CairoSurfacePtr(DecodeJpegSurface(bytes.data(), bytes.size()));
}

bool ReadFile(std::string_view path, std::vector<std::uint8_t>& bytes)
{
  std::ifstream file(std::string(path), std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

} // namespace

void IDrawContextCairo::BlitBitmap(const IBitmapRef& bitmap, const IBounds& bounds, int srcX, int srcY,
                                   const IBlending* blend)
{
  cairo_t* context = state->context;
  auto* picture = dynamic_cast<Bitmap*>(bitmap.bitmap);
  if (context == nullptr || !state->drawMatrixUsable || picture == nullptr) return;
  // c pixels of the picture make one logical unit, so a picture whose scale is the total scale
  // lands pixel for pixel. A zero or non-finite factor would leave Cairo a singular matrix.
  const double c = double(picture->DrawScale()) * double(picture->Scale());
  if (!(c > 0.0) || !std::isfinite(c) || !std::isfinite(bounds.left) || !std::isfinite(bounds.top)) return;

  cairo_save(context);
  ClipRectangle(context, bounds.left, bounds.top, bounds.right, bounds.bottom);
  cairo_translate(context, bounds.left, bounds.top);
  cairo_scale(context, 1.0 / c, 1.0 / c);
  cairo_translate(context, -double(srcX) * c, -double(srcY) * c);
  cairo_set_source_surface(context, picture->Surface(), 0.0, 0.0);
  cairo_pattern_t* source = cairo_get_source(context);
  cairo_pattern_set_filter(source, CAIRO_FILTER_BILINEAR);
  // Edge pixels are sampled from inside the picture, and nothing is drawn outside it.
  cairo_pattern_set_extend(source, CAIRO_EXTEND_PAD);
  ClipRectangle(context, 0.0, 0.0, picture->Width(), picture->Height());
  SetBlendOperator(context, blend);
  const double alpha = blend == nullptr ? 1.0 : std::clamp(std::trunc(BlendOpacity(blend) * 255.0), 0.0, 255.0) / 255.0;
  cairo_paint_with_alpha(context, alpha);
  cairo_restore(context);
}

std::unique_ptr<APIBitmap> IDrawContextCairo::CreateBitmapFromMemory(std::span<const std::uint8_t> bytes, int scale)
{
  if (scale < 1) return nullptr;
  CairoSurfacePtr surface = DecodePng(bytes);
  if (!surface) surface = DecodeJpeg(bytes);
  if (!surface) return nullptr;
  const int widthPixels = cairo_image_surface_get_width(surface.get());
  const int heightPixels = cairo_image_surface_get_height(surface.get());
  return std::make_unique<Bitmap>(std::move(surface), widthPixels, heightPixels, float(scale), 1.0f, false);
}

std::unique_ptr<APIBitmap> IDrawContextCairo::CreateBitmap(EResourceLocation location, std::string_view path, int scale)
{
  switch (location)
  {
  case EResourceLocation::kEmbedded:
    return CreateBitmapFromMemory(LoadResourceBytes(path, ResourceExtension(path)), scale);
  case EResourceLocation::kFile:
  {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(path, bytes)) return nullptr;
    return CreateBitmapFromMemory(bytes, scale);
  }
  case EResourceLocation::kNotFound:
    break;
  }
  return nullptr;
}

} // namespace kit::ui
