// Tests of the board change: the old board falling out and the fresh board dropping in.
#include "game/board_change.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/falling.h"
#include "game/moves.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "play_fixture.h"
#include "shared/state.h"
#include "test_boards.h"

namespace {

constexpr float Dt = 0.02f;

class BoardChangeTest : public PlayFixture {
  protected:
    void SetUp() override {
        PlayFixture::SetUp();
        ScreenState = Play;
        KindCount = 8;
    }
    // The picture of kind's resting piece.
    static Rect PieceSource(int kind) { return Rect{50 * kind, 0, 50 * kind + 50, 50}; }
};

TEST_F(BoardChangeTest, DropInLandsEveryPieceOnItsHomeRowInAboutOneAndAHalfSeconds) {
    NewBoard(KindCount);
    StartDropIn();
    // Row 0 starts 927..996 pixels above its square, row 7 87..156 above its square.
    for (int c = 0; c < 8; ++c) {
        EXPECT_GE(DropY[CellIndex(c, 0)], -996.0f);
        EXPECT_LE(DropY[CellIndex(c, 0)], -927.0f);
        EXPECT_GE(DropY[CellIndex(c, 7)], -156.0f);
        EXPECT_LE(DropY[CellIndex(c, 7)], -87.0f);
    }
    SelectStep = 2;
    int frames = 0;
    bool done = false;
    while (!done && frames < 200) {
        Clear(0, 0, 0);
        done = DropInFrame(Dt);
        ++frames;
        if (frames == 40) {
            Shot("drop_in_halfway");
            // Nothing is drawn above the board while the upper rows are still falling.
            for (int x = 236; x < 636; x += 5) EXPECT_EQ(Pixel(x, 2), Pixel(0, 0));
            EXPECT_GE(Shows(FiguresPicture, PieceSource(CellAt({3, 7}).Kind), 386, 354), 0.99);
        }
    }
    EXPECT_GE(frames * Dt, 1.4f);
    EXPECT_LE(frames * Dt, 1.56f);
    EXPECT_EQ(DropIn, 0);
    EXPECT_EQ(SelectStep, 0);
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 8; ++r) {
            EXPECT_EQ(DropY[CellIndex(c, r)], 4.0f + 50.0f * r);
            EXPECT_GE(
                Shows(FiguresPicture, PieceSource(CellAt({c, r}).Kind), 236 + 50 * c, 4 + 50 * r),
                0.99);
        }
    }
    EXPECT_EQ(EffectRequests.front(), Effect::Land);
    EXPECT_TRUE(std::all_of(EffectRequests.begin(), EffectRequests.end(),
                            [](int e) { return e == Effect::Land; }));
    EXPECT_TRUE(DropInFrame(Dt));  // nothing left to do
}

TEST_F(BoardChangeTest, DropInWaitsForTheScreenTransition) {
    NewBoard(KindCount);
    StartDropIn();
    float before = DropY[CellIndex(2, 5)];
    ShatterActive = 1;
    EXPECT_TRUE(DropInFrame(Dt));
    EXPECT_EQ(DropY[CellIndex(2, 5)], before);
    EXPECT_EQ(DropIn, 1);
    ShatterActive = 0;
    EXPECT_FALSE(DropInFrame(Dt));
    EXPECT_EQ(DropY[CellIndex(2, 5)], before + 13.0f);
}

TEST_F(BoardChangeTest, BackdropTilesFallOnlyWithEasyFood) {
    LoadBoard(QuietBoard);
    // A pixel of square (0, 0) where the piece is transparent and its tile is not.
    const int kind = CellAt({0, 0}).Kind;
    int px = -1, py = -1;
    for (int y = 0; y < 50 && px < 0; ++y) {
        for (int x = 0; x < 50 && px < 0; ++x) {
            if (PicturePixel(FiguresPicture, 50 * kind + x, y) == FiguresPicture->ColourKey &&
                PicturePixel(EasyFoodPicture, 50 * kind + x, y) != EasyFoodPicture->ColourKey) {
                px = x;
                py = y;
            }
        }
    }
    ASSERT_GE(px, 0);
    for (unsigned char easy : {1, 0}) {
        EasyFood = easy;
        StartDropIn();
        do {
            Clear(0, 0, 0);
        } while (!DropInFrame(Dt));  // the last frame draws every piece at home
        uint32_t tile = PicturePixel(EasyFoodPicture, 50 * kind + px, py);
        EXPECT_EQ(Pixel(236 + px, 4 + py) == tile, easy == 1);
        EXPECT_GE(Shows(FiguresPicture, PieceSource(kind), 236, 4), 0.99);
    }
}

TEST_F(BoardChangeTest, ClearOutDropsTheBoardRowByRowAndDealsTheNextOne) {
    LoadBoard(QuietBoard);
    EasyFood = 1;
    const std::string old = BoardKinds();
    StartClearOut();
    for (int r = 0; r < 8; ++r) {
        EXPECT_GE(ClearPiece[CellIndex(5, r)].Delay, 270 - 30 * r);
        EXPECT_LE(ClearPiece[CellIndex(5, r)].Delay, 294 - 30 * r);
        EXPECT_EQ(ClearPiece[CellIndex(5, r)].Kind, CellAt({5, r}).Kind);
    }
    int frames = 0;
    bool done = false;
    while (!done && frames < 200) {
        Clear(0, 0, 0);
        done = ClearOutFrame(Dt);
        ++frames;
        if (frames == 5) {  // 0.1 s: nothing has moved yet
            EXPECT_EQ(ClearPiece[CellIndex(0, 7)].Drop, 0.0f);
            EXPECT_GE(Shows(FiguresPicture, PieceSource(CellAt({0, 7}).Kind), 236, 354), 0.99);
        }
        if (frames == 9) {  // 0.18 s: the bottom row falls, the top row waits
            for (int c = 0; c < 8; ++c) EXPECT_GT(ClearPiece[CellIndex(c, 7)].Drop, 0.0f);
            for (int c = 0; c < 8; ++c) EXPECT_EQ(ClearPiece[CellIndex(c, 0)].Drop, 0.0f);
        }
        if (frames == 40) Shot("clear_out_halfway");
    }
    // The top-left piece waits 0.54..0.59 s, then falls 500 pixels at 550 a second.
    EXPECT_GE(frames * Dt, 1.44f);
    EXPECT_LE(frames * Dt, 1.52f);
    EXPECT_EQ(ClearOut, 0);
    EXPECT_EQ(ClearClock, 0.0f);
    EXPECT_EQ(ClearCount, 1);
    EXPECT_EQ(DropIn, 1);
    EXPECT_NE(BoardKinds(), old);
    EXPECT_TRUE(BoardFull());
    EXPECT_TRUE(ClearOutFrame(Dt));
}

TEST_F(BoardChangeTest, EveryFourthClearOutStartsTheCountAgain) {
    for (int n = 1; n <= 4; ++n) {
        LoadBoard(QuietBoard);
        StartClearOut();
        while (!ClearOutFrame(Dt)) {
        }
        EXPECT_EQ(ClearCount, n % 4);
    }
}

TEST_F(BoardChangeTest, NewBoardDoesNotInheritAnUnfinishedFall) {
    LoadBoard(QuietBoard);
    StartClearOut();
    // Pieces were still falling from a chain when the banner ended.
    CellAt({2, 0}).Kind = EmptyKind;
    RemoveMark[CellIndex(2, 0)] = 1;
    RemoveMark[CellIndex(2, 3)] = 1;
    FallColumn[2] = FallRecord{1, 3};
    Falling = 1;
    FallOffset = 20.0f;
    while (!ClearOutFrame(Dt)) {
    }
    while (!DropInFrame(Dt)) {
    }
    EXPECT_EQ(Falling, 0);
    const std::string dealt = BoardKinds();
    for (int i = 0; i < 100; ++i) AdvanceFall(Dt);
    EXPECT_EQ(BoardKinds(), dealt);
    EXPECT_TRUE(BoardFull());
    EXPECT_TRUE(AllAtHome());
}

}  // namespace
