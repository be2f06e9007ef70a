// The parameters' texts: any text parses to a value inside the parameter's range, and the
// text of that value parses back to it; any value's text fits the buffer it claims to fit,
// terminated, or is refused whole. Input: a parameter id, a value, a capacity, then the text.
#include "tests/fuzz/fuzz_plugin.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace
{

using kit::fuzz::FuzzInput;
using kit::fuzz::FuzzPlugin;
using kit::fuzz::Require;

// The text of value, whole, in a buffer of exactly capacity bytes; false when refused.
bool TextOf(const FuzzPlugin& plugin, clap_id id, double value, std::uint32_t capacity, std::string& text)
{
  std::vector<char> buffer(capacity, '\x7f');
  if (!plugin.Params().value_to_text(plugin.Plugin(), id, value, buffer.data(), capacity)) return false;
  const auto end = std::find(buffer.begin(), buffer.end(), '\0');
  Require(end != buffer.end(), "a text that fits is terminated inside the buffer");
  text.assign(buffer.begin(), end);
  return true;
}

void RequireInRange(const FuzzPlugin& plugin, clap_id id, double value)
{
  clap_param_info info {};
  Require(plugin.Params().get_info(plugin.Plugin(), id, &info), "get_info answers");
  Require(std::isfinite(value) && value >= info.min_value && value <= info.max_value,
          "a parsed value inside the range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const FuzzPlugin& plugin = FuzzPlugin::Shared();
  FuzzInput input(data, size);
  const clap_id id = input.Take<std::uint8_t>() % (kit::fuzz::kParamCount + 1);
  const double value = input.Take<double>();
  const std::uint32_t capacity = input.Take<std::uint8_t>();
  const std::span<const std::uint8_t> rest = input.Rest();
  const std::string text(rest.begin(), rest.end());
  const bool valid = id < kit::fuzz::kParamCount;

  double parsed = 0.0;
  const bool accepted = plugin.Params().text_to_value(plugin.Plugin(), id, text.c_str(), &parsed);
  Require(accepted == valid, "text_to_value answers exactly for the valid ids");
  if (valid)
  {
    RequireInRange(plugin, id, parsed);
    std::string shown;
    Require(TextOf(plugin, id, parsed, 256, shown), "a parsed value has a text");
    double again = 0.0;
    Require(plugin.Params().text_to_value(plugin.Plugin(), id, shown.c_str(), &again), "its text parses");
    Require(again == parsed, "a value's text parses back to the value");
  }

  std::string shown;
  if (TextOf(plugin, id, value, capacity, shown))
  {
    Require(valid, "value_to_text refuses an invalid id");
    Require(shown.size() < capacity, "a text shorter than its buffer");
    double back = 0.0;
    Require(plugin.Params().text_to_value(plugin.Plugin(), id, shown.c_str(), &back), "a shown text parses");
    RequireInRange(plugin, id, back);
    std::string twice;
    Require(TextOf(plugin, id, back, 256, twice) && twice == shown, "a shown value's text is stable");
  }
  return 0;
}
