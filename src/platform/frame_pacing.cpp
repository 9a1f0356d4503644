// Frame pacing on SDL's performance counter and delay.
#include "platform/frame_pacing.h"

#include <SDL.h>

#include "platform/window.h"

namespace platform {

namespace {

// When the next frame is due, in performance counter ticks; 0 before the first frame.
uint64_t NextFrameDue = 0;

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

}  // namespace platform
