// Match detection and move search over the sixteen move patterns.
#include "game/matching.h"

#include "game/falling.h"
#include "game/flying_piece.h"

HintMoveRecord HintMove = {};

namespace {
// Three squares that, holding equal kinds, make a line once First and Second are swapped.
// All offsets are relative to the scanned square; the pattern applies only where its three
// squares lie on the board.
struct MovePattern {
    Square Squares[3];
    Square First;
    Square Second;
};

// H1..H8 (lines in a row), then V1..V8 (lines in a column), in the order the hint tries them.
constexpr MovePattern Patterns[16] = {
    {{{0, 0}, {1, 0}, {2, 1}}, {2, 1}, {2, 0}},    // H1
    {{{0, 0}, {1, 0}, {2, -1}}, {2, 0}, {2, -1}},  // H2
    {{{0, 0}, {1, 1}, {2, 0}}, {1, 1}, {1, 0}},    // H3
    {{{0, 0}, {1, -1}, {2, 0}}, {1, 0}, {1, -1}},  // H4
    {{{0, -1}, {1, 0}, {2, 0}}, {0, 0}, {0, -1}},  // H5
    {{{0, 1}, {1, 0}, {2, 0}}, {0, 1}, {0, 0}},    // H6
    {{{0, 0}, {1, 0}, {3, 0}}, {3, 0}, {2, 0}},    // H7
    {{{0, 0}, {2, 0}, {3, 0}}, {1, 0}, {0, 0}},    // H8
    {{{0, 0}, {0, 1}, {1, 2}}, {1, 2}, {0, 2}},    // V1
    {{{0, 0}, {0, 1}, {-1, 2}}, {0, 2}, {-1, 2}},  // V2
    {{{0, 0}, {1, 1}, {0, 2}}, {1, 1}, {0, 1}},    // V3
    {{{0, 0}, {-1, 1}, {0, 2}}, {0, 1}, {-1, 1}},  // V4
    {{{-1, 0}, {0, 1}, {0, 2}}, {0, 0}, {-1, 0}},  // V5
    {{{1, 0}, {0, 1}, {0, 2}}, {1, 0}, {0, 0}},    // V6
    {{{0, 0}, {0, 1}, {0, 3}}, {0, 3}, {0, 2}},    // V7
    {{{0, 0}, {0, 2}, {0, 3}}, {0, 1}, {0, 0}},    // V8
};

// The square at an offset from (column, row).
Square Offset(int column, int row, Square offset) {
    return {column + offset.Column, row + offset.Row};
}

// True when the pattern's three squares lie on the board and hold equal kinds.
bool PatternHolds(const MovePattern& pattern, int column, int row) {
    Square squares[3];
    for (int i = 0; i < 3; ++i) {
        squares[i] = Offset(column, row, pattern.Squares[i]);
        if (!OnGrid(squares[i])) return false;
    }
    const uint8_t kind = CellAt(squares[0]).Kind;
    return CellAt(squares[1]).Kind == kind && CellAt(squares[2]).Kind == kind;
}

// The first pattern that holds at (column, row), or nullptr.
const MovePattern* MoveAt(int column, int row) {
    for (const MovePattern& pattern : Patterns) {
        if (PatternHolds(pattern, column, row)) return &pattern;
    }
    return nullptr;
}

// True when (column, row) is the middle of three equal kinds along (dc, dr).
bool CentreOfTriple(int column, int row, int dc, int dr) {
    const uint8_t kind = KindAt(column, row);
    return KindAt(column - dc, row - dr) == kind && KindAt(column + dc, row + dr) == kind;
}

// Marks the triple centred on (column, row) along (dc, dr) and launches its three copies:
// first end, second end, centre.
void MarkTriple(int column, int row, int dc, int dr) {
    const uint8_t kind = KindAt(column, row);
    const Square squares[3] = {{column - dc, row - dr}, {column + dc, row + dr}, {column, row}};
    for (Square s : squares) {
        RemoveMark[CellIndex(s.Column, s.Row)] = 1;
        LaunchFlyingPiece(s.Column, s.Row, kind);
    }
}
}  // namespace

bool AnyMatch() {
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            if (CentreOfTriple(c, r, 1, 0) || CentreOfTriple(c, r, 0, 1)) return true;
        }
    }
    return false;
}

void MarkMatches() {
    for (int32_t& mark : RemoveMark) mark = 0;
    for (FallRecord& record : FallColumn) record = FallRecord{};
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            if (CentreOfTriple(c, r, 1, 0)) MarkTriple(c, r, 1, 0);
            if (CentreOfTriple(c, r, 0, 1)) MarkTriple(c, r, 0, 1);
        }
    }
}

bool AnyMovePossible() {
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            if (MoveAt(c, r) != nullptr) return true;
        }
    }
    return false;
}

void FindHint() {
    for (int r = 0; r < BoardRows; ++r) {
        for (int c = 0; c < BoardColumns; ++c) {
            const MovePattern* pattern = MoveAt(c, r);
            if (pattern == nullptr) continue;
            HintMove.First = Offset(c, r, pattern->First);
            HintMove.Second = Offset(c, r, pattern->Second);
            return;
        }
    }
}
