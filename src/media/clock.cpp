#include "media/clock.h"

#include <algorithm>

#include <chrono>
#include <thread>

#include "media/process.h"
#include "media/screen.h"

namespace {

const auto startTime = std::chrono::steady_clock::now();
bool fastMode = false;
uint32_t virtualMs = 0;

}  // namespace

uint32_t MillisecondsSinceStart() {
  if (fastMode) return virtualMs;
  const auto elapsed = std::chrono::steady_clock::now() - startTime;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void SleepMs(int32_t milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (fastMode) {
    virtualMs += static_cast<uint32_t>(milliseconds);
    return;
  }
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  // Long waits (the credits pages sleep for seconds) wake early when the program is asked to stop,
  // by a signal or by the window's close button.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    DrainWindowMessages();
    if (StopSignalled() || WindowCloseRequested()) break;
    const auto left = end - std::chrono::steady_clock::now();
    if (left <= std::chrono::milliseconds(0)) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(20)));
  }
}

void YieldThread() {
  if (!fastMode) std::this_thread::yield();
}

void SetFastMode(bool fast) {
  fastMode = fast;
  virtualMs = 0;
}
bool FastMode() { return fastMode; }
void AdvanceVirtualFrame() { virtualMs += 16; }
