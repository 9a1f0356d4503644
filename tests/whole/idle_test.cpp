// Tests of the resting loop: a still screen wakes the loop only for its timed changes, and what
// comes from the desktop is answered in the next frames.
#include <gtest/gtest.h>

#include "audio/music.h"
#include "game/shatter.h"
#include "harness.h"
#include "platform/frame_pacing.h"
#include "shared/state.h"

namespace {

// What the loop did over a stretch of game time.
struct Rest {
    int frames = 0;           // frames it ran
    int changed = 0;          // of them, frames whose picture differed from the one before
    bool untilInput = false;  // it came to wait for input alone, with nothing due
};

// Runs the real loop for `seconds` of game time on the manual clock, or until it waits for input
// alone. The music, which streams on the sound device's own clock whatever the manual clock says,
// is stopped, so only the screens' own changes count.
Rest RestFor(WholeGame& game, double seconds) {
    StopMusic();
    Rest rest;
    Shot last = game.Picture();
    for (double passed = 0.0; passed < seconds;) {
        const double moved = game.LoopTurn();
        if (moved < 0.0) break;
        ++rest.frames;
        const Shot now = game.Picture();
        if (now.DifferingPixels(last, 0, 0, 640, 480) > 0) ++rest.changed;
        last = now;
        if (moved == 0.0) {
            rest.untilInput = true;
            break;
        }
        passed += moved;
    }
    return rest;
}

TEST(IdleTest, TheTitleWakesOnlyWhenItsButtonBlinks) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.RunUntil([] { return ScreenState == Title && ShatterActive == 0; }, 10.0f));
    RestFor(game, 0.5);
    // The button shows each of its two frames for a fifth of a second: ten changes in two
    // seconds, and the loop wakes for each of them and for nothing else.
    const Rest rest = RestFor(game, 2.0);
    EXPECT_FALSE(rest.untilInput);
    EXPECT_GE(rest.changed, 9);
    EXPECT_LE(rest.frames, 11);
    EXPECT_GE(rest.changed, rest.frames - 1);
}

TEST(IdleTest, AStillMenuWaitsForInputAndAnswersItInTheNextFrame) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.ToMainMenu();
    game.MoveMouse(-50, -50);
    const Rest still = RestFor(game, 5.0);
    ASSERT_TRUE(still.untilInput);
    EXPECT_LE(still.frames, 3);
    const Shot before = game.Picture();
    // The pointer comes onto the New game button: the next turn's frame takes the move, and the
    // highlight its hover step sets shows in the frame after, a refresh later.
    platform::InjectMousePosition(170, 257);
    EXPECT_GT(game.LoopTurn(), 0.0);
    game.LoopTurn();
    EXPECT_GT(game.Picture().DifferingPixels(before, 85, 231, 264, 283), 1000);
    EXPECT_TRUE(RestFor(game, 5.0).untilInput);
}

TEST(IdleTest, AStillBoardWakesAFewTimesASecond) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(0, 6);
    RestFor(game, 1.0);
    // The cook's blinks are the board's only timed changes: a chance once a second, and the
    // eyes open again 0.3 seconds after they closed.
    const Rest rest = RestFor(game, 10.0);
    EXPECT_FALSE(rest.untilInput);
    EXPECT_LE(rest.frames, 30);
    EXPECT_GE(rest.frames, 10);
}

}  // namespace
