#pragma once
// Waiting for something another thread makes happen, with a deadline so that a fault fails
// the test instead of hanging it. Not for letting time pass.

#include <chrono>
#include <thread>

namespace kit::test
{

// Waits until the condition holds, for at most five seconds; whether it came true.
template <class Condition>
[[nodiscard]] bool WaitUntil(Condition condition)
{
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition())
  {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

} // namespace kit::test
