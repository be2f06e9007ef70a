// Off-screen layers: the generic half. The backend makes the layer's pixels and switches its
// drawing target in UpdateLayer.
#include "graphics/draw_context.h"

#include <cmath>
#include <limits>

namespace kit::ui
{

namespace
{

bool InPixelRange(double pixels)
{
  return pixels >= 0.0 && pixels <= double(std::numeric_limits<int>::max());
}

} // namespace

bool IDrawContext::StartLayer(IControl* control, const IBounds& bounds, bool cacheable)
{
  const float scale = TotalScale();
  const IBounds aligned = bounds.PixelAligned(scale);
  const double widthPixels = std::ceil(std::ceil(double(aligned.W())) * double(scale));
  const double heightPixels = std::ceil(std::ceil(double(aligned.H())) * double(scale));
  if (!InPixelRange(widthPixels) || !InPixelRange(heightPixels)) return false;
  std::unique_ptr<APIBitmap> bitmap = CreateLayerBitmap(int(widthPixels), int(heightPixels));
  if (!bitmap) return false;
  auto layer = std::make_unique<IDrawLayer>();
  layer->bitmap = std::move(bitmap);
  layer->control = control;
  layer->bounds = aligned;
  layer->cacheable = cacheable;
  layerStack.push_back(std::move(layer));
  UpdateLayer();
  PathTransformReset();
  PathClipRegion(aligned);
  return true;
}

std::unique_ptr<IDrawLayer> IDrawContext::EndLayer()
{
  if (layerStack.empty()) return nullptr;
  std::unique_ptr<IDrawLayer> layer = std::move(layerStack.back());
  layerStack.pop_back();
  UpdateLayer();
  return layer;
}

} // namespace kit::ui
