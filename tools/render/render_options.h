// The command line of ombrix-render: what to dither, how, and with which plug-in.
#pragma once

#include <string>

namespace kit::render
{

struct RenderOptions
{
  int bits = 16;
  int power = 9;
  bool dither = true;
  int blockFrames = 512;
  std::string pluginPath; // empty: beside the program, else ~/.clap/Ombrix.clap
  std::string inputPath;  // empty: the built-in demo programme
  std::string outputPath;
  std::string snapshotPath;   // empty: no picture of the editor
  float snapshotScale = 1.0f; // the editor's zoom in the picture
  double snapshotAt = -1.0;   // seconds into the input; negative: the middle
  bool help = false;
};

inline constexpr int kMaxBlockFrames = 1 << 20;

// Reads argv; false with a one-line reason in error. --help sets help and needs no OUTPUT.
[[nodiscard]] bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);
[[nodiscard]] std::string RenderUsage();

} // namespace kit::render
