// How a test host presents itself: its identity strings, which host extensions get_extension
// answers, which function pointers are left null, and what its answers are. The defaults make
// a complete, well-behaved host. Read once when the Host is constructed.
#pragma once

#include "binding/clap_abi.h"
#include "tools/host/host_function.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace kit::host
{

// Host extensions get_extension answers; an unset one is answered with null.
struct OfferedExtensions
{
  bool log = true;
  bool threadCheck = true;
  bool params = true;
  bool latency = true;
  bool state = true;
  bool timerSupport = true;
  bool trackInfo = true;
  bool gui = true;
  bool posixFdSupport = false; // off by default
};

// What clap_host_thread_check answers.
enum class ThreadCheckAnswer
{
  ByRole,     // the calling thread's role (thread_roles.h)
  AlwaysMain, // is_main_thread true, is_audio_thread false, on every thread
  NeverMain   // both false, on every thread
};

struct HostConfig
{
  std::optional<std::string> name = "Ombrix Test Host"; // nullopt leaves clap_host.name null
  std::optional<std::string> version = "1.0.0";         // nullopt leaves clap_host.version null
  OfferedExtensions offered;
  // Functions left null in the records handed out (a partially implemented extension).
  std::set<HostFunction> nullFunctions;
  ThreadCheckAnswer threadCheck = ThreadCheckAnswer::ByRole;
  // The id the track-info record is offered under: CLAP_EXT_TRACK_INFO or its draft id.
  std::string trackInfoId = CLAP_EXT_TRACK_INFO;
  bool trackInfoSucceeds = true;
  std::int32_t trackChannelCount = 2;
  bool timerRegistrationSucceeds = true;
  bool descriptorRegistrationSucceeds = true;
  bool resizeRequestSucceeds = true;
};

} // namespace kit::host
