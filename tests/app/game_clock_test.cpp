// Tests of the game clock in both of its time sources.
#include "app/game_clock.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

TEST(GameClock, FrameDeltaMeasuresFromResume) {
    platform::UseManualClock(0);
    EXPECT_EQ(GameClock(Resume), 0.0f);
    platform::AdvanceManualClock(0.016);
    EXPECT_FLOAT_EQ(GameClock(FrameDelta), 0.016f);
    platform::AdvanceManualClock(0.25);
    EXPECT_FLOAT_EQ(GameClock(FrameDelta), 0.25f);
    EXPECT_EQ(GameClock(FrameDelta), 0.0f);
    EXPECT_FLOAT_EQ(GameClock(Now), 0.266f);
    EXPECT_EQ(GameClock(7), -1.0f);
    EXPECT_EQ(GameClock(-1), -1.0f);
}

TEST(GameClock, TimeInTheBackgroundIsLeftOut) {
    platform::UseManualClock(0);  // a pause at time 0 must still count as a pause
    GameClock(Resume);
    GameClock(Pause);
    platform::AdvanceManualClock(10.0);
    EXPECT_EQ(GameClock(FrameDelta), 0.0f);
    EXPECT_EQ(GameClock(Pause), 0.0f);  // a second pause changes nothing
    platform::AdvanceManualClock(5.0);
    EXPECT_FLOAT_EQ(GameClock(Now), 15.0f);  // the live time goes on
    GameClock(Resume);
    platform::AdvanceManualClock(0.02);
    EXPECT_FLOAT_EQ(GameClock(FrameDelta), 0.02f);
}

TEST(GameClock, PauseKeepsTheTimeBeforeIt) {
    platform::UseManualClock(1000);
    GameClock(Resume);
    platform::AdvanceManualClock(0.5);
    GameClock(Pause);
    platform::AdvanceManualClock(3.0);
    GameClock(Resume);
    platform::AdvanceManualClock(0.01);
    EXPECT_FLOAT_EQ(GameClock(FrameDelta), 0.01f);
}

TEST(GameClock, WorksOnTheMillisecondTimerWithoutACounter) {
    platform::SetPerformanceCounterAvailable(false);
    platform::UseManualClock(2000);
    GameClock(Resume);
    platform::AdvanceManualClock(0.0169);  // the timer sees 16 ms
    EXPECT_FLOAT_EQ(GameClock(FrameDelta), 0.016f);
    platform::AdvanceManualClock(0.0041);  // 21 ms in all
    EXPECT_FLOAT_EQ(GameClock(FrameDelta), 0.005f);
    EXPECT_FLOAT_EQ(GameClock(Now), 2.021f);
    GameClock(Pause);
    platform::AdvanceManualClock(1.0);
    EXPECT_EQ(GameClock(FrameDelta), 0.0f);
}

TEST(GameClock, RunsOnTheRealCounter) {
    GameClock(Resume);
    const float now = GameClock(Now);
    EXPECT_GT(now, 0.0f);
    const float dt = GameClock(FrameDelta);
    EXPECT_GE(dt, 0.0f);
    EXPECT_LT(dt, 1.0f);
}
