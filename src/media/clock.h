// Time: the millisecond clock. Under the test harness's fast mode the clock is virtual: it moves
// only by the time slept (SleepMs) and by 16 ms for every presented frame, so runs repeat.
#pragma once

#include <cstdint>

// Milliseconds since the program started (virtual in fast mode); wraps after about 49 days.
uint32_t MillisecondsSinceStart();

// Fast mode: no frame pacing, no sleeping, a virtual clock. Set once before start-up; the
// virtual clock starts again from 0.
void SetFastMode(bool fast);
