// Tests of match detection, removal marks, flying copies and the move search.
#include "game/matching.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/flying_piece.h"
#include "game/play_screen.h"
#include "test_boards.h"

namespace {
// One hint pattern placed at a border, with the swap the hint must show.
struct BorderCase {
    const char* Name;
    std::vector<Square> Pieces;
    Square First;
    Square Second;
};

// Every pattern at the border its guard allows, with First and Second written out.
const std::vector<BorderCase> BorderCases = {
    {"H1", {{5, 6}, {6, 6}, {7, 7}}, {7, 7}, {7, 6}},
    {"H2", {{5, 1}, {6, 1}, {7, 0}}, {7, 1}, {7, 0}},
    {"H3", {{5, 6}, {6, 7}, {7, 6}}, {6, 7}, {6, 6}},
    {"H4", {{5, 1}, {6, 0}, {7, 1}}, {6, 1}, {6, 0}},
    {"H5", {{5, 6}, {6, 7}, {7, 7}}, {5, 7}, {5, 6}},
    {"H6", {{5, 7}, {6, 6}, {7, 6}}, {5, 7}, {5, 6}},
    {"H7", {{4, 7}, {5, 7}, {7, 7}}, {7, 7}, {6, 7}},
    {"H8", {{4, 0}, {6, 0}, {7, 0}}, {5, 0}, {4, 0}},
    {"V1", {{6, 5}, {6, 6}, {7, 7}}, {7, 7}, {6, 7}},
    {"V2", {{1, 5}, {1, 6}, {0, 7}}, {1, 7}, {0, 7}},
    {"V3", {{6, 5}, {7, 6}, {6, 7}}, {7, 6}, {6, 6}},
    {"V4", {{1, 5}, {0, 6}, {1, 7}}, {1, 6}, {0, 6}},
    {"V5", {{0, 5}, {1, 6}, {1, 7}}, {1, 5}, {0, 5}},
    {"V6", {{7, 5}, {6, 6}, {6, 7}}, {7, 5}, {6, 5}},
    {"V7", {{7, 4}, {7, 5}, {7, 7}}, {7, 7}, {7, 6}},
    {"V8", {{0, 4}, {0, 6}, {0, 7}}, {0, 5}, {0, 4}},
    // The same shapes against the top and left borders.
    {"H1 top-left", {{0, 0}, {1, 0}, {2, 1}}, {2, 1}, {2, 0}},
    {"H5 top-left", {{0, 0}, {1, 1}, {2, 1}}, {0, 1}, {0, 0}},
    {"H8 left", {{0, 3}, {2, 3}, {3, 3}}, {1, 3}, {0, 3}},
    {"V2 left", {{1, 0}, {1, 1}, {0, 2}}, {1, 2}, {0, 2}},
    {"V6 top", {{1, 0}, {0, 1}, {0, 2}}, {1, 0}, {0, 0}},
    {"V7 top", {{3, 0}, {3, 1}, {3, 3}}, {3, 3}, {3, 2}},
};

void PlaceCase(const BorderCase& test) {
    LoadBoard(QuietBoard);
    for (Square s : test.Pieces) Place(7, {s});
}
}  // namespace

TEST(Matching, QuietBoardHasNoLineAndNoMove) {
    LoadBoard(QuietBoard);
    EXPECT_FALSE(AnyMatch());
    EXPECT_FALSE(AnyMovePossible());
}

TEST(Matching, EveryPatternAtTheBordersGivesItsHint) {
    for (const BorderCase& test : BorderCases) {
        SCOPED_TRACE(test.Name);
        PlaceCase(test);
        EXPECT_FALSE(AnyMatch());
        EXPECT_TRUE(AnyMovePossible());
        HintMove = {};
        FindHint();
        EXPECT_EQ(HintMove.First, test.First);
        EXPECT_EQ(HintMove.Second, test.Second);
        // The hinted swap really makes a line.
        SwapCells(HintMove.First, HintMove.Second);
        EXPECT_TRUE(AnyMatch());
    }
}

TEST(Matching, PatternsNeverReachAcrossTheBorder) {
    // Shapes that would be moves if the board wrapped or went on.
    const std::vector<std::vector<Square>> cut = {
        {{6, 3}, {7, 3}, {0, 4}},  // a row continuing into the next column's top
        {{6, 7}, {7, 7}, {7, 0}},  // H2 wrapped over the top
        {{3, 6}, {3, 7}, {4, 0}},  // V1 wrapped over the bottom
        {{5, 2}, {6, 2}, {0, 2}},  // H7 wrapped round the row
    };
    for (const auto& pieces : cut) {
        LoadBoard(QuietBoard);
        for (Square s : pieces) Place(7, {s});
        EXPECT_FALSE(AnyMovePossible());
    }
}

TEST(Matching, HintScanPicksTopmostThenLeftmostThenPatternOrder) {
    // A V5 move anchored at (0,1) and an H1 move anchored at (5,0): the row-0 anchor wins,
    // although a column-first scan would meet the column-0 move first.
    LoadBoard(QuietBoard);
    Place(7, {{0, 1}, {1, 2}, {1, 3}});  // V5 at (1,1): First (1,1), Second (0,1)
    Place(6, {{5, 0}, {6, 0}, {7, 1}});  // H1 at (5,0): First (7,1), Second (7,0)
    FindHint();
    EXPECT_EQ(HintMove.First, (Square{7, 1}));
    EXPECT_EQ(HintMove.Second, (Square{7, 0}));

    // Two moves anchored in the same row: the left one wins.
    LoadBoard(QuietBoard);
    Place(7, {{4, 4}, {5, 4}, {6, 5}});  // H1 at (4,4)
    Place(6, {{1, 4}, {2, 5}, {3, 4}});  // H3 at (1,4): First (2,5), Second (2,4)
    FindHint();
    EXPECT_EQ(HintMove.First, (Square{2, 5}));
    EXPECT_EQ(HintMove.Second, (Square{2, 4}));

    // H1 and V1 at the same anchor: H1 comes first.
    LoadBoard(QuietBoard);
    Place(7, {{2, 2}, {3, 2}, {4, 3}, {2, 3}, {3, 4}});
    FindHint();
    EXPECT_EQ(HintMove.First, (Square{4, 3}));
    EXPECT_EQ(HintMove.Second, (Square{4, 2}));
}

TEST(Matching, OnlyH7GivesRightHandPieceAndItsLeftNeighbour) {
    LoadBoard(QuietBoard);
    Place(7, {{2, 4}, {3, 4}, {5, 4}});
    FindHint();
    EXPECT_EQ(HintMove.First, (Square{5, 4}));
    EXPECT_EQ(HintMove.Second, (Square{4, 4}));
}

TEST(Matching, NoMoveLeavesThePreviousHint) {
    LoadBoard(QuietBoard);
    HintMove = {{4, 2}, {3, 2}};
    FindHint();
    EXPECT_EQ(HintMove.First, (Square{4, 2}));
    EXPECT_EQ(HintMove.Second, (Square{3, 2}));
}

TEST(Matching, StandingLineIsNotAMove) {
    LoadBoard(QuietBoard);
    Place(7, {{3, 3}, {4, 3}, {5, 3}});
    EXPECT_TRUE(AnyMatch());
    EXPECT_FALSE(AnyMovePossible());
}

TEST(Matching, AnyMatchFindsLinesAtEveryBorderButNotBeyond) {
    LoadBoard(QuietBoard);
    Place(7, {{0, 5}, {0, 6}, {0, 7}});
    EXPECT_TRUE(AnyMatch());
    LoadBoard(QuietBoard);
    Place(7, {{5, 0}, {6, 0}, {7, 0}});
    EXPECT_TRUE(AnyMatch());
    // Two at the bottom of a column: the square below reads 150 and never matches.
    LoadBoard(QuietBoard);
    Place(7, {{4, 6}, {4, 7}});
    EXPECT_FALSE(AnyMatch());
}

TEST(Matching, LineOfThreeMarksThreeAndLaunchesThreeCopies) {
    LoadBoard(QuietBoard);
    Place(7, {{2, 3}, {3, 3}, {4, 3}});
    MarkMatches();
    for (int i = 0; i < 64; ++i) {
        const bool inLine = i == CellIndex(2, 3) || i == CellIndex(3, 3) || i == CellIndex(4, 3);
        EXPECT_EQ(RemoveMark[i], inLine ? 1 : 0) << i;
    }
    ASSERT_EQ(FlyingPieces.size(), 3u);
    EXPECT_EQ(MatchSoundPending, 1);
    // Newest first: the launch order was left end, right end, centre.
    auto it = FlyingPieces.begin();
    EXPECT_EQ(it->X, 386.0f);  // centre (3,3)
    ++it;
    EXPECT_EQ(it->X, 436.0f);  // right end (4,3)
    ++it;
    const FlyingPiece& left = *it;
    EXPECT_EQ(left.X, 336.0f);
    EXPECT_EQ(left.Y, 154.0f);
    EXPECT_EQ(left.Kind, 7);
    EXPECT_EQ(left.Size, 50.0f);
    EXPECT_EQ(left.SpeedX, 245.0f);
    EXPECT_EQ(left.SpeedY, -126.0f);
}

TEST(Matching, FlyingCopiesBelowTheMixerMouthHeadUp) {
    LoadBoard(QuietBoard);
    Place(7, {{0, 7}, {1, 7}, {2, 7}});
    MarkMatches();
    const FlyingPiece& centre = FlyingPieces.front();
    EXPECT_EQ(centre.X, 286.0f);
    EXPECT_EQ(centre.Y, 354.0f);
    EXPECT_EQ(centre.SpeedX, 195.0f);
    EXPECT_EQ(centre.SpeedY, -94.0f);  // 260 - 354
}

TEST(Matching, LinesOfFourAndFiveLaunchOneCopyPerSquarePerTriple) {
    LoadBoard(QuietBoard);
    Place(7, {{1, 2}, {2, 2}, {3, 2}, {4, 2}});
    MarkMatches();
    int marks = 0;
    for (int32_t m : RemoveMark) marks += m;
    EXPECT_EQ(marks, 4);
    EXPECT_EQ(FlyingPieces.size(), 6u);

    FlyingPieces.clear();
    LoadBoard(QuietBoard);
    Place(6, {{5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}});
    MarkMatches();
    marks = 0;
    for (int32_t m : RemoveMark) marks += m;
    EXPECT_EQ(marks, 5);
    EXPECT_EQ(FlyingPieces.size(), 9u);
}

TEST(Matching, LAndTShapesMarkFiveSquares) {
    // L: a row triple and a column triple sharing their end square.
    LoadBoard(QuietBoard);
    Place(7, {{2, 5}, {3, 5}, {4, 5}, {2, 6}, {2, 7}});
    MarkMatches();
    int marks = 0;
    for (int32_t m : RemoveMark) marks += m;
    EXPECT_EQ(marks, 5);
    EXPECT_EQ(FlyingPieces.size(), 6u);
    EXPECT_EQ(RemoveMark[CellIndex(2, 5)], 1);
    EXPECT_EQ(RemoveMark[CellIndex(2, 7)], 1);

    // T: the column triple hangs from the middle of the row triple.
    FlyingPieces.clear();
    LoadBoard(QuietBoard);
    Place(5, {{3, 0}, {4, 0}, {5, 0}, {4, 1}, {4, 2}});
    MarkMatches();
    marks = 0;
    for (int32_t m : RemoveMark) marks += m;
    EXPECT_EQ(marks, 5);
    EXPECT_EQ(FlyingPieces.size(), 6u);
    EXPECT_EQ(RemoveMark[CellIndex(4, 2)], 1);
}
