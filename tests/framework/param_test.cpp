#include "framework/param.h"
#include "support/allocation_counter.h"

#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include <gtest/gtest.h>

namespace kit
{
namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The four parameters as the plug-in sets them up.
struct PluginParams
{
  IParam dither;
  IParam power;
  IParam targetBits;
  IParam showGraph;

  PluginParams()
  {
    dither.SetupBool("Dither", false, "", 0, "", "off", "on");
    power.SetupInt("Psychoacoustic Power", 9, 0, 12, "", 0, "");
    power.AddDisplayText(0, "off");
    targetBits.SetupInt("Target Bits", 16, 6, 32, "", 0, "");
    showGraph.SetupBool("Show Graph", true, "", 0, "", "off", "on");
  }
};

std::string Format(const IParam& param, double x, bool normalised = false, bool useTexts = true)
{
  IParam::Text text;
  param.FormatDisplay(x, normalised, text, useTexts);
  return std::string(text.View());
}

// printf in the "C" locale: the reference the display text is held to.
std::string PrintfFixed(double v, int precision, bool forceSign = false)
{
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, forceSign ? "%+.*f" : "%.*f", precision, v);
  return buffer;
}

TEST(ParamSetup, TargetBitsIsAWholeNumberRange)
{
  PluginParams params;
  const IParam& bits = params.targetBits;
  EXPECT_EQ(bits.Type(), IParam::kTypeInt);
  EXPECT_EQ(bits.Min(), 6.0);
  EXPECT_EQ(bits.Max(), 32.0);
  EXPECT_EQ(bits.Step(), 1.0);
  EXPECT_EQ(bits.DisplayPrecision(), 0);
  EXPECT_TRUE(bits.Stepped());
  EXPECT_EQ(bits.Unit(), IParam::kDefaultUnit);
  EXPECT_EQ(bits.Name(), "Target Bits");
  EXPECT_EQ(bits.Value(), 16.0);
  EXPECT_EQ(Format(bits, 16.0), "16");
  EXPECT_EQ(bits.ParseText("16.6"), 17.0);
  EXPECT_EQ(bits.ParseText("99"), 32.0);
}

TEST(ParamSetup, BoolHasOffOnTextsAndTheOutermostType)
{
  PluginParams params;
  const IParam& dither = params.dither;
  EXPECT_EQ(dither.Type(), IParam::kTypeBool);
  EXPECT_EQ(dither.Min(), 0.0);
  EXPECT_EQ(dither.Max(), 1.0);
  EXPECT_EQ(dither.Flags() & IParam::kFlagStepped, IParam::kFlagStepped);
  EXPECT_EQ(dither.DisplayTextCount(), 2);
  EXPECT_EQ(dither.Value(), 0.0);
  EXPECT_EQ(params.showGraph.Value(), 1.0);
  EXPECT_EQ(Format(dither, 1.0), "on");
  EXPECT_EQ(Format(dither, 0.0), "off");
  EXPECT_EQ(Format(dither, 1.0, false, false), "1");
  EXPECT_EQ(dither.ParseText("on"), 1.0);
  EXPECT_EQ(dither.ParseText("off"), 0.0);
  EXPECT_EQ(dither.ParseText("On"), 0.0); // texts match case-sensitively
  EXPECT_EQ(dither.ParseText("1"), 0.0);  // bool: no number reading
  EXPECT_EQ(dither.ParseText("maybe"), 0.0);
}

TEST(ParamSetup, EnumTextsFollowTheValues)
{
  IParam mode;
  mode.SetupEnum("Mode", 1, 3, "", 0, "", { "low", "mid", "high" });
  EXPECT_EQ(mode.Type(), IParam::kTypeEnum);
  EXPECT_EQ(mode.Max(), 2.0);
  EXPECT_EQ(mode.DisplayTextCount(), 3);
  EXPECT_EQ(mode.DisplayTextFor(2.0), "high");
  EXPECT_EQ(mode.ParseText("mid"), 1.0);
  ASSERT_NE(mode.DisplayTextAt(0), nullptr);
  EXPECT_EQ(mode.DisplayTextAt(0)->text.View(), "low");
  EXPECT_EQ(mode.DisplayTextAt(3), nullptr);
  EXPECT_EQ(mode.DisplayTextAt(-1), nullptr);

  IParam extra;
  extra.SetupEnum("Extra", 0, 2, "", 0, "", { "a", "b", "c" });
  EXPECT_EQ(extra.DisplayTextCount(), 2); // a text beyond the count has no value to name
}

TEST(ParamSetup, EqualMinAndMaxStillSpanOneStep)
{
  IParam param;
  param.SetupInt("Fixed", 3, 3, 3);
  EXPECT_EQ(param.Min(), 3.0);
  EXPECT_EQ(param.Max(), 4.0);
}

TEST(ParamSetup, DisplayPrecisionCountsTheStepsDecimals)
{
  struct Case
  {
    double step;
    int precision;
  };
  const Case cases[] = { { 1.0, 0 },  { 2.0, 0 },   { 0.5, 1 },  { 0.1, 1 },  { 0.25, 2 },
                         { 0.01, 2 }, { 0.001, 3 }, { 1e-9, 6 }, { 1e-12, 6 } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.step);
    IParam param;
    param.SetupDouble("p", 0.0, 0.0, 1.0, c.step);
    EXPECT_EQ(param.DisplayPrecision(), c.precision);
  }
}

TEST(ParamSetup, TextsAreCutTo31Characters)
{
  const std::string longText(40, 'n');
  IParam param;
  param.SetupDouble(longText, 0.0, 0.0, 1.0, 0.1, longText, 0, longText);
  param.AddDisplayText(0.5, longText);
  EXPECT_EQ(param.Name(), longText.substr(0, 31));
  EXPECT_EQ(param.Label(), longText.substr(0, 31));
  EXPECT_EQ(param.Group(), longText.substr(0, 31));
  EXPECT_EQ(param.DisplayTextFor(0.5), longText.substr(0, 31));
}

TEST(ParamValue, SetStoresAsGivenAndSetupStoresTheConformedDefault)
{
  IParam param;
  param.SetupInt("Target Bits", 40, 6, 32);
  EXPECT_EQ(param.Value(), 32.0);
  EXPECT_EQ(param.DefaultValue(), 40.0);
  param.Set(123.4);
  EXPECT_EQ(param.Value(), 123.4);
}

TEST(ParamConform, SnapsToAGridAnchoredAtZeroThenClamps)
{
  IParam bits;
  bits.SetupInt("Target Bits", 16, 6, 32);
  IParam quarter; // stepped 0.25 with a minimum off the grid
  quarter.SetupDouble("q", 0.1, 0.1, 2.0, 0.25, "", IParam::kFlagStepped);
  IParam signedQuarter;
  signedQuarter.SetupDouble("s", 0.0, -1.0, 1.0, 0.25, "", IParam::kFlagStepped);
  IParam smooth; // not stepped: only clamped
  smooth.SetupDouble("c", 0.0, 0.0, 1.0, 0.25);

  struct Case
  {
    const IParam* param;
    double input;
    double expected;
  };
  const Case cases[] = {
    { &bits, 16.4, 16.0 },
    { &bits, 16.5, 17.0 },
    { &bits, 16.6, 17.0 },
    { &bits, 5.0, 6.0 },
    { &bits, 40.0, 32.0 },
    { &bits, -3.0, 6.0 },
    { &quarter, 0.2, 0.25 },
    { &quarter, 0.3, 0.25 },
    { &quarter, 0.375, 0.5 },
    { &quarter, 0.05, 0.1 },
    { &signedQuarter, -0.125, -0.25 },
    { &signedQuarter, 0.125, 0.25 },
    { &signedQuarter, -0.1, 0.0 },
    { &smooth, 0.3, 0.3 },
    { &smooth, 1.5, 1.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.param->Name()) + " " + std::to_string(c.input));
    EXPECT_EQ(c.param->Conform(c.input), c.expected);
  }
}

TEST(ParamConform, NonFiniteAndExtremeInputsGiveInRangeValues)
{
  PluginParams params;
  const IParam* all[] = { &params.dither, &params.power, &params.targetBits, &params.showGraph };
  struct Case
  {
    double input;
    double expected[4]; // Dither, Psychoacoustic Power, Target Bits, Show Graph
  };
  const Case cases[] = {
    { kNaN, { 0.0, 9.0, 16.0, 1.0 } }, { -kNaN, { 0.0, 9.0, 16.0, 1.0 } },  { kInf, { 1.0, 12.0, 32.0, 1.0 } },
    { -kInf, { 0.0, 0.0, 6.0, 0.0 } }, { 1e308, { 1.0, 12.0, 32.0, 1.0 } }, { -1e308, { 0.0, 0.0, 6.0, 0.0 } },
    { -0.0, { 0.0, 0.0, 6.0, 0.0 } },
  };
  for (const Case& c : cases)
  {
    for (int i = 0; i < 4; ++i)
    {
      SCOPED_TRACE(std::string(all[i]->Name()) + " " + std::to_string(c.input));
      const double conformed = all[i]->Conform(c.input);
      EXPECT_EQ(conformed, c.expected[i]);
      EXPECT_FALSE(std::signbit(conformed));
      const double unit = all[i]->UnitFromRealClamped(c.input);
      EXPECT_GE(unit, 0.0);
      EXPECT_LE(unit, 1.0);
    }
  }
}

TEST(ParamParse, NonFiniteTextsGiveInRangeValues)
{
  PluginParams params;
  struct Case
  {
    const char* text;
    double expected[4]; // bools read no numbers: anything but "off"/"on" is 0
  };
  const Case cases[] = {
    { "nan", { 0.0, 9.0, 16.0, 0.0 } }, { "-nan", { 0.0, 9.0, 16.0, 0.0 } },   { "inf", { 0.0, 12.0, 32.0, 0.0 } },
    { "-inf", { 0.0, 0.0, 6.0, 0.0 } }, { "1e308", { 0.0, 12.0, 32.0, 0.0 } }, { "1e999", { 0.0, 12.0, 32.0, 0.0 } },
    { "-0", { 0.0, 0.0, 6.0, 0.0 } },
  };
  const IParam* all[] = { &params.dither, &params.power, &params.targetBits, &params.showGraph };
  for (const Case& c : cases)
  {
    for (int i = 0; i < 4; ++i)
    {
      SCOPED_TRACE(std::string(all[i]->Name()) + " " + c.text);
      const double parsed = all[i]->ParseText(c.text);
      EXPECT_TRUE(std::isfinite(parsed));
      EXPECT_EQ(parsed, c.expected[i]);
    }
  }
}

TEST(ParamParse, ReadsTheLeadingNumber)
{
  IParam bits;
  bits.SetupInt("Target Bits", 16, 6, 32);
  struct Case
  {
    const char* text;
    double expected;
  };
  const Case cases[] = {
    { "24", 24.0 },    { "  24 bits", 24.0 }, { "+20", 20.0 },
    { "2.4e1", 24.0 }, { "bits 24", 6.0 }, // no leading number reads 0, conformed to the minimum
    { "", 6.0 },       { "16,6", 16.0 },      { "0x10", 16.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(bits.ParseText(c.text), c.expected);
  }
}

TEST(ParamParse, DisplayTextWinsAndIsNotConformed)
{
  PluginParams params;
  EXPECT_EQ(params.power.ParseText("off"), 0.0);
  params.power.AddDisplayText(99.0, "max");
  EXPECT_EQ(params.power.ParseText("max"), 99.0);
  EXPECT_EQ(params.power.ParseText("7"), 7.0);
}

TEST(ParamFormat, PrecisionZeroRoundsHalfAwayFromZero)
{
  IParam param; // not stepped, so the shown value is not snapped first
  param.SetupDouble("p", 0.0, -1e10, 1e10, 1.0);
  struct Case
  {
    double value;
    const char* expected;
  };
  const Case cases[] = {
    { 2.5, "3" },          { -2.5, "-3" },          { 0.5, "1" },  { -0.5, "-1" },
    { 1.49, "1" },         { -0.4, "0" },           { -0.0, "0" }, { 2147483647.5, "2147483648" },
    { 3e9, "3000000000" }, { -3e9, "-3000000000" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Format(param, c.value), c.expected);
  }
}

TEST(ParamFormat, DecimalsMatchCLocalePrintf)
{
  struct Case
  {
    double step;
    double value;
  };
  const Case cases[] = {
    { 0.01, 0.125 },       { 0.01, 0.375 }, { 0.01, 1.005 },     { 0.01, -2.675 },
    { 0.001, 123456.789 }, { 0.25, 0.5 },   { 1e-6, 1.0 / 3.0 }, { 0.1, -7.25 },
  };
  for (const Case& c : cases)
  {
    IParam param;
    param.SetupDouble("p", 0.0, -1e6, 1e6, c.step);
    SCOPED_TRACE(std::to_string(c.step) + " " + std::to_string(c.value));
    EXPECT_EQ(Format(param, c.value), PrintfFixed(c.value, param.DisplayPrecision()));
  }
}

TEST(ParamFormat, SignFlagAddsPlusExceptForZero)
{
  IParam offset;
  offset.SetupDouble("Offset", 0.0, -1.0, 1.0, 0.1, "", IParam::kFlagSignDisplay);
  ASSERT_EQ(offset.DisplayPrecision(), 1);
  EXPECT_EQ(Format(offset, 0.5), "+0.5");
  EXPECT_EQ(Format(offset, 0.0), "0.0");
  EXPECT_EQ(Format(offset, -0.0), "0.0");
  EXPECT_EQ(Format(offset, -0.5), "-0.5");
  EXPECT_EQ(Format(offset, 0.5), PrintfFixed(0.5, 1, true));
}

TEST(ParamFormat, NegateFlagShowsAndReadsTheNegatedValue)
{
  IParam gain;
  gain.SetupDouble("Gain", 0.0, -10.0, 10.0, 0.5, "dB", IParam::kFlagNegateDisplay);
  EXPECT_EQ(Format(gain, 3.0), "-3.0");
  EXPECT_EQ(Format(gain, -2.5), "2.5");
  EXPECT_EQ(Format(gain, 0.0), "0.0");
  EXPECT_EQ(gain.ParseText("3"), -3.0);

  IParam whole;
  whole.SetupInt("Whole", 0, -5, 5, "", IParam::kFlagNegateDisplay);
  EXPECT_EQ(Format(whole, 0.0), "0");
  EXPECT_EQ(Format(whole, 0.4), "0"); // -0.4 rounds to a zero shown without sign
  EXPECT_EQ(Format(whole, 2.0), "-2");
  EXPECT_EQ(whole.ParseText("2"), -2.0);
}

TEST(ParamFormat, NormalisedValuesAreConvertedAndConformed)
{
  PluginParams params;
  EXPECT_EQ(Format(params.targetBits, 0.5, true), "19");  // 6 + 26 × 0.5
  EXPECT_EQ(Format(params.targetBits, 0.52, true), "20"); // 19.52 snaps to 20
  EXPECT_EQ(Format(params.power, 0.0, true), "off");
  EXPECT_EQ(Format(params.power, 0.0, true, false), "0");
  EXPECT_EQ(Format(params.targetBits, kNaN, true), "16");
}

TEST(ParamFormat, EmptyDisplayTextFallsThroughToTheNumber)
{
  IParam param;
  param.SetupInt("p", 0, 0, 10);
  param.AddDisplayText(3.0, "");
  param.AddDisplayText(3.0, "three"); // only the first entry for a value counts
  EXPECT_EQ(Format(param, 3.0), "3");
  EXPECT_EQ(param.DisplayTextFor(3.0), "");
}

TEST(ParamFormat, HugeNumbersAreCutAndTerminated)
{
  IParam param;
  param.SetupDouble("Huge", 0.0, 0.0, 1e301, 1e-6);
  ASSERT_EQ(param.DisplayPrecision(), 6);
  IParam::Text text;
  param.FormatDisplay(1e300, false, text, true);
  EXPECT_EQ(text.Size(), 31u);
  EXPECT_EQ(text.c_str()[31], '\0');
  EXPECT_EQ(text.View(), PrintfFixed(1e300, 6).substr(0, 31));

  IParam whole;
  whole.SetupDouble("Whole", 0.0, -1e301, 1e301, 1.0);
  whole.FormatDisplay(-1e300, false, text, true);
  EXPECT_EQ(text.View(), PrintfFixed(-1e300, 0).substr(0, 31));
}

TEST(ParamCallbacks, DisplayAndParseFunctionsReplaceTheDefaults)
{
  IParam param;
  param.SetupDouble(
      "Freq", 100.0, 20.0, 20000.0, 1.0, "Hz", 0, "", IParam::ShapeLinear {}, IParam::kDefaultUnit,
      [](double value, IParam::Text& text) { text.Set(value >= 1000.0 ? "kilo" : "low"); },
      [](std::string_view text) { return text == "top" ? 1e9 : 500.0; });
  EXPECT_EQ(Format(param, 2000.0), "kilo");
  EXPECT_EQ(Format(param, 0.0, true), "low");
  EXPECT_EQ(param.ParseText("top"), 20000.0); // the parsed value is conformed
  EXPECT_EQ(param.ParseText("x"), 500.0);
}

TEST(ParamLabel, LabelIsHiddenWhenTheValueHasAText)
{
  IParam power;
  power.SetupInt("Psychoacoustic Power", 9, 0, 12, "steps");
  power.AddDisplayText(0, "off");
  power.AddDisplayText(5, "");
  struct Case
  {
    double value;
    std::string_view expected;
  };
  const Case cases[] = { { 9.0, "steps" }, { 0.0, "" },        { 0.7, "" },
                         { 5.0, "steps" }, { 1e300, "steps" }, { kNaN, "steps" } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.value);
    power.Set(c.value);
    EXPECT_EQ(power.LabelForValue(), c.expected);
  }

  IParam mode;
  mode.SetupEnum("Mode", 1, 3, "x", 0, "", { "a", "b", "c" });
  EXPECT_EQ(mode.LabelForValue(), "");
}

TEST(ParamNormalised, ConversionsFollowTheLinearShapeAndClamp)
{
  PluginParams params;
  const IParam& bits = params.targetBits;
  EXPECT_DOUBLE_EQ(bits.DefaultValue(true), 10.0 / 26.0);
  EXPECT_EQ(bits.DefaultValue(false), 16.0);
  EXPECT_DOUBLE_EQ(bits.ToNormalized(19.0), 0.5);
  EXPECT_DOUBLE_EQ(bits.FromNormalized(0.5), 19.0);
  EXPECT_EQ(bits.UnitFromRealClamped(100.0), 1.0);
  EXPECT_EQ(bits.UnitFromRealClamped(-100.0), 0.0);
  EXPECT_DOUBLE_EQ(bits.UnitFromRealClamped(18.6), 13.0 / 26.0); // conformed to 19 first
}

// Maps x to min + range × x²; counts its copies and records the range it was prepared with.
class SquareShape final : public IParam::Shape
{
public:
  SquareShape(int* copyCount, double* preparedMaxOut)
      : copies(copyCount)
      , preparedMax(preparedMaxOut)
  {
  }
  [[nodiscard]] std::unique_ptr<Shape> Duplicate() const override
  {
    ++*copies;
    return std::make_unique<SquareShape>(copies, preparedMax);
  }
  void Prepare(const IParam& param) override { *preparedMax = param.Max(); }
  [[nodiscard]] int ScaleKind() const noexcept override { return 7; }
  [[nodiscard]] double RealFromUnit(double x, const IParam& param) const noexcept override
  {
    return param.Min() + (param.Max() - param.Min()) * x * x;
  }
  [[nodiscard]] double UnitFromReal(double value, const IParam& param) const noexcept override
  {
    return std::sqrt((value - param.Min()) / (param.Max() - param.Min()));
  }

private:
  int* copies;
  double* preparedMax;
};

TEST(ParamShape, SetupCopiesAndPreparesTheGivenShape)
{
  int copies = 0;
  double preparedMax = 0.0;
  IParam param;
  param.SetupDouble("Curve", 0.0, 0.0, -5.0, 4.0, "", 0, "", SquareShape(&copies, &preparedMax));
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(preparedMax, 4.0); // prepared after max was raised to min + step
  EXPECT_DOUBLE_EQ(param.FromNormalized(0.5), 1.0);
  EXPECT_DOUBLE_EQ(param.ToNormalized(1.0), 0.5);
  EXPECT_DOUBLE_EQ(param.UnitFromRealClamped(1.0), 0.5);
}

TEST(ParamAudioThread, ValueAndConversionsAllocateNothing)
{
  PluginParams params;
  double sink = 0.0;
  test::AllocationScope allocations;
  params.targetBits.Set(params.targetBits.Conform(23.7));
  sink += params.targetBits.Value();
  sink += params.targetBits.FromNormalized(0.25);
  sink += params.targetBits.UnitFromRealClamped(sink);
  sink += params.power.DefaultValue(true);
  EXPECT_EQ(allocations.Count(), 0u);
  EXPECT_EQ(params.targetBits.Value(), 24.0);
  EXPECT_TRUE(std::isfinite(sink));
}

TEST(ParamAudioThread, ConcurrentReadsSeeOnlyWrittenValues)
{
  IParam param;
  param.SetupInt("Target Bits", 16, 6, 32);
  constexpr int kRounds = 20000;
  std::thread writer(
      [&]
      {
        for (int i = 0; i < kRounds; ++i) param.Set(i % 2 == 0 ? 24.0 : 8.0);
      });
  int unexpected = 0;
  for (int i = 0; i < kRounds; ++i)
  {
    const double v = param.Value();
    if (v != 16.0 && v != 24.0 && v != 8.0) ++unexpected;
  }
  writer.join();
  EXPECT_EQ(unexpected, 0);
  EXPECT_EQ(param.Value(), 8.0);
}

// Hosts switch the process to the user's locale. A German locale writes and reads a decimal
// comma, which would make "16.6" read as 16 and 0.5 show as "0,50".
class ParamCommaLocale : public ::testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    if (std::system("command -v localedef >/dev/null 2>&1") != 0) return;
    char pattern[] = "/tmp/ombrix-locale-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    localeDir = pattern;
    const std::string command = "localedef -i de_DE -f UTF-8 " + localeDir.string() + "/de_DE.UTF-8 >/dev/null 2>&1";
    localedefStatus = std::system(command.c_str());
    localedefAvailable = true;
  }

  static void TearDownTestSuite()
  {
    std::setlocale(LC_ALL, "C");
    std::error_code ignored;
    if (!localeDir.empty()) std::filesystem::remove_all(localeDir, ignored);
  }

  void SetUp() override
  {
    if (!localedefAvailable) GTEST_SKIP() << "localedef (Debian package locales) is not installed";
    ASSERT_EQ(localedefStatus, 0) << "localedef could not build de_DE.UTF-8";
    ASSERT_EQ(setenv("LOCPATH", localeDir.c_str(), 1), 0);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    // The locale must really use a comma, or the test proves nothing.
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    ASSERT_EQ(std::strtod("16.6", nullptr), 16.0);
  }

  void TearDown() override
  {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }

  static inline std::filesystem::path localeDir;
  static inline bool localedefAvailable = false;
  static inline int localedefStatus = -1;
};

TEST_F(ParamCommaLocale, ParsingUsesADecimalPoint)
{
  PluginParams params;
  EXPECT_EQ(params.targetBits.ParseText("16.6"), 17.0);
  EXPECT_EQ(params.targetBits.ParseText("16,6"), 16.0);
  IParam fine;
  fine.SetupDouble("Fine", 0.0, 0.0, 10.0, 0.001);
  EXPECT_EQ(fine.ParseText(" 2.5e0"), 2.5);
}

TEST_F(ParamCommaLocale, FormattingUsesADecimalPoint)
{
  IParam quarter;
  quarter.SetupDouble("Quarter", 0.0, 0.0, 1.0, 0.25);
  EXPECT_EQ(Format(quarter, 0.5), "0.50");
  IParam offset;
  offset.SetupDouble("Offset", 0.0, -1.0, 1.0, 0.1, "", IParam::kFlagSignDisplay);
  EXPECT_EQ(Format(offset, 0.5), "+0.5");
}

} // namespace
} // namespace kit
