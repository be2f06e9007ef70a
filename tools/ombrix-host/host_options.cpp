#include "tools/ombrix-host/host_options.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kit::live
{

namespace
{

[[nodiscard]] bool EndsWithWav(std::string_view path)
{
  constexpr std::string_view kSuffix = ".wav";
  if (path.size() <= kSuffix.size()) return false;
  return std::equal(kSuffix.begin(), kSuffix.end(), path.end() - std::ptrdiff_t(kSuffix.size()),
                    [](char wanted, char given) { return wanted == std::tolower(static_cast<unsigned char>(given)); });
}

} // namespace

bool ParseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error)
{
  for (int i = 1; i < argc; ++i)
  {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h")
    {
      options.help = true;
      continue;
    }
    if (argument == "--plugin" || argument == "--out")
    {
      if (i + 1 == argc || std::string_view(argv[i + 1]).empty())
      {
        error = std::string(argument) + " needs a path";
        return false;
      }
      (argument == "--plugin" ? options.pluginPath : options.outputPath) = argv[++i];
      continue;
    }
    if (argument.starts_with("-") && argument != "-")
    {
      error = "unknown option " + std::string(argument) + " (see --help)";
      return false;
    }
    if (!options.inputPath.empty())
    {
      error = "one input file at most";
      return false;
    }
    options.inputPath = argument;
  }
  if (!options.outputPath.empty() && !EndsWithWav(options.outputPath))
  {
    error = "the output must be a .wav file: " + options.outputPath;
    return false;
  }
  return true;
}

std::string HostUsage()
{
  return "usage: ombrix-host [--plugin PATH] [--out FILE.wav] [INPUT]\n"
         "Opens the Ombrix editor in a window and plays INPUT (any file libsndfile reads, mono or\n"
         "stereo), or the built-in demo, through the plug-in in real time, looping. Prints each\n"
         "parameter change the editor makes. Close the window or press Ctrl-C to stop.\n"
         "  --plugin PATH   the plug-in to open (default: the one built with this program,\n"
         "                  else ~/.clap/Ombrix.clap)\n"
         "  --out FILE.wav  writes the first pass of the output, as 64-bit float samples\n";
}

} // namespace kit::live
