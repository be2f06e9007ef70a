#include "editor/display_scale_file.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kit::ui
{

namespace
{

constexpr std::string_view kVendorFolder = "Felgard";
constexpr std::string_view kPreferencesFolder = "Preferences";
constexpr std::string_view kFileSuffix = "-display-scale.txt";
// Characters some file systems refuse in a name; NUL would cut the name short here.
constexpr std::string_view kUnsafeNameCharacters { "/\\:*?\"<>|\0", 10 };
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
// A line of the file holds at most this many bytes; anything longer is not ours.
constexpr std::size_t kMaxLineBytes = 64;
// A stale temporary of an earlier process with the same id may be in the way.
constexpr int kTemporaryAttempts = 8;

// The per-user configuration folder; relative settings are ignored, as the XDG base-directory
// rules ask.
std::filesystem::path ConfigFolder()
{
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome && configHome[0] == '/') return configHome;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::filesystem::path(home) / ".config";
  return {};
}

// Reads until count bytes, the end of the file or an error; -1 on an error.
ssize_t ReadUpTo(int fd, char* bytes, std::size_t count)
{
  std::size_t done = 0;
  while (done < count)
  {
    const ssize_t got = ::read(fd, bytes + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += std::size_t(got);
  }
  return ssize_t(done);
}

[[nodiscard]] bool WriteAll(int fd, const char* bytes, std::size_t count)
{
  std::size_t done = 0;
  while (done < count)
  {
    const ssize_t put = ::write(fd, bytes + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += std::size_t(put);
  }
  return true;
}

// A new, empty file beside path under a name no other writer uses; -1 when none can be made.
int CreateTemporaryBeside(const std::filesystem::path& path, std::filesystem::path& temporary)
{
  static std::atomic<unsigned> counter { 0 };
  std::string stem(1, '.');
  stem += path.filename().string();
  stem += '.';
  stem += std::to_string(::getpid());
  stem += '.';
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt)
  {
    temporary = path.parent_path() / (stem + std::to_string(counter.fetch_add(1, std::memory_order_relaxed)) + ".tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

} // namespace

std::filesystem::path SavedScalePath(std::string_view productName)
{
  if (productName.empty()) return {};
  const std::filesystem::path folder = ConfigFolder();
  if (folder.empty()) return {};
  std::string fileName(productName);
  for (char& c : fileName)
  {
    if (kUnsafeNameCharacters.find(c) != std::string_view::npos) c = '_';
  }
  fileName += kFileSuffix;
  return folder / kVendorFolder / kPreferencesFolder / fileName;
}

std::optional<float> ParseSavedScale(std::string_view line)
{
  const std::size_t first = line.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return std::nullopt;
  const char* begin = line.data() + first;
  const char* end = line.data() + line.size();
  // The C conversion takes a leading '+'; from_chars, which ignores the locale, does not.
  if (*begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
  float value = 0.0f;
  const auto [rest, error] = std::from_chars(begin, end, value);
  if (error != std::errc()) return std::nullopt;
  if (line.find_first_not_of(kWhiteSpace, std::size_t(rest - line.data())) != std::string_view::npos)
    return std::nullopt;
  // Below the normal range the C conversion reports a range error; from_chars gives the
  // subnormal value.
  if (!std::isfinite(value) || !(value >= std::numeric_limits<float>::min())) return std::nullopt;
  return value;
}

bool ReadSavedScale(std::string_view productName, float& scale)
{
  const std::filesystem::path path = SavedScalePath(productName);
  if (path.empty()) return false;
  // Without O_NONBLOCK a FIFO in the file's place would hold the host until a writer came.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  char bytes[kMaxLineBytes + 1];
  ssize_t count = -1;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) count = ReadUpTo(fd, bytes, sizeof bytes);
  ::close(fd);
  if (count < 0) return false;
  const std::string_view read(bytes, std::size_t(count));
  const std::size_t lineEnd = read.find('\n');
  if (lineEnd == std::string_view::npos && read.size() > kMaxLineBytes) return false;
  const std::optional<float> parsed = ParseSavedScale(read.substr(0, lineEnd));
  if (!parsed) return false;
  scale = *parsed;
  return true;
}

bool WriteSavedScale(std::string_view productName, float scale)
{
  if (!std::isfinite(scale) || !(scale > 0.0f)) return false;
  const std::filesystem::path path = SavedScalePath(productName);
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (error) return false;

  // "%.4f\n" with a decimal point whatever the process locale.
  char text[kMaxLineBytes];
  const auto [end, formatError] = std::to_chars(text, text + sizeof text - 1, scale, std::chars_format::fixed, 4);
  if (formatError != std::errc()) return false;
  *end = '\n';
  const std::size_t length = std::size_t(end - text) + 1;

  // The new line goes to a file of its own that then replaces the old one whole, so a full disk
  // or two editors closing at once leave either the old zoom or a new one, never a broken file.
  std::filesystem::path temporary;
  const int fd = CreateTemporaryBeside(path, temporary);
  if (fd < 0) return false;
  // A full disk may show only when the bytes reach it.
  bool written = WriteAll(fd, text, length) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written) written = ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!written) ::unlink(temporary.c_str());
  return written;
}

} // namespace kit::ui
