#include "tools/render/render_options.h"

#include <charconv>
#include <string_view>
#include <vector>

namespace kit::render
{

namespace
{

bool ParseInt(std::string_view text, int lowest, int highest, int& value)
{
  int parsed = 0;
  const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (code != std::errc() || end != text.data() + text.size() || parsed < lowest || parsed > highest) return false;
  value = parsed;
  return true;
}

} // namespace

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error)
{
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i)
  {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h")
    {
      options.help = true;
      return true;
    }
    const bool takesValue = argument == "--bits" || argument == "--power" || argument == "--dither" ||
                            argument == "--block" || argument == "--plugin";
    if (takesValue)
    {
      if (i + 1 >= argc)
      {
        error = std::string(argument) + " needs a value";
        return false;
      }
      const std::string_view value = argv[++i];
      bool valid = true;
      if (argument == "--bits")
        valid = ParseInt(value, 6, 32, options.bits);
      else if (argument == "--power")
        valid = ParseInt(value, 0, 12, options.power);
      else if (argument == "--block")
        valid = ParseInt(value, 1, kMaxBlockFrames, options.blockFrames);
      else if (argument == "--dither")
      {
        valid = value == "on" || value == "off";
        options.dither = value == "on";
      }
      else
        options.pluginPath = value;
      if (!valid)
      {
        const char* range = argument == "--bits"    ? "a whole number from 6 to 32"
                            : argument == "--power" ? "a whole number from 0 to 12"
                            : argument == "--block" ? "a whole number of frames from 1 to 1048576"
                                                    : "on or off";
        error = std::string(argument) + " must be " + range + ", not \"" + std::string(value) + "\"";
        return false;
      }
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-')
    {
      error = "unknown option " + std::string(argument) + " (see --help)";
      return false;
    }
    files.emplace_back(argument);
  }
  if (files.empty())
  {
    error = "no OUTPUT file given (see --help)";
    return false;
  }
  if (files.size() > 2)
  {
    error = "too many files: give at most INPUT and OUTPUT";
    return false;
  }
  options.outputPath = files.back();
  options.inputPath = files.size() == 2 ? files[0] : std::string();
  return true;
}

std::string RenderUsage()
{
  return "Usage: ombrix-render [--bits N] [--power P] [--dither on|off] [--block FRAMES] [--plugin PATH] [INPUT] "
         "OUTPUT\n"
         "\n"
         "Dithers a mono or stereo audio file through the Ombrix CLAP plug-in.\n"
         "\n"
         "  --bits N          target bit depth, 6 to 32 (default 16)\n"
         "  --power P         psychoacoustic noise-shaping power, 0 (off) to 12 (default 9)\n"
         "  --dither on|off   triangular dither (default on)\n"
         "  --block FRAMES    frames per process call, 1 to 1048576 (default 512)\n"
         "  --plugin PATH     the plug-in (default: Ombrix.clap beside this program, else ~/.clap/Ombrix.clap)\n"
         "  INPUT             any mono or stereo file libsndfile reads (WAV, AIFF, FLAC, ...);\n"
         "                    without it, a built-in demo programme of about 10 seconds\n"
         "  OUTPUT            .wav, .flac, .aif or .aiff; 16-bit PCM up to 16 bits, 24-bit up to 24,\n"
         "                    32-bit PCM above (not FLAC). Written only when the whole run succeeds.\n";
}

} // namespace kit::render
