#include "graphics/image_variant.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

TEST(ImageVariant, ScalesAreTriedFromTheTargetThenThreeThenDownward)
{
  struct Case
  {
    int target;
    std::vector<int> order;
  };
  const Case cases[] = {
    { 1, { 1, 3, 2 } }, { 2, { 2, 3, 1 } }, { 3, { 3, 2, 1 } }, { 4, { 4, 3, 2, 1 } }, { 6, { 6, 3, 2, 1 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(ScaleOrder(c.target), c.order);
  }
}

TEST(ImageVariant, VariantNamesSplitAtTheLastDotOfTheFileName)
{
  struct Case
  {
    const char* name;
    int scale;
    const char* variant;
  };
  const Case cases[] = {
    { "bg.png", 1, "bg.png" },
    { "bg.png", 2, "bg@2x.png" },
    { "knob_line.png", 3, "knob_line@3x.png" },
    { "a.tar.png", 2, "a.tar@2x.png" },
    { "art/knob.png", 2, "art/knob@2x.png" },
    { "art.v2/knob", 2, "art.v2/knob@2x" },   // the dot belongs to the folder
    { "art.v2\\knob", 2, "art.v2\\knob@2x" }, // likewise with a backslash
    { "noextension", 2, "noextension@2x" },
    { "bg.png", 10, "bg@10x.png" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.scale));
    EXPECT_EQ(ImageVariantName(c.name, c.scale), c.variant);
  }
}

TEST(ImageVariant, ExtensionsAndTheFormatsTheDecoderTakes)
{
  EXPECT_EQ(ResourceExtension("bg.png"), "png");
  EXPECT_EQ(ResourceExtension("a.b.JPG"), "JPG");
  EXPECT_EQ(ResourceExtension("noextension"), "noextension");
  EXPECT_EQ(ResourceExtension("trailing."), "");

  struct Case
  {
    std::string extension;
    bool supported;
  };
  const Case cases[] = {
    { "png", true },
    { "PNG", true },
    { "jpg", true },
    { "JPEG", true },
    { "xpngx", true }, // contained, not equal
    { "jpe", false },
    { "ttf", false },
    { "", false },
    { std::string(28, 'x') + "png", true },  // ends at the 31st character
    { std::string(29, 'x') + "png", false }, // only 31 characters are examined
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.extension);
    EXPECT_EQ(BitmapExtensionSupported(c.extension), c.supported);
  }
}

TEST(ImageVariant, FindsTheFirstStoredScaleInOrder)
{
  const std::array<std::uint8_t, 8> bytes {};
  const std::array<EmbeddedResource, 4> table { {
      { "bg.png", "png", bytes.data(), bytes.size() },
      { "bg@2x.png", "png", bytes.data(), bytes.size() },
      { "knob.png", "png", bytes.data(), bytes.size() },
      { "lamp@3x.png", "png", bytes.data(), bytes.size() },
  } };

  struct Case
  {
    const char* name;
    int target;
    EResourceLocation location;
    const char* path;
    int scale;
  };
  const Case cases[] = {
    { "bg.png", 1, EResourceLocation::kEmbedded, "bg.png", 1 },
    { "bg.png", 2, EResourceLocation::kEmbedded, "bg@2x.png", 2 },
    { "bg.png", 3, EResourceLocation::kEmbedded, "bg@2x.png", 2 }, // no 3x: the next lower
    { "bg.png", 4, EResourceLocation::kEmbedded, "bg@2x.png", 2 },
    { "BG.PNG", 2, EResourceLocation::kEmbedded, "bg@2x.png", 2 },
    { "knob.png", 2, EResourceLocation::kEmbedded, "knob.png", 1 },
    { "lamp.png", 1, EResourceLocation::kEmbedded, "lamp@3x.png", 3 }, // 3 before 2 and 1
    { "missing.png", 1, EResourceLocation::kNotFound, "", 0 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.target));
    const ImageVariant variant = FindImageVariant(c.name, c.target, table);
    EXPECT_EQ(variant.location, c.location);
    EXPECT_EQ(variant.path, c.path);
    EXPECT_EQ(variant.scale, c.scale);
  }
}

TEST(ImageVariant, FindsAVariantOnDisk)
{
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "ombrix_image_variant_test";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "pic@2x.png") << "not a picture";

  const ImageVariant variant = FindImageVariant((folder / "pic.png").string(), 1, {});
  EXPECT_EQ(variant.location, EResourceLocation::kFile);
  EXPECT_EQ(variant.path, (folder / "pic@2x.png").string());
  EXPECT_EQ(variant.scale, 2);
  std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kit::ui
