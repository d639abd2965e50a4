// The millisecond clock, real or virtual. It sits below everything else in the media layer:
// the window's sleep and the frame pacing (screen.cpp) read it and move it on.
#include "media/clock.h"

#include <chrono>

#include "media/internal.h"

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

void SetFastMode(bool fast) {
  fastMode = fast;
  virtualMs = 0;
}
bool FastMode() { return fastMode; }

void AdvanceVirtualClock(uint32_t milliseconds) { virtualMs += milliseconds; }
void AdvanceVirtualFrame() { virtualMs += 16; }
