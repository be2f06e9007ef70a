// ombrix-render: dithers an audio file, or the built-in demo, through the Ombrix plug-in and
// reports the noise it added. One clear line and a non-zero exit on any failure; the output
// file appears only when the whole run succeeded.
#include "tools/render/audio_source.h"
#include "tools/render/editor_snapshot.h"
#include "tools/render/grid_writer.h"
#include "tools/render/noise_report.h"
#include "tools/render/plugin_render.h"
#include "tools/render/render_options.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <unistd.h>

namespace
{

using namespace kit::render;
using Clock = std::chrono::steady_clock;

int Fail(const std::string& message)
{
  std::fprintf(stderr, "ombrix-render: %s\n", message.c_str());
  return 1;
}

// Beside this program, else the per-user CLAP folder.
std::string DefaultPluginPath()
{
  std::error_code code;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", code);
  if (!code)
  {
    const std::filesystem::path beside = self.parent_path() / "Ombrix.clap";
    if (std::filesystem::exists(beside, code)) return beside.string();
  }
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.clap/Ombrix.clap";
}

void PrintReport(const RenderOptions& options, const AudioSource& source, double seconds, std::int64_t clamped,
                 const NoiseReport& noise)
{
  const double audioSeconds = source.SampleRate() > 0 ? double(source.Frames()) / source.SampleRate() : 0.0;
  std::printf("ombrix-render: %s\n", options.outputPath.c_str());
  std::printf("  frames            %lld (%.2f s)\n", static_cast<long long>(source.Frames()), audioSeconds);
  std::printf("  channels          %d\n", source.Channels());
  std::printf("  sample rate       %.0f Hz\n", source.SampleRate());
  std::printf("  block size        %d frames\n", options.blockFrames);
  std::printf("  settings          %d bits, power %d, dither %s\n", options.bits, options.power,
              options.dither ? "on" : "off");
  std::printf("  wall time         %.3f s (%.1f x real time)\n", seconds, seconds > 0 ? audioSeconds / seconds : 0.0);
  std::printf("  clamped samples   %lld\n", static_cast<long long>(clamped));
  std::printf("  non-finite input  %lld samples\n", static_cast<long long>(noise.nonFiniteInputs));
  std::printf("  added noise       %.2f dBFS RMS, %.3f LSB RMS\n", noise.rmsDbfs, noise.rmsLsb);
  if (!noise.bandsMeasured)
  {
    std::printf("  noise by octave   (the input is too short to measure)\n");
    return;
  }
  std::printf("  noise by octave  ");
  for (std::size_t b = 0; b < kOctaveCentresHz.size(); ++b)
  {
    const double hz = kOctaveCentresHz[b];
    if (hz * std::numbers::sqrt2 > source.SampleRate() / 2) break;
    if (hz < 1000)
      std::printf(" %.0f Hz %.1f", hz, noise.bandDbfs[b]);
    else
      std::printf(" %.0fk %.1f", hz / 1000, noise.bandDbfs[b]);
  }
  std::printf(" dBFS\n");
}

} // namespace

int main(int argc, char** argv)
{
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(argc, argv, options, error)) return Fail(error);
  if (options.help)
  {
    std::fputs(RenderUsage().c_str(), stdout);
    return 0;
  }
  if (options.pluginPath.empty()) options.pluginPath = DefaultPluginPath();
  if (!CheckOutputFormat(options.outputPath, options.bits, error)) return Fail(error);
  if (!options.snapshotPath.empty() && !CheckSnapshotPath(options.snapshotPath, error)) return Fail(error);

  std::unique_ptr<AudioSource> source =
      options.inputPath.empty() ? DemoProgramme() : OpenAudioFile(options.inputPath, error);
  if (!source) return Fail(error);
  std::unique_ptr<GridWriter> writer =
      GridWriter::Create(options.outputPath, options.bits, source->Channels(), source->SampleRate(), error);
  if (!writer) return Fail(error);
  NoiseMeter meter(source->Channels(), source->SampleRate(), options.bits, source->Frames());

  const Clock::time_point started = Clock::now();
  const bool showProgress = isatty(STDERR_FILENO) != 0;
  Clock::time_point lastShown = started;
  std::int64_t done = 0;
  const BlockSink sink = [&](const double* input, const double* output, std::int64_t frames, std::string& reason)
  {
    if (!writer->Write(output, frames, reason)) return false;
    meter.Add(input, output, frames);
    done += frames;
    const Clock::time_point now = Clock::now();
    if (showProgress && now - started >= std::chrono::seconds(1) && now - lastShown >= std::chrono::milliseconds(250))
    {
      lastShown = now;
      std::fprintf(stderr, "\rombrix-render: %3.0f%%",
                   100.0 * double(done) / double(std::max<std::int64_t>(source->Frames(), 1)));
    }
    return true;
  };

  const bool rendered = RenderThroughPlugin(options.pluginPath, options, *source, sink, error);
  if (showProgress && Clock::now() - started >= std::chrono::seconds(1)) std::fputs("\r                    \r", stderr);
  if (!rendered || !writer->Commit(error)) return Fail(error);
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  PrintReport(options, *source, seconds, writer->Clamped(), meter.Report());
  if (options.snapshotPath.empty()) return 0;

  // The editor sees the same programme again, from its start, in an instance of its own.
  std::unique_ptr<AudioSource> again =
      options.inputPath.empty() ? DemoProgramme() : OpenAudioFile(options.inputPath, error);
  int widthPixels = 0;
  int heightPixels = 0;
  if (!again || !RenderEditorSnapshot(options, *again, widthPixels, heightPixels, error)) return Fail(error);
  std::printf("  editor snapshot   %s (%d x %d pixels)\n", options.snapshotPath.c_str(), widthPixels, heightPixels);
  return 0;
}
