// Tests of the platform clocks: the real counter's sense and the manual clock for tests.
#include "platform/clock.h"

#include <gtest/gtest.h>

TEST(Clock, RealCounterRunsForward) {
    int64_t frequency = 0;
    ASSERT_TRUE(platform::PerformanceFrequency(frequency));
    EXPECT_GE(frequency, 1000);
    const int64_t first = platform::PerformanceCounter();
    const uint64_t firstMs = platform::MillisecondTime();
    volatile double sink = 0;
    for (int i = 0; i < 3000000; ++i) sink = sink + i;
    EXPECT_GT(platform::PerformanceCounter(), first);
    EXPECT_GE(platform::MillisecondTime(), firstMs);
    // The tick count is the millisecond timer cut to 32 bits.
    EXPECT_LE(static_cast<uint32_t>(platform::MillisecondTime()) - platform::TickCount(), 1000u);
}

TEST(Clock, ManualClockMovesOnlyWhenAdvanced) {
    platform::UseManualClock(5000);
    int64_t frequency = 0;
    ASSERT_TRUE(platform::PerformanceFrequency(frequency));
    EXPECT_EQ(frequency, 1000000);
    EXPECT_EQ(platform::PerformanceCounter(), 5000000);
    EXPECT_EQ(platform::MillisecondTime(), 5000u);
    EXPECT_EQ(platform::TickCount(), 5000u);
    platform::AdvanceManualClock(0.0255);
    EXPECT_EQ(platform::PerformanceCounter(), 5025500);
    EXPECT_EQ(platform::MillisecondTime(), 5025u);
    EXPECT_EQ(platform::TickCount(), 5025u);
}

TEST(Clock, TickCountWrapsAt32Bits) {
    platform::UseManualClock(0x100000000ull + 7);
    EXPECT_EQ(platform::TickCount(), 7u);
    EXPECT_EQ(platform::MillisecondTime(), 0x100000007ull);
}

TEST(Clock, CounterCanBeHidden) {
    platform::SetPerformanceCounterAvailable(false);
    int64_t frequency = 42;
    EXPECT_FALSE(platform::PerformanceFrequency(frequency));
    EXPECT_EQ(frequency, 42);
    platform::SetPerformanceCounterAvailable(true);
    EXPECT_TRUE(platform::PerformanceFrequency(frequency));
}
