#include "tools/host/plugin_library.h"

#include "host/fake_plugin.h"

#include <gtest/gtest.h>

#include <string>

namespace kit::host
{
namespace
{

using test::fake;
using test::FakeSettings;
using test::kFakeEntry;
using test::ResetFake;

TEST(PluginLibrary, LoadNamesThePathAndTheCauseWhenItFails)
{
  std::string error;
  EXPECT_EQ(PluginLibrary::Load("/nonexistent/Missing.clap", error), nullptr);
  EXPECT_EQ(error.rfind("cannot load /nonexistent/Missing.clap: ", 0), 0u) << error;

  // The C library loads fine but is no plug-in.
  EXPECT_EQ(PluginLibrary::Load("libc.so.6", error), nullptr);
  EXPECT_EQ(error, "libc.so.6 has no clap_entry");
}

TEST(PluginLibrary, InitsWithThePathAndDeinitsOnceWhenDestroyed)
{
  ResetFake();
  std::string error;
  auto library = PluginLibrary::FromEntry(kFakeEntry, "/plugins/Fake.clap", error);
  ASSERT_NE(library, nullptr) << error;
  EXPECT_EQ(fake.initPath, "/plugins/Fake.clap");
  EXPECT_EQ(&library->Entry(), &kFakeEntry);
  ASSERT_NE(library->Factory(), nullptr);
  const auto descriptors = library->Descriptors();
  ASSERT_EQ(descriptors.size(), 1u);
  EXPECT_STREQ(descriptors[0]->id, test::kFakeId);
  EXPECT_EQ(fake.entryDeinits, 0);
  library.reset();
  EXPECT_EQ(fake.entryDeinits, 1);
}

TEST(PluginLibrary, EntryFailuresNameTheirCauseAndDeinitOnlyAfterASuccessfulInit)
{
  struct Case
  {
    const char* name;
    FakeSettings settings;
    clap_version version;
    std::string expectedError;
    int expectedDeinits;
  };
  FakeSettings refusesInit;
  refusesInit.entryInitResult = false;
  FakeSettings noFactory;
  noFactory.offerFactory = false;
  const Case cases[] = {
    { "major version 0", {}, { 0, 9, 0 }, "/p/F.clap has clap_entry version 0, not 1", 0 },
    { "major version 2", {}, { 2, 0, 0 }, "/p/F.clap has clap_entry version 2, not 1", 0 },
    { "init refused", refusesInit, CLAP_VERSION, "init failed for /p/F.clap", 0 },
    { "no factory", noFactory, CLAP_VERSION, "/p/F.clap has no usable plug-in factory", 1 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    ResetFake(c.settings);
    clap_plugin_entry entry = kFakeEntry;
    entry.clap_version = c.version;
    std::string error;
    EXPECT_EQ(PluginLibrary::FromEntry(entry, "/p/F.clap", error), nullptr);
    EXPECT_EQ(error, c.expectedError);
    EXPECT_EQ(fake.entryDeinits, c.expectedDeinits);
  }
}

} // namespace
} // namespace kit::host
