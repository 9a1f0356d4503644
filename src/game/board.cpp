// The 8 by 8 board of food pieces: cells, spawn slots, removal marks and the game values.
#include "game/board.h"

#include <cstring>
#include <utility>

#include "game/matching.h"
#include "platform/clock.h"
#include "shared/random.h"

Cell Board[BoardCellCount] = {};
Cell SpawnSlot[BoardColumns] = {};
int32_t RemoveMark[BoardCellCount] = {};

int32_t KindCount = 6;
uint8_t GameMode = Untimed;
int32_t Level = 1;
int32_t Score = 0;
float LevelBar = 0.0f;

namespace {
// Screen x of a column's home position.
float HomeX(int column) { return static_cast<float>(BoardLeft + SquareSize * column); }

// Screen y of a row's home position.
float HomeY(int row) { return static_cast<float>(BoardTop + SquareSize * row); }

// A random kind of the current game.
uint8_t RandomKind() { return static_cast<uint8_t>(Random() % KindCount); }

// Redraws the first line of three found in the scan order; false when the board has none.
bool RerollFirstTriple() {
    // The four directions a triple may take from its first square, in the order they are tried.
    constexpr Square Directions[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            for (Square d : Directions) {
                const Square triple[3] = {
                    {c, r}, {c + d.Column, r + d.Row}, {c + 2 * d.Column, r + 2 * d.Row}};
                if (!OnGrid(triple[2])) continue;
                const uint8_t kind = CellAt(triple[0]).Kind;
                if (CellAt(triple[1]).Kind != kind || CellAt(triple[2]).Kind != kind) continue;
                for (Square s : triple) CellAt(s).Kind = RandomKind();
                return true;
            }
        }
    }
    return false;
}

// True when a piece of kind on (column, row) would stand in a line of three.
bool MakesLine(int column, int row, uint8_t kind) {
    auto same = [kind](int c, int r) { return KindAt(c, r) == kind; };
    const int c = column;
    const int r = row;
    return (same(c - 1, r) && (same(c - 2, r) || same(c + 1, r))) ||
           (same(c + 1, r) && same(c + 2, r)) ||
           (same(c, r - 1) && (same(c, r - 2) || same(c, r + 1))) ||
           (same(c, r + 1) && same(c, r + 2));
}

// A random kind for an empty square that makes no line with its neighbours where one exists.
uint8_t KindWithoutLine(int column, int row) {
    const int first = Random() % KindCount;
    for (int i = 0; i < KindCount; ++i) {
        const auto kind = static_cast<uint8_t>((first + i) % KindCount);
        if (!MakesLine(column, row, kind)) return kind;
    }
    return static_cast<uint8_t>(first);
}

// Little-endian float and byte access for the save layout.
void PutFloat(uint8_t* out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

float GetFloat(const uint8_t* in) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(in[i]) << (8 * i);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
}  // namespace

Cell& CellAt(Square square) { return Board[CellIndex(square.Column, square.Row)]; }

uint8_t KindAt(int column, int row) {
    if (!OnGrid({column, row})) return OffBoardKind;
    return Board[CellIndex(column, row)].Kind;
}

void SetHome(int column, int row) {
    Cell& cell = Board[CellIndex(column, row)];
    cell.X = HomeX(column);
    cell.Y = HomeY(row);
}

void SwapCells(Square a, Square b) { std::swap(CellAt(a), CellAt(b)); }

bool BoardFull() {
    for (const Cell& cell : Board) {
        if (cell.Kind == EmptyKind) return false;
    }
    return true;
}

void ClearSelection() {
    for (Cell& cell : Board) cell.Selected = 0;
}

void ResetSpawnSlot(int column) {
    SpawnSlot[column] = Cell{};
    SpawnSlot[column].X = HomeX(column);
    SpawnSlot[column].Y = SpawnRestY;
    SpawnSlot[column].Kind = EmptyKind;
}

void NewBoard(int kinds) {
    SeedRandom(platform::TickCount());
    // A board without a line may still have no move at all (about one deal in a thousand with
    // eight kinds): such a board is dealt again, so every game and level starts playable.
    do {
        for (int c = 0; c < BoardColumns; ++c) {
            ResetSpawnSlot(c);
            for (int r = 0; r < BoardRows; ++r) {
                Cell& cell = Board[CellIndex(c, r)];
                cell = Cell{};
                cell.Kind = static_cast<uint8_t>(Random() % kinds);
                SetHome(c, r);
            }
        }
        RerollTriples();
    } while (!AnyMovePossible());
}

void TidyBoard() {
    for (int c = 0; c < BoardColumns; ++c) {
        ResetSpawnSlot(c);
        for (int r = 0; r < BoardRows; ++r) {
            Cell& cell = Board[CellIndex(c, r)];
            if (cell.Kind == EmptyKind) cell.Kind = KindWithoutLine(c, r);
            cell.Frame = 0.0f;
            cell.SwapTarget = 0;
            cell.Selected = 0;
            SetHome(c, r);
        }
    }
    RerollTriples();
    if (!AnyMovePossible()) NewBoard(KindCount);
}

void RerollTriples() {
    while (RerollFirstTriple()) {
    }
}

Square SquareAt(int x, int y) {
    return {(x - BoardLeft) / SquareSize, (y - BoardTop) / SquareSize};
}

bool OnGrid(Square square) {
    return square.Column >= 0 && square.Column < BoardColumns && square.Row >= 0 &&
           square.Row < BoardRows;
}

bool Neighbours(Square a, Square b) {
    const int dc = a.Column - b.Column;
    const int dr = a.Row - b.Row;
    return (dr == 0 && (dc == 1 || dc == -1)) || (dc == 0 && (dr == 1 || dr == -1));
}

void WriteCellBytes(const Cell& cell, uint8_t* out) {
    std::memset(out, 0, CellBytes);
    PutFloat(out + 0, cell.X);
    PutFloat(out + 4, cell.Y);
    out[8] = cell.Kind;
    PutFloat(out + 12, cell.Frame);
    out[16] = cell.SwapTarget;
    out[17] = cell.Selected;
}

Cell ReadCellBytes(const uint8_t* in) {
    Cell cell{};
    cell.X = GetFloat(in + 0);
    cell.Y = GetFloat(in + 4);
    cell.Kind = in[8];
    cell.Frame = GetFloat(in + 12);
    cell.SwapTarget = in[16];
    cell.Selected = in[17];
    return cell;
}
