// Which role the calling thread plays for a test host: the thread that built the Host is the
// main thread; a thread inside an AudioThreadScope is the audio thread, even the main thread
// itself while it runs a process call. Safe from any thread.
#pragma once

#include <thread>

namespace kit::host
{

// The roles CLAP distinguishes for host calls.
enum class ThreadRole
{
  Main,  // the thread that constructed the Host, outside any audio scope
  Audio, // inside an AudioThreadScope (process, start/stop processing, flush while processing)
  Other  // any other thread
};

[[nodiscard]] const char* ThreadRoleName(ThreadRole role) noexcept;

// The role of the calling thread for a host whose main thread is mainThread.
[[nodiscard]] ThreadRole RoleOfCallingThread(std::thread::id mainThread) noexcept;

// Marks the calling thread as the audio thread for its lifetime; scopes nest.
class AudioThreadScope
{
public:
  AudioThreadScope() noexcept;
  ~AudioThreadScope();
  AudioThreadScope(const AudioThreadScope&) = delete;
  AudioThreadScope& operator=(const AudioThreadScope&) = delete;
};

} // namespace kit::host
