// Tests of the frame pacing: without vertical sync the loop rests until the display's refresh.
#include "platform/frame_pacing.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/clock.h"
#include "platform/messages.h"
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

// Microseconds the manual clock moves in one wait for a change due in `seconds`.
int64_t ManualWait(float seconds) {
    const int64_t before = platform::PerformanceCounter();
    platform::WaitForNextFrame(seconds);
    return platform::PerformanceCounter() - before;
}

TEST(FramePacing, TheLoopRestsUntilTheNextChangeOrAMessage) {
    ASSERT_TRUE(platform::StartVideo());
    platform::UseManualClock(1000);
    // Something moves: the next frame comes at the display's next refresh.
    EXPECT_EQ(ManualWait(0.0f), std::llround(1e6 / platform::DisplayRefreshRate()));
    // A change due later: the wait lasts until it, in whole milliseconds rounded up.
    EXPECT_EQ(ManualWait(0.25f), 250000);
    EXPECT_EQ(ManualWait(0.7004f), 701000);
    // Nothing is due: only a message ends the wait, and none comes here.
    EXPECT_EQ(ManualWait(platform::NoChangeDue), 0);
    // A message that arrived ends any wait at once, and says so to the next frame.
    EXPECT_FALSE(platform::TakeDesktopEvents());
    platform::InjectKey(platform::TestKey::Enter);
    EXPECT_EQ(ManualWait(0.25f), 0);
    EXPECT_TRUE(platform::PeekMessage());
    EXPECT_TRUE(platform::TakeDesktopEvents());
    EXPECT_FALSE(platform::TakeDesktopEvents());
}

}  // namespace
