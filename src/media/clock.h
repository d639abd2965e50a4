// Time: the millisecond clock, sleeping, and the high-resolution counter behind frame pacing.
// Under the test harness's fast mode the clock is virtual (slept time plus 16 ms per frame).
#pragma once

#include <cstdint>

// Milliseconds since the program started (virtual in fast mode).
uint32_t MillisecondsSinceStart();

// Suspends the thread; in fast mode it only advances the virtual clock.
void SleepMs(int32_t milliseconds);

// Gives up the rest of the time slice (no-op in fast mode).
void YieldThread();

// Fast mode: no frame pacing, no sleeping, a virtual clock. Set once before start-up; the
// virtual clock starts again from 0.
void SetFastMode(bool fast);
bool FastMode();

// Advances the virtual clock by one presented frame (16 ms); called by the frame presenter.
void AdvanceVirtualFrame();
