#include "tools/render/render_options.h"

#include <charconv>
#include <cmath>
#include <limits>
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

bool ParseNumber(std::string_view text, double lowest, double highest, double& value)
{
  double parsed = 0.0;
  const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (code != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed) || parsed < lowest ||
      parsed > highest)
    return false;
  value = parsed;
  return true;
}

} // namespace

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error)
{
  std::vector<std::string> files;
  bool scaleGiven = false;
  bool atGiven = false;
  for (int i = 1; i < argc; ++i)
  {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h")
    {
      options.help = true;
      return true;
    }
    const bool takesValue = argument == "--bits" || argument == "--power" || argument == "--dither" ||
                            argument == "--block" || argument == "--plugin" || argument == "--snapshot" ||
                            argument == "--scale" || argument == "--snapshot-at";
    if (takesValue)
    {
      if (i + 1 >= argc)
      {
        error = std::string(argument) + " needs a value";
        return false;
      }
      const std::string_view value = argv[++i];
      scaleGiven = scaleGiven || argument == "--scale";
      atGiven = atGiven || argument == "--snapshot-at";
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
      else if (argument == "--scale")
      {
        double scale = 1.0;
        valid = ParseNumber(value, 0.5, 4.0, scale);
        options.snapshotScale = float(scale);
      }
      else if (argument == "--snapshot-at")
        valid = ParseNumber(value, 0.0, std::numeric_limits<double>::max(), options.snapshotAt);
      else if (argument == "--snapshot")
      {
        valid = !value.empty();
        options.snapshotPath = value;
      }
      else
        options.pluginPath = value;
      if (!valid)
      {
        const char* range = argument == "--bits"          ? "a whole number from 6 to 32"
                            : argument == "--power"       ? "a whole number from 0 to 12"
                            : argument == "--block"       ? "a whole number of frames from 1 to 1048576"
                            : argument == "--scale"       ? "a zoom from 0.5 to 4"
                            : argument == "--snapshot-at" ? "a number of seconds from 0 on"
                            : argument == "--snapshot"    ? "a file name"
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
  if (options.snapshotPath.empty() && (scaleGiven || atGiven))
  {
    error = std::string(scaleGiven ? "--scale" : "--snapshot-at") + " needs --snapshot PNG";
    return false;
  }
  options.outputPath = files.back();
  options.inputPath = files.size() == 2 ? files[0] : std::string();
  return true;
}

std::string RenderUsage()
{
  return "Usage: ombrix-render [--bits N] [--power P] [--dither on|off] [--block FRAMES] [--plugin PATH]\n"
         "                     [--snapshot PNG [--scale S] [--snapshot-at SECONDS]] [INPUT] OUTPUT\n"
         "\n"
         "Dithers a mono or stereo audio file through the Ombrix CLAP plug-in.\n"
         "\n"
         "  --bits N          target bit depth, 6 to 32 (default 16)\n"
         "  --power P         psychoacoustic noise-shaping power, 0 (off) to 12 (default 9)\n"
         "  --dither on|off   triangular dither (default on)\n"
         "  --block FRAMES    frames per process call, 1 to 1048576 (default 512)\n"
         "  --plugin PATH     the plug-in (default: Ombrix.clap beside this program, else ~/.clap/Ombrix.clap)\n"
         "  --snapshot PNG    also draw the editor as it looks at one moment of the input, into PNG\n"
         "  --scale S         the editor's zoom in the picture, 0.5 to 4 (default 1): 500*S x 525*S pixels\n"
         "  --snapshot-at T   the moment, in seconds from the start (default: the middle of the input)\n"
         "  INPUT             any mono or stereo file libsndfile reads (WAV, AIFF, FLAC, ...);\n"
         "                    without it, a built-in demo programme of about 10 seconds\n"
         "  OUTPUT            .wav, .flac, .aif or .aiff; 16-bit PCM up to 16 bits, 24-bit up to 24,\n"
         "                    32-bit PCM above (not FLAC). Written only when the whole run succeeds.\n";
}

} // namespace kit::render
