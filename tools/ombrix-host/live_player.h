// Plays blocks through a processing plug-in in real time on an audio thread of its own, paced
// by the steady clock: each block is processed, then the thread sleeps until the moment the
// next block is due. Blocks arrive from the main thread through one lock-free ring; the output
// of recorded blocks and the parameter changes the plug-in reports go back through two more.
// When no block is waiting, a block of silence keeps the plug-in and its editor running.
#pragma once

#include "framework/spsc_ring.h"
#include "tools/ombrix-host/audio_block.h"
#include "tools/render/render_session.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace kit::live
{

class LivePlayer
{
public:
  // session must be processing blocks of up to kBlockFrames frames at sampleRate, and
  // outlive the player.
  LivePlayer(render::RenderSession& session, double sampleRate);
  // Stops the audio thread.
  ~LivePlayer();
  LivePlayer(const LivePlayer&) = delete;
  LivePlayer& operator=(const LivePlayer&) = delete;

  // Main thread.
  // Starts the audio thread; false when it cannot be made.
  [[nodiscard]] bool Start();
  // Asks the audio thread to finish its block and waits until it has.
  void Stop();
  // Whether Queue takes another block now.
  [[nodiscard]] bool HasRoom() const noexcept;
  // Hands a block to the audio thread; false when the ring is full and the block is not taken.
  [[nodiscard]] bool Queue(const AudioBlock& block) noexcept;
  // The output of the oldest recorded block processed and not yet taken; false when none.
  [[nodiscard]] bool TakeOutput(AudioBlock& block) noexcept;
  // The oldest parameter change not yet taken; false when none.
  [[nodiscard]] bool TakeParamChange(ParamChange& change) noexcept;
  // Whether the plug-in failed a block; the audio thread has then stopped, and FailureText says why.
  [[nodiscard]] bool Failed() const noexcept { return failed.load(std::memory_order_acquire); }
  [[nodiscard]] std::string FailureText() const;
  // Output frames of recorded blocks lost because the main thread did not take them in time.
  [[nodiscard]] std::int64_t LostFrames() const noexcept { return lostFrames.load(std::memory_order_acquire); }

private:
  // About 1.4 s of audio at 48 kHz queued ahead, 2.7 s of output waiting to be written.
  static constexpr std::size_t kInputSlots = 128;
  static constexpr std::size_t kOutputSlots = 256;
  static constexpr std::size_t kParamSlots = 1024;

  // Audio thread.
  void Run() noexcept;
  void CollectParamChanges() noexcept;

  render::RenderSession& session;
  double sampleRate;
  std::thread thread;
  SpscRing<AudioBlock, kInputSlots> input;    // main thread -> audio thread
  SpscRing<AudioBlock, kOutputSlots> output;  // audio thread -> main thread
  SpscRing<ParamChange, kParamSlots> params;  // audio thread -> main thread
  AudioBlock playing;                         // the audio thread's own
  AudioBlock played;                          // the audio thread's own
  std::atomic<bool> running { false };        // written by the main thread, read by the audio thread
  std::atomic<bool> failed { false };         // written by the audio thread, read by the main thread
  std::atomic<std::int64_t> lostFrames { 0 }; // same
  // Written by the audio thread before it sets failed, read by the main thread after. The one
  // moment the audio thread may allocate is here, as it gives up.
  std::string failure;
};

} // namespace kit::live
