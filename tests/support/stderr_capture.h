// Everything a test program writes to its standard error stream for a while, descriptor 2
// itself redirected, so that lines from C code and from loaded plug-ins are caught too.
#pragma once

#include <cstdio>
#include <string>

#include <unistd.h>

namespace kit::test
{

// Everything written to the standard error stream (file descriptor 2) while it lives.
class StderrCapture
{
public:
  StderrCapture()
      : file(std::tmpfile())
      , saved(dup(2))
  {
    std::fflush(stderr);
    if (file && saved >= 0) dup2(fileno(file), 2);
  }
  ~StderrCapture()
  {
    Restore();
    if (file) std::fclose(file);
  }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  // Ends the capture and returns what was written.
  [[nodiscard]] std::string Text()
  {
    Restore();
    std::string text;
    if (!file) return text;
    std::rewind(file);
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text.push_back(char(c));
    return text;
  }

private:
  void Restore()
  {
    if (saved < 0) return;
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    saved = -1;
  }

  std::FILE* file;
  int saved;
};

} // namespace kit::test
