#pragma once
// Runs the built ombrix-render as a user does and collects what it says.

#include <array>
#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace kit::render
{

struct RunResult
{
  int exitCode = -1;
  std::string output; // stdout and stderr
};

inline RunResult RunRender(const std::string& arguments)
{
  RunResult result;
  const std::string command = std::string(OMBRIX_RENDER_PATH) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer {};
  while (std::fgets(buffer.data(), int(buffer.size()), pipe)) result.output += buffer.data();
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// The same with the plug-in of this build.
inline RunResult RunRenderWithPlugin(const std::string& arguments)
{
  return RunRender(std::string("--plugin ") + OMBRIX_CLAP_PATH + " " + arguments);
}

} // namespace kit::render
