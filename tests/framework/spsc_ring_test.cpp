#include "framework/spsc_ring.h"
#include "tests/support/ring_stress.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <random>

namespace kit
{
namespace
{

// Pushes 1, 2, … until the ring refuses, then pops everything back.
template <std::size_t N>
void CheckFillAndDrain()
{
  SCOPED_TRACE(testing::Message() << "N = " << N);
  SpscRing<int, N> ring;
  EXPECT_TRUE(ring.Empty());
  EXPECT_EQ(ring.Size(), 0u);

  for (int i = 1; i <= int(N) - 1; ++i)
  {
    ASSERT_TRUE(ring.Push(i)) << "push " << i;
    EXPECT_FALSE(ring.Empty());
    EXPECT_EQ(ring.Size(), std::size_t(i));
  }
  // The N-th item has no room: one slot always stays empty.
  EXPECT_FALSE(ring.Push(-1));
  EXPECT_EQ(ring.Size(), N - 1);

  for (int i = 1; i <= int(N) - 1; ++i)
  {
    int item = 0;
    ASSERT_TRUE(ring.Pop(item));
    EXPECT_EQ(item, i);
  }
  int untouched = 77;
  EXPECT_FALSE(ring.Pop(untouched));
  EXPECT_EQ(untouched, 77);
  EXPECT_TRUE(ring.Empty());

  // After one pop there is room for exactly one more.
  ASSERT_TRUE(ring.Push(5));
  int item = 0;
  ASSERT_TRUE(ring.Pop(item));
  EXPECT_EQ(item, 5);
}

TEST(SpscRing, HoldsNMinusOneItemsAndDropsThePushOntoAFullRing)
{
  CheckFillAndDrain<2>();
  CheckFillAndDrain<3>();
  CheckFillAndDrain<65>();
  CheckFillAndDrain<513>();
}

// Random pushes and pops against a bounded std::deque: covers every wrap position,
// full and empty rings, and drops.
template <std::size_t N>
void CheckAgainstQueueModel(unsigned seed)
{
  SCOPED_TRACE(testing::Message() << "N = " << N << ", seed = " << seed);
  SpscRing<uint32_t, N> ring;
  std::deque<uint32_t> model;
  std::mt19937 random(seed);
  uint32_t next = 0;
  for (int step = 0; step < 20000; ++step)
  {
    if (random() % 2 == 0)
    {
      const bool pushed = ring.Push(next);
      ASSERT_EQ(pushed, model.size() < N - 1) << "step " << step;
      if (pushed) model.push_back(next);
      ++next;
    }
    else
    {
      uint32_t item = 0xFFFFFFFFu;
      const bool popped = ring.Pop(item);
      ASSERT_EQ(popped, !model.empty()) << "step " << step;
      if (popped)
      {
        ASSERT_EQ(item, model.front()) << "step " << step;
        model.pop_front();
      }
    }
    ASSERT_EQ(ring.Size(), model.size()) << "step " << step;
    ASSERT_EQ(ring.Empty(), model.empty()) << "step " << step;
  }
}

TEST(SpscRing, MatchesABoundedQueueAcrossWraps)
{
  CheckAgainstQueueModel<2>(1);
  CheckAgainstQueueModel<4>(2);
  CheckAgainstQueueModel<5>(3);
  CheckAgainstQueueModel<65>(4);
}

// An item big enough that a torn or partial copy shows up as a checksum mismatch.
struct NumberedItem
{
  uint64_t sequence = 0;
  std::array<uint32_t, 61> words {};
  uint64_t checksum = 0;
};

NumberedItem MakeItem(uint64_t sequence)
{
  NumberedItem item;
  item.sequence = sequence;
  uint64_t sum = sequence;
  for (std::size_t i = 0; i < item.words.size(); ++i)
  {
    item.words[i] = uint32_t(sequence * 2654435761u + i * 40503u);
    sum = sum * 31 + item.words[i];
  }
  item.checksum = sum;
  return item;
}

bool ItemComplete(const NumberedItem& item)
{
  return MakeItem(item.sequence).words == item.words && MakeItem(item.sequence).checksum == item.checksum;
}

TEST(SpscRing, LargeItemsArriveWhole)
{
  SpscRing<NumberedItem, 3> ring;
  for (uint64_t sequence = 0; sequence < 10; ++sequence)
  {
    ASSERT_TRUE(ring.Push(MakeItem(sequence)));
    NumberedItem item;
    ASSERT_TRUE(ring.Pop(item));
    EXPECT_EQ(item.sequence, sequence);
    EXPECT_TRUE(ItemComplete(item));
  }
}

constexpr uint64_t kStressItems = 200000;

// Producer and consumer on two threads. retryWhenFull: the producer spins until each
// item fits, so every item must arrive; otherwise it drops, and arrivals must still be
// whole, strictly increasing and never repeated. peekThenDrop: the consumer reads each item
// in place and removes it afterwards, as a consumer that may fail to pass it on.
struct NumberedItems
{
  static NumberedItem Make(uint64_t sequence) { return MakeItem(sequence); }
  static uint64_t Number(const NumberedItem& item) { return item.sequence; }
  static bool Whole(const NumberedItem& item) { return ItemComplete(item); }
};

void RunTwoThreads(bool retryWhenFull, bool peekThenDrop = false)
{
  SpscRing<NumberedItem, 8> ring;
  const test::RingStressResult result =
      test::RunRingStress<NumberedItems>(ring, kStressItems, retryWhenFull, peekThenDrop);
  EXPECT_TRUE(result.whole);
  EXPECT_TRUE(result.ordered);
  EXPECT_EQ(result.received, result.pushed);
  if (retryWhenFull)
  {
    EXPECT_EQ(result.received, kStressItems);
  }
  EXPECT_TRUE(result.emptyAfter);
}

TEST(SpscRing, TwoThreadsDeliverEveryItemWholeAndInOrder)
{
  RunTwoThreads(true);
}

TEST(SpscRing, TwoThreadsWithDropsDeliverWholeItemsInOrderWithoutRepeats)
{
  RunTwoThreads(false);
}

TEST(SpscRing, TwoThreadsPeekingBeforeDroppingSeeEveryItemOnceAndWhole)
{
  RunTwoThreads(true, true);
  RunTwoThreads(false, true);
}

TEST(SpscRing, PeekLeavesTheItemAndDropFrontOnAnEmptyRingDoesNothing)
{
  SpscRing<int, 4> ring;
  ring.DropFront();
  int item = 0;
  EXPECT_FALSE(ring.Peek(item));
  ASSERT_TRUE(ring.Push(7) && ring.Push(8));
  ASSERT_TRUE(ring.Peek(item));
  EXPECT_EQ(item, 7);
  ASSERT_TRUE(ring.Peek(item));
  EXPECT_EQ(item, 7);
  ring.DropFront();
  ASSERT_TRUE(ring.Pop(item));
  EXPECT_EQ(item, 8);
  EXPECT_TRUE(ring.Empty());
}

} // namespace
} // namespace kit
