// The zoom preference file: any bytes as the file's content are read without a crash; a zoom
// read is finite and above 0 and is exactly what the first line parses to; a zoom written
// reads back as itself to the file's four decimals. Input: the file's bytes.
#include "editor/display_scale_file.h"
#include "tests/fuzz/fuzz_input.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace
{

using kit::fuzz::Require;

constexpr std::string_view kProduct = "Ombrix";

// A configuration folder of this process's own, made once.
const std::filesystem::path& PreferenceFile()
{
  static const std::filesystem::path file = []
  {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("ombrix-fuzz-prefs-" + std::to_string(::getpid()));
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    const std::filesystem::path path = kit::ui::SavedScalePath(kProduct);
    std::filesystem::create_directories(path.parent_path());
    return path;
  }();
  return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const std::filesystem::path& file = PreferenceFile();
  const std::string content(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), std::streamsize(content.size()));
  }
  float scale = 0.0f;
  const bool read = kit::ui::ReadSavedScale(kProduct, scale);
  const std::string_view firstLine = std::string_view(content).substr(0, content.find('\n'));
  const auto parsed = kit::ui::ParseSavedScale(firstLine);
  if (read)
  {
    Require(std::isfinite(scale) && scale > 0.0f, "a zoom read is finite and above 0");
    Require(parsed.has_value() && *parsed == scale, "a zoom read is what its first line parses to");
  }
  else if (firstLine.size() <= 64 && firstLine.find('\0') == std::string_view::npos)
  {
    Require(!parsed.has_value(), "a first line that parses is read");
  }
  // The file keeps four decimals: a zoom below them is not one the editor can have.
  if (parsed && *parsed >= 0.001f && *parsed < 1.0e6f)
  {
    Require(kit::ui::WriteSavedScale(kProduct, *parsed), "a parsed zoom can be written");
    float again = 0.0f;
    Require(kit::ui::ReadSavedScale(kProduct, again), "a written zoom reads back");
    // Half the last decimal, and the float rounding of both numbers on top.
    Require(std::fabs(again - *parsed) <= 0.000051f + *parsed * 1.0e-6f, "to four decimals");
  }
  return 0;
}
