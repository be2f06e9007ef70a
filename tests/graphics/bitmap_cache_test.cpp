#include "graphics/bitmap_cache.h"

#include "input_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace kit::ui::test
{
namespace
{

using kit::test::FakeBitmap;

TEST(BitmapCache, HashesAreFnv1aOfSixtyFourBits)
{
  struct Case
  {
    const char* text;
    std::uint64_t hash;
  };
  // The first three are the published FNV-1a test vectors; the others were worked out apart
  // from this code, with the offset basis 0xcbf29ce484222325 and the prime 0x100000001b3.
  const Case cases[] = {
    { "", 0xcbf29ce484222325ull },
    { "a", 0xaf63dc4c8601ec8cull },
    { "foobar", 0x85944171f73967e8ull },
    { "bg.png-2.0x", 0xd4ef103a4c85d8eeull },
    { "bg.png-1.5x", 0x6a4be654d80abdfcull },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Fnv1a64(c.text), c.hash);
  }
}

TEST(BitmapCache, KeysHashTheNameWithItsScaleToOneDecimal)
{
  struct Case
  {
    const char* name;
    float scale;
    std::uint64_t key;
  };
  const Case cases[] = {
    { "bg.png", 1.0f, 0x6a41e454d8026611ull },        // "bg.png-1.0x"
    { "bg.png", 2.0f, 0xd4ef103a4c85d8eeull },        // "bg.png-2.0x"
    { "bg.png", 1.5f, 0x6a4be654d80abdfcull },        // "bg.png-1.5x"
    { "knob_line.png", 3.0f, 0x115d188e28560185ull }, // "knob_line.png-3.0x"
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.scale));
    EXPECT_EQ(BitmapCache::Key(c.name, c.scale), c.key);
  }
}

TEST(BitmapCache, EntriesAreFoundByExactNameAndScale)
{
  BitmapCache cache;
  cache.AddUser();
  APIBitmap* one = cache.Add(std::make_unique<FakeBitmap>(1, 1, 1.0f, 1.0f, "one"), "bg.png", 1.0f);
  APIBitmap* two = cache.Add(std::make_unique<FakeBitmap>(2, 2, 2.0f, 1.0f, "two"), "bg.png", 2.0f);
  EXPECT_EQ(cache.Find("bg.png", 1.0f), one);
  EXPECT_EQ(cache.Find("bg.png", 2.0f), two);
  EXPECT_EQ(cache.Find("bg.png", 1.5f), nullptr);
  EXPECT_EQ(cache.Find("BG.PNG", 1.0f), nullptr);
  EXPECT_EQ(cache.Add(nullptr, "none", 1.0f), nullptr);
  EXPECT_EQ(cache.Size(), 2u);
  EXPECT_TRUE(cache.Remove(one));
  EXPECT_FALSE(cache.Remove(one));
  EXPECT_EQ(cache.Find("bg.png", 1.0f), nullptr);
  EXPECT_EQ(cache.Size(), 1u);
}

TEST(BitmapCache, TheLastUserOutEmptiesIt)
{
  BitmapCache cache;
  cache.AddUser();
  cache.AddUser();
  (void)cache.Add(std::make_unique<FakeBitmap>(1, 1, 1.0f, 1.0f, "one"), "a.png", 1.0f);
  cache.RemoveUser();
  EXPECT_EQ(cache.Size(), 1u);
  cache.RemoveUser();
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_EQ(cache.Users(), 0);
  cache.RemoveUser(); // one too many stays at 0
  EXPECT_EQ(cache.Users(), 0);
}

TEST(BitmapCache, EveryDrawingContextCountsItselfInAndOut)
{
  BitmapCache& cache = BitmapCache::Process();
  const int before = cache.Users();
  EditorParams delegate;
  {
    RecordingDrawContext first(delegate);
    EXPECT_EQ(cache.Users(), before + 1);
    {
      RecordingDrawContext second(delegate);
      EXPECT_EQ(cache.Users(), before + 2);
      (void)second.LoadBitmapByName("knob_line.png");
    }
    // The first editor still holds the pictures the second loaded.
    EXPECT_EQ(cache.Users(), before + 1);
    EXPECT_NE(cache.Find("knob_line.png", 1.0f), nullptr);
  }
  EXPECT_EQ(cache.Users(), before);
  EXPECT_EQ(cache.Find("knob_line.png", 1.0f), nullptr);
}

TEST(BitmapCache, TwoEditorsLoadingAtOnceDecodeThePictureOnce)
{
  EditorParams firstDelegate;
  EditorParams secondDelegate;
  RecordingDrawContext first(firstDelegate);
  RecordingDrawContext second(secondDelegate);
  IBitmapRef fromFirst;
  IBitmapRef fromSecond;
  std::thread one([&] { fromFirst = first.LoadBitmapByName("bg.png"); });
  std::thread two([&] { fromSecond = second.LoadBitmapByName("bg.png"); });
  one.join();
  two.join();
  ASSERT_TRUE(fromFirst.IsValid());
  EXPECT_EQ(fromFirst.bitmap, fromSecond.bitmap);
  EXPECT_EQ(first.bitmapsCreated + second.bitmapsCreated, 1);
  EXPECT_EQ(BitmapCache::Process().Size(), 1u);
}

} // namespace
} // namespace kit::ui::test
