#pragma once
// Environment variables set for a test and put back afterwards, and a preference folder of
// the test's own, so that no test reads or writes the user's saved zoom.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace kit::test
{

// Sets or clears environment variables and puts the earlier values back when it goes.
class EnvironmentGuard
{
public:
  EnvironmentGuard() = default;
  EnvironmentGuard(const EnvironmentGuard&) = delete;
  EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;
  ~EnvironmentGuard()
  {
    for (auto it = saved.rbegin(); it != saved.rend(); ++it)
    {
      if (it->second)
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        ::unsetenv(it->first.c_str());
    }
  }
  void Set(const std::string& name, const char* value)
  {
    const char* before = std::getenv(name.c_str());
    saved.emplace_back(name, before ? std::optional<std::string>(before) : std::nullopt);
    if (value)
      ::setenv(name.c_str(), value, 1);
    else
      ::unsetenv(name.c_str());
  }

private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

// XDG_CONFIG_HOME at a fresh temporary folder for the object's lifetime; the folder goes with it.
class PreferenceFolder
{
public:
  PreferenceFolder()
  {
    std::string pattern = (std::filesystem::temp_directory_path() / "ombrix-prefs-XXXXXX").string();
    if (::mkdtemp(pattern.data())) root = pattern;
    environment.Set("XDG_CONFIG_HOME", root.c_str());
  }
  ~PreferenceFolder()
  {
    std::error_code error;
    if (std::filesystem::exists(Folder(), error))
      std::filesystem::permissions(Folder(), std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(root, error);
  }
  PreferenceFolder(const PreferenceFolder&) = delete;
  PreferenceFolder& operator=(const PreferenceFolder&) = delete;

  [[nodiscard]] const std::filesystem::path& Root() const noexcept { return root; }
  [[nodiscard]] std::filesystem::path Folder() const { return root / "Felgard" / "Preferences"; }
  [[nodiscard]] std::filesystem::path File() const { return Folder() / "Ombrix-display-scale.txt"; }
  void Put(const std::string& content) const
  {
    std::filesystem::create_directories(Folder());
    std::ofstream(File(), std::ios::binary) << content;
  }
  [[nodiscard]] std::string Content() const
  {
    std::ifstream file(File(), std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
  }

private:
  EnvironmentGuard environment;
  std::filesystem::path root;
};

} // namespace kit::test
