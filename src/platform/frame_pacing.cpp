// Frame pacing on SDL's performance counter, its delay and its wait for events.
#include "platform/frame_pacing.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/window.h"

namespace platform {

namespace {

// When the next frame is due, in performance counter ticks; 0 before the first frame.
uint64_t NextFrameDue = 0;

// The longest wait for a change, in milliseconds: a day.
constexpr double LongestWait = 86400000.0;

// Whole milliseconds of a wait for a change due in `seconds`, rounded up so the change has come
// when the wait ends; -1 (as long as it takes) when none is due.
int WaitMilliseconds(float seconds) {
    if (std::isinf(seconds)) return -1;
    return static_cast<int>(
        std::min(std::ceil(static_cast<double>(seconds) * 1000.0), LongestWait));
}

// The manual clock's stand-in for a wait: the clock moves on by the wait unless a message is
// already there to end it.
void WaitOnManualClock(float dueSeconds, double refreshSeconds) {
    if (PeekMessage()) return;
    if (dueSeconds <= refreshSeconds) {
        AdvanceManualClock(refreshSeconds);
        return;
    }
    const int milliseconds = WaitMilliseconds(dueSeconds);
    if (milliseconds > 0) AdvanceManualClock(milliseconds / 1000.0);
}

}  // namespace

void WaitForDisplayRefresh() {
    const uint64_t now = SDL_GetPerformanceCounter();
    const uint64_t period = SDL_GetPerformanceFrequency() / DisplayRefreshRate();
    if (LastPictureWaitedForDisplay() || NextFrameDue + period <= now) {
        NextFrameDue = now + period;
        return;
    }
    if (NextFrameDue > now)
        SDL_Delay(
            static_cast<uint32_t>((NextFrameDue - now) * 1000 / SDL_GetPerformanceFrequency()));
    NextFrameDue += period;
}

void WaitForNextFrame(float dueSeconds) {
    const double refreshSeconds = 1.0 / DisplayRefreshRate();
    if (ManualClockInUse()) {
        WaitOnManualClock(dueSeconds, refreshSeconds);
        return;
    }
    if (dueSeconds <= refreshSeconds) {
        WaitForDisplayRefresh();
        return;
    }
    WaitMessageFor(WaitMilliseconds(dueSeconds));
    // The next frame comes at once; the refresh count starts afresh from it.
    NextFrameDue = 0;
}

}  // namespace platform
