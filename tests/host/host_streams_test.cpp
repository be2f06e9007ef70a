#include "tools/host/streams.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace kit::host
{
namespace
{

using Bytes = std::vector<std::uint8_t>;
using Results = std::vector<std::int64_t>;

const Bytes kTen { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 };

// Asks for 4 bytes per read, as many times as there are expected results; returns the bytes
// that arrived, taking each result as the count only when it is a sane one (0 to 4).
Bytes ReadInFours(const clap_istream* stream, const Results& expected)
{
  Bytes arrived;
  for (std::size_t i = 0; i < expected.size(); ++i)
  {
    SCOPED_TRACE(testing::Message() << "read " << i);
    std::array<std::uint8_t, 4> block {};
    const std::int64_t result = stream->read(stream, block.data(), block.size());
    EXPECT_EQ(result, expected[i]);
    if (result > 0 && result <= 4) arrived.insert(arrived.end(), block.begin(), block.begin() + result);
  }
  return arrived;
}

TEST(InputStream, EachBehaviourGivesTheReadResultsWorkedOutByHand)
{
  struct Case
  {
    const char* name;
    ReadBehaviour behaviour;
    Results results;
    Bytes arrived;
  };
  const Case cases[] = {
    { "plain", {}, { 4, 4, 2, 0, 0 }, kTen },
    { "at most 3 per read", { 3, {}, false, false }, { 3, 3, 3, 1, 0 }, kTen },
    { "error after 5 bytes", { 0, 5, false, false }, { 4, 1, -1, -1 }, { 1, 2, 3, 4, 5 } },
    { "error at once", { 0, 0, false, false }, { -1, -1 }, {} },
    { "endless", { 0, {}, true, false }, { 4, 4, 4, 4 }, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0, 0, 0, 0, 0 } },
    { "claims one more than asked", { 0, {}, false, true }, { 5, 5, 5, 5 }, {} },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    InputStream stream(kTen, c.behaviour);
    const Bytes arrived = ReadInFours(stream.Record(), c.results);
    EXPECT_EQ(arrived, c.arrived);
    EXPECT_EQ(stream.ReadCalls(), c.results.size());
  }
}

TEST(InputStream, ALyingStreamStillCopiesOnlyWhatWasAskedFor)
{
  InputStream stream(kTen, { 0, {}, false, true });
  std::array<std::uint8_t, 6> block { 0, 0, 0, 0, 0xEE, 0xEE };
  EXPECT_EQ(stream.Record()->read(stream.Record(), block.data(), 4), 5);
  EXPECT_EQ(block, (std::array<std::uint8_t, 6> { 1, 2, 3, 4, 0xEE, 0xEE }));
  EXPECT_EQ(stream.BytesDelivered(), 4u);
}

TEST(OutputStream, EachBehaviourGivesTheWriteResultsWorkedOutByHand)
{
  struct Case
  {
    const char* name;
    WriteBehaviour behaviour;
    Results results;
    Bytes kept;
  };
  const Case cases[] = {
    { "plain", {}, { 4, 4, 4 }, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 } },
    { "at most 3 per write", { 3, {}, false }, { 3, 3, 3 }, { 1, 2, 3, 5, 6, 7, 9, 10, 11 } },
    { "error after 5 bytes", { 0, 5, false }, { 4, 1, -1 }, { 1, 2, 3, 4, 5 } },
    { "error at once", { 0, 0, false }, { -1, -1, -1 }, {} },
    { "claims one more than offered", { 0, {}, true }, { 5, 5, 5 }, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 } },
  };
  const Bytes source { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    OutputStream stream(c.behaviour);
    // Each write offers the next 4 source bytes, whatever the previous one took.
    for (std::size_t i = 0; i < c.results.size(); ++i)
    {
      SCOPED_TRACE(testing::Message() << "write " << i);
      EXPECT_EQ(stream.Record()->write(stream.Record(), source.data() + 4 * i, 4), c.results[i]);
    }
    EXPECT_EQ(stream.Bytes(), c.kept);
    EXPECT_EQ(stream.WriteCalls(), c.results.size());
  }
}

} // namespace
} // namespace kit::host
