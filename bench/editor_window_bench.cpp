// Speed of Ombrix.clap's editor in a host's window on a virtual X server of the program's own,
// with the test host's main loop running the plug-in's timers and descriptors in real time:
// - the time from gui create to the first frame on screen (a spot of bare panel shows its red
//   tint), median of several openings on one server, at display scale 1 and 2;
// - the processor time, over ten seconds with the editor open, of the host's main thread and of
//   the X server, in percent of one core: graphs shown while an audio thread plays a chord in
//   real time, and graphs switched off with nothing playing.
// Each case reports the one-minute load average it ran under, since others may share the machine.
#include "binding/clap_abi.h"
#include "tests/support/preference_folder.h"
#include "tests/support/xvfb_server.h"
#include "tools/host/host.h"
#include "tools/host/host_window.h"
#include "tools/host/main_loop.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <pthread.h>
#include <unistd.h>

// Last: Xlib's macros (None, Bool, Status) would spoil the declarations above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace
{

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr clap_id kDitherParam = 0;
constexpr clap_id kShowGraphParam = 3;
constexpr int kBareScreenX = 95; // logical units: a spot of panel between the grid's lines
constexpr int kBareScreenY = 150;
constexpr int kOpenings = 9;
constexpr auto kMeasured = std::chrono::seconds(10);
constexpr auto kSettle = std::chrono::seconds(1); // first frames, graphs filling, before the count starts
constexpr double kSampleRate = 48000.0;
constexpr std::uint32_t kBlockFrames = 512;
constexpr std::uint32_t kChannels = 2;

double ThreadCpuSeconds()
{
  timespec now {};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

// utime + stime of a process, from /proc; -1 when it cannot be read.
double ProcessCpuSeconds(pid_t pid)
{
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  const std::string text { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
  // The command name may hold spaces; the fields after it start with the state (field 3).
  const std::size_t nameEnd = text.rfind(')');
  if (nameEnd == std::string::npos) return -1.0;
  std::istringstream fields(text.substr(nameEnd + 1));
  std::string field;
  for (int i = 3; i < 14; ++i) fields >> field;
  unsigned long long userTicks = 0;
  unsigned long long systemTicks = 0;
  if (!(fields >> userTicks >> systemTicks)) return -1.0;
  return double(userTicks + systemTicks) / double(::sysconf(_SC_CLK_TCK));
}

double LoadAverage()
{
  std::ifstream file("/proc/loadavg");
  double oneMinute = -1.0;
  file >> oneMinute;
  return oneMinute;
}

// Xft.dpi on the root window as a desktop sets it, read by the editor when it opens.
void SetDotsPerInch(Display* display, int dpi)
{
  const std::string text = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
  XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
  XSync(display, False);
}

// One Ombrix.clap instance whose editor opens in a host window on a server of its own, the
// host offering timer and descriptor support as a desktop host does.
class WindowSession
{
public:
  explicit WindowSession(std::string& error)
      : server(kit::test::XvfbServer::Start(error))
      , host(MakeConfig())
  {
    if (!server) return;
    environment.Set("DISPLAY", server->DisplayName().c_str());
    library = kit::host::PluginLibrary::Load(OMBRIX_CLAP_PATH, error);
    if (!library) return;
    instance = kit::host::PluginInstance::Create(*library, host, error);
    if (!instance) return;
    parent = kit::host::HostWindow::Create(server->DisplayName().c_str(), 500, 525, "Ombrix bench host", error);
    if (!parent) return;
    watcher = XOpenDisplay(server->DisplayName().c_str());
    if (!watcher)
    {
      error = "cannot open a second connection to the server";
      return;
    }
    host.SetResizeHandler(
        [this](std::uint32_t width, std::uint32_t height)
        {
          parent->Resize(int(width), int(height));
          return true;
        });
    loop = std::make_unique<kit::host::MainLoop>(host, instance->Plugin());
    // The host reads its own window's events as it would in a session.
    loop->AddDescriptor(parent->Descriptor(), [this] { (void)parent->CloseRequested(); });
    gui = instance->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
    params = instance->Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
    if (!gui || !params) error = "the plug-in offers no gui or no params";
  }
  WindowSession(const WindowSession&) = delete;
  WindowSession& operator=(const WindowSession&) = delete;
  ~WindowSession()
  {
    Close();
    instance.reset();
    if (watcher) XCloseDisplay(watcher);
  }

  [[nodiscard]] bool Ready() const { return watcher && loop && gui && params; }
  [[nodiscard]] const clap_plugin* Plugin() const { return instance->Plugin(); }

  // Scale 2 through Xft.dpi 192; scale 1 through 96.
  void SetScale(int pixelsPerUnit)
  {
    scale = pixelsPerUnit;
    SetDotsPerInch(watcher, 96 * pixelsPerUnit);
  }

  // create, get_size, the parent sized to it, set_parent and show; whether every step answered.
  [[nodiscard]] bool Open()
  {
    if (!gui->create(Plugin(), CLAP_WINDOW_API_X11, false)) return false;
    created = true;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!gui->get_size(Plugin(), &width, &height)) return false;
    parent->Resize(int(width), int(height));
    clap_window record {};
    record.api = CLAP_WINDOW_API_X11;
    record.x11 = parent->Id();
    return gui->set_parent(Plugin(), &record) && gui->show(Plugin());
  }
  void Close()
  {
    if (created) gui->destroy(Plugin());
    created = false;
  }

  // Runs the main loop in passes of at most a millisecond until the bare spot shows the panel's
  // tint; false after five seconds without it.
  [[nodiscard]] bool RunUntilPanelShows()
  {
    return loop->RunUntil([this] { return ShowsPanel(); }, std::chrono::seconds(5));
  }
  // Until the spot shows the parent's black again, after the editor went.
  [[nodiscard]] bool RunUntilPanelGone()
  {
    return loop->RunUntil([this] { return !ShowsPanel(); }, std::chrono::seconds(5));
  }
  void RunFor(std::chrono::milliseconds duration) { loop->RunFor(duration); }

  [[nodiscard]] double Value(clap_id id) const
  {
    double value = -1.0;
    return params->get_value(Plugin(), id, &value) ? value : -1.0;
  }

  // Main thread, while the plug-in is inactive: one parameter change through a params flush.
  void FlushParam(clap_id id, double value)
  {
    const std::pair<clap_id, double> change[] = { { id, value } };
    instance->FlushParams(change);
  }

  kit::host::PluginInstance& Instance() { return *instance; }
  [[nodiscard]] pid_t ServerPid() const { return server->Pid(); }

private:
  static kit::host::HostConfig MakeConfig()
  {
    kit::host::HostConfig config;
    config.offered.timerSupport = true;
    config.offered.posixFdSupport = true;
    return config;
  }

  // One pixel of the parent (the editor sits at its corner) read back from the server: the
  // panel's red tint with dither off, its green with dither on, the parent's black before.
  [[nodiscard]] bool ShowsPanel() const
  {
    XImage* image =
        XGetImage(watcher, parent->Id(), kBareScreenX * scale, kBareScreenY * scale, 1, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    const int red = int((pixel >> 16) & 0xFF);
    const int green = int((pixel >> 8) & 0xFF);
    return Value(kDitherParam) != 0.0 ? green > red : red > green;
  }

  kit::test::PreferenceFolder preferences; // the zoom kept by an earlier run stays out
  kit::test::EnvironmentGuard environment;
  std::unique_ptr<kit::test::XvfbServer> server;
  kit::host::Host host;
  std::unique_ptr<kit::host::PluginLibrary> library;
  std::unique_ptr<kit::host::PluginInstance> instance;
  std::unique_ptr<kit::host::HostWindow> parent;
  Display* watcher = nullptr; // the benchmark's own connection, for reading pixels
  std::unique_ptr<kit::host::MainLoop> loop;
  const clap_plugin_gui* gui = nullptr;
  const clap_plugin_params* params = nullptr;
  int scale = 1;
  bool created = false;
};

} // namespace

namespace
{

// An audio thread processing the plug-in in real time: 512-frame blocks of a three-note chord
// in stereo, each block due one block's duration after the one before. Processing starts and
// stops on that thread.
class ChordPlayer
{
public:
  explicit ChordPlayer(kit::host::PluginInstance& player)
      : instance(player)
      , thread([this] { Play(); })
  {
  }
  ChordPlayer(const ChordPlayer&) = delete;
  ChordPlayer& operator=(const ChordPlayer&) = delete;
  ~ChordPlayer()
  {
    stop.store(true, std::memory_order_release);
    thread.join();
  }

  [[nodiscard]] bool Failed() const noexcept { return failed.load(std::memory_order_acquire); }
  // The audio thread's processor time so far; -1 when its clock cannot be read.
  [[nodiscard]] double CpuSeconds()
  {
    clockid_t clock {};
    timespec now {};
    if (::pthread_getcpuclockid(thread.native_handle(), &clock) != 0 || ::clock_gettime(clock, &now) != 0) return -1.0;
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
  }

private:
  static constexpr std::array<double, 3> kNotes { 220.0, 277.18, 329.63 }; // A major, Hz
  static constexpr double kNoteLevel = 0.2;

  void Play()
  {
    if (!instance.StartProcessing())
    {
      failed.store(true, std::memory_order_release);
      return;
    }
    const Clock::time_point start = Clock::now();
    for (std::uint64_t block = 1; !stop.load(std::memory_order_acquire); ++block)
    {
      FillChord();
      if (instance.Process64(inputs.data(), outputs.data(), kChannels, kBlockFrames) == CLAP_PROCESS_ERROR)
        failed.store(true, std::memory_order_release);
      const Seconds played(double(block * kBlockFrames) / kSampleRate);
      std::this_thread::sleep_until(start + std::chrono::duration_cast<Clock::duration>(played));
    }
    instance.StopProcessing();
  }

  // The right channel a little behind the left, so that the two differ.
  void FillChord() noexcept
  {
    for (std::uint32_t i = 0; i < kBlockFrames; ++i)
    {
      double left = 0.0;
      double right = 0.0;
      for (std::size_t n = 0; n < kNotes.size(); ++n)
      {
        left += kNoteLevel * std::sin(phases[n]);
        right += kNoteLevel * std::sin(phases[n] - 0.5);
        phases[n] = std::fmod(phases[n] + 2.0 * std::numbers::pi * kNotes[n] / kSampleRate, 2.0 * std::numbers::pi);
      }
      samples[0][i] = left;
      samples[1][i] = right;
    }
  }

  kit::host::PluginInstance& instance;
  std::array<std::vector<double>, 2> samples { std::vector<double>(kBlockFrames), std::vector<double>(kBlockFrames) };
  std::array<std::vector<double>, 2> processed { std::vector<double>(kBlockFrames), std::vector<double>(kBlockFrames) };
  std::array<double*, 2> inputs { samples[0].data(), samples[1].data() };
  std::array<double*, 2> outputs { processed[0].data(), processed[1].data() };
  std::array<double, 3> phases {};
  std::atomic<bool> stop { false };
  std::atomic<bool> failed { false };
  std::thread thread; // last: it starts playing at once
};

// Whether the session came up; if so it is set to the case's display scale, else the case is
// skipped with the reason.
[[nodiscard]] bool ReadyAtCaseScale(benchmark::State& state, WindowSession& session, const std::string& error)
{
  if (!session.Ready())
  {
    state.SkipWithError(error.c_str());
    return false;
  }
  session.SetScale(int(state.range(0)));
  return true;
}

// After kSettle, processor time over kMeasured of the main loop's thread (this one), of the X
// server and, when there is one, of the audio thread, as counters in percent of one core. The
// main thread's seconds are the iteration's time.
void MeasureProcessorTime(benchmark::State& state, WindowSession& session, ChordPlayer* player)
{
  session.RunFor(kSettle);
  const Clock::time_point start = Clock::now();
  const double main0 = ThreadCpuSeconds();
  const double server0 = ProcessCpuSeconds(session.ServerPid());
  const double audio0 = player ? player->CpuSeconds() : 0.0;
  session.RunFor(kMeasured);
  const double audio1 = player ? player->CpuSeconds() : 0.0;
  const double server1 = ProcessCpuSeconds(session.ServerPid());
  const double main1 = ThreadCpuSeconds();
  const double wall = Seconds(Clock::now() - start).count();

  state.SetIterationTime(main1 - main0);
  state.counters["main_pct"] = 100.0 * (main1 - main0) / wall;
  state.counters["xserver_pct"] = 100.0 * (server1 - server0) / wall;
  if (player) state.counters["audio_pct"] = 100.0 * (audio1 - audio0) / wall;
  // The main thread's cost per 15 ms display tick, were the ticks all it did.
  state.counters["main_us_per_tick"] = 1e6 * (main1 - main0) / (wall / 0.015);
}

// The time from gui create to the panel's first frame on screen, over kOpenings openings on
// one server: the median as the iteration's time, with the first, fastest and slowest.
void EditorFirstFrame(benchmark::State& state)
{
  std::string error;
  WindowSession session(error);
  if (!ReadyAtCaseScale(state, session, error)) return;
  state.counters["load1"] = LoadAverage();
  for (auto _ : state)
  {
    std::vector<double> times;
    while (times.size() < std::size_t(kOpenings))
    {
      const Clock::time_point start = Clock::now();
      if (!session.Open() || !session.RunUntilPanelShows()) break;
      times.push_back(Seconds(Clock::now() - start).count());
      session.Close();
      if (!session.RunUntilPanelGone()) break;
    }
    if (times.size() < std::size_t(kOpenings))
    {
      state.SkipWithError("the editor did not show its panel, or did not go");
      break;
    }
    state.counters["first_ms"] = 1e3 * times.front();
    std::sort(times.begin(), times.end());
    state.SetIterationTime(times[times.size() / 2]);
    state.counters["median_ms"] = 1e3 * times[times.size() / 2];
    state.counters["min_ms"] = 1e3 * times.front();
    state.counters["max_ms"] = 1e3 * times.back();
  }
}

// Graphs shown while the chord plays through the plug-in in real time.
void EditorCpuGraphsPlaying(benchmark::State& state)
{
  std::string error;
  WindowSession session(error);
  if (!ReadyAtCaseScale(state, session, error)) return;
  if (session.Value(kShowGraphParam) != 1.0 || !session.Instance().Activate(kSampleRate, 1, kBlockFrames) ||
      !session.Open() || !session.RunUntilPanelShows())
  {
    state.SkipWithError("the editor did not open with its graphs shown");
    return;
  }
  state.counters["load1"] = LoadAverage();
  for (auto _ : state)
  {
    ChordPlayer player(session.Instance());
    MeasureProcessorTime(state, session, &player);
    if (player.Failed()) state.SkipWithError("processing failed");
  }
}

// Graphs switched off through a params flush, nothing playing, nothing changing.
void EditorCpuGraphsOff(benchmark::State& state)
{
  std::string error;
  WindowSession session(error);
  if (!ReadyAtCaseScale(state, session, error)) return;
  if (!session.Open() || !session.RunUntilPanelShows())
  {
    state.SkipWithError("the editor did not open");
    return;
  }
  session.FlushParam(kShowGraphParam, 0.0);
  if (session.Value(kShowGraphParam) != 0.0)
  {
    state.SkipWithError("the graphs stayed on");
    return;
  }
  state.counters["load1"] = LoadAverage();
  for (auto _ : state) MeasureProcessorTime(state, session, nullptr);
}

} // namespace

BENCHMARK(EditorFirstFrame)->Arg(1)->Arg(2)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(EditorCpuGraphsPlaying)->Arg(1)->Arg(2)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(EditorCpuGraphsOff)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
