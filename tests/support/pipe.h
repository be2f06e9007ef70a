#pragma once
// A pipe for tests of descriptor watching: a byte put into the write end makes the read end
// readable until it is taken. Both ends close when it goes.

#include <gtest/gtest.h>

#include <unistd.h>

namespace kit::test
{

struct Pipe
{
  Pipe() { EXPECT_EQ(::pipe(ends), 0); }
  ~Pipe()
  {
    ::close(ends[0]);
    ::close(ends[1]);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  void Put() const { EXPECT_EQ(::write(ends[1], "x", 1), 1); }
  void Take() const
  {
    char byte = 0;
    EXPECT_EQ(::read(ends[0], &byte, 1), 1);
  }
  int ends[2] = { -1, -1 };
};

} // namespace kit::test
