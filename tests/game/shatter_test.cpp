// Tests of the screen shatter transition: the snapshot and its falling tiles.
#include "game/shatter.h"

#include <gtest/gtest.h>

#include "gfx/display.h"
#include "play_fixture.h"
#include "shared/state.h"

namespace {

constexpr float Dt = 0.02f;

class ShatterTest : public PlayFixture {
  protected:
    // Paints the screen being left: the kitchen, so that every tile has its own picture.
    void PaintOldScreen() { BackgroundPicture->Draw(BackBuffer, 0, 0, 0, 0, 640, 480); }
    // One frame of the transition, as the frame driver runs it.
    static void Step() {
        ShatterAdvance(Dt);
        ShatterFrame();
    }
};

TEST_F(ShatterTest, NothingHappensUntilAScreenChangeAsks) {
    PaintOldScreen();
    ShatterStart();
    EXPECT_EQ(ShatterActive, 0);
    Clear(0, 0, 0);
    Step();
    EXPECT_EQ(Pixel(320, 240), Pixel(0, 0));
}

TEST_F(ShatterTest, SnapshotCoversTheNewScreenUntilItsRowsFallFromTheBottomUp) {
    PaintOldScreen();
    ShatterRequested = 1;
    ShatterStart();
    EXPECT_EQ(ShatterRequested, 0);
    EXPECT_EQ(ShatterActive, 1);
    for (int c = 0; c < 16; ++c) {
        for (int k = 0; k < 12; ++k) {
            const ShatterTileRecord& tile = ShatterTile[c * 12 + k];
            EXPECT_EQ(tile.X, 40.0f * c);
            EXPECT_EQ(tile.Y, 40.0f * k);
            EXPECT_GE(tile.Delay, 390 - 30 * k);
            EXPECT_LE(tile.Delay, 414 - 30 * k);
        }
    }
    // The new screen is drawn underneath; until the bottom row moves the old one hides it whole.
    Clear(0, 0, 0);
    Step();
    EXPECT_EQ(Shows(BackgroundPicture, Rect{0, 0, 640, 480}, 0, 0), 1.0);
    int frames = 1;
    int bottomStart = 0, topStart = 0;
    while (ShatterActive != 0 && frames < 300) {
        Clear(0, 0, 0);
        Step();
        ++frames;
        if (bottomStart == 0 && ShatterTile[11].Drop > 0.0f) bottomStart = frames;
        if (topStart == 0 && ShatterTile[0].Drop > 0.0f) topStart = frames;
        if (frames == 40) {
            Shot("shatter_falling");
            // The upper rows still stand, the bottom row has fallen away to show the new screen.
            EXPECT_EQ(Shows(BackgroundPicture, Rect{0, 0, 640, 120}, 0, 0), 1.0);
            EXPECT_LT(Shows(BackgroundPicture, Rect{0, 440, 640, 480}, 0, 440), 0.5);
        }
    }
    // The bottom row waits 0.15..0.21 s, the top row 0.98..1.04 s; the end comes at about 1.8 s.
    EXPECT_GE(bottomStart * Dt, 0.15f);
    EXPECT_LE(bottomStart * Dt, 0.23f);
    EXPECT_GE(topStart * Dt, 0.97f);
    EXPECT_LE(topStart * Dt, 1.06f);
    EXPECT_NEAR(frames * Dt, 1.85f, 0.08f);
    EXPECT_EQ(ShatterClock, 0.0f);
    Clear(0, 0, 0);
    Step();
    EXPECT_EQ(Pixel(320, 240), Pixel(0, 0));
}

TEST_F(ShatterTest, ARequestDuringATransitionTakesAFreshSnapshot) {
    PaintOldScreen();
    ShatterRequested = 1;
    ShatterStart();
    for (int i = 0; i < 30; ++i) Step();
    const float clock = ShatterClock;
    Clear(200, 40, 40);
    ShatterRequested = 1;
    ShatterStart();
    EXPECT_EQ(ShatterClock, clock);  // kept: tiles whose delay has passed fall at once
    EXPECT_EQ(PicturePixel(ShatterSnapshot, 320, 240), Pixel(320, 240));
    Step();
    EXPECT_GT(ShatterTile[11].Drop, 0.0f);
    EXPECT_EQ(ShatterTile[0].Drop, 0.0f);
}

TEST_F(ShatterTest, CutShortTheTilesStillShowInTheFrameDrawnBeneathThem) {
    PaintOldScreen();
    ShatterRequested = 1;
    ShatterStart();
    Clear(0, 0, 0);
    const uint32_t black = Pixel(320, 240);
    ShatterAdvance(Dt);
    // The new screen, drawn under the cover, is left out; a click then ends the transition.
    Clear(200, 40, 40);
    EXPECT_EQ(Pixel(320, 240), black);
    EndShatter();
    EXPECT_EQ(ShatterActive, 0);
    ShatterFrame();
    EXPECT_EQ(Shows(BackgroundPicture, Rect{0, 0, 640, 480}, 0, 0), 1.0);
    // The next frame is the new screen's own, drawn whole.
    Clear(200, 40, 40);
    Step();
    EXPECT_EQ(Shows(BackgroundPicture, Rect{0, 0, 640, 480}, 0, 0), 0.0);
}

}  // namespace
