// ombrix-host's command line: the plug-in, the output and the input in any order, and one
// clear reason for everything it cannot take.
#include "tools/ombrix-host/host_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kit::live
{
namespace
{

struct Case
{
  std::vector<const char*> arguments; // after the program's name
  bool accepted;
  std::string plugin;
  std::string output;
  std::string input;
  std::string errorPart; // for a refusal: part of the reason
};

TEST(HostOptions, TakesEachArgumentOrSaysWhy)
{
  const std::vector<Case> cases {
    { {}, true, "", "", "", "" },
    { { "song.flac" }, true, "", "", "song.flac", "" },
    { { "--plugin", "/p/O.clap", "--out", "x.wav", "in.wav" }, true, "/p/O.clap", "x.wav", "in.wav", "" },
    { { "in.wav", "--out", "X.WAV" }, true, "", "X.WAV", "in.wav", "" },
    { { "--out", "x.flac" }, false, "", "", "", ".wav" },
    { { "--out", ".wav" }, false, "", "", "", ".wav" },
    { { "--out" }, false, "", "", "", "--out needs a path" },
    { { "--plugin" }, false, "", "", "", "--plugin needs a path" },
    { { "--plugin", "" }, false, "", "", "", "--plugin needs a path" },
    { { "a.wav", "b.wav" }, false, "", "", "", "one input" },
    { { "--loud" }, false, "", "", "", "unknown option --loud" },
  };
  for (std::size_t i = 0; i < cases.size(); ++i)
  {
    SCOPED_TRACE(i);
    const Case& c = cases[i];
    std::vector<const char*> argv { "ombrix-host" };
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    HostOptions options;
    std::string error;
    ASSERT_EQ(ParseHostOptions(int(argv.size()), argv.data(), options, error), c.accepted) << error;
    if (!c.accepted)
    {
      EXPECT_NE(error.find(c.errorPart), std::string::npos) << error;
      EXPECT_EQ(error.find('\n'), std::string::npos);
      continue;
    }
    EXPECT_EQ(options.pluginPath, c.plugin);
    EXPECT_EQ(options.outputPath, c.output);
    EXPECT_EQ(options.inputPath, c.input);
    EXPECT_FALSE(options.help);
  }
}

TEST(HostOptions, HelpNeedsNothingElseAndTheUsageNamesEveryOption)
{
  const char* argv[] = { "ombrix-host", "--help" };
  HostOptions options;
  std::string error;
  ASSERT_TRUE(ParseHostOptions(2, argv, options, error)) << error;
  EXPECT_TRUE(options.help);
  const std::string usage = HostUsage();
  for (const char* part : { "--plugin", "--out", "INPUT", "~/.clap/Ombrix.clap" })
    EXPECT_NE(usage.find(part), std::string::npos) << part;
}

} // namespace
} // namespace kit::live
