#include "framework/param.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>
#include <system_error>
#include <utility>

namespace kit
{
namespace
{

// The "C" locale as an object, made on first use: strtod_l then reads "16.6" with a decimal
// point even after the host has switched the process to a locale with a decimal comma.
class CLocale
{
public:
  CLocale() noexcept
      : handle(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr)))
  {
  }
  ~CLocale()
  {
    if (handle != static_cast<locale_t>(nullptr)) freelocale(handle);
  }
  CLocale(const CLocale&) = delete;
  CLocale& operator=(const CLocale&) = delete;

  [[nodiscard]] locale_t Get() const noexcept { return handle; }

private:
  locale_t handle;
};

// strtod's leading-part reading (whitespace, sign, digits, exponent, "inf", "nan", hex),
// 0.0 when the text does not start with a number.
double ReadLeadingNumber(std::string_view text)
{
  static const CLocale cLocale;
  const std::string terminated(text);
  if (cLocale.Get() == static_cast<locale_t>(nullptr))
  {
    // Only reachable when the C library cannot describe its own "C" locale.
    return std::strtod(terminated.c_str(), nullptr);
  }
  return strtod_l(terminated.c_str(), nullptr, cLocale.Get());
}

// printf's "%.*f" (or "%+.*f" with forceSign) in the C locale, cut to the text's capacity.
void WriteFixed(double v, int precision, bool forceSign, IParam::Text& text) noexcept
{
  // The longest double in fixed notation has 309 integer digits, plus sign, point, decimals.
  std::array<char, 352> buffer {};
  char* out = buffer.data();
  if (forceSign && !std::signbit(v)) *out++ = '+';
  const auto [end, error] = std::to_chars(out, buffer.data() + buffer.size(), v, std::chars_format::fixed, precision);
  if (error != std::errc {})
  {
    text.Clear();
    return;
  }
  text.Set(std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())));
}

} // namespace

void IParam::Shape::Prepare(const IParam&) {}

int IParam::Shape::ScaleKind() const noexcept
{
  return 0;
}

std::unique_ptr<IParam::Shape> IParam::ShapeLinear::Duplicate() const
{
  return std::make_unique<ShapeLinear>(*this);
}

void IParam::ShapeLinear::Prepare(const IParam&) {}

int IParam::ShapeLinear::ScaleKind() const noexcept
{
  return 0;
}

double IParam::ShapeLinear::RealFromUnit(double x, const IParam& param) const noexcept
{
  return param.Min() + (param.Max() - param.Min()) * x;
}

double IParam::ShapeLinear::UnitFromReal(double real, const IParam& param) const noexcept
{
  return (real - param.Min()) / (param.Max() - param.Min());
}

IParam::IParam()
    : shape(std::make_unique<ShapeLinear>())
{
}

void IParam::SetupDouble(std::string_view newName, double newDefault, double lowest, double highest, double newStep,
                         std::string_view newLabel, int newFlags, std::string_view newGroup, const Shape& newShape,
                         int newUnit, DisplayFunc newDisplayFunc, ParseFunc newParseFunc)
{
  if (type == kTypeNone) type = kTypeDouble;
  name.Set(newName);
  label.Set(newLabel);
  group.Set(newGroup);
  min = lowest;
  max = std::max(highest, lowest + newStep);
  step = newStep;
  defaultValue = newDefault;
  unit = newUnit;
  flags = newFlags;
  displayFunc = std::move(newDisplayFunc);
  parseFunc = std::move(newParseFunc);
  Set(Conform(newDefault));

  int decimals = 0;
  for (double scaled = newStep; std::floor(scaled) != scaled && decimals < kMaxDisplayPrecision; scaled *= 10.0)
  {
    ++decimals;
  }
  displayPrecision = decimals;

  std::unique_ptr<Shape> copy = newShape.Duplicate();
  shape = copy ? std::move(copy) : std::make_unique<ShapeLinear>();
  shape->Prepare(*this);
}

void IParam::SetupInt(std::string_view newName, int newDefault, int lowest, int highest, std::string_view newLabel,
                      int newFlags, std::string_view newGroup)
{
  if (type == kTypeNone) type = kTypeInt;
  SetupDouble(newName, newDefault, lowest, highest, 1.0, newLabel, newFlags | kFlagStepped, newGroup, ShapeLinear {},
              kDefaultUnit, {}, {});
}

void IParam::SetupEnum(std::string_view newName, int newDefault, int count, std::string_view newLabel, int newFlags,
                       std::string_view newGroup, std::initializer_list<std::string_view> texts)
{
  if (type == kTypeNone) type = kTypeEnum;
  SetupInt(newName, newDefault, 0, count - 1, newLabel, newFlags | kFlagStepped, newGroup);
  int index = 0;
  for (const std::string_view text : texts)
  {
    if (index >= count) break;
    AddDisplayText(index, text);
    ++index;
  }
}

void IParam::SetupBool(std::string_view newName, bool newDefault, std::string_view newLabel, int newFlags,
                       std::string_view newGroup, std::string_view offText, std::string_view onText)
{
  if (type == kTypeNone) type = kTypeBool;
  SetupEnum(newName, newDefault ? 1 : 0, 2, newLabel, newFlags | kFlagStepped, newGroup);
  AddDisplayText(0.0, offText);
  AddDisplayText(1.0, onText);
}

void IParam::AddDisplayText(double textValue, std::string_view text)
{
  displayTexts.push_back(DisplayText { textValue, Text(text) });
}

double IParam::Value() const noexcept
{
  return value.load(std::memory_order_acquire);
}

void IParam::Set(double real) noexcept
{
  value.exchange(real, std::memory_order_acq_rel);
}

double IParam::Conform(double x) const noexcept
{
  if (std::isnan(x)) x = std::isnan(defaultValue) ? min : defaultValue;
  if (Stepped() && step > 0.0)
  {
    // Grid anchored at 0, not at min; std::round takes halves away from zero. A quotient too
    // large for a double leaves x as it is (such magnitudes are whole multiples anyway).
    const double steps = std::round(x / step);
    if (std::isfinite(steps)) x = steps * step;
  }
  if (x < min) x = min;
  if (x > max) x = max;
  if (x == 0.0) x = 0.0; // a stored -0 would otherwise be shown and saved with its sign
  return x;
}

double IParam::ToNormalized(double real) const noexcept
{
  return shape->UnitFromReal(real, *this);
}

double IParam::FromNormalized(double unitValue) const noexcept
{
  return shape->RealFromUnit(unitValue, *this);
}

double IParam::UnitFromRealClamped(double x) const noexcept
{
  const double unitValue = ToNormalized(Conform(x));
  if (!(unitValue > 0.0)) return 0.0; // also catches NaN from an empty range
  return unitValue < 1.0 ? unitValue : 1.0;
}

double IParam::DefaultValue(bool normalised) const noexcept
{
  return normalised ? UnitFromRealClamped(defaultValue) : defaultValue;
}

void IParam::FormatDisplay(double x, bool normalised, Text& text, bool useTexts) const
{
  if (normalised) x = Conform(FromNormalized(x));
  if (displayFunc)
  {
    displayFunc(x, text);
    return;
  }
  if (useTexts)
  {
    const std::string_view shown = DisplayTextFor(x);
    if (!shown.empty())
    {
      text.Set(shown);
      return;
    }
  }
  double v = (flags & kFlagNegateDisplay) != 0 ? -x : x;
  if (v == 0.0) v = 0.0;
  if (displayPrecision == 0)
  {
    // "%d" of v rounded half away from zero, without passing through int: values beyond its
    // range would be undefined there.
    double whole = std::round(v);
    if (whole == 0.0) whole = 0.0;
    WriteFixed(whole, 0, false, text);
    return;
  }
  const bool forceSign = (flags & kFlagSignDisplay) != 0 && v != 0.0;
  WriteFixed(v, displayPrecision, forceSign, text);
}

double IParam::ParseText(std::string_view text) const
{
  if (parseFunc) return Conform(parseFunc(text));
  for (const DisplayText& entry : displayTexts)
  {
    if (entry.text.View() == text) return entry.value;
  }
  if (type == kTypeBool || type == kTypeEnum) return 0.0;
  double x = ReadLeadingNumber(text);
  if ((flags & kFlagNegateDisplay) != 0) x = -x;
  return Conform(x);
}

std::string_view IParam::DisplayTextFor(double textValue) const noexcept
{
  for (const DisplayText& entry : displayTexts)
  {
    if (entry.value == textValue) return entry.text.View();
  }
  return {};
}

int IParam::DisplayTextCount() const noexcept
{
  return static_cast<int>(displayTexts.size());
}

const IParam::DisplayText* IParam::DisplayTextAt(int index) const noexcept
{
  if (index < 0 || index >= DisplayTextCount()) return nullptr;
  return &displayTexts[static_cast<std::size_t>(index)];
}

std::string_view IParam::LabelForValue() const noexcept
{
  // std::trunc rather than a cast to int: a value beyond int's range stays defined.
  const double whole = std::trunc(Value());
  for (const DisplayText& entry : displayTexts)
  {
    if (entry.value == whole && !entry.text.Empty()) return {};
  }
  return label.View();
}

} // namespace kit
