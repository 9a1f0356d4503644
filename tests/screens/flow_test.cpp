// Tests of the screen-flow state, the hover sound latch and the click dispatcher.
#include "screens/flow.h"

#include <gtest/gtest.h>

#include <vector>

#include "../game/test_boards.h"
#include "app/frame_driver.h"
#include "audio/sound_effects.h"
#include "game/moves.h"
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

TEST(Flow, HoverSoundPlaysOncePerEntry) {
    PlayHoverSound();
    PlayHoverSound();
    EXPECT_EQ(EffectRequests, std::vector<int>{0});
    EXPECT_EQ(HoverLatch, 1);
    HoverLatch = 0;
    PlayHoverSound();
    EXPECT_EQ(EffectRequests, (std::vector<int>{0, 0}));
}

TEST(Flow, ClicksReachThePlayScreenOnlyOutsideTheTransition) {
    LoadBoard(QuietBoard);
    ScreenState = Play;
    MouseDown = 1;
    ShatterActive = 1;
    EXPECT_FALSE(DispatchClick(361, 179));
    EXPECT_EQ(SelectStep, 0);
    EXPECT_TRUE(EffectRequests.empty());
    ShatterActive = 0;
    EXPECT_TRUE(DispatchClick(361, 179));
    EXPECT_EQ(SelectStep, 1);
    EXPECT_EQ(SelectedSquare, (Square{2, 3}));
    ScreenState = MainMenu;
    EXPECT_FALSE(DispatchClick(361, 179));
}
