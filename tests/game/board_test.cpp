// Tests of the board model: border reads, swaps, selection, new boards and the cell layout.
#include "game/board.h"

#include <gtest/gtest.h>

#include <cstring>

#include "game/matching.h"
#include "platform/clock.h"
#include "shared/random.h"
#include "test_boards.h"

TEST(Board, KindAtReads150BeyondEveryBorder) {
    LoadBoard(QuietBoard);
    EXPECT_EQ(KindAt(-1, 3), 150);
    EXPECT_EQ(KindAt(8, 0), 150);
    EXPECT_EQ(KindAt(2, -1), 150);
    EXPECT_EQ(KindAt(0, 8), 150);
    EXPECT_EQ(KindAt(0, 0), 3);
    EXPECT_EQ(KindAt(7, 0), 0);
    EXPECT_EQ(KindAt(0, 7), 3);
    EXPECT_EQ(KindAt(7, 7), 2);
}

TEST(Board, FullOnlyWithoutEmptyCells) {
    const char* const empty[8] = {"........", "........", "........", "........",
                                  "........", "........", "........", "........"};
    LoadBoard(empty);
    EXPECT_FALSE(BoardFull());
    LoadBoard(QuietBoard);
    EXPECT_TRUE(BoardFull());
    CellAt({5, 6}).Kind = EmptyKind;
    EXPECT_FALSE(BoardFull());
}

TEST(Board, SwapCellsCarriesPositionKindFrameAndFlags) {
    LoadBoard(QuietBoard);
    Cell& a = CellAt({2, 3});
    a.Frame = 7.5f;
    a.Selected = 1;
    SwapCells({2, 3}, {3, 3});
    const Cell& moved = CellAt({3, 3});
    EXPECT_EQ(moved.X, 336.0f);  // still the old square's position until SetHome
    EXPECT_EQ(moved.Y, 154.0f);
    EXPECT_EQ(moved.Kind, 1);
    EXPECT_EQ(moved.Frame, 7.5f);
    EXPECT_EQ(moved.Selected, 1);
    EXPECT_EQ(CellAt({2, 3}).Kind, 0);
    EXPECT_EQ(CellAt({2, 3}).X, 386.0f);
    SetHome(3, 3);
    EXPECT_EQ(CellAt({3, 3}).X, 386.0f);
}

TEST(Board, ClearSelectionLeavesTheSwapTarget) {
    LoadBoard(QuietBoard);
    CellAt({1, 1}).Selected = 1;
    CellAt({1, 2}).Selected = 1;
    CellAt({1, 2}).SwapTarget = 1;
    ClearSelection();
    EXPECT_EQ(CellAt({1, 1}).Selected, 0);
    EXPECT_EQ(CellAt({1, 2}).Selected, 0);
    EXPECT_EQ(CellAt({1, 2}).SwapTarget, 1);
}

TEST(Board, NewBoardHasNoTriplesAMoveAndRestingSpawnSlots) {
    platform::UseManualClock(0);
    for (int kinds = 6; kinds <= 8; ++kinds) {
        // A deal without a move is about one in a thousand with eight kinds.
        for (uint64_t start = 0; start < 3000; ++start) {
            platform::UseManualClock(start * 7919);
            KindCount = kinds;
            NewBoard(kinds);
            ASSERT_TRUE(AnyMovePossible());
            for (int c = 0; c < 8; ++c) {
                for (int r = 0; r < 8; ++r) {
                    const uint8_t k = KindAt(c, r);
                    ASSERT_LT(k, kinds);
                    ASSERT_FALSE(KindAt(c + 1, r) == k && KindAt(c + 2, r) == k);
                    ASSERT_FALSE(KindAt(c, r + 1) == k && KindAt(c, r + 2) == k);
                    const Cell& cell = CellAt({c, r});
                    ASSERT_EQ(cell.X, 236.0f + 50 * c);
                    ASSERT_EQ(cell.Y, 4.0f + 50 * r);
                    ASSERT_EQ(cell.Frame, 0.0f);
                    ASSERT_EQ(cell.Selected + cell.SwapTarget, 0);
                }
                ASSERT_EQ(SpawnSlot[c].Kind, EmptyKind);
                ASSERT_EQ(SpawnSlot[c].X, 236.0f + 50 * c);
                ASSERT_EQ(SpawnSlot[c].Y, -46.0f);
            }
        }
    }
}

TEST(Board, NewBoardIsSeededFromTheTickCount) {
    platform::UseManualClock(123456);
    NewBoard(6);
    const std::string first = BoardKinds();
    SeedRandom(99);  // a different generator state does not matter: the board re-seeds
    NewBoard(6);
    EXPECT_EQ(BoardKinds(), first);
    platform::AdvanceManualClock(0.001);
    NewBoard(6);
    EXPECT_NE(BoardKinds(), first);
}

TEST(Board, RerollTriplesRedrawsEveryStandingLine) {
    KindCount = 6;
    const char* const lines[8] = {"00000000", "11111111", "22222222", "33333333",
                                  "44444444", "55555555", "00000000", "11111111"};
    LoadBoard(lines);
    SeedRandom(5);
    RerollTriples();
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 8; ++r) {
            const uint8_t k = KindAt(c, r);
            ASSERT_LT(k, 6);
            ASSERT_FALSE(KindAt(c + 1, r) == k && KindAt(c + 2, r) == k);
            ASSERT_FALSE(KindAt(c, r + 1) == k && KindAt(c, r + 2) == k);
        }
    }
}

TEST(Board, ScreenPointsMapToSquaresByTruncation) {
    EXPECT_EQ(SquareAt(236, 4), (Square{0, 0}));
    EXPECT_EQ(SquareAt(285, 53), (Square{0, 0}));
    EXPECT_EQ(SquareAt(286, 54), (Square{1, 1}));
    EXPECT_EQ(SquareAt(635, 403), (Square{7, 7}));
    EXPECT_EQ(SquareAt(636, 404), (Square{8, 8}));
    // Up to 49 pixels left of the board still truncates to column 0; 50 gives column -1.
    EXPECT_EQ(SquareAt(190, 100).Column, 0);
    EXPECT_EQ(SquareAt(186, 100).Column, -1);
    EXPECT_TRUE(BoardArea.Contains(236, 4));
    EXPECT_FALSE(BoardArea.Contains(636, 200));
    EXPECT_FALSE(BoardArea.Contains(300, 404));
    EXPECT_TRUE(Neighbours({3, 3}, {4, 3}));
    EXPECT_TRUE(Neighbours({3, 3}, {3, 2}));
    EXPECT_FALSE(Neighbours({3, 3}, {4, 4}));
    EXPECT_FALSE(Neighbours({3, 3}, {3, 3}));
    EXPECT_FALSE(Neighbours({3, 3}, {5, 3}));
}

TEST(Board, CellBytesFollowTheSaveLayout) {
    Cell cell{};
    cell.X = 286.0f;  // 0x438F0000
    cell.Y = -46.0f;  // 0xC2380000
    cell.Kind = 7;
    cell.Reserved1[1] = 0xAB;  // never written
    cell.Frame = 12.5f;        // 0x41480000
    cell.SwapTarget = 1;
    cell.Selected = 1;
    cell.Reserved2[0] = 0xCD;
    uint8_t bytes[20];
    std::memset(bytes, 0xEE, sizeof bytes);
    WriteCellBytes(cell, bytes);
    const uint8_t expected[20] = {0x00, 0x00, 0x8F, 0x43, 0x00, 0x00, 0x38, 0xC2, 7, 0,
                                  0,    0,    0x00, 0x00, 0x48, 0x41, 1,    1,    0, 0};
    EXPECT_EQ(std::memcmp(bytes, expected, sizeof bytes), 0);
    const Cell back = ReadCellBytes(expected);
    EXPECT_EQ(back.X, 286.0f);
    EXPECT_EQ(back.Y, -46.0f);
    EXPECT_EQ(back.Kind, 7);
    EXPECT_EQ(back.Frame, 12.5f);
    EXPECT_EQ(back.SwapTarget, 1);
    EXPECT_EQ(back.Selected, 1);
}
