// The command line of ombrix-host: which plug-in to open, what to play through it and where
// the first pass of its output goes.
#pragma once

#include <string>

namespace kit::live
{

struct HostOptions
{
  std::string pluginPath; // empty: the plug-in this program was built with, else ~/.clap/Ombrix.clap
  std::string outputPath; // empty: the output goes nowhere
  std::string inputPath;  // empty: the built-in demo programme
  bool help = false;
};

// Reads argv; false with a one-line reason in error.
[[nodiscard]] bool ParseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error);
[[nodiscard]] std::string HostUsage();

} // namespace kit::live
