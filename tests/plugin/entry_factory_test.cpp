// What a host reaches of Ombrix.clap before any instance exists: the exported entry with its
// init/deinit count, the factory, the one descriptor and create_plugin, driven directly after
// dlopen; and the library file's own export list and needed libraries.
#include "binding/clap_abi.h"
#include "tests/plugin/plugin_fixture.h"
#include "tools/host/host.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <unistd.h>

namespace kit::test
{
namespace
{

// The library opened by dlopen, its entry not initialised; closed again at the end, so every
// test starts from a freshly loaded library.
class RawLibrary
{
public:
  RawLibrary()
      : handle(dlopen(kPluginPath, RTLD_NOW | RTLD_LOCAL))
  {
    EXPECT_NE(handle, nullptr) << dlerror();
    if (!handle) return;
    entry = static_cast<const clap_plugin_entry*>(dlsym(handle, "clap_entry"));
    factory = static_cast<const clap_plugin_factory*>(dlsym(handle, "clap_factory"));
  }
  ~RawLibrary()
  {
    if (handle) dlclose(handle);
  }
  RawLibrary(const RawLibrary&) = delete;
  RawLibrary& operator=(const RawLibrary&) = delete;

  [[nodiscard]] bool Ready() const { return entry && factory; }
  [[nodiscard]] const void* Factory(const char* id) const { return entry->get_factory(id); }

  void* handle;
  const clap_plugin_entry* entry = nullptr;
  const clap_plugin_factory* factory = nullptr; // the exported data symbol
};

// One line per output line of a shell command.
std::vector<std::string> CommandLines(const std::string& command)
{
  std::vector<std::string> lines;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return lines;
  std::array<char, 1024> buffer {};
  while (std::fgets(buffer.data(), int(buffer.size()), pipe))
  {
    std::string line = buffer.data();
    if (!line.empty() && line.back() == '\n') line.pop_back();
    lines.push_back(line);
  }
  pclose(pipe);
  return lines;
}

TEST(EntryAndFactory, TheCountIsOneAndTheFactoryAbsentOutsideInitialisation)
{
  RawLibrary lib;
  ASSERT_TRUE(lib.Ready());
  EXPECT_EQ(lib.entry->clap_version.major, 1u);
  EXPECT_EQ(lib.entry->clap_version.minor, 2u);
  EXPECT_EQ(lib.entry->clap_version.revision, 10u);

  EXPECT_EQ(lib.factory->get_plugin_count(lib.factory), 1u);
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  EXPECT_EQ(lib.factory->get_plugin_descriptor(lib.factory, 0), nullptr);

  ASSERT_TRUE(lib.entry->init(kPluginPath));
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), lib.factory);
  lib.entry->deinit();

  EXPECT_EQ(lib.factory->get_plugin_count(lib.factory), 1u);
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  EXPECT_EQ(lib.factory->get_plugin_descriptor(lib.factory, 0), nullptr);
}

TEST(EntryAndFactory, InitRefusesANullOrEmptyPathAndStaysUninitialised)
{
  RawLibrary lib;
  ASSERT_TRUE(lib.Ready());
  EXPECT_FALSE(lib.entry->init(nullptr));
  EXPECT_FALSE(lib.entry->init(""));
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  // A deinit without an init does nothing: the next init is again the first one.
  lib.entry->deinit();
  ASSERT_TRUE(lib.entry->init(kPluginPath));
  lib.entry->deinit();
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
}

// A host may reach one library by two paths (a link and its target): every successful init
// counts, and the factory stays until the matching number of deinits.
TEST(EntryAndFactory, EachInitCountsAndOnlyTheLastDeinitRemovesTheFactory)
{
  struct Case
  {
    const char* name;
    const char* secondPath;
  };
  const Case cases[] = {
    { "same path", kPluginPath },
    { "other path", "/some/other/place/Ombrix.clap" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    RawLibrary lib;
    ASSERT_TRUE(lib.Ready());
    ASSERT_TRUE(lib.entry->init(kPluginPath));
    EXPECT_TRUE(lib.entry->init(c.secondPath));
    lib.entry->deinit();
    EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), lib.factory);
    EXPECT_NE(lib.factory->get_plugin_descriptor(lib.factory, 0), nullptr);
    lib.entry->deinit();
    EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
    EXPECT_EQ(lib.factory->get_plugin_descriptor(lib.factory, 0), nullptr);
    lib.entry->deinit(); // one too many: nothing happens
    EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  }
}

// A host that finds the library both through a symbolic link and at its real path opens one
// library and initialises it once by each path: both succeed and both count.
TEST(EntryAndFactory, TheLibraryThroughASymlinkAndItsRealPathIsInitialisedByBoth)
{
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ombrix-link-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::filesystem::path link = folder / "Ombrix.clap";
  std::filesystem::create_symlink(std::filesystem::absolute(kPluginPath), link);

  RawLibrary lib;
  ASSERT_TRUE(lib.Ready());
  void* viaLink = dlopen(link.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_EQ(viaLink, lib.handle) << "the link opens the same library";
  EXPECT_EQ(dlsym(viaLink, "clap_entry"), lib.entry);

  ASSERT_TRUE(lib.entry->init(link.c_str()));
  EXPECT_TRUE(lib.entry->init(std::filesystem::canonical(kPluginPath).c_str()));
  lib.entry->deinit();
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), lib.factory);
  lib.entry->deinit();
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), nullptr);

  dlclose(viaLink);
  std::filesystem::remove_all(folder);
}

// Hosts may scan and create from several threads: the count stays exact, the factory is there
// for every thread that holds an init, and instances are made and destroyed one at a time.
TEST(EntryAndFactory, InitCreateAndDeinitFromSeveralThreadsKeepTheCount)
{
  RawLibrary lib;
  ASSERT_TRUE(lib.Ready());
  host::Host host;
  constexpr int kThreads = 4;
  constexpr int kRounds = 200;
  std::atomic<int> failures { 0 };
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back(
        [&]
        {
          for (int round = 0; round < kRounds; ++round)
          {
            if (!lib.entry->init(kPluginPath))
            {
              ++failures;
              continue;
            }
            const auto* factory = static_cast<const clap_plugin_factory*>(lib.Factory(CLAP_PLUGIN_FACTORY_ID));
            const clap_plugin_descriptor* descriptor = factory ? factory->get_plugin_descriptor(factory, 0) : nullptr;
            if (!factory || !descriptor) ++failures;
            if (factory && descriptor && round % 20 == 0)
            {
              const clap_plugin* plugin = factory->create_plugin(factory, host.Record(), descriptor->id);
              if (plugin)
                plugin->destroy(plugin);
              else
                ++failures;
            }
            lib.entry->deinit();
          }
        });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  EXPECT_EQ(host.Journal().Calls().size(), 0u); // made and destroyed without init: no host call
}

TEST(EntryAndFactory, OnlyTheExactFactoryIdAnswers)
{
  RawLibrary lib;
  ASSERT_TRUE(lib.Ready());
  ASSERT_TRUE(lib.entry->init(kPluginPath));
  const char* const otherIds[] = {
    nullptr,
    "",
    "clap.plugin-factory/2",
    "clap.plugin-factory ",
    "clap.plugin-factoryX",
    "clap.plugin-factor",
    "CLAP.PLUGIN-FACTORY",
    CLAP_PLUGIN_INVALIDATION_FACTORY_ID,
    CLAP_PRESET_DISCOVERY_FACTORY_ID,
  };
  for (const char* id : otherIds)
  {
    SCOPED_TRACE(id ? id : "(null)");
    EXPECT_EQ(lib.Factory(id), nullptr);
  }
  EXPECT_EQ(lib.Factory(CLAP_PLUGIN_FACTORY_ID), lib.factory);
  lib.entry->deinit();
}

TEST(EntryAndFactory, TheOneDescriptorNamesOmbrix)
{
  RawLibrary lib;
  ASSERT_TRUE(lib.Ready());
  ASSERT_TRUE(lib.entry->init(kPluginPath));
  const clap_plugin_descriptor* descriptor = lib.factory->get_plugin_descriptor(lib.factory, 0);
  ASSERT_NE(descriptor, nullptr);
  EXPECT_EQ(lib.factory->get_plugin_descriptor(lib.factory, 0), descriptor);
  EXPECT_EQ(lib.factory->get_plugin_descriptor(lib.factory, 1), nullptr);
  EXPECT_EQ(lib.factory->get_plugin_descriptor(lib.factory, 0xFFFFFFFFu), nullptr);

  EXPECT_EQ(descriptor->clap_version.major, 1u);
  EXPECT_EQ(descriptor->clap_version.minor, 2u);
  EXPECT_EQ(descriptor->clap_version.revision, 10u);
  EXPECT_STREQ(descriptor->id, "com.felgard.ombrix");
  EXPECT_STREQ(descriptor->name, "Ombrix");
  EXPECT_STREQ(descriptor->vendor, "Felgard");
  ASSERT_NE(descriptor->url, nullptr);
  EXPECT_GT(std::strlen(descriptor->url), 0u);
  ASSERT_NE(descriptor->support_url, nullptr);
  EXPECT_STREQ(descriptor->support_url, descriptor->url);
  ASSERT_NE(descriptor->manual_url, nullptr);
  EXPECT_STREQ(descriptor->manual_url, "");
  EXPECT_STREQ(descriptor->version, "4.1.0");
  EXPECT_STREQ(descriptor->description, "Ombrix audio plug-in");

  ASSERT_NE(descriptor->features, nullptr);
  std::vector<std::string> features;
  for (const char* const* feature = descriptor->features; *feature; ++feature) features.emplace_back(*feature);
  EXPECT_EQ(features, (std::vector<std::string> { "audio-effect", "mastering", "stereo" }));
  lib.entry->deinit();
}

TEST(EntryAndFactory, CreatePluginRefusesWhatItCannotServe)
{
  RawLibrary lib;
  ASSERT_TRUE(lib.Ready());
  host::Host host;
  clap_host oldHost = *host.Record();
  oldHost.clap_version = { 0, 9, 0 };

  // Before init nothing is created, even with the right id.
  EXPECT_EQ(lib.factory->create_plugin(lib.factory, host.Record(), "com.felgard.ombrix"), nullptr);

  ASSERT_TRUE(lib.entry->init(kPluginPath));
  struct Case
  {
    const char* name;
    const clap_host* host;
    const char* id;
  };
  const Case cases[] = {
    { "host of CLAP 0.9", &oldHost, "com.felgard.ombrix" },
    { "wrong id", host.Record(), "com.felgard.other" },
    { "id prefix", host.Record(), "com.felgard.ombri" },
    { "id with a suffix", host.Record(), "com.felgard.ombrix2" },
    { "empty id", host.Record(), "" },
    { "null id", host.Record(), nullptr },
    { "null host", nullptr, "com.felgard.ombrix" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(lib.factory->create_plugin(lib.factory, c.host, c.id), nullptr);
  }
  EXPECT_EQ(host.Journal().Calls().size(), 0u); // a refused creation never calls the host

  const clap_plugin* plugin = lib.factory->create_plugin(lib.factory, host.Record(), "com.felgard.ombrix");
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->desc, lib.factory->get_plugin_descriptor(lib.factory, 0));
  plugin->destroy(plugin);
  lib.entry->deinit();
}

TEST(LibraryFile, ExportsExactlyTheEntryAndTheFactory)
{
  std::set<std::string> exported;
  for (const std::string& line : CommandLines(std::string("nm -D --defined-only '") + kPluginPath + "'"))
  {
    // "<address> <type> <name>"
    std::istringstream fields(line);
    std::string address, type, name;
    if (fields >> address >> type >> name) exported.insert(name);
  }
  EXPECT_EQ(exported, (std::set<std::string> { "clap_entry", "clap_factory" }));
}

TEST(LibraryFile, NeedsOnlyTheCLibrariesAndTheEditorsDrawingLibraries)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "sanitizer builds link their runtime and the shared C++ library";
#endif
  std::set<std::string> needed;
  for (const std::string& line : CommandLines(std::string("readelf -d '") + kPluginPath + "'"))
  {
    if (line.find("(NEEDED)") == std::string::npos) continue;
    const auto open = line.find('[');
    const auto close = line.find(']');
    if (open != std::string::npos && close > open) needed.insert(line.substr(open + 1, close - open - 1));
  }
  ASSERT_FALSE(needed.empty()) << "readelf found no NEEDED entries";
  // The C++ runtime is inside; Cairo, FreeType, libjpeg and Xlib with its extensions are the
  // system's, as on every distribution.
  const std::set<std::string> allowed = { "libc.so.6",        "libm.so.6",     "ld-linux-x86-64.so.2", "libcairo.so.2",
                                          "libfreetype.so.6", "libjpeg.so.62", "libX11.so.6",          "libXext.so.6" };
  for (const std::string& library : needed) EXPECT_TRUE(allowed.count(library)) << library;
}

} // namespace
} // namespace kit::test
