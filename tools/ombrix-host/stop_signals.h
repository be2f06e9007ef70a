// Ctrl-C and a polite kill as an event of the main loop: SIGINT and SIGTERM write a byte to a
// pipe whose reading end the loop watches. One instance per process; main thread.
#pragma once

namespace kit::live
{

class StopSignals
{
public:
  // Installs the handlers; Valid is false when the pipe or a handler cannot be made.
  StopSignals();
  // Restores the default handling and closes the pipe.
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  [[nodiscard]] bool Valid() const noexcept { return readEnd >= 0; }
  // Readable once a signal has come.
  [[nodiscard]] int Descriptor() const noexcept { return readEnd; }
  // Empties the pipe; whether a signal had come.
  [[nodiscard]] bool Take() noexcept;

private:
  int readEnd = -1;
  int writeEnd = -1;
};

} // namespace kit::live
