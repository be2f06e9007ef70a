#pragma once
// Runs the built ombrix-host as a user does, on the display given (or none), collects what it
// says and lets a test stop it with a signal while it plays.

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <optional>
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

class HostProgram
{
public:
  // ombrix-host with arguments; DISPLAY set to display, or removed when there is none.
  HostProgram(const std::vector<std::string>& arguments, const std::optional<std::string>& display)
  {
    std::vector<std::string> argvText { OMBRIX_HOST_PATH };
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry)
      if (std::string_view(*entry).substr(0, 8) != "DISPLAY=") environment.emplace_back(*entry);
    if (display) environment.push_back("DISPLAY=" + *display);
    std::vector<char*> argv;
    for (std::string& text : argvText) argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& text : environment) envp.push_back(text.data());
    envp.push_back(nullptr);

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (spawned != 0)
    {
      pid = -1;
      ::close(ends[0]);
      return;
    }
    output = ends[0];
  }

  ~HostProgram()
  {
    if (pid > 0 && !exited)
    {
      ::kill(pid, SIGKILL);
      (void)Wait();
    }
    if (output >= 0) ::close(output);
  }
  HostProgram(const HostProgram&) = delete;
  HostProgram& operator=(const HostProgram&) = delete;

  [[nodiscard]] bool Started() const noexcept { return pid > 0; }

  // Reads what the program says until ready answers true, the program has closed its output,
  // or timeout goes by; whether ready came true. ready is asked after every read and at least
  // every 20 ms.
  [[nodiscard]] bool ReadUntil(const std::function<bool()>& ready, std::chrono::seconds timeout)
  {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ready())
    {
      if (std::chrono::steady_clock::now() > deadline || output < 0) return false;
      pollfd readable { output, POLLIN, 0 };
      if (::poll(&readable, 1, 20) > 0 && !ReadSome()) return ready();
    }
    return true;
  }

  void Signal(int signalNumber) const { ::kill(pid, signalNumber); }

  // Reads the rest of the output and waits for the program; its exit status, -1 when it did
  // not exit by itself.
  [[nodiscard]] int Wait()
  {
    while (output >= 0 && ReadSome())
    {
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    exited = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  [[nodiscard]] const std::string& Output() const noexcept { return said; }

private:
  // False at the end of the output.
  bool ReadSome()
  {
    std::array<char, 4096> buffer {};
    const ssize_t count = ::read(output, buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) return true;
    if (count <= 0)
    {
      ::close(output);
      output = -1;
      return false;
    }
    said.append(buffer.data(), std::size_t(count));
    return true;
  }

  pid_t pid = -1;
  int output = -1;
  bool exited = false;
  std::string said;
};

} // namespace kit::test
