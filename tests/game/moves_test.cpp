// Tests of the player's moves: selection, second click, drag, swap slides, hints and buttons.
#include "game/moves.h"

#include <gtest/gtest.h>

#include <vector>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/board_change.h"
#include "game/falling.h"
#include "game/flying_piece.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/play_screen.h"
#include "game/shatter.h"
#include "platform/clock.h"
#include "shared/random.h"
#include "shared/state.h"
#include "test_boards.h"

namespace {
// One 64th of a second: a slide moves exactly 2.5 pixels per frame.
constexpr float Frame = 1.0f / 64.0f;

// Screen x and y of the middle of a square.
int MidX(int column) { return 261 + 50 * column; }
int MidY(int row) { return 29 + 50 * row; }

// Clicks the middle of a square with the button pressed.
bool ClickSquare(int column, int row) {
    MouseDown = 1;
    return PlayClick(MidX(column), MidY(row));
}

// Counts the cells with a flag set.
int CountSwapTargets() {
    int n = 0;
    for (const Cell& cell : Board) n += cell.SwapTarget;
    return n;
}
int CountSelected() {
    int n = 0;
    for (const Cell& cell : Board) n += cell.Selected;
    return n;
}

class Moves : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::UseManualClock(1000);
        KindCount = 6;
        GameMode = Untimed;
        ScreenState = Play;
        LoadBoard(QuietBoard);
    }

    // Runs the play frame's slides and falling until nothing moves; returns the frame count.
    int RunUntilRest() {
        int frames = 0;
        while ((CountSwapTargets() > 0 || ::Falling != 0 || HintActive != 0) && frames < 2000) {
            SwapAnimation(Frame);
            AdvanceFall(Frame);
            HintAnimation(Frame);
            platform::AdvanceManualClock(Frame);
            ++frames;
        }
        return frames;
    }
};
}  // namespace

TEST_F(Moves, ClickSelectsAPieceAndResetsTheFallSpeed) {
    FallSpeed = 7;
    EXPECT_TRUE(ClickSquare(2, 3));
    EXPECT_EQ(SelectStep, 1);
    EXPECT_EQ(SelectedSquare, (Square{2, 3}));
    EXPECT_EQ(CellAt({2, 3}).Selected, 1);
    EXPECT_EQ(FallSpeed, 3);
    EXPECT_EQ(EffectRequests, std::vector<int>{9});
    EXPECT_EQ(ClickPoint.X, 361);
    EXPECT_EQ(ClickPoint.Y, 179);
}

TEST_F(Moves, ClickOnTheSelectedPieceDeselectsAndIsNotUsed) {
    ClickSquare(2, 3);
    EXPECT_FALSE(ClickSquare(2, 3));
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(CountSelected(), 0);
}

TEST_F(Moves, ClickOnAFarPieceMovesTheSelection) {
    ClickSquare(2, 3);
    EXPECT_TRUE(ClickSquare(5, 6));
    EXPECT_EQ(SelectStep, 1);
    EXPECT_EQ(SelectedSquare, (Square{5, 6}));
    EXPECT_EQ(CountSelected(), 1);
    EXPECT_EQ(CellAt({5, 6}).Selected, 1);
    EXPECT_EQ(EffectRequests, (std::vector<int>{9, 9}));
    // A diagonal square is not a neighbour either.
    EXPECT_TRUE(ClickSquare(6, 7));
    EXPECT_EQ(SelectedSquare, (Square{6, 7}));
}

TEST_F(Moves, ClickOnANeighbourFlagsTheSwap) {
    ClickSquare(2, 3);
    EXPECT_TRUE(ClickSquare(2, 4));
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(TargetSquare, (Square{2, 4}));
    EXPECT_EQ(CellAt({2, 4}).SwapTarget, 1);
    EXPECT_EQ(CellAt({2, 4}).Selected, 1);
    EXPECT_EQ(CellAt({2, 3}).Selected, 1);
    EXPECT_EQ(EffectRequests, std::vector<int>{9});
}

TEST_F(Moves, QuickSecondClickWithTheButtonAlreadyUpStillCounts) {
    ClickSquare(2, 3);
    MouseDown = 0;
    EXPECT_TRUE(PlayClick(MidX(3), MidY(3)));
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(CellAt({3, 3}).SwapTarget, 1);
}

TEST_F(Moves, ClickOffTheBoardDropsTheSelection) {
    ClickSquare(2, 3);
    EXPECT_FALSE(PlayClick(150, 30));
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(CountSelected(), 0);
}

TEST_F(Moves, DragOfTenPixelsPicksTheNeighbour) {
    ClickSquare(2, 3);
    PlayHover(MidX(2) + 9, MidY(3));
    EXPECT_EQ(CountSwapTargets(), 0);
    PlayHover(MidX(2) + 10, MidY(3));
    EXPECT_EQ(CellAt({3, 3}).SwapTarget, 1);
    EXPECT_EQ(SelectStep, 1);  // the swap starts on the next frame
    SwapAnimation(Frame);
    EXPECT_EQ(SelectStep, 3);
}

TEST_F(Moves, DragInEachDirection) {
    struct Case {
        int Dx, Dy;
        Square Target;
    };
    const Case cases[] = {{-10, 0, {1, 3}}, {0, -10, {2, 2}}, {0, 12, {2, 4}}, {25, 3, {3, 3}}};
    for (const Case& test : cases) {
        LoadBoard(QuietBoard);
        SelectStep = 0;
        ClickSquare(2, 3);
        PlayHover(MidX(2) + test.Dx, MidY(3) + test.Dy);
        EXPECT_EQ(CellAt(test.Target).SwapTarget, 1) << test.Dx << "," << test.Dy;
        EXPECT_EQ(CountSwapTargets(), 1);
    }
}

TEST_F(Moves, DragNeedsTheButtonHeld) {
    ClickSquare(2, 3);
    MouseDown = 0;
    PlayHover(MidX(2) + 20, MidY(3));
    EXPECT_EQ(CountSwapTargets(), 0);
}

TEST_F(Moves, DragOffTheBoardCancelsTheSelection) {
    ClickSquare(0, 3);
    PlayHover(230, MidY(3));
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(CountSelected(), 0);
    EXPECT_EQ(CountSwapTargets(), 0);
}

TEST_F(Moves, DragOutwardFromTheBorderDoesNothing) {
    ClickSquare(0, 3);
    PlayHover(MidX(0) - 10, MidY(3));  // still on the board, aiming left of column 0
    EXPECT_EQ(CountSwapTargets(), 0);
    EXPECT_EQ(SelectStep, 1);
    EXPECT_EQ(CellAt({0, 3}).Selected, 1);
    ClickSquare(7, 0);  // move the selection to the top-right corner
    ClickSquare(7, 0);
    ClickSquare(7, 0);
    PlayHover(MidX(7) + 10, MidY(0));  // right of column 7: outside the grid
    PlayHover(MidX(7), MidY(0) - 10);  // above row 0
    EXPECT_EQ(CountSwapTargets(), 0);
}

TEST_F(Moves, SlightlyDiagonalDragBesideTheBoardAimsAtNothing) {
    // Left edge: from column 0, 10 pixels left and down into row 4.
    ClickSquare(0, 3);
    PlayHover(MidX(0) - 10, MidY(3) + 26);
    EXPECT_EQ(CountSwapTargets(), 0);
    EXPECT_EQ(SelectStep, 1);
    // Top edge: pressed near column 3's left side, 10 up and a little left into column 2.
    ClickSquare(0, 3);
    MouseDown = 1;
    ASSERT_TRUE(PlayClick(387, MidY(0)));
    PlayHover(380, MidY(0) - 10);
    EXPECT_EQ(CountSwapTargets(), 0);
    EXPECT_EQ(CellAt({3, 0}).Selected, 1);
}

TEST_F(Moves, WhilePausedAClickOnlyResumesAndADragSwapsNothing) {
    ClickSquare(2, 3);
    Paused = 1;
    PlayHover(MidX(2) + 12, MidY(3));  // a drag under the banner
    EXPECT_EQ(CountSwapTargets(), 0);
    EXPECT_TRUE(ClickSquare(5, 5));
    EXPECT_EQ(Paused, 0);
    EXPECT_EQ(CellAt({5, 5}).Selected, 0);
    Paused = 1;
    EXPECT_TRUE(PlayClick(60, 420));  // the menu button still leaves
    EXPECT_EQ(ScreenState, MainMenu);
}

TEST_F(Moves, SwapWithoutALineSlidesBack) {
    const std::string before = BoardKinds();
    ClickSquare(2, 3);
    ClickSquare(3, 3);
    SwapAnimation(Frame);
    EXPECT_EQ(SelectStep, 3);
    EXPECT_EQ(CellAt({2, 3}).X, 336.0f + 2.5f);
    EXPECT_EQ(CellAt({3, 3}).X, 386.0f - 2.5f);
    // 21 frames to the far side (52.5 px), 21 back.
    EXPECT_EQ(RunUntilRest(), 20 + 21);
    EXPECT_EQ(BoardKinds(), before);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(SwapCount, 0);
    EXPECT_EQ(CountSelected(), 0);
    EXPECT_EQ(CountSwapTargets(), 0);
    EXPECT_TRUE(AllAtHome());
}

TEST_F(Moves, VerticalSwapSlidesUpAndDown) {
    ClickSquare(4, 5);
    ClickSquare(4, 4);
    SwapAnimation(Frame);
    EXPECT_EQ(CellAt({4, 5}).Y, 254.0f - 2.5f);
    EXPECT_EQ(CellAt({4, 4}).Y, 204.0f + 2.5f);
}

TEST_F(Moves, SwapThatMakesALineClearsIt) {
    Place(7, {{2, 3}, {3, 3}, {4, 4}});  // H1: swap (4,4) with (4,3)
    ClickSquare(4, 3);
    ClickSquare(4, 4);
    for (int i = 0; i < 20; ++i) SwapAnimation(Frame);
    EXPECT_EQ(Score, 0);
    SwapAnimation(Frame);
    EXPECT_EQ(Score, 5);
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(CountSwapTargets(), 0);
    EXPECT_EQ(CountSelected(), 0);
    EXPECT_EQ(::Falling, 1);
    EXPECT_EQ(BoardKinds().substr(27, 8), "13...024");
    EXPECT_EQ(FlyingPieces.size(), 3u);
    RunUntilRest();
    EXPECT_TRUE(BoardFull());
    EXPECT_FALSE(AnyMatch());
    EXPECT_TRUE(AllAtHome());
    EXPECT_GE(Score, 10);
}

TEST_F(Moves, HintCostsByMode) {
    Place(7, {{2, 3}, {3, 3}, {4, 4}});
    struct Case {
        uint8_t Mode;
        float Bar;
        int32_t ScoreAfter;
        float BarAfter;
    };
    const Case cases[] = {{Untimed, 0.0f, -10, -4.0f},
                          {Timed, 8.0f, 0, 8.0f},
                          {Timed, 10.0f, 0, 10.0f},
                          {Timed, 10.5f, -10, 6.5f},
                          {Untimed, 30.0f, -10, 26.0f}};
    for (const Case& test : cases) {
        GameMode = test.Mode;
        LevelBar = test.Bar;
        Score = 0;
        HintActive = 0;
        EXPECT_TRUE(PlayClick(52, 137));
        EXPECT_EQ(HintActive, 1);
        EXPECT_EQ(Score, test.ScoreAfter);
        EXPECT_EQ(LevelBar, test.BarAfter);
    }
    EXPECT_EQ(EffectRequests, (std::vector<int>{3, 3, 3, 3, 3}));
    EXPECT_EQ(HintMove.First, (Square{4, 4}));
    EXPECT_EQ(HintMove.Second, (Square{4, 3}));
}

TEST_F(Moves, HintDropsTheSelectionAndSlidesThereAndBack) {
    Place(7, {{2, 3}, {3, 3}, {4, 4}});
    const std::string before = BoardKinds();
    ClickSquare(1, 1);
    EXPECT_TRUE(PlayClick(52, 137));
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(CountSelected(), 0);
    EXPECT_FALSE(PlayClick(MidX(1), MidY(1)));  // clicks wait while the hint shows
    HintAnimation(Frame);
    EXPECT_EQ(CellAt({4, 4}).Y, 204.0f - 2.5f);  // First rises toward Second
    EXPECT_EQ(CellAt({4, 3}).Y, 154.0f + 2.5f);
    EXPECT_EQ(CellAt({4, 4}).Selected, 1);
    EXPECT_EQ(CellAt({4, 3}).Selected, 1);
    // 50 pixels at 2.5 per frame, twice.
    EXPECT_EQ(RunUntilRest(), 39);
    EXPECT_EQ(BoardKinds(), before);
    EXPECT_TRUE(AllAtHome());
    EXPECT_EQ(CountSelected(), 0);
    EXPECT_EQ(Score, -10);
}

TEST_F(Moves, HintButtonIsIgnoredWhileASwapIsPending) {
    ClickSquare(2, 3);
    ClickSquare(3, 3);
    EXPECT_FALSE(PlayClick(52, 137));
    EXPECT_EQ(HintActive, 0);
    EXPECT_EQ(EffectRequests, std::vector<int>{9});
}

TEST_F(Moves, HintButtonIsAnEllipse) {
    EXPECT_TRUE(PlayClick(14, 137));
    HintActive = 0;
    EXPECT_TRUE(PlayClick(90, 138));
    HintActive = 0;
    EXPECT_FALSE(PlayClick(15, 101));  // inside the rectangle, outside the ellipse
    EXPECT_FALSE(PlayClick(91, 137));
}

TEST_F(Moves, InputWaitsForAFullBoardAndThePlayingPhase) {
    CellAt({6, 6}).Kind = EmptyKind;
    EXPECT_FALSE(ClickSquare(2, 3));
    EXPECT_EQ(CountSelected(), 0);
    LoadBoard(QuietBoard);

    const std::vector<void (*)()> closers = {
        [] { ScreenState = MainMenu; },
        [] { PlayPhase = 2; },
        [] { GameWon = 1; },
        [] { DropIn = 1; },
        [] { ClearOut = 1; },
    };
    for (auto close : closers) {
        close();
        EXPECT_FALSE(ClickSquare(2, 3));
        EXPECT_FALSE(PlayClick(52, 137));
        PlayHover(50, 400);
        EXPECT_EQ(MenuHover, 0);
        ScreenState = Play;
        PlayPhase = 1;
        GameWon = 0;
        DropIn = 0;
        ClearOut = 0;
    }
    EXPECT_EQ(CountSelected(), 0);
    EXPECT_TRUE(EffectRequests.empty());
    // Paused play still takes input.
    Paused = 1;
    EXPECT_TRUE(ClickSquare(2, 3));
}

TEST_F(Moves, MenuButtonLeavesForTheMainMenu) {
    MixerIdle = 0;
    MenuHighlight = 2;
    MenuPicture = 1;
    MenuHover = 1;
    const std::string before = BoardKinds();
    EXPECT_TRUE(PlayClick(9, 376));
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_EQ(MenuHighlight, 6);
    EXPECT_EQ(MenuPicture, 5);
    EXPECT_EQ(MixerIdle, 1);
    EXPECT_EQ(MenuHover, 0);
    EXPECT_EQ(ShatterRequested, 1);
    EXPECT_EQ(CurrentTrack, 0);
    EXPECT_EQ(EffectRequests, std::vector<int>{1});
    EXPECT_EQ(BoardKinds(), before);
    // The random generator was re-seeded with the tick count.
    const int next = Random();
    SeedRandom(1000);
    EXPECT_EQ(next, Random());
    // Its right and bottom edges are outside.
    ScreenState = Play;
    EXPECT_FALSE(PlayClick(117, 400));
    EXPECT_FALSE(PlayClick(50, 473));
}

TEST_F(Moves, HoverSoundsOnceForTouchingButtons) {
    PlayHover(50, 400);
    EXPECT_EQ(MenuHover, 1);
    PlayHover(60, 410);
    EXPECT_EQ(EffectRequests, std::vector<int>{0});
    PanAnim = 2.0f;
    PlayHover(52, 137);  // straight onto the pan: the latch still holds
    EXPECT_EQ(MenuHover, 0);
    EXPECT_EQ(PanHover, 1);
    EXPECT_EQ(PanAnim, 2.0f);
    EXPECT_EQ(EffectRequests, std::vector<int>{0});
    PlayHover(400, 200);  // off both
    EXPECT_EQ(PanHover, 0);
    EXPECT_EQ(PanAnim, 0.0f);
    EXPECT_EQ(HoverLatch, 0);
    PlayHover(52, 137);
    EXPECT_EQ(EffectRequests, (std::vector<int>{0, 0}));
    // Hover works while a hint shows.
    HintActive = 1;
    PlayHover(50, 400);
    EXPECT_EQ(MenuHover, 1);
}

TEST_F(Moves, RandomLegalSwapsAlwaysSettleOnAFullQuietBoard) {
    // Random neighbour swaps, some making lines and some sliding back, each driven to rest.
    SeedRandom(2024);
    NewBoard(6);
    for (int move = 0; move < 300; ++move) {
        SCOPED_TRACE(move);
        if (PlayPhase != 1) {
            PlayPhase = 1;
            NewBoard(6);
        }
        Square first{};
        Square second{};
        if (Random() % 3 != 0 && AnyMovePossible()) {
            FindHint();
            first = HintMove.Second;
            second = HintMove.First;
        } else {
            first = {Random() % 7, Random() % 7};
            second = Random() % 2 ? Square{first.Column + 1, first.Row}
                                  : Square{first.Column, first.Row + 1};
        }
        HintActive = 0;
        ASSERT_TRUE(ClickSquare(first.Column, first.Row));
        ASSERT_TRUE(ClickSquare(second.Column, second.Row));
        ASSERT_LT(RunUntilRest(), 2000);
        ASSERT_TRUE(BoardFull());
        ASSERT_FALSE(AnyMatch());
        ASSERT_TRUE(AllAtHome());
        ASSERT_EQ(CountSwapTargets(), 0);
        ASSERT_EQ(CountSelected(), 0);
        ASSERT_EQ(SelectStep, 0);
        for (int32_t mark : RemoveMark) ASSERT_EQ(mark, 0);
        for (const Cell& slot : SpawnSlot) ASSERT_EQ(slot.Kind, EmptyKind);
        FlyingPieces.clear();
    }
}
