// Tests of clearing, falling and scoring: points, level bar, fall speeds, chains, no moves.
#include "game/falling.h"

#include <gtest/gtest.h>

#include <vector>

#include "audio/sound_effects.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/moves.h"
#include "platform/clock.h"
#include "test_boards.h"

namespace {
// One 64th of a second: fall steps of 3, 4 and 5 (x 100 px/s) move exactly 4.6875, 6.25 and
// 7.8125 pixels per frame, so a step takes 11, 8 and 7 frames.
constexpr float Frame = 1.0f / 64.0f;

class Falling : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::UseManualClock(1000);
        KindCount = 6;
        GameMode = Untimed;
        LoadBoard(QuietBoard);
    }

    // Runs fall frames, the clock moving on with them, until the board settles; returns the
    // number of frames.
    int Settle() {
        int frames = 0;
        while (::Falling != 0 && frames < 1000) {
            platform::AdvanceManualClock(Frame);
            AdvanceFall(Frame);
            ++frames;
        }
        return frames;
    }
};
}  // namespace

TEST_F(Falling, RowLineOfThreeScoresTenInOneStep) {
    Place(7, {{0, 7}, {1, 7}, {2, 7}});
    MarkMatches();
    ClearingPass();
    EXPECT_EQ(Score, 5);
    EXPECT_EQ(ComboLevel, 1);
    EXPECT_EQ(BoardKinds().substr(63), "...34022");
    EXPECT_EQ(FallColumn[0].Removed, 1);
    EXPECT_EQ(FallColumn[0].LowestRow, 7);
    EXPECT_EQ(FallColumn[3].Removed, 0);
    EXPECT_EQ(Settle(), 11);
    EXPECT_EQ(Score, 10);
    EXPECT_FLOAT_EQ(LevelBar, 1.2f);
    EXPECT_EQ(FallSpeed, 4);
    // Columns 0..2 moved down one row; row 0 holds the spawned pieces.
    EXPECT_EQ(BoardKinds().substr(3),
              "34120/30420301/41344211/00203024/13121412/20131434/44302021/44234022");
    EXPECT_LT(KindAt(0, 0), 6);
    EXPECT_TRUE(BoardFull());
    EXPECT_TRUE(AllAtHome());
    for (int c = 0; c < 8; ++c) EXPECT_EQ(SpawnSlot[c].Kind, EmptyKind);
}

TEST_F(Falling, ColumnLineOfThreeTakesThreeStepsAndScoresTwenty) {
    Place(7, {{3, 2}, {3, 3}, {3, 4}});
    MarkMatches();
    ClearingPass();
    // The slot keeps the draw made for the topmost square: seed 1000 draws 4, 1, 5 (mod 6).
    EXPECT_EQ(SpawnSlot[3].Kind, 5);
    EXPECT_EQ(FallColumn[3].LowestRow, 4);

    AdvanceFall(Frame);
    EXPECT_EQ(SpawnSlot[3].Y, -46.0f + 4.6875f);
    EXPECT_EQ(CellAt({3, 0}).Y, 4.0f + 4.6875f);
    EXPECT_EQ(CellAt({3, 1}).Y, 54.0f + 4.6875f);
    EXPECT_EQ(CellAt({3, 5}).Y, 254.0f);  // below the gap: stays
    EXPECT_EQ(CellAt({2, 0}).Y, 4.0f);    // another column: stays

    // 300 px/s (11 frames), 400 px/s (8 frames), 500 px/s (7 frames); 1 frame is done.
    EXPECT_EQ(Settle(), 10 + 8 + 7);
    EXPECT_EQ(FallSpeed, 6);
    EXPECT_EQ(Score, 20);
    EXPECT_NEAR(LevelBar, 4 * 0.2 * 3, 1e-5);
    EXPECT_TRUE(BoardFull());
    EXPECT_TRUE(AllAtHome());
    // The column's old pieces moved down three rows under three new ones.
    EXPECT_EQ(KindAt(3, 2), 5);  // the first spawn
    EXPECT_EQ(KindAt(3, 3), 3);
    EXPECT_EQ(KindAt(3, 4), 2);
    EXPECT_EQ(KindAt(3, 5), 3);
}

TEST_F(Falling, GapOnlyInRowZeroMovesOnlyTheSpawnSlot) {
    Place(7, {{5, 0}, {6, 0}, {7, 0}});
    MarkMatches();
    ClearingPass();
    EXPECT_EQ(FallColumn[5].Removed, 1);
    EXPECT_EQ(FallColumn[5].LowestRow, 0);
    AdvanceFall(Frame);
    EXPECT_EQ(SpawnSlot[5].Y, -46.0f + 4.6875f);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(CellAt({5, r}).Y, 4.0f + 50 * r);
    const uint8_t spawned = SpawnSlot[5].Kind;
    EXPECT_EQ(Settle(), 10);
    EXPECT_EQ(KindAt(5, 0), spawned);
    EXPECT_EQ(KindAt(5, 1), 3);  // the rest of the column is where it was
}

TEST_F(Falling, LineOfFiveKeepsComboThreeAndScoresThirty) {
    Place(7, {{0, 7}, {1, 7}, {2, 7}, {3, 7}, {4, 7}});
    MarkMatches();
    ClearingPass();
    EXPECT_EQ(ComboLevel, 3);
    Settle();
    EXPECT_EQ(ComboLevel, 3);
    EXPECT_EQ(Score, 30);
    EXPECT_NEAR(LevelBar, 2 * 3 * 0.2 * 3, 1e-5);
}

TEST_F(Falling, ComboLevelFollowsTheCountOfRemovedSquares) {
    // Marks set by hand: count -> combo level; fewer than three keep the last level.
    const std::vector<std::pair<int, int>> cases = {{3, 1}, {4, 2},  {5, 3}, {6, 4},
                                                    {7, 5}, {12, 5}, {2, 5}, {0, 5}};
    for (auto [count, combo] : cases) {
        LoadBoard(QuietBoard);
        for (int i = 0; i < count; ++i) RemoveMark[i * 5] = 1;
        ClearingPass();
        EXPECT_EQ(ComboLevel, combo) << count;
    }
}

TEST_F(Falling, SettledLineStartsAChainAtRestSpeed) {
    // Row 7 loses 7,7,7 in columns 0..2; row 6's 6,6 drop beside the 6 at (3,7): a chain.
    Place(7, {{0, 7}, {1, 7}, {2, 7}});
    Place(6, {{1, 6}, {2, 6}, {3, 7}});
    MarkMatches();
    ClearingPass();
    for (int i = 0; i < 10; ++i) AdvanceFall(Frame);
    EXPECT_EQ(FallSpeed, 3);
    AdvanceFall(Frame);  // the step completes; the settled board holds 6,6,6 in row 7
    EXPECT_EQ(FallSpeed, 3);
    EXPECT_EQ(::Falling, 1);
    EXPECT_EQ(BoardKinds().substr(63), "4...4022");
    EXPECT_EQ(RemoveMark[CellIndex(1, 7)], 1);
    EXPECT_EQ(RemoveMark[CellIndex(3, 7)], 1);
    EXPECT_EQ(Score, 15);  // 5 for the line, 5 for the settling pass, 5 for the chain
    Settle();
    EXPECT_TRUE(BoardFull());
    EXPECT_FALSE(AnyMatch());
    EXPECT_TRUE(AllAtHome());
}

TEST_F(Falling, NoMoveEndsAnUntimedGame) {
    ComboLevel = 1;
    ClearingPass();
    EXPECT_EQ(EffectRequests, std::vector<int>{4});
    EXPECT_EQ(PlayPhase, 0);
}

TEST_F(Falling, NoMoveReplacesATimedBoard) {
    GameMode = Timed;
    ComboLevel = 1;
    LevelBar = 50.0f;
    ClearingPass();
    EXPECT_EQ(EffectRequests, std::vector<int>{4});
    EXPECT_EQ(PlayPhase, 4);
}

TEST_F(Falling, NoMoveWithAFullBarLeavesThePhase) {
    GameMode = Timed;
    ComboLevel = 1;
    LevelBar = 72.5f;  // the pass adds 0.6: the bar is full
    ClearingPass();
    EXPECT_EQ(EffectRequests, std::vector<int>{4});
    EXPECT_EQ(PlayPhase, 1);
}

TEST_F(Falling, NoMoveIsNotJudgedWhileAHintShowsOrPiecesFall) {
    HintActive = 1;
    ClearingPass();
    EXPECT_TRUE(EffectRequests.empty());
    EXPECT_EQ(PlayPhase, 1);
    HintActive = 0;
    RemoveMark[CellIndex(4, 4)] = 1;
    ClearingPass();
    EXPECT_TRUE(EffectRequests.empty());
    EXPECT_EQ(PlayPhase, 1);
}

TEST_F(Falling, NoMoveIsJudgedOnlyOnASettledBoardWithoutALine) {
    // A chain's line still stands on the full board; the quiet board has no move besides it.
    Place(5, {{0, 0}, {1, 0}, {2, 0}});
    ASSERT_FALSE(AnyMovePossible());
    ComboLevel = 1;
    ClearingPass();
    EXPECT_TRUE(EffectRequests.empty());
    EXPECT_EQ(PlayPhase, 1);
}
