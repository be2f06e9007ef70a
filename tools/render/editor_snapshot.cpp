#include "tools/render/editor_snapshot.h"

#include "binding/clap_plugin_base.h"
#include "binding/draw_editor_delegate.h"
#include "graphics/platform/draw_context_headless.h"
#include "tools/host/host.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"
#include "tools/render/plugin_render.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

extern "C" const clap_plugin_entry clap_entry;

namespace kit::render
{

namespace
{

constexpr double kTimerSeconds = 0.020;   // the plug-in's main-thread timer
constexpr double kDisplaySeconds = 0.015; // the editor's display tick

} // namespace

bool CheckSnapshotPath(const std::string& path, std::string& error)
{
  const std::filesystem::path file(path);
  std::error_code code;
  if (file.filename().empty() || std::filesystem::is_directory(file, code))
  {
    error = "the snapshot " + path + " names a folder, not a file";
    return false;
  }
  // A file made and removed at once beside it proves the folder takes the picture.
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  std::string probe = (folder / ".ombrix-render-probe-XXXXXX").string();
  const int descriptor = mkstemp(probe.data());
  if (descriptor < 0)
  {
    error = "cannot write the snapshot into " + folder.string() + ": " + std::strerror(errno);
    return false;
  }
  close(descriptor);
  unlink(probe.c_str());
  return true;
}

bool RenderEditorSnapshot(const RenderOptions& options, AudioSource& source, int& widthPixels, int& heightPixels,
                          std::string& error)
{
  std::unique_ptr<host::PluginLibrary> library = host::PluginLibrary::FromEntry(clap_entry, "ombrix-render", error);
  if (!library) return false;
  host::HostConfig config;
  config.name = "ombrix-render";
  config.trackChannelCount = source.Channels();
  host::Host host(config);
  std::unique_ptr<host::PluginInstance> plugin = host::PluginInstance::Create(*library, host, error);
  if (!plugin) return false;
  if (!StartRendering(*plugin, options, source.SampleRate(), error)) return false;

  auto* editorDelegate =
      dynamic_cast<IDrawEditorDelegate*>(static_cast<ClapPluginBase*>(plugin->Plugin()->plugin_data));
  if (!editorDelegate || !editorDelegate->OpenEditorWindow(nullptr))
  {
    error = "the plug-in's editor would not open";
    return false;
  }
  auto* editor = dynamic_cast<ui::IDrawContextHeadless*>(editorDelegate->EditorGraphics());
  if (!editor)
  {
    error = "the plug-in's editor draws on another platform";
    return false;
  }
  editor->ApplySize(editor->Width(), editor->Height(), options.snapshotScale, false);

  const double rate = source.SampleRate();
  const std::int64_t frames = source.Frames();
  const std::int64_t end = options.snapshotAt < 0.0
                               ? frames / 2
                               : std::min(frames, std::int64_t(std::llround(options.snapshotAt * rate)));
  const auto channels = std::size_t(source.Channels());
  const auto block = std::int64_t(options.blockFrames);
  std::vector<double> interleaved(std::size_t(block) * channels);
  std::vector<std::vector<double>> in(channels, std::vector<double>(std::size_t(block)));
  std::vector<std::vector<double>> out(channels, std::vector<double>(std::size_t(block)));
  std::vector<double*> inPointers;
  std::vector<double*> outPointers;
  for (std::size_t c = 0; c < channels; ++c)
  {
    inPointers.push_back(in[c].data());
    outPointers.push_back(out[c].data());
  }

  // Blocks end where a timer or a display tick falls due, so both come at their audio time.
  std::int64_t done = 0;
  std::int64_t timers = 1;
  std::int64_t ticks = 1;
  auto due = [rate](std::int64_t count, double period) { return std::int64_t(std::llround(double(count) * period * rate)); };
  while (done < end)
  {
    const std::int64_t next = std::min({ end, due(timers, kTimerSeconds), due(ticks, kDisplaySeconds) });
    const std::int64_t count = source.Read(interleaved.data(), std::clamp<std::int64_t>(next - done, 1, block));
    if (count <= 0)
    {
      error = "cannot read the input after frame " + std::to_string(done);
      return false;
    }
    for (std::size_t f = 0; f < std::size_t(count); ++f)
      for (std::size_t c = 0; c < channels; ++c) in[c][f] = interleaved[f * channels + c];
    if (plugin->Process64(inPointers.data(), outPointers.data(), std::uint32_t(channels), std::uint32_t(count)) ==
        CLAP_PROCESS_ERROR)
    {
      error = "the plug-in failed the block at frame " + std::to_string(done);
      return false;
    }
    done += count;
    for (; due(timers, kTimerSeconds) <= done; ++timers) plugin->Idle();
    for (; due(ticks, kDisplaySeconds) <= done; ++ticks) (void)editor->Tick();
  }
  (void)editor->Tick();
  if (!editor->WritePng(options.snapshotPath))
  {
    error = "cannot write the snapshot " + options.snapshotPath;
    return false;
  }
  widthPixels = editor->FramePixelWidth();
  heightPixels = editor->FramePixelHeight();
  plugin->StopProcessing();
  plugin->Deactivate();
  return true;
}

} // namespace kit::render
