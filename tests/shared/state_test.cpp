// Tests of the shared state's starting values.
#include "shared/state.h"

#include <gtest/gtest.h>

#include "game/shatter.h"

TEST(Flow, StartsOnTheLogoWithNothingToContinue) {
    EXPECT_EQ(ScreenState, 0);
    EXPECT_EQ(NoGameToContinue, 1);
    EXPECT_EQ(MenuHighlight, 6);
    EXPECT_EQ(MenuPicture, 5);
    EXPECT_EQ(HoverLatch, 0);
    EXPECT_EQ(ShatterRequested, 0);
    EXPECT_EQ(QuitRequested, 0);
    EXPECT_EQ(Play, 7);
    EXPECT_EQ(HighScores, 5);
}
