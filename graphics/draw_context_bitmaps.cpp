// Pictures and fonts by name: the variant that suits the total scale, decoded once per process
// into the shared bitmap cache, or redrawn at the wanted scale when no variant has it.
#include "graphics/draw_context.h"

#include "graphics/bitmap_cache.h"
#include "graphics/image_variant.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace kit::ui
{

namespace
{

IBitmapRef MakeBitmapRef(APIBitmap* bitmap, std::string_view name, int frameCount, bool framesHorizontal)
{
  IBitmapRef ref;
  if (!bitmap) return ref;
  ref.bitmap = bitmap;
  ref.width = int(float(bitmap->Width()) / bitmap->Scale());
  ref.height = int(float(bitmap->Height()) / bitmap->Scale());
  ref.frameCount = std::max(1, frameCount);
  ref.framesHorizontal = framesHorizontal;
  ref.resourceName = name;
  return ref;
}

} // namespace

int IDrawContext::TargetBitmapScale(int targetScale) const
{
  if (targetScale > 0) return targetScale;
  const float scale = std::ceil(TotalScale());
  return scale >= 1.0f ? int(scale) : 1;
}

IBitmapRef IDrawContext::LoadBitmapByName(std::string_view name, int frameCount, bool framesHorizontal, int targetScale)
{
  BitmapCache& cache = BitmapCache::Process();
  const std::lock_guard guard(cache.Lock());
  const int target = TargetBitmapScale(targetScale);
  if (APIBitmap* cached = cache.Find(name, float(target)))
    return MakeBitmapRef(cached, name, frameCount, framesHorizontal);
  if (!BitmapExtensionSupported(ResourceExtension(name))) return {};

  APIBitmap* source = nullptr;
  std::unique_ptr<APIBitmap> created;
  const ImageVariant variant = FindImageVariant(name, target);
  if (variant.location != EResourceLocation::kNotFound)
  {
    if (variant.scale != target) source = cache.Find(name, float(variant.scale));
    if (!source)
    {
      created = CreateBitmap(variant.location, variant.path, variant.scale);
      source = created.get();
    }
  }
  else
  {
    for (const int scale : ScaleOrder(target))
    {
      source = cache.Find(name, float(scale));
      if (source) break;
    }
  }
  if (!source) return {};

  if (source->Scale() == float(target))
  {
    if (created) source = cache.Add(std::move(created), name, float(target));
    return MakeBitmapRef(source, name, frameCount, framesHorizontal);
  }
  // Only the rescaled picture is kept; a source decoded for this alone goes with `created`.
  IBitmapRef rescaled = RescaleBitmap(*source, name, target);
  rescaled.frameCount = std::max(1, frameCount);
  rescaled.framesHorizontal = framesHorizontal;
  return rescaled;
}

IBitmapRef IDrawContext::RescaleBitmap(APIBitmap& source, std::string_view name, int targetScale)
{
  const float savedDrawScale = drawScale;
  const float savedScreenScale = screenScale;
  screenScale = float(targetScale);
  drawScale = source.DrawScale();
  const float logicalWidth = float(source.Width()) / source.Scale() / source.DrawScale();
  const float logicalHeight = float(source.Height()) / source.Scale() / source.DrawScale();
  const IBounds area(0.0f, 0.0f, logicalWidth, logicalHeight);
  PathTransformSave();
  std::unique_ptr<IDrawLayer> layer;
  if (StartLayer(nullptr, area, true))
  {
    IBitmapRef whole;
    whole.bitmap = &source;
    whole.width = int(float(source.Width()) / source.Scale());
    whole.height = int(float(source.Height()) / source.Scale());
    whole.resourceName = name;
    BlitBitmap(whole, area, 0, 0);
    layer = EndLayer();
  }
  drawScale = savedDrawScale;
  screenScale = savedScreenScale;
  // Back to the transform and scales the caller drew with.
  PathTransformRestore();
  if (!layer || !layer->bitmap) return {};
  APIBitmap* result = layer->bitmap.get();
  RetainBitmap(std::move(layer->bitmap), name);
  return MakeBitmapRef(result, name, 1, false);
}

void IDrawContext::RetainBitmap(std::unique_ptr<APIBitmap> bitmap, std::string_view name)
{
  if (!bitmap) return;
  BitmapCache& cache = BitmapCache::Process();
  const float scale = bitmap->Scale();
  (void)cache.Add(std::move(bitmap), name, scale);
}

void IDrawContext::ReleaseBitmap(const APIBitmap* bitmap)
{
  if (bitmap) (void)BitmapCache::Process().Remove(bitmap);
}

IBitmapRef IDrawContext::ReloadBitmap(const IBitmapRef& bitmap)
{
  return LoadBitmapByName(bitmap.resourceName, bitmap.frameCount, bitmap.framesHorizontal, 0);
}

IBitmapRef IDrawContext::LoadBitmapFromMemory(std::string_view name, std::span<const std::uint8_t> bytes,
                                              int frameCount, bool framesHorizontal, int targetScale)
{
  BitmapCache& cache = BitmapCache::Process();
  const std::lock_guard guard(cache.Lock());
  const int target = TargetBitmapScale(targetScale);
  APIBitmap* bitmap = cache.Find(name, float(target));
  if (!bitmap)
  {
    std::unique_ptr<APIBitmap> decoded = CreateBitmapFromMemory(bytes, target);
    if (!decoded) return {};
    bitmap = cache.Add(std::move(decoded), name, float(target));
  }
  return MakeBitmapRef(bitmap, name, frameCount, framesHorizontal);
}

std::span<const std::uint8_t> IDrawContext::LoadResourceBytes(std::string_view name, std::string_view type)
{
  return ui::LoadResourceBytes(name, type);
}

bool IDrawContext::LoadFontByName(std::string_view fontId, std::string_view fileName)
{
  return MakeBackendFont(fontId, fileName);
}

} // namespace kit::ui
