// The game clock on the platform's performance counter, or its millisecond timer without one.
#include "app/game_clock.h"

#include <cstdint>

#include "platform/clock.h"

namespace {
// True once the time source has been chosen.
bool Initialised = false;
// Units of the time source per second: counter ticks, or 1 for the millisecond timer's seconds.
double UnitsPerSecond = 1.0;
// True when the performance counter is the time source.
bool UsesCounter = false;
// True while paused. A flag of its own, so that a pause taken at time 0 still counts.
bool Stopped = false;
// The time at which the clock was paused, in source units.
double StopTime = 0.0;
// The time of the previous FrameDelta, Resume or Pause, in source units.
double LastDeltaTime = 0.0;

// Chooses the time source on first use.
void Initialise() {
    Initialised = true;
    int64_t ticksPerSecond = 0;
    UsesCounter = platform::PerformanceFrequency(ticksPerSecond) && ticksPerSecond > 0;
    UnitsPerSecond = UsesCounter ? static_cast<double>(ticksPerSecond) : 1.0;
}

// The time source's reading, in its own units.
double ReadSource() {
    if (UsesCounter) return static_cast<double>(platform::PerformanceCounter());
    return static_cast<double>(platform::MillisecondTime()) * 0.001;
}
}  // namespace

float GameClock(int mode) {
    if (!Initialised) Initialise();
    const bool frozen = Stopped && (mode == Pause || mode == FrameDelta);
    const double now = frozen ? StopTime : ReadSource();
    switch (mode) {
        case Resume:
            Stopped = false;
            LastDeltaTime = now;
            return 0.0f;
        case Pause:
            Stopped = true;
            StopTime = now;
            LastDeltaTime = now;
            return 0.0f;
        case FrameDelta: {
            const double seconds = (now - LastDeltaTime) / UnitsPerSecond;
            LastDeltaTime = now;
            return static_cast<float>(seconds);
        }
        case Now:
            return static_cast<float>(now / UnitsPerSecond);
        default:
            return -1.0f;
    }
}
