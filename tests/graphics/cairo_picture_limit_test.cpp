// Pictures whose header claims more pixels than the backend decodes are refused before
// anything is allocated for them, whatever follows the header; sizes at the limit pass.
#include "graphics/picture_limits.h"
#include "tests/graphics/cairo_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

TEST(PictureLimit, SizesUpToTwoToThe26PixelsAndSidesUpTo32767Pass)
{
  struct Case
  {
    std::uint64_t width;
    std::uint64_t height;
    bool acceptable;
  };
  const Case cases[] = {
    { 1, 1, true },          { 8192, 8192, true }, // exactly 2^26
    { 8192, 8193, false },                         // one row more
    { 32767, 2048, true },                         // 67,106,816 pixels, just under
    { 32767, 2049, false },                        // just over
    { 32768, 1, false },                           // a side Cairo cannot make
    { 1, 32768, false },     { 0, 100, false },
    { 100, 0, false },       { 0xFFFFFFFFu, 0xFFFFFFFFu, false }, // the largest a header can write
    { 23048, 16406, false },                                      // the claim fuzzing found in a 127-byte JPEG
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    EXPECT_EQ(PictureSizeAcceptable(c.width, c.height), c.acceptable);
  }
}

std::vector<std::uint8_t> CorpusFile(const std::string& name)
{
  std::ifstream file(std::string(OMBRIX_SOURCE_DIR) + "/tests/fuzz/corpus/image_decode_fuzz/" + name, std::ios::binary);
  return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

TEST(PictureLimit, HeadersClaimingHugePicturesDecodeToNothing)
{
  const test::OpenEditor editor(10, 10);
  for (const char* name : { "huge-claim.png", "large-claim.png", "huge-progressive-claim.jpg" })
  {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> bytes = CorpusFile(name);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(editor->CreateBitmapFromMemory(bytes, 1), nullptr);
  }
  // A picture of the same kinds within the limit still decodes.
  for (const char* name : { "grey.png", "grey.jpg" })
  {
    SCOPED_TRACE(name);
    EXPECT_NE(editor->CreateBitmapFromMemory(CorpusFile(name), 1), nullptr);
  }
}

} // namespace
} // namespace kit::ui
