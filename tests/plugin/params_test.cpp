// The params extension's answers outside processing: the four parameters' info, values, and
// the conversions between values and texts, with the ids and pointers a host may get wrong.
#include "tests/plugin/plugin_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace kit::test
{
namespace
{

TEST(Params, FourParametersWithTheirRangesDefaultsAndFlags)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& params = p.Params();
  ASSERT_EQ(params.count(p.Plugin()), 4u);
  struct Case
  {
    const char* name;
    double min;
    double max;
    double defaultValue;
  };
  const Case cases[] = {
    { "Dither", 0, 1, 0 },
    { "Psychoacoustic Power", 0, 12, 9 },
    { "Target Bits", 6, 32, 16 },
    { "Show Graph", 0, 1, 1 },
  };
  for (std::uint32_t index = 0; index < 4; ++index)
  {
    const Case& c = cases[index];
    SCOPED_TRACE(c.name);
    clap_param_info info {};
    std::memset(&info, 0xAB, sizeof info); // every field must be written
    ASSERT_TRUE(params.get_info(p.Plugin(), index, &info));
    EXPECT_EQ(info.id, index);
    // stepped, automatable, requires process
    EXPECT_EQ(info.flags, 0x8021u);
    EXPECT_EQ(info.cookie, nullptr);
    EXPECT_STREQ(info.name, c.name);
    EXPECT_STREQ(info.module, "");
    EXPECT_EQ(info.min_value, c.min);
    EXPECT_EQ(info.max_value, c.max);
    EXPECT_EQ(info.default_value, c.defaultValue);
    EXPECT_EQ(p.Value(index), c.defaultValue);
  }
}

// Ids beyond the four, including CLAP's invalid id, and null out-pointers are refused by
// every function and leave the caller's memory alone.
TEST(Params, InvalidIdsAndNullPointersAreRefusedEverywhere)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& params = p.Params();
  for (const clap_id id : { clap_id(4), clap_id(5), CLAP_INVALID_ID, clap_id(0x80000000u) })
  {
    SCOPED_TRACE(id);
    clap_param_info info {};
    info.id = 77;
    EXPECT_FALSE(params.get_info(p.Plugin(), id, &info));
    EXPECT_EQ(info.id, 77u);
    double value = 3.5;
    EXPECT_FALSE(params.get_value(p.Plugin(), id, &value));
    EXPECT_EQ(value, 3.5);
    std::array<char, 64> text {};
    text[0] = 'x';
    EXPECT_FALSE(params.value_to_text(p.Plugin(), id, 1.0, text.data(), std::uint32_t(text.size())));
    EXPECT_EQ(text[0], 'x');
    EXPECT_FALSE(params.text_to_value(p.Plugin(), id, "1", &value));
    EXPECT_EQ(value, 3.5);
  }
  std::array<char, 64> text {};
  double value = 0.0;
  EXPECT_FALSE(params.get_info(p.Plugin(), 0, nullptr));
  EXPECT_FALSE(params.get_value(p.Plugin(), 0, nullptr));
  EXPECT_FALSE(params.value_to_text(p.Plugin(), 0, 1.0, nullptr, 64));
  EXPECT_FALSE(params.value_to_text(p.Plugin(), 0, 1.0, text.data(), 0));
  EXPECT_FALSE(params.text_to_value(p.Plugin(), 0, nullptr, &value));
  EXPECT_FALSE(params.text_to_value(p.Plugin(), 0, "on", nullptr));
}

TEST(Params, ValuesReadAsTheirDisplayTexts)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& params = p.Params();
  struct Case
  {
    clap_id id;
    double value;
    const char* text;
  };
  const Case cases[] = {
    { kDither, 0.0, "off" },     { kDither, 1.0, "on" },      { kDither, 0.7, "on" }, // conformed to the step first
    { kShowGraph, 0.0, "off" },  { kShowGraph, 1.0, "on" },   { kPower, 0.0, "off" },
    { kPower, 5.0, "5" },        { kPower, 12.0, "12" },      { kPower, 40.0, "12" },
    { kTargetBits, 24.0, "24" }, { kTargetBits, 16.5, "17" }, // halves away from zero
    { kTargetBits, 2.0, "6" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.value));
    std::array<char, 64> text {};
    ASSERT_TRUE(params.value_to_text(p.Plugin(), c.id, c.value, text.data(), std::uint32_t(text.size())));
    EXPECT_STREQ(text.data(), c.text);
  }
}

// Text is never cut: a buffer must hold the whole text and its terminator.
TEST(Params, ValueToTextNeedsRoomForTheWholeText)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& params = p.Params();
  struct Case
  {
    clap_id id;
    double value;
    const char* text;
  };
  const Case cases[] = {
    { kPower, 0.0, "off" },
    { kTargetBits, 24.0, "24" },
    { kPower, 5.0, "5" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.text);
    const auto fits = std::uint32_t(std::strlen(c.text) + 1);
    std::array<char, 8> text {};
    text.fill('#');
    EXPECT_FALSE(params.value_to_text(p.Plugin(), c.id, c.value, text.data(), fits - 1));
    EXPECT_EQ(text[0], '#');
    ASSERT_TRUE(params.value_to_text(p.Plugin(), c.id, c.value, text.data(), fits));
    EXPECT_STREQ(text.data(), c.text);
    EXPECT_EQ(text[fits], '#'); // nothing written past the capacity
  }
  std::array<char, 1> one {};
  EXPECT_FALSE(params.value_to_text(p.Plugin(), kPower, 5.0, one.data(), 1));
}

TEST(Params, AnyTextYieldsAConformedValue)
{
  LoadedPlugin p;
  ASSERT_TRUE(p.Ready());
  const auto& params = p.Params();
  struct Case
  {
    clap_id id;
    const char* text;
    double value;
  };
  const Case cases[] = {
    { kTargetBits, "24", 24.0 },
    { kTargetBits, "99", 32.0 },
    { kTargetBits, "16.6", 17.0 },
    { kTargetBits, "3", 6.0 },
    { kTargetBits, "-20", 6.0 },
    { kTargetBits, "20 bits", 20.0 },
    { kTargetBits, "nonsense", 6.0 },
    { kPower, "off", 0.0 },
    { kPower, "7", 7.0 },
    { kPower, "", 0.0 },
    { kDither, "on", 1.0 },
    { kDither, "off", 0.0 },
    { kDither, "maybe", 0.0 },
    { kShowGraph, "on", 1.0 },
    { kShowGraph, "ON", 0.0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string("\"") + c.text + "\" for id " + std::to_string(c.id));
    double value = -99.0;
    ASSERT_TRUE(params.text_to_value(p.Plugin(), c.id, c.text, &value));
    EXPECT_EQ(value, c.value);
  }
  // Parsing converts; it does not set.
  EXPECT_EQ(p.Value(kTargetBits), 16.0);
}

} // namespace
} // namespace kit::test
