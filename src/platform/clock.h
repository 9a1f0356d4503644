// The platform's clocks: a high-resolution counter, a millisecond timer and the tick count.
#pragma once

#include <cstdint>

namespace platform {

// ---- Clocks ----
// Called by the game clock on its first use; stores the counter's ticks per second and returns
// true, or returns false when no performance counter is available.
bool PerformanceFrequency(int64_t& ticksPerSecond);

// Called by the game clock each sample; the performance counter in ticks.
int64_t PerformanceCounter();

// Called by the game clock when there is no performance counter; milliseconds of a steady timer
// (64 bits wide, so it never wraps during a run).
uint64_t MillisecondTime();

// Called where the game re-seeds its random generator; milliseconds since the system started,
// wrapping at 2^32 like the original tick count.
uint32_t TickCount();

// ---- Test hooks ----
// Called by tests: from now on all three clocks read a manual time that starts at startMs
// milliseconds and moves only with AdvanceManualClock. The manual counter ticks in microseconds.
void UseManualClock(uint64_t startMs);

// Called by tests to move the manual clock forward; seconds are rounded to microseconds.
void AdvanceManualClock(double seconds);

// Called by the frame pacing: true while the manual test clock replaces the real one.
bool ManualClockInUse();

// Called by tests to hide (false) or restore (true) the performance counter.
void SetPerformanceCounterAvailable(bool available);

}  // namespace platform
