// ombrix-host: opens the Ombrix editor in a window of its own and plays a file, or the built-in
// demo, through the plug-in in real time, looping, printing each parameter change the editor
// makes. The first pass of the output may go to a WAV file. Closing the window, Ctrl-C or
// SIGTERM ends it cleanly; any failure is one line and a non-zero exit.
#include "tools/host/main_loop.h"
#include "tools/host/plugin_library.h"
#include "tools/ombrix-host/editor_window.h"
#include "tools/ombrix-host/host_options.h"
#include "tools/ombrix-host/live_player.h"
#include "tools/ombrix-host/live_wav_writer.h"
#include "tools/ombrix-host/looping_feed.h"
#include "tools/ombrix-host/param_text.h"
#include "tools/ombrix-host/stop_signals.h"
#include "tools/render/render_session.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace
{

using namespace kit;
using namespace kit::live;

// How long the main loop waits at most before it tops up the audio thread's queue.
constexpr std::chrono::milliseconds kFeedInterval { 5 };

int Fail(const std::string& message)
{
  std::fprintf(stderr, "ombrix-host: %s\n", message.c_str());
  return 1;
}

// The output file and how much of the first pass it still waits for.
struct Recording
{
  std::unique_ptr<LiveWavWriter> writer;
  std::int64_t framesQueued = 0;
  std::int64_t framesWritten = 0;
};

// The same for a run that may have begun its output file: a file still open goes with it; one
// already complete stays.
int Fail(const std::string& message, Recording& recording)
{
  if (recording.writer && !recording.writer->IsClosed()) recording.writer->Discard();
  return Fail(message);
}

// The plug-in built with this program, else the per-user CLAP folder.
std::string DefaultPluginPath()
{
  std::error_code code;
  if (std::filesystem::exists(OMBRIX_BUILT_PLUGIN, code)) return OMBRIX_BUILT_PLUGIN;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.clap/Ombrix.clap";
}

// Everything one run holds, declared so that it comes down in the order a host closes:
// the editor first, then the audio thread, then the instance and its library.
struct Run
{
  std::unique_ptr<render::RenderSession> session;
  std::unique_ptr<LivePlayer> player;
  std::unique_ptr<EditorWindow> editor;
};

[[nodiscard]] bool FeedPlayer(LoopingFeed& feed, LivePlayer& player, Recording& recording, std::string& error)
{
  AudioBlock block;
  while (player.HasRoom())
  {
    if (!feed.Next(block, error)) return false;
    if (block.recorded) recording.framesQueued += block.frames;
    (void)player.Queue(block);
  }
  return true;
}

[[nodiscard]] bool WriteOutput(LivePlayer& player, const LoopingFeed& feed, Recording& recording, std::string& error)
{
  AudioBlock block;
  while (player.TakeOutput(block))
  {
    if (!recording.writer || recording.writer->IsClosed()) continue;
    if (!recording.writer->Write(block.samples.data(), block.frames, error)) return false;
    recording.framesWritten += block.frames;
  }
  if (player.LostFrames() > 0)
  {
    error = "the output fell behind and lost " + std::to_string(player.LostFrames()) + " frames";
    return false;
  }
  if (recording.writer && !recording.writer->IsClosed() && feed.FirstPassDone() &&
      recording.framesWritten == recording.framesQueued)
  {
    if (!recording.writer->Close(error)) return false;
    std::printf("ombrix-host: wrote %s (%lld frames)\n", recording.writer->Path().c_str(),
                static_cast<long long>(recording.framesWritten));
    std::fflush(stdout);
  }
  return true;
}

void PrintParamChanges(LivePlayer& player, const clap_plugin& plugin)
{
  const auto* params = static_cast<const clap_plugin_params*>(plugin.get_extension(&plugin, CLAP_EXT_PARAMS));
  ParamChange change;
  bool printed = false;
  while (player.TakeParamChange(change))
  {
    std::printf("%s\n", ParamChangeText(plugin, params, change).c_str());
    printed = true;
  }
  if (printed) std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
  HostOptions options;
  std::string error;
  if (!ParseHostOptions(argc, argv, options, error)) return Fail(error);
  if (options.help)
  {
    std::fputs(HostUsage().c_str(), stdout);
    return 0;
  }
  if (options.pluginPath.empty()) options.pluginPath = DefaultPluginPath();
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return Fail("cannot open the X display; set DISPLAY");

  const SourceOpener open = options.inputPath.empty()
                                ? SourceOpener([](std::string&) { return render::DemoProgramme(); })
                                : SourceOpener([path = options.inputPath](std::string& reason)
                                               { return render::OpenAudioFile(path, reason); });
  std::unique_ptr<render::AudioSource> source = open(error);
  if (!source) return Fail(error);
  const int channels = source->Channels();
  const double sampleRate = source->SampleRate();
  StopSignals stopSignals;
  if (!stopSignals.Valid()) return Fail("cannot watch for Ctrl-C");
  // Made before anything else can fail, so that an unwritable output is said at once.
  Recording recording;
  if (!options.outputPath.empty())
  {
    recording.writer = LiveWavWriter::Create(options.outputPath, channels, sampleRate, error);
    if (!recording.writer) return Fail(error);
  }

  Run run;
  host::HostConfig config;
  config.name = "ombrix-host";
  config.offered.timerSupport = true;
  config.offered.posixFdSupport = true;
  render::RenderOptions settings;
  settings.blockFrames = int(kBlockFrames);
  run.session = render::RenderSession::Start(host::PluginLibrary::Load(options.pluginPath, error), settings, *source,
                                             config, error);
  if (!run.session) return Fail(error, recording);
  const clap_plugin& plugin = *run.session->Plugin();
  run.editor = EditorWindow::Open(run.session->Host(), plugin, display, error);
  if (!run.editor) return Fail(error, recording);

  LoopingFeed feed(std::move(source), open);
  run.player = std::make_unique<LivePlayer>(*run.session, sampleRate);
  if (!FeedPlayer(feed, *run.player, recording, error)) return Fail(error, recording);
  bool ok = run.player->Start();
  if (!ok) error = "cannot start the audio thread";

  bool stop = false;
  host::MainLoop loop(run.session->Host(), &plugin);
  loop.AddDescriptor(stopSignals.Descriptor(), [&] { stop = stopSignals.Take() || stop; });
  // Wakes the loop for the window's events; they are read after every pass, since Xlib may
  // have queued some already.
  loop.AddDescriptor(run.editor->Window().Descriptor(), [] {});
  while (!stop && ok)
  {
    loop.RunOnce(kFeedInterval);
    run.editor->ApplyPendingResize();
    if (run.editor->Window().CloseRequested()) stop = true;
    PrintParamChanges(*run.player, plugin);
    if (run.player->Failed())
    {
      error = run.player->FailureText();
      ok = false;
    }
    ok = ok && FeedPlayer(feed, *run.player, recording, error) && WriteOutput(*run.player, feed, recording, error);
  }

  run.editor.reset();
  run.player->Stop();
  PrintParamChanges(*run.player, plugin);
  ok = ok && WriteOutput(*run.player, feed, recording, error);
  if (recording.writer && ok) ok = recording.writer->Close(error);
  return ok ? 0 : Fail(error, recording);
}
