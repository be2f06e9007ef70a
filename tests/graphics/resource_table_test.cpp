#include "graphics/resource_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

const std::array<std::uint8_t, 8> kEightBytes { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };

// A table of our own: the real one holds only files that are at least 8 bytes long.
const std::array<EmbeddedResource, 3> kTable { {
    { "bg.png", "png", kEightBytes.data(), 8 },
    { "tiny.png", "png", kEightBytes.data(), 7 },
    { "Roboto-Regular.ttf", "ttf", kEightBytes.data(), 8 },
} };

// A file that exists for the length of one test, named after it.
class DiskFile
{
public:
  DiskFile()
      : path(std::filesystem::temp_directory_path() /
             (std::string("ombrix_") + testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"))
  {
    std::ofstream(path) << "not a picture";
  }
  ~DiskFile() { std::filesystem::remove(path); }
  DiskFile(const DiskFile&) = delete;
  DiskFile& operator=(const DiskFile&) = delete;

  const std::filesystem::path path;
};

TEST(ResourceTable, EmbeddedFontIsDebiansFileFoundInAnyLetterCase)
{
  std::ifstream file(OMBRIX_ROBOTO_FONT, std::ios::binary);
  const std::vector<std::uint8_t> onDisk { std::istreambuf_iterator<char>(file), {} };
  ASSERT_GT(onDisk.size(), 1000u);

  for (const char* name : { "Roboto-Regular.ttf", "ROBOTO-REGULAR.TTF", "roboto-regular.ttf" })
  {
    SCOPED_TRACE(name);
    const EmbeddedResource* entry = FindResource(name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, "Roboto-Regular.ttf");
    EXPECT_EQ(entry->type, "ttf");
    ASSERT_EQ(entry->size, onDisk.size());
    EXPECT_TRUE(std::equal(onDisk.begin(), onDisk.end(), entry->bytes));
  }
}

TEST(ResourceTable, TheEditorsPicturesAreBuiltInAtBothResolutions)
{
  for (const char* name :
       { "bg.png", "BG@2X.PNG", "knob_line.png", "knob_line@2x.png", "display_button.png", "display_button@2x.png" })
  {
    SCOPED_TRACE(name);
    const EmbeddedResource* entry = FindResource(name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->type, "png");
    ASSERT_GT(entry->size, kEightBytes.size());
    EXPECT_TRUE(std::equal(kEightBytes.begin(), kEightBytes.end(), entry->bytes)); // the PNG signature
  }
}

TEST(ResourceTable, OnlyWholeNamesMatch)
{
  for (const char* name :
       { "", "Roboto-Regular", "Roboto-Regular.ttf.bak", " Roboto-Regular.ttf", "Roboto_Regular.ttf" })
  {
    SCOPED_TRACE(name);
    EXPECT_EQ(FindResource(name), nullptr);
  }
  // Only ASCII letters fold: "É" and "é" are different bytes.
  const std::array<EmbeddedResource, 1> accented { { { "caf\xc3\xa9.png", "png", kEightBytes.data(), 8 } } };
  EXPECT_NE(FindResource("CAF\xc3\xa9.png", accented), nullptr);
  EXPECT_EQ(FindResource("CAF\xc3\x89.png", accented), nullptr);
}

TEST(ResourceTable, BytesNeedTheTypeAndAtLeastEightOfThem)
{
  struct Case
  {
    const char* name;
    const char* type;
    std::size_t size; // 0: no bytes
  };
  const Case cases[] = {
    { "bg.png", "png", 8 }, { "BG.PNG", "PNG", 8 },      { "tiny.png", "png", 0 }, // 7 bytes count as missing
    { "bg.png", "ttf", 0 }, { "missing.png", "png", 0 }, { "", "png", 0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.name) + " as " + c.type);
    const std::span<const std::uint8_t> bytes = LoadResourceBytes(c.name, c.type, kTable);
    EXPECT_EQ(bytes.size(), c.size);
    if (c.size != 0)
    {
      EXPECT_EQ(bytes.data(), kEightBytes.data()) << "bytes must not be copied";
    }
  }
}

TEST(ResourceTable, LocatesBuiltInFilesBeforeFilesOnDisk)
{
  const DiskFile file;
  const std::string onDisk = file.path.string();
  std::string upperCaseOnDisk = onDisk;
  upperCaseOnDisk.replace(upperCaseOnDisk.size() - 3, 3, "PNG");
  const std::string folder = file.path.parent_path().string();

  struct Case
  {
    std::string name;
    const char* type;
    EResourceLocation location;
    std::string path;
  };
  const Case cases[] = {
    { "BG.png", "png", EResourceLocation::kEmbedded, "bg.png" },
    { "bg.png", "PNG", EResourceLocation::kEmbedded, "bg.png" },
    { "roboto-regular.ttf", "TTF", EResourceLocation::kEmbedded, "Roboto-Regular.ttf" },
    // Found by name even though too short to load: loading is what checks the size.
    { "tiny.png", "png", EResourceLocation::kEmbedded, "tiny.png" },
    { "bg.png", "jpg", EResourceLocation::kNotFound, "" },
    { onDisk, "png", EResourceLocation::kFile, onDisk },
    { upperCaseOnDisk, "png", EResourceLocation::kNotFound, "" }, // the disk keeps letter case
    { folder, "png", EResourceLocation::kNotFound, "" },          // a folder is no file
    { "", "png", EResourceLocation::kNotFound, "" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name + " as " + c.type);
    const LocatedResource found = LocateResource(c.name, c.type, kTable);
    EXPECT_EQ(found.location, c.location);
    EXPECT_EQ(found.path, c.path);
  }
}

} // namespace
} // namespace kit::ui
