// One automatable parameter: its atomic real value, range, step, default, shape and display
// texts. Owned by the plug-in base and set up once in the plug-in's constructor; afterwards only
// the value changes, from the audio thread (automation) and the main thread (editor, state).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/fixed_text.h"

namespace kit
{

class IParam
{
public:
  enum EParamType : std::int32_t
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4,
  };

  static constexpr int kFlagCannotAutomate = 1;
  static constexpr int kFlagStepped = 2;       // Conform snaps to the step grid
  static constexpr int kFlagNegateDisplay = 4; // shown and typed as the negated value
  static constexpr int kFlagSignDisplay = 8;   // a plus sign before positive decimals

  // Unit code every set-up leaves unless told otherwise; nothing in the framework reads it.
  static constexpr int kDefaultUnit = 21;
  // Display precision never exceeds this many decimals.
  static constexpr int kMaxDisplayPrecision = 6;

  using Text = FixedText<32>;
  using DisplayFunc = std::function<void(double value, Text& text)>;
  using ParseFunc = std::function<double(std::string_view text)>;

  struct DisplayText
  {
    double value = 0.0;
    Text text;
  };

  // Maps between real values and normalised values 0…1. Shapes are immutable after Prepare, so
  // their conversions may run on any thread.
  class Shape
  {
  public:
    virtual ~Shape() = default;
    [[nodiscard]] virtual std::unique_ptr<Shape> Duplicate() const = 0;
    // Called once at the end of a set-up, when the parameter's range is final.
    virtual void Prepare(const IParam& param);
    // 0 for an evenly spaced (linear) mapping; other shapes return their own code.
    [[nodiscard]] virtual int ScaleKind() const noexcept;
    [[nodiscard]] virtual double RealFromUnit(double x, const IParam& param) const noexcept = 0;
    [[nodiscard]] virtual double UnitFromReal(double value, const IParam& param) const noexcept = 0;
  };

  class ShapeLinear final : public Shape
  {
  public:
    [[nodiscard]] std::unique_ptr<Shape> Duplicate() const override;
    void Prepare(const IParam& param) override;
    [[nodiscard]] int ScaleKind() const noexcept override;
    [[nodiscard]] double RealFromUnit(double x, const IParam& param) const noexcept override;
    [[nodiscard]] double UnitFromReal(double value, const IParam& param) const noexcept override;
  };

  IParam();
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  // Set-up, main thread, during the plug-in's construction. Each sets the type only while it
  // is still kTypeNone, so the outermost call decides it. Texts longer than 31 bytes are cut.

  // Continuous parameter; max is raised to min + step when smaller; the display precision is
  // the number of decimals of the step (at most 6); the shape is copied.
  void SetupDouble(std::string_view name, double defaultValue, double min, double max, double step,
                   std::string_view label = "", int flags = 0, std::string_view group = "",
                   const Shape& shape = ShapeLinear {}, int unit = kDefaultUnit, DisplayFunc displayFunc = {},
                   ParseFunc parseFunc = {});
  // Whole numbers: step 1, always stepped.
  void SetupInt(std::string_view name, int defaultValue, int min, int max, std::string_view label = "", int flags = 0,
                std::string_view group = "");
  // Values 0 … count − 1; texts[i] (when given) is shown for value i. Texts beyond count are
  // ignored; values without a text show as numbers.
  void SetupEnum(std::string_view name, int defaultValue, int count, std::string_view label = "", int flags = 0,
                 std::string_view group = "", std::initializer_list<std::string_view> texts = {});
  void SetupBool(std::string_view name, bool defaultValue, std::string_view label = "", int flags = 0,
                 std::string_view group = "", std::string_view offText = "", std::string_view onText = "");
  void AddDisplayText(double value, std::string_view text);

  // Audio thread, and any other thread once set up: no allocation, no lock.

  // Atomic load of the real value; written by whichever thread applies a change.
  [[nodiscard]] double Value() const noexcept;
  // Atomic exchange; stores `real` as given (callers conform first).
  void Set(double real) noexcept;
  // Snaps to the step grid (anchored at 0, halves away from zero) when stepped, then clamps to
  // [min, max]. NaN of either sign gives the default; ±inf clamp to the ends. Never returns -0.
  [[nodiscard]] double Conform(double x) const noexcept;
  [[nodiscard]] double ToNormalized(double real) const noexcept;
  [[nodiscard]] double FromNormalized(double unit) const noexcept;
  // Conform, then the shape's normalised value, limited to [0, 1].
  [[nodiscard]] double UnitFromRealClamped(double x) const noexcept;
  [[nodiscard]] double DefaultValue(bool normalised = false) const noexcept;
  [[nodiscard]] EParamType Type() const noexcept { return type; }
  [[nodiscard]] int Unit() const noexcept { return unit; }
  [[nodiscard]] double Min() const noexcept { return min; }
  [[nodiscard]] double Max() const noexcept { return max; }
  [[nodiscard]] double Step() const noexcept { return step; }
  [[nodiscard]] int Flags() const noexcept { return flags; }
  [[nodiscard]] bool Stepped() const noexcept { return (flags & kFlagStepped) != 0; }
  [[nodiscard]] int DisplayPrecision() const noexcept { return displayPrecision; }
  [[nodiscard]] std::string_view Name() const noexcept { return name.View(); }
  [[nodiscard]] std::string_view Label() const noexcept { return label.View(); }
  [[nodiscard]] std::string_view Group() const noexcept { return group.View(); }

  // Main thread (texts for the host and the editor). Results do not depend on the process
  // locale: numbers always use a decimal point.

  // Writes the value as text: the display function when set, else the display text of exactly
  // x (when useTexts and not empty), else the number with the display precision. A normalised
  // x is first converted and conformed. At most 31 characters; longer numbers are cut.
  void FormatDisplay(double x, bool normalised, Text& text, bool useTexts) const;
  // Reads a real value: the parse function (conformed), else the value of a display text equal
  // to `text` (not conformed), else 0 for bool and enum parameters, else the leading decimal
  // number of `text` (0 when there is none), negated for kFlagNegateDisplay, conformed.
  [[nodiscard]] double ParseText(std::string_view text) const;
  // The text of the first display text whose value equals `value` exactly; empty when none.
  [[nodiscard]] std::string_view DisplayTextFor(double value) const noexcept;
  [[nodiscard]] int DisplayTextCount() const noexcept;
  // The entry at `index` in insertion order; null when out of range.
  [[nodiscard]] const DisplayText* DisplayTextAt(int index) const noexcept;
  // Empty when the current value, truncated to a whole number, has a non-empty display text
  // (the text already says it all); otherwise the label.
  [[nodiscard]] std::string_view LabelForValue() const noexcept;

private:
  EParamType type = kTypeNone;
  int unit = kDefaultUnit;
  // Writers: the audio thread (host automation) and the main thread (editor, state); readers:
  // both. Exchanged and loaded with acquire/release order.
  std::atomic<double> value { 0.0 };
  double min = 0.0;
  double max = 1.0;
  double step = 1.0;
  double defaultValue = 0.0;
  int displayPrecision = 0;
  int flags = 0;
  Text name;
  Text label;
  Text group;
  std::unique_ptr<Shape> shape;
  DisplayFunc displayFunc;
  ParseFunc parseFunc;
  std::vector<DisplayText> displayTexts;
};

} // namespace kit
