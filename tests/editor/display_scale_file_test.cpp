// The zoom preference file on disk: where it lives, what is written, which files are read, and
// that a failed or concurrent write never leaves a broken file or a stray temporary behind.
// Each test points XDG_CONFIG_HOME at a fresh folder and puts the environment back afterwards.
#include "editor/display_scale_file.h"

#include "support/preference_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kit::ui
{
namespace
{

namespace fs = std::filesystem;

constexpr std::string_view kProduct = "Ombrix";

using kit::test::EnvironmentGuard;

class DisplayScaleFile : public testing::Test
{
protected:
  void SetUp() override { ASSERT_FALSE(preferences.Root().empty()); }

  [[nodiscard]] fs::path Folder() const { return preferences.Folder(); }
  [[nodiscard]] fs::path File() const { return preferences.File(); }
  void Put(const std::string& content) const { preferences.Put(content); }
  [[nodiscard]] std::string Content() const { return preferences.Content(); }
  // Everything in the preference folder, to see that no temporary file is left.
  [[nodiscard]] std::vector<std::string> FolderNames() const
  {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Folder())) names.push_back(entry.path().filename().string());
    return names;
  }

  kit::test::PreferenceFolder preferences;
  EnvironmentGuard environment;
};

TEST_F(DisplayScaleFile, PathFollowsTheConfigurationFolderAndSanitisesTheName)
{
  struct Case
  {
    const char* configHome; // null: unset
    const char* home;
    std::string_view name;
    std::string expected; // empty: no path
  };
  const Case cases[] = {
    { "/cfg", "/home/u", "Ombrix", "/cfg/Felgard/Preferences/Ombrix-display-scale.txt" },
    { nullptr, "/home/u", "Ombrix", "/home/u/.config/Felgard/Preferences/Ombrix-display-scale.txt" },
    { "", "/home/u", "Ombrix", "/home/u/.config/Felgard/Preferences/Ombrix-display-scale.txt" },
    { "relative/cfg", "/home/u", "Ombrix", "/home/u/.config/Felgard/Preferences/Ombrix-display-scale.txt" },
    { nullptr, nullptr, "Ombrix", "" },
    { nullptr, "", "Ombrix", "" },
    { "/cfg", "/home/u", "", "" },
    { "/cfg", nullptr, "a/b\\c:d*e?f\"g<h>i|j", "/cfg/Felgard/Preferences/a_b_c_d_e_f_g_h_i_j-display-scale.txt" },
    { "/cfg", nullptr, std::string_view("x\0y", 3), "/cfg/Felgard/Preferences/x_y-display-scale.txt" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "XDG_CONFIG_HOME " << (c.configHome ? c.configHome : "unset") << ", HOME "
                                    << (c.home ? c.home : "unset") << ", name " << c.name);
    EnvironmentGuard guard;
    guard.Set("XDG_CONFIG_HOME", c.configHome);
    guard.Set("HOME", c.home);
    EXPECT_EQ(SavedScalePath(c.name).string(), c.expected);
  }
}

TEST_F(DisplayScaleFile, WritesFourDecimalsAndALineFeedCreatingTheFolders)
{
  struct Case
  {
    float scale;
    const char* expected;
  };
  const Case cases[] = {
    { 1.25f, "1.2500\n" },    { 2.0f, "2.0000\n" },     { 0.5f, "0.5000\n" },
    { 3.14159f, "3.1416\n" }, { 1.00005f, "1.0000\n" }, // the float just below 1.00005
    { 4.0f, "4.0000\n" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "scale " << c.scale);
    std::error_code error;
    fs::remove_all(preferences.Root() / "Felgard", error);
    ASSERT_FALSE(fs::exists(Folder()));
    ASSERT_TRUE(WriteSavedScale(kProduct, c.scale));
    EXPECT_EQ(Content(), c.expected);
    EXPECT_EQ(FolderNames(), (std::vector<std::string> { "Ombrix-display-scale.txt" }));
    float read = 0.0f;
    ASSERT_TRUE(ReadSavedScale(kProduct, read));
    EXPECT_NEAR(read, c.scale, 0.00005f);
  }
}

TEST_F(DisplayScaleFile, NoScaleThatIsNotFiniteAndPositiveIsWritten)
{
  for (const float scale : { 0.0f, -0.0f, -1.0f, INFINITY, -INFINITY, NAN })
  {
    SCOPED_TRACE(testing::Message() << "scale " << scale);
    EXPECT_FALSE(WriteSavedScale(kProduct, scale));
    EXPECT_FALSE(fs::exists(File()));
  }
}

TEST_F(DisplayScaleFile, WithoutAConfigurationFolderNothingIsReadOrWritten)
{
  EnvironmentGuard guard;
  guard.Set("XDG_CONFIG_HOME", nullptr);
  guard.Set("HOME", nullptr);
  float scale = -7.0f;
  EXPECT_FALSE(WriteSavedScale(kProduct, 1.5f));
  EXPECT_FALSE(ReadSavedScale(kProduct, scale));
  EXPECT_EQ(scale, -7.0f);
}

// Only the first line counts, and only up to 64 bytes of it.
TEST_F(DisplayScaleFile, ReadsTheFirstLineOfARegularFile)
{
  const std::string padded64 = "1.5" + std::string(61, ' '); // a 64-byte line
  struct Case
  {
    const char* name;
    std::string content;
    std::optional<float> expected;
  };
  const Case cases[] = {
    { "as written", "1.2500\n", 1.25f },
    { "spaces around", " 1.5 \n", 1.5f },
    { "a word after", "1.5 word\n", std::nullopt },
    { "no line feed", "1.75", 1.75f },
    { "only the first line", "2\nrubbish\n", 2.0f },
    { "empty first line", "\n1.5\n", std::nullopt },
    { "empty file", "", std::nullopt },
    { "zero", "0\n", std::nullopt },
    { "negative", "-1\n", std::nullopt },
    { "inf", "inf\n", std::nullopt },
    { "nan", "nan\n", std::nullopt },
    { "64-byte line", padded64 + "\n", 1.5f },
    { "64 bytes, no line feed", padded64, 1.5f },
    { "65-byte line", padded64 + " \n", std::nullopt },
    { "65 bytes, no line feed", padded64 + " ", std::nullopt },
    { "one huge line", "1.5" + std::string(4 << 20, ' ') + "\n", std::nullopt },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    Put(c.content);
    float scale = -7.0f;
    ASSERT_EQ(ReadSavedScale(kProduct, scale), c.expected.has_value());
    EXPECT_EQ(scale, c.expected.value_or(-7.0f));
  }
}

TEST_F(DisplayScaleFile, MissingFileOrDirectoryIsNoScale)
{
  float scale = -7.0f;
  EXPECT_FALSE(ReadSavedScale(kProduct, scale));
  fs::create_directories(File());
  EXPECT_FALSE(ReadSavedScale(kProduct, scale));
  EXPECT_EQ(scale, -7.0f);
}

// A FIFO where the file should be: opening it for reading would wait for a writer. The read
// must come back at once (were it to block, the test would hang and time out).
TEST_F(DisplayScaleFile, FifoIsRejectedWithoutBlocking)
{
  fs::create_directories(Folder());
  ASSERT_EQ(::mkfifo(File().c_str(), 0600), 0);
  float scale = -7.0f;
  EXPECT_FALSE(ReadSavedScale(kProduct, scale));
  EXPECT_EQ(scale, -7.0f);
}

// A locale whose decimal separator is a comma, made current for LC_NUMERIC as hosts do; empty
// when none is installed and none can be built into scratch.
std::string SetCommaNumericLocale(const fs::path& scratch, EnvironmentGuard& environment)
{
  const auto comma = [] { return std::localeconv()->decimal_point == std::string(","); };
  for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR" })
  {
    if (std::setlocale(LC_NUMERIC, name) && comma()) return name;
  }
  // Built into the test's own folder; LOCPATH lets the C library find it there.
  const fs::path folder = scratch / "locales";
  fs::create_directories(folder);
  const std::string command = "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
  (void)std::system(command.c_str()); // warnings give a non-zero status; the locale still works
  environment.Set("LOCPATH", folder.c_str());
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && comma()) return "de_DE.UTF-8";
  return {};
}

TEST_F(DisplayScaleFile, DecimalPointUnderACommaLocale)
{
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  const std::string locale = SetCommaNumericLocale(preferences.Root(), environment);
  if (locale.empty()) GTEST_SKIP() << "no locale with a decimal comma is installed and localedef could not build one";
  // The locale really changes the C formatting the file must not depend on.
  char formatted[16];
  std::snprintf(formatted, sizeof formatted, "%.4f", 1.25);
  EXPECT_STREQ(formatted, "1,2500");

  const bool written = WriteSavedScale(kProduct, 1.25f);
  const std::string content = Content();
  float scale = 0.0f;
  const bool read = ReadSavedScale(kProduct, scale);
  Put("1.7500\n");
  float handWritten = 0.0f;
  const bool readHandWritten = ReadSavedScale(kProduct, handWritten);
  std::setlocale(LC_NUMERIC, before.c_str());

  EXPECT_TRUE(written);
  EXPECT_EQ(content, "1.2500\n");
  EXPECT_TRUE(read);
  EXPECT_EQ(scale, 1.25f);
  EXPECT_TRUE(readHandWritten);
  EXPECT_EQ(handWritten, 1.75f);
}

// Root writes into read-only folders through the capability that overrides permission bits.
// Lowered from the thread's effective set for a while (it stays permitted, so it can be raised
// again), the folder's bits hold for root as well.
class WithoutPermissionOverride
{
public:
  WithoutPermissionOverride()
  {
    if (::syscall(SYS_capget, &header, saved) != 0) return;
    __user_cap_data_struct lowered[2] = { saved[0], saved[1] };
    lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    active = ::syscall(SYS_capset, &header, lowered) == 0;
  }
  ~WithoutPermissionOverride()
  {
    if (active) (void)::syscall(SYS_capset, &header, saved);
  }
  WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
  WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
  __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
  __user_cap_data_struct saved[2] {};
  bool active = false;
};

// Should the process still write into the folder, the case cannot be shown and is skipped.
TEST_F(DisplayScaleFile, ReadOnlyFolderFailsCleanly)
{
  Put("1.5000\n");
  fs::permissions(Folder(), fs::perms::owner_read | fs::perms::owner_exec);
  const WithoutPermissionOverride restricted;
  const fs::path probe = Folder() / "probe";
  if (std::ofstream(probe).good())
  {
    std::error_code error;
    fs::remove(probe, error);
    GTEST_SKIP() << "this process writes into read-only folders (root with its permission override)";
  }
  EXPECT_FALSE(WriteSavedScale(kProduct, 2.0f));
  EXPECT_EQ(Content(), "1.5000\n");
  EXPECT_EQ(FolderNames(), (std::vector<std::string> { "Ombrix-display-scale.txt" }));
}

// A full disk, shown by a file-size limit of 0 bytes: the write of the new line fails, the old
// file stays as it was and the temporary is gone. Works for root too.
TEST_F(DisplayScaleFile, FailedWriteKeepsTheOldFile)
{
  Put("1.5000\n");
  rlimit before {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  rlimit none = before;
  none.rlim_cur = 0;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &none), 0);
  const bool written = WriteSavedScale(kProduct, 2.0f);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &before), 0);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(Content(), "1.5000\n");
  EXPECT_EQ(FolderNames(), (std::vector<std::string> { "Ombrix-display-scale.txt" }));
}

// Something that cannot be replaced (a folder that is not empty) where the file should be: the
// new file cannot take its place, and its temporary is removed.
TEST_F(DisplayScaleFile, FailedReplaceLeavesNoTemporary)
{
  fs::create_directories(File() / "inside");
  EXPECT_FALSE(WriteSavedScale(kProduct, 2.0f));
  EXPECT_TRUE(fs::is_directory(File() / "inside"));
  EXPECT_EQ(FolderNames(), (std::vector<std::string> { "Ombrix-display-scale.txt" }));
}

// Two editors closing at once while a third opens: every read sees one whole zoom or the
// other, never an empty or mixed file, and no temporary is left.
TEST_F(DisplayScaleFile, ConcurrentWritersNeverLeaveABrokenFile)
{
  ASSERT_TRUE(WriteSavedScale(kProduct, 1.25f));
  constexpr int kWrites = 100;
  std::atomic<int> failedWrites { 0 };
  std::atomic<bool> writing { true };
  const auto writer = [&](float scale)
  {
    for (int i = 0; i < kWrites; ++i)
    {
      if (!WriteSavedScale(kProduct, scale)) failedWrites.fetch_add(1);
    }
  };
  int reads = 0;
  int badReads = 0;
  std::thread first(writer, 1.25f);
  std::thread second(writer, 2.0f);
  std::thread watcher(
      [&]
      {
        first.join();
        second.join();
        writing.store(false);
      });
  do {
    float scale = 0.0f;
    const bool read = ReadSavedScale(kProduct, scale);
    ++reads;
    if (!read || (scale != 1.25f && scale != 2.0f)) ++badReads;
  } while (writing.load());
  watcher.join();

  EXPECT_EQ(failedWrites.load(), 0);
  EXPECT_EQ(badReads, 0) << "of " << reads << " reads";
  EXPECT_EQ(FolderNames(), (std::vector<std::string> { "Ombrix-display-scale.txt" }));
}

} // namespace
} // namespace kit::ui
