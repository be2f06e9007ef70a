// The base every plug-in class of this library derives from: the CLAP binding with the whole
// delegate chain and the processor beneath it.
#pragma once

#include "binding/clap_binding.h"

namespace kit
{

class Plugin : public IClapBinding
{
public:
  Plugin(const PluginConfig& config, const PluginCreateInfo& info)
      : IClapBinding(config, info)
  {
  }
};

} // namespace kit
