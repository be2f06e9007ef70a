#include "tools/host/host.h"
#include "tools/host/thread_roles.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>

namespace kit::host
{
namespace
{

TEST(ThreadRoles, TheConstructingThreadIsMainUnlessInsideAnAudioScope)
{
  const Host host;
  EXPECT_EQ(host.RoleOfCallingThread(), ThreadRole::Main);
  {
    const AudioThreadScope outer;
    EXPECT_EQ(host.RoleOfCallingThread(), ThreadRole::Audio);
    {
      const AudioThreadScope inner;
      EXPECT_EQ(host.RoleOfCallingThread(), ThreadRole::Audio);
    }
    EXPECT_EQ(host.RoleOfCallingThread(), ThreadRole::Audio); // the outer scope still holds
  }
  EXPECT_EQ(host.RoleOfCallingThread(), ThreadRole::Main);

  ThreadRole plain = ThreadRole::Main;
  ThreadRole scoped = ThreadRole::Main;
  std::thread other(
      [&]
      {
        plain = host.RoleOfCallingThread();
        const AudioThreadScope scope;
        scoped = host.RoleOfCallingThread();
      });
  other.join();
  EXPECT_EQ(plain, ThreadRole::Other);
  EXPECT_EQ(scoped, ThreadRole::Audio);
}

// Asks the host's thread-check from the main thread, from an audio scope and from another thread.
struct Answers
{
  std::pair<bool, bool> main;
  std::pair<bool, bool> audio;
  std::pair<bool, bool> other;
};

Answers AskThreadCheck(const Host& host)
{
  const clap_host* record = host.Record();
  const auto* check = static_cast<const clap_host_thread_check*>(record->get_extension(record, CLAP_EXT_THREAD_CHECK));
  const auto ask = [&] { return std::pair { check->is_main_thread(record), check->is_audio_thread(record) }; };
  Answers answers;
  answers.main = ask();
  {
    const AudioThreadScope scope;
    answers.audio = ask();
  }
  std::thread other([&] { answers.other = ask(); });
  other.join();
  return answers;
}

TEST(ThreadRoles, ThreadCheckAnswersAsConfigured)
{
  struct Case
  {
    ThreadCheckAnswer answer;
    Answers expected; // {is_main_thread, is_audio_thread} per thread
  };
  const Case cases[] = {
    { ThreadCheckAnswer::ByRole, { { true, false }, { false, true }, { false, false } } },
    { ThreadCheckAnswer::AlwaysMain, { { true, false }, { true, false }, { true, false } } },
    { ThreadCheckAnswer::NeverMain, { { false, false }, { false, false }, { false, false } } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(int(c.answer));
    HostConfig config;
    config.threadCheck = c.answer;
    const Host host(config);
    const Answers answers = AskThreadCheck(host);
    EXPECT_EQ(answers.main, c.expected.main);
    EXPECT_EQ(answers.audio, c.expected.audio);
    EXPECT_EQ(answers.other, c.expected.other);
  }
}

} // namespace
} // namespace kit::host
