#include "tools/ombrix-host/param_text.h"

#include <array>
#include <cstdio>

namespace kit::live
{

std::string ParamChangeText(const clap_plugin& plugin, const clap_plugin_params* params, const ParamChange& change)
{
  std::string name = "parameter " + std::to_string(change.id);
  std::array<char, 64> number {};
  std::snprintf(number.data(), number.size(), "%g", change.value);
  std::string value = number.data();
  if (!params) return name + ": " + value;

  const std::uint32_t count = params->count ? params->count(&plugin) : 0;
  for (std::uint32_t index = 0; index < count && params->get_info; ++index)
  {
    clap_param_info info {};
    if (params->get_info(&plugin, index, &info) && info.id == change.id)
    {
      info.name[sizeof info.name - 1] = '\0';
      name = info.name;
      break;
    }
  }
  std::array<char, 256> text {};
  if (params->value_to_text && params->value_to_text(&plugin, change.id, change.value, text.data(), text.size()))
  {
    text.back() = '\0';
    value = text.data();
  }
  return name + ": " + value;
}

} // namespace kit::live
