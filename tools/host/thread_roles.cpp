#include "tools/host/thread_roles.h"

namespace kit::host
{
namespace
{

thread_local int audioScopeDepth = 0;

} // namespace

const char* ThreadRoleName(ThreadRole role) noexcept
{
  switch (role)
  {
  case ThreadRole::Main:
    return "main";
  case ThreadRole::Audio:
    return "audio";
  case ThreadRole::Other:
    return "other";
  }
  return "?";
}

ThreadRole RoleOfCallingThread(std::thread::id mainThread) noexcept
{
  if (audioScopeDepth > 0) return ThreadRole::Audio;
  return std::this_thread::get_id() == mainThread ? ThreadRole::Main : ThreadRole::Other;
}

AudioThreadScope::AudioThreadScope() noexcept
{
  ++audioScopeDepth;
}

AudioThreadScope::~AudioThreadScope()
{
  --audioScopeDepth;
}

} // namespace kit::host
