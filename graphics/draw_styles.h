// How a drawing call paints: the blending of what it draws with what is there, the pattern it
// paints with, and the stroke and fill settings. Plain data passed to every drawing call.
#pragma once

#include "graphics/colour.h"
#include "graphics/transform.h"

#include <array>
#include <cstdint>

namespace kit::ui
{

enum class EBlend : std::int32_t
{
  kSrcOver, // the default: what is drawn covers what is there
  kSrcIn,
  kSrcOut,
  kSrcAtop,
  kDstOver,
  kDstIn,
  kDstOut,
  kDstAtop,
  kAdd,
  kXOR,
};

struct IBlending
{
  EBlend mode = EBlend::kSrcOver;
  float opacity = 1.0f; // scales the alpha of the colours drawn, 0..1
};

enum class EPatternType : std::int32_t
{
  kSolid,
  kLinear,
  kRadial,
  kSweep,
};

enum class EPatternExtend : std::int32_t
{
  kNone,
  kPad,
  kReflect,
  kRepeat,
};

struct IColorStop
{
  IRgba colour;
  float offset = 0.0f; // 0..1 along the gradient
};

struct IFillPattern
{
  static constexpr int kMaxStops = 16;

  EPatternType type = EPatternType::kSolid;
  EPatternExtend extend = EPatternExtend::kPad;
  std::array<IColorStop, kMaxStops> stops {};
  int stopCount = 0;
  ITransform2D transform;

  // One colour everywhere.
  [[nodiscard]] static IFillPattern Solid(const IRgba& colour) noexcept
  {
    IFillPattern pattern;
    pattern.stops[0] = { colour, 0.0f };
    pattern.stopCount = 1;
    return pattern;
  }
};

enum class ELineCap : std::int32_t
{
  kButt,
  kRound,
  kSquare,
};

enum class ELineJoin : std::int32_t
{
  kMiter,
  kRound,
  kBevel,
};

struct IStrokeStyle
{
  static constexpr int kMaxDashes = 8;

  float miterLimit = 10.0f;
  bool preserve = false; // keep the path for a following fill or stroke
  ELineCap cap = ELineCap::kButt;
  ELineJoin join = ELineJoin::kMiter;
  std::array<float, kMaxDashes> dashes {};
  float dashOffset = 0.0f;
  int dashCount = 0; // 0: a solid line
};

enum class EFillRule : std::int32_t
{
  kWinding,
  kEvenOdd,
};

struct IFillStyle
{
  EFillRule rule = EFillRule::kWinding;
  bool preserve = false;
};

} // namespace kit::ui
