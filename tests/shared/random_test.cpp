// Tests of the shared random generator.
#include "shared/random.h"

#include <gtest/gtest.h>

TEST(Random, FollowsTheRandSrandContract) {
    SeedRandom(1);
    // The classic sequence of the C library's generator seeded with 1.
    EXPECT_EQ(Random(), 41);
    EXPECT_EQ(Random(), 18467);
    EXPECT_EQ(Random(), 6334);
    SeedRandom(12345);
    for (int i = 0; i < 10000; ++i) {
        int value = Random();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, RandomMax);
    }
}
