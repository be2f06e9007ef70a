#pragma once
// A virtual X server of the test's own: Xvfb started on a display it chooses itself (it writes
// the number to a pipe once it accepts connections), stopped by its process id when the object
// goes. Nothing needs to run before the tests.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kit::test
{

class XvfbServer
{
public:
  // Xvfb with one 1600 × 1200 screen of depth 24 unless screen says otherwise, plus extraArguments
  // (e.g. "-extension", "MIT-SHM" to run without shared memory). Null, with the reason, when it
  // cannot be started or does not announce its display within 20 s.
  [[nodiscard]] static std::unique_ptr<XvfbServer> Start(std::string& error,
                                                         const std::vector<std::string>& extraArguments = {},
                                                         const std::string& screen = "1600x1200x24")
  {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
    {
      error = "cannot make a pipe for Xvfb";
      return nullptr;
    }
    ::fcntl(pipeEnds[0], F_SETFD, FD_CLOEXEC);
    std::vector<std::string> arguments { "Xvfb",      "-displayfd", std::to_string(pipeEnds[1]),
                                         "-screen",   "0",          screen,
                                         "-nolisten", "tcp",        "-noreset" };
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    // The server's own messages would only clutter the test output.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0)
    {
      ::close(pipeEnds[0]);
      error = "cannot start Xvfb (package xvfb)";
      return nullptr;
    }
    std::unique_ptr<XvfbServer> server(new XvfbServer(pid));
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (number.empty() || number.back() != '\n')
    {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd readable { pipeEnds[0], POLLIN, 0 };
      if (left.count() <= 0 || ::poll(&readable, 1, int(left.count())) <= 0) break;
      char c = 0;
      if (::read(pipeEnds[0], &c, 1) != 1) break;
      number += c;
    }
    ::close(pipeEnds[0]);
    if (number.empty() || number.back() != '\n')
    {
      error = "Xvfb did not announce its display";
      return nullptr;
    }
    number.pop_back();
    server->displayName = ":" + number;
    return server;
  }

  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;
  ~XvfbServer()
  {
    ::kill(pid, SIGTERM);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
  }

  // ":N", for XOpenDisplay and for DISPLAY.
  [[nodiscard]] const std::string& DisplayName() const noexcept { return displayName; }
  // The server's process, for reading its processor time.
  [[nodiscard]] pid_t Pid() const noexcept { return pid; }

private:
  explicit XvfbServer(pid_t serverPid)
      : pid(serverPid)
  {
  }

  pid_t pid;
  std::string displayName;
};

} // namespace kit::test
