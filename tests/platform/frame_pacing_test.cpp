// Tests of the frame pacing: without vertical sync the loop rests until the display's refresh.
#include "platform/frame_pacing.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/window.h"

namespace {

TEST(FramePacing, FramesComeNoFasterThanTheDisplayRefreshes) {
    const double period = 1000.0 / platform::DisplayRefreshRate();
    platform::WaitForDisplayRefresh();
    const uint64_t start = SDL_GetPerformanceCounter();
    for (int frame = 0; frame < 3; ++frame) platform::WaitForDisplayRefresh();
    const double elapsed = static_cast<double>(SDL_GetPerformanceCounter() - start) * 1000.0 /
                           static_cast<double>(SDL_GetPerformanceFrequency());
    // Sleeps end on whole milliseconds, so the last one may come a millisecond early.
    EXPECT_GE(elapsed, 3 * period - 2.0);
}

}  // namespace
