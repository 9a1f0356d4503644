// The platform's clocks on SDL's performance counter, with a manual clock for tests.
#include "platform/clock.h"

#include <SDL.h>

#include <cmath>

namespace platform {

namespace {
// True while the manual test clock replaces the real one.
bool ManualClock = false;
// The manual clock's time in microseconds.
int64_t ManualMicroseconds = 0;
// False when a test hides the performance counter.
bool CounterAvailable = true;
// Ticks per second of the manual counter.
constexpr int64_t ManualFrequency = 1000000;

// The real counter in milliseconds; SDL's counter counts from the system's start on Linux.
uint64_t RealMilliseconds() {
    return SDL_GetPerformanceCounter() / (SDL_GetPerformanceFrequency() / 1000);
}

// Milliseconds of whichever clock is in use.
uint64_t Milliseconds() {
    return ManualClock ? static_cast<uint64_t>(ManualMicroseconds / 1000) : RealMilliseconds();
}
}  // namespace

bool PerformanceFrequency(int64_t& ticksPerSecond) {
    if (!CounterAvailable) return false;
    ticksPerSecond =
        ManualClock ? ManualFrequency : static_cast<int64_t>(SDL_GetPerformanceFrequency());
    return true;
}

int64_t PerformanceCounter() {
    return ManualClock ? ManualMicroseconds : static_cast<int64_t>(SDL_GetPerformanceCounter());
}

uint64_t MillisecondTime() { return Milliseconds(); }

uint32_t TickCount() { return static_cast<uint32_t>(Milliseconds()); }

void UseManualClock(uint64_t startMs) {
    ManualClock = true;
    ManualMicroseconds = static_cast<int64_t>(startMs) * 1000;
}

void AdvanceManualClock(double seconds) {
    ManualMicroseconds += static_cast<int64_t>(std::llround(seconds * 1e6));
}

bool ManualClockInUse() { return ManualClock; }

void SetPerformanceCounterAvailable(bool available) { CounterAvailable = available; }

}  // namespace platform
