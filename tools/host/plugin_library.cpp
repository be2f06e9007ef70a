#include "tools/host/plugin_library.h"

#include <dlfcn.h>

#include <string>
#include <utility>

namespace kit::host
{

std::unique_ptr<PluginLibrary> PluginLibrary::Load(const std::string& path, std::string& error)
{
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle)
  {
    const char* reason = dlerror();
    error = "cannot load " + path + ": " + (reason ? reason : "unknown error");
    return nullptr;
  }
  const auto* entry = static_cast<const clap_plugin_entry*>(dlsym(handle, "clap_entry"));
  if (!entry)
  {
    dlclose(handle);
    error = path + " has no clap_entry";
    return nullptr;
  }
  std::unique_ptr<PluginLibrary> library(new PluginLibrary(handle, *entry, path));
  if (!library->Open(error)) return nullptr;
  return library;
}

std::unique_ptr<PluginLibrary> PluginLibrary::FromEntry(const clap_plugin_entry& entry, const std::string& path,
                                                        std::string& error)
{
  std::unique_ptr<PluginLibrary> library(new PluginLibrary(nullptr, entry, path));
  if (!library->Open(error)) return nullptr;
  return library;
}

PluginLibrary::PluginLibrary(void* libraryHandle, const clap_plugin_entry& pluginEntry, std::string libraryPath)
    : handle(libraryHandle)
    , entry(pluginEntry)
    , path(std::move(libraryPath))
{
}

PluginLibrary::~PluginLibrary()
{
  if (initialised) entry.deinit();
  if (handle) dlclose(handle);
}

bool PluginLibrary::Open(std::string& error)
{
  if (entry.clap_version.major != 1)
  {
    error = path + " has clap_entry version " + std::to_string(entry.clap_version.major) + ", not 1";
    return false;
  }
  if (!entry.init || !entry.deinit || !entry.get_factory)
  {
    error = path + " has a clap_entry with a null function";
    return false;
  }
  if (!entry.init(path.c_str()))
  {
    error = "init failed for " + path;
    return false;
  }
  initialised = true;
  factory = static_cast<const clap_plugin_factory*>(entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
  if (!factory || !factory->get_plugin_count || !factory->get_plugin_descriptor || !factory->create_plugin)
  {
    error = path + " has no usable plug-in factory";
    return false;
  }
  return true;
}

std::vector<const clap_plugin_descriptor*> PluginLibrary::Descriptors() const
{
  std::vector<const clap_plugin_descriptor*> descriptors;
  const std::uint32_t count = factory->get_plugin_count(factory);
  for (std::uint32_t index = 0; index < count; ++index)
  {
    if (const clap_plugin_descriptor* descriptor = factory->get_plugin_descriptor(factory, index))
      descriptors.push_back(descriptor);
  }
  return descriptors;
}

} // namespace kit::host
