#include "tools/render/render_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kit::render
{
namespace
{

bool Parse(std::vector<const char*> arguments, RenderOptions& options, std::string& error)
{
  arguments.insert(arguments.begin(), "ombrix-render");
  return ParseRenderOptions(int(arguments.size()), arguments.data(), options, error);
}

TEST(RenderOptions, DefaultsAndEveryOption)
{
  RenderOptions options;
  std::string error;
  ASSERT_TRUE(Parse({ "out.wav" }, options, error)) << error;
  EXPECT_EQ(options.bits, 16);
  EXPECT_EQ(options.power, 9);
  EXPECT_TRUE(options.dither);
  EXPECT_EQ(options.blockFrames, 512);
  EXPECT_TRUE(options.pluginPath.empty());
  EXPECT_TRUE(options.inputPath.empty());
  EXPECT_EQ(options.outputPath, "out.wav");

  RenderOptions set;
  ASSERT_TRUE(Parse({ "--bits", "24", "--power", "0", "--dither", "off", "--block", "64", "--plugin", "/p.clap",
                      "in.flac", "out.aiff" },
                    set, error))
      << error;
  EXPECT_EQ(set.bits, 24);
  EXPECT_EQ(set.power, 0);
  EXPECT_FALSE(set.dither);
  EXPECT_EQ(set.blockFrames, 64);
  EXPECT_EQ(set.pluginPath, "/p.clap");
  EXPECT_EQ(set.inputPath, "in.flac");
  EXPECT_EQ(set.outputPath, "out.aiff");

  RenderOptions help;
  ASSERT_TRUE(Parse({ "--help" }, help, error));
  EXPECT_TRUE(help.help);
  EXPECT_NE(RenderUsage().find("--dither on|off"), std::string::npos);
}

TEST(RenderOptions, RefusesWhatIsOutOfRangeOrUnknown)
{
  struct Case
  {
    std::vector<const char*> arguments;
    const char* messagePart;
  };
  const Case cases[] = {
    { { "--bits", "5", "o.wav" }, "--bits must be a whole number from 6 to 32" },
    { { "--bits", "33", "o.wav" }, "--bits must be" },
    { { "--bits", "16.5", "o.wav" }, "--bits must be" },
    { { "--power", "13", "o.wav" }, "--power must be a whole number from 0 to 12" },
    { { "--power", "-1", "o.wav" }, "--power must be" },
    { { "--dither", "yes", "o.wav" }, "--dither must be on or off" },
    { { "--block", "0", "o.wav" }, "--block must be" },
    { { "--block", "1048577", "o.wav" }, "--block must be" },
    { { "--bits" }, "--bits needs a value" },
    { { "--frobnicate", "o.wav" }, "unknown option --frobnicate" },
    { {}, "no OUTPUT" },
    { { "a.wav", "b.wav", "c.wav" }, "too many files" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.messagePart);
    RenderOptions options;
    std::string error;
    EXPECT_FALSE(Parse(c.arguments, options, error));
    EXPECT_NE(error.find(c.messagePart), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

} // namespace
} // namespace kit::render
