#pragma once
// An Ombrix instance made through the library's own entry inside the test program and driven
// by the host library, as a host drives it: for tests that watch what the plug-in asks of
// its host while looking inside the instance.

#include "binding/clap_abi.h"
#include "engine/ombrix.h"
#include "tools/host/host.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_library.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

extern "C" const clap_plugin_entry clap_entry;

namespace kit::test
{

struct HostedPlugin
{
  explicit HostedPlugin(host::HostConfig config = {})
      : host(std::move(config))
  {
    std::string error;
    library = host::PluginLibrary::FromEntry(clap_entry, "/in-process/Ombrix.clap", error);
    EXPECT_NE(library, nullptr) << error;
    if (library) instance = host::PluginInstance::Create(*library, host, error);
    EXPECT_NE(instance, nullptr) << error;
  }

  [[nodiscard]] ui::Ombrix& Ombrix() const
  {
    return dynamic_cast<ui::Ombrix&>(*static_cast<ClapPluginBase*>(instance->Plugin()->plugin_data));
  }

  [[nodiscard]] std::size_t Count(host::HostFunction function) const { return host.Journal().Count(function); }

  host::Host host;
  std::unique_ptr<host::PluginLibrary> library;
  std::unique_ptr<host::PluginInstance> instance;
};

} // namespace kit::test
