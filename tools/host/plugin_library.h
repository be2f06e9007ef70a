// A loaded CLAP library: dlopen, the clap_entry record, init and the plug-in factory, undone in
// reverse on destruction (deinit, then dlclose). Main thread. Instances made from it must be
// destroyed before it.
#pragma once

#include "binding/clap_abi.h"

#include <memory>
#include <string>
#include <vector>

namespace kit::host
{

class PluginLibrary
{
public:
  // dlopen(path) with RTLD_NOW | RTLD_LOCAL, finds clap_entry, checks its major version is 1,
  // calls init(path) and gets the plug-in factory. Null with a one-line reason on failure.
  [[nodiscard]] static std::unique_ptr<PluginLibrary> Load(const std::string& path, std::string& error);
  // The same steps for an entry already in the process (a plug-in linked into a test); path is
  // what init receives. Nothing is unloaded on destruction, but deinit is called.
  [[nodiscard]] static std::unique_ptr<PluginLibrary> FromEntry(const clap_plugin_entry& entry, const std::string& path,
                                                                std::string& error);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  [[nodiscard]] const clap_plugin_entry& Entry() const noexcept { return entry; }
  [[nodiscard]] const clap_plugin_factory* Factory() const noexcept { return factory; }
  [[nodiscard]] const std::string& Path() const noexcept { return path; }
  // The factory's descriptors in index order; a null descriptor is left out.
  [[nodiscard]] std::vector<const clap_plugin_descriptor*> Descriptors() const;

private:
  PluginLibrary(void* handle, const clap_plugin_entry& entry, std::string path);
  // init and get_factory; false with a reason, after which the destructor must not deinit.
  [[nodiscard]] bool Open(std::string& error);

  void* handle; // from dlopen; null for an entry already in the process
  const clap_plugin_entry& entry;
  std::string path;
  const clap_plugin_factory* factory = nullptr;
  bool initialised = false;
};

} // namespace kit::host
