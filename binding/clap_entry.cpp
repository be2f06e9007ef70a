// What a host reaches before an instance exists: the exported entry with its reference
// count, the factory with its one descriptor, and the creation of an instance. The entry
// functions may come from several threads; the entry lock serialises them.
#include "binding/clap_abi.h"
#include "binding/plugin.h"
#include "engine/ombrix.h"

#include <cstring>
#include <mutex>
#include <new>
#include <string>

namespace
{

constexpr const char* kPluginId = "com.felgard.ombrix";
constexpr const char* kMakerUrl = "https://www.felgard.com";
constexpr const char* kFeatures[] = { "audio-effect", "mastering", "stereo", nullptr };

struct EntryState
{
  std::uint32_t referenceCount = 0;
  std::string pluginPath;
  clap_plugin_descriptor* descriptor = nullptr;
};

std::mutex& EntryLock()
{
  static std::mutex lock;
  return lock;
}

// Held while one plug-in object is constructed, so two never are at once.
std::mutex& ConstructionLock()
{
  static std::mutex lock;
  return lock;
}

EntryState& Entry()
{
  static EntryState state;
  return state;
}

// The descriptor's text of the version the plug-in class is built with.
const std::string& PluginVersionText()
{
  static const std::string text = kit::VersionText(kit::ui::Ombrix::Config().version);
  return text;
}

void FillDescriptor(clap_plugin_descriptor& descriptor)
{
  descriptor.clap_version = { CLAP_VERSION_MAJOR, CLAP_VERSION_MINOR, CLAP_VERSION_REVISION };
  descriptor.id = kPluginId;
  descriptor.name = "Ombrix";
  descriptor.vendor = "Felgard";
  descriptor.url = kMakerUrl;
  descriptor.manual_url = "";
  descriptor.support_url = kMakerUrl;
  descriptor.version = PluginVersionText().c_str();
  descriptor.description = "Ombrix audio plug-in";
  descriptor.features = kFeatures;
}

bool EntryInit(const char* path) noexcept
{
  if (!path || !*path) return false;
  try
  {
    std::lock_guard lock(EntryLock());
    EntryState& entry = Entry();
    // Hosts reach one library by several paths (a symlink and its target): already
    // initialised is success, whichever path.
    if (entry.referenceCount > 0)
    {
      ++entry.referenceCount;
      return true;
    }
    entry.pluginPath = path;
    entry.descriptor = new (std::nothrow) clap_plugin_descriptor {};
    if (!entry.descriptor)
    {
      entry.pluginPath.clear();
      return false;
    }
    FillDescriptor(*entry.descriptor);
    entry.referenceCount = 1;
    return true;
  }
  catch (...)
  {
    return false;
  }
}

void EntryDeinit() noexcept
{
  try
  {
    std::lock_guard lock(EntryLock());
    EntryState& entry = Entry();
    if (entry.referenceCount == 0) return;
    if (--entry.referenceCount > 0) return;
    entry.pluginPath.clear();
    delete entry.descriptor;
    entry.descriptor = nullptr;
  }
  catch (...)
  {
  }
}

std::uint32_t FactoryPluginCount(const clap_plugin_factory*) noexcept
{
  return 1;
}

const clap_plugin_descriptor* FactoryDescriptor(const clap_plugin_factory*, std::uint32_t index) noexcept
{
  try
  {
    std::lock_guard lock(EntryLock());
    const EntryState& entry = Entry();
    return index == 0 && entry.referenceCount > 0 ? entry.descriptor : nullptr;
  }
  catch (...)
  {
    return nullptr;
  }
}

const clap_plugin* FactoryCreate(const clap_plugin_factory*, const clap_host* host, const char* pluginId) noexcept
{
  try
  {
    std::lock_guard lock(EntryLock());
    const EntryState& entry = Entry();
    if (!host || !pluginId || !entry.descriptor || entry.referenceCount == 0 || host->clap_version.major < 1 ||
        std::strcmp(entry.descriptor->id, pluginId) != 0)
      return nullptr;
    std::lock_guard construction(ConstructionLock());
    auto* plugin = new kit::ui::Ombrix(kit::PluginCreateInfo { entry.descriptor, host });
    return plugin->PluginRecord();
  }
  catch (...)
  {
    return nullptr;
  }
}

const void* EntryGetFactory(const char* factoryId) noexcept;

} // namespace

extern "C"
{

  __attribute__((visibility("default"))) extern const clap_plugin_factory clap_factory;
  const clap_plugin_factory clap_factory { FactoryPluginCount, FactoryDescriptor, FactoryCreate };

  __attribute__((visibility("default"))) extern const clap_plugin_entry clap_entry;
  const clap_plugin_entry clap_entry {
    { CLAP_VERSION_MAJOR, CLAP_VERSION_MINOR, CLAP_VERSION_REVISION }, EntryInit, EntryDeinit, EntryGetFactory
  };
}

namespace
{

const void* EntryGetFactory(const char* factoryId) noexcept
{
  try
  {
    std::lock_guard lock(EntryLock());
    if (Entry().referenceCount == 0 || !factoryId || std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) != 0)
      return nullptr;
    return &clap_factory;
  }
  catch (...)
  {
    return nullptr;
  }
}

} // namespace
