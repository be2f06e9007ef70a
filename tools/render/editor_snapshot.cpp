#include "tools/render/editor_snapshot.h"

#include "binding/clap_plugin_base.h"
#include "binding/draw_editor_delegate.h"
#include "graphics/platform/draw_context_headless.h"
#include "tools/render/render_session.h"

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
  std::unique_ptr<RenderSession> session =
      RenderSession::Start(host::PluginLibrary::FromEntry(clap_entry, "ombrix-render", error), options, source, error);
  if (!session) return false;
  auto* editorDelegate =
      dynamic_cast<IDrawEditorDelegate*>(static_cast<ClapPluginBase*>(session->Plugin()->plugin_data));
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
  const std::int64_t end = options.snapshotAt < 0.0
                               ? source.Frames() / 2
                               : std::min(source.Frames(), std::int64_t(std::llround(options.snapshotAt * rate)));
  const auto block = std::int64_t(options.blockFrames);
  std::vector<double> input(std::size_t(block) * std::size_t(source.Channels()));
  // Blocks end where a timer or a display tick falls due, so both come at their audio time.
  auto due = [rate](std::int64_t count, double period)
  { return std::int64_t(std::llround(double(count) * period * rate)); };
  std::int64_t done = 0;
  std::int64_t timers = 1;
  std::int64_t ticks = 1;
  while (done < end)
  {
    const std::int64_t next = std::min({ end, due(timers, kTimerSeconds), due(ticks, kDisplaySeconds) });
    const std::int64_t count = source.Read(input.data(), std::clamp<std::int64_t>(next - done, 1, block));
    if (count <= 0)
    {
      error = "cannot read the input after frame " + std::to_string(done);
      return false;
    }
    if (!session->Process(input.data(), nullptr, count, done, error)) return false;
    done += count;
    for (; due(timers, kTimerSeconds) <= done; ++timers) session->Idle();
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
  return true;
}

} // namespace kit::render
