#include "graphics/draw_context.h"

namespace kit::ui
{

void IDrawContext::PathTransformSave()
{
  transformStack.push(transform);
}

void IDrawContext::PathTransformRestore()
{
  if (transformStack.empty()) return;
  transform = transformStack.top();
  transformStack.pop();
  PathTransformSetMatrix(transform);
}

void IDrawContext::PathTransformReset(bool clearStack)
{
  transform = ITransform2D {};
  // Popped one by one: a fresh stack would allocate on every control painted.
  if (clearStack)
    while (!transformStack.empty()) transformStack.pop();
  PathTransformSetMatrix(transform);
}

void IDrawContext::PathTransformTranslate(float x, float y)
{
  transform = transform.Translated(x, y);
  PathTransformSetMatrix(transform);
}

void IDrawContext::PathTransformScale(float x, float y)
{
  transform = transform.Scaled(x, y);
  PathTransformSetMatrix(transform);
}

void IDrawContext::PathTransformRotate(float degrees)
{
  transform = transform.Rotated(degrees);
  PathTransformSetMatrix(transform);
}

} // namespace kit::ui
