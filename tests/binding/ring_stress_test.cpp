// Every kind of ring that crosses between the audio thread and the main thread, with its own
// item type and size, filled on one thread and emptied on another. Under ThreadSanitizer (the
// tsan stage) this shows that the ring positions publish and release their slots; in every
// build, that items arrive whole, in order and never twice, whether the producer waits for
// room or lets a full ring drop.
#include "binding/clap_binding.h"
#include "binding/host_base.h"
#include "tests/support/ring_stress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>

namespace kit
{
namespace
{

constexpr std::uint64_t kItems = 20000;

// How a numbered item of each ring is made, numbered and checked for wholeness; every field
// is derived from the number, so a torn copy shows.
template <class Ring>
struct Numbered;

template <>
struct Numbered<IClapBinding::HostParamQueue>
{
  static HostParamEntry Make(std::uint64_t n) { return { std::int32_t(n % 3), std::int32_t(n), double(n) + 0.25 }; }
  static std::uint64_t Number(const HostParamEntry& item) { return std::uint64_t(item.index); }
  static bool Whole(const HostParamEntry& item)
  {
    const std::uint64_t n = Number(item);
    return item.kind == std::int32_t(n % 3) && item.value == double(n) + 0.25;
  }
};

template <>
struct Numbered<IHostBase::EditorParamQueue>
{
  static EditorParamEntry Make(std::uint64_t n) { return { std::int32_t(n), 2.0 * double(n) + 0.5 }; }
  static std::uint64_t Number(const EditorParamEntry& item) { return std::uint64_t(item.index); }
  static bool Whole(const EditorParamEntry& item) { return item.value == 2.0 * double(Number(item)) + 0.5; }
};

template <>
struct Numbered<IHostBase::MidiQueue>
{
  static MidiMessage Make(std::uint64_t n)
  {
    return { std::int32_t(n), std::uint8_t(0x80 | (n & 0x7F)), std::uint8_t((n >> 1) & 0x7F),
             std::uint8_t((n >> 2) & 0x7F) };
  }
  static std::uint64_t Number(const MidiMessage& item) { return std::uint64_t(item.offset); }
  static bool Whole(const MidiMessage& item)
  {
    const MidiMessage expected = Make(Number(item));
    return item.status == expected.status && item.data1 == expected.data1 && item.data2 == expected.data2;
  }
};

template <>
struct Numbered<IHostBase::SysExQueue>
{
  static SysExRecord Make(std::uint64_t n)
  {
    SysExRecord record;
    record.offset = std::int32_t(n);
    record.size = std::int32_t(n % (SysExRecord::kMaxPayload + 1));
    for (std::size_t i = 0; i < sizeof record.data; ++i) record.data[i] = std::uint8_t(n + i);
    return record;
  }
  static std::uint64_t Number(const SysExRecord& item) { return std::uint64_t(item.offset); }
  static bool Whole(const SysExRecord& item)
  {
    const std::uint64_t n = Number(item);
    if (item.size != std::int32_t(n % (SysExRecord::kMaxPayload + 1))) return false;
    for (std::size_t i = 0; i < sizeof item.data; ++i)
      if (item.data[i] != std::uint8_t(n + i)) return false;
    return true;
  }
};

template <class Ring>
class RingStress : public testing::Test
{
protected:
  // The producer either waits for room for every item or drops what does not fit.
  void Run(bool waitForRoom)
  {
    Ring ring;
    const test::RingStressResult result = test::RunRingStress<Numbered<Ring>>(ring, kItems, waitForRoom);
    EXPECT_TRUE(result.whole);
    EXPECT_TRUE(result.ordered);
    EXPECT_EQ(result.received, result.pushed);
    if (waitForRoom)
    {
      EXPECT_EQ(result.received, kItems);
    }
  }
};

using RingTypes = testing::Types<IClapBinding::HostParamQueue, IHostBase::EditorParamQueue, IHostBase::MidiQueue,
                                 IHostBase::SysExQueue>;

class RingNames
{
public:
  template <class Ring>
  static std::string GetName(int)
  {
    if constexpr (std::is_same_v<Ring, IClapBinding::HostParamQueue>) return "HostParamQueue";
    if constexpr (std::is_same_v<Ring, IHostBase::EditorParamQueue>) return "EditorParamQueue";
    if constexpr (std::is_same_v<Ring, IHostBase::MidiQueue>) return "MidiQueue";
    return "SysExQueue";
  }
};

TYPED_TEST_SUITE(RingStress, RingTypes, RingNames);

TYPED_TEST(RingStress, AWaitingProducerDeliversEveryItemWholeAndInOrder)
{
  this->Run(true);
}

TYPED_TEST(RingStress, ADroppingProducerDeliversWholeItemsInOrderWithoutRepeats)
{
  this->Run(false);
}

} // namespace
} // namespace kit
