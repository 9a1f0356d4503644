// Tests of the click dispatcher.
#include "app/frame_driver.h"

#include <gtest/gtest.h>

#include "../game/test_boards.h"
#include "audio/sound_effects.h"
#include "game/moves.h"
#include "game/shatter.h"
#include "shared/state.h"

TEST(FrameDriver, ClicksReachThePlayScreenOnlyOutsideTheTransition) {
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
