// The 8 by 8 board of food pieces: cells, spawn slots, removal marks and the game values.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Board geometry (screen pixels of the 640 by 480 frame) ----
constexpr int BoardColumns = 8;                           // columns, 0 = left
constexpr int BoardRows = 8;                              // rows, 0 = top
constexpr int BoardCellCount = BoardColumns * BoardRows;  // cells, stored column by column
constexpr int SquareSize = 50;                            // edge of one square in pixels
constexpr int BoardLeft = 236;                            // x of column 0's home position
constexpr int BoardTop = 4;                               // y of row 0's home position
constexpr float SpawnRestY = -46.0f;  // y of an idle spawn slot, above the board

// A screen rectangle; left and top edges inside, right and bottom edges outside.
struct Area {
    int Left;
    int Top;
    int Right;
    int Bottom;
    // Called by the click and hover handlers: true when (x, y) lies inside.
    constexpr bool Contains(int x, int y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    // Used for hot spots made of two drawn parts: the smallest area holding both.
    constexpr Area Joined(const Area& other) const {
        return {Left < other.Left ? Left : other.Left, Top < other.Top ? Top : other.Top,
                Right > other.Right ? Right : other.Right,
                Bottom > other.Bottom ? Bottom : other.Bottom};
    }
    // Used by the focus step to find a control again by its hot spot.
    constexpr bool operator==(const Area& other) const {
        return Left == other.Left && Top == other.Top && Right == other.Right &&
               Bottom == other.Bottom;
    }
};

// The board's rectangle on the screen.
constexpr Area BoardArea{BoardLeft, BoardTop, BoardLeft + 8 * SquareSize,
                         BoardTop + 8 * SquareSize};

// A square of the board by column and row (each 0..7 when on the board).
struct Square {
    int Column;
    int Row;
};
constexpr bool operator==(Square a, Square b) { return a.Column == b.Column && a.Row == b.Row; }
constexpr bool operator!=(Square a, Square b) { return !(a == b); }

// ---- Piece kinds ----
constexpr int MaxKinds = 8;            // kinds that exist in the pictures, 0..7
constexpr uint8_t EmptyKind = 9;       // an empty cell or an idle spawn slot
constexpr uint8_t OffBoardKind = 150;  // what KindAt reports beyond the border; equals no kind

// ---- Cells ----
// One square's piece and where it is drawn right now. The layout is also the save file's.
struct Cell {
    float X;               // current screen x of the piece (home position at rest)
    float Y;               // current screen y of the piece
    uint8_t Kind;          // piece kind 0..KindCount-1, or EmptyKind
    uint8_t Reserved1[3];  // written as 0, ignored
    float Frame;           // animation frame, 0 at rest, up to 13
    uint8_t SwapTarget;    // 1 while this square is the target of a player swap
    uint8_t Selected;      // 1 while the piece is highlighted
    uint8_t Reserved2[2];  // written as 0, ignored
};
constexpr std::size_t CellBytes = 20;  // bytes of one Cell in the save file
static_assert(sizeof(Cell) == CellBytes, "Cell must keep the save file's 20-byte layout");
static_assert(offsetof(Cell, X) == 0 && offsetof(Cell, Y) == 4 && offsetof(Cell, Kind) == 8 &&
                  offsetof(Cell, Frame) == 12 && offsetof(Cell, SwapTarget) == 16 &&
                  offsetof(Cell, Selected) == 17,
              "Cell fields must sit at the save file's offsets");

// ---- The board ----
// The 64 cells, column by column: index = column * 8 + row.
extern Cell Board[BoardCellCount];
// One piece per column waiting above the board to slide in while pieces fall.
extern Cell SpawnSlot[BoardColumns];
// 1 for every square that belongs to a line of three or more, indexed like Board; else 0.
extern int32_t RemoveMark[BoardCellCount];

// ---- Game values (saved in the save file) ----
// Game mode values of GameMode.
enum GameModeValue : uint8_t { Untimed = 0, Timed = 1 };
// Number of piece kinds dealt in the current game, 6..8; initial 6.
extern int32_t KindCount;
// Untimed (0) or Timed (1); initial Untimed.
extern uint8_t GameMode;
// Current level, 1..99; initial 1.
extern int32_t Level;
// Points of the current game; hints may push it below 0 for a frame.
extern int32_t Score;
// Level progress or time reserve in bar pixels, 0..73 (hints may push it below 0).
extern float LevelBar;

// Index of a square in Board and RemoveMark; used by every board loop.
constexpr int CellIndex(int column, int row) { return column * BoardRows + row; }

// Used by the game-play code to reach a cell; column and row must be 0..7.
Cell& CellAt(Square square);

// Used by the match scans; the cell's Kind, or OffBoardKind outside 0..7.
uint8_t KindAt(int column, int row);

// Used by falling, swaps and hints to put a piece back at its square's home position.
void SetHome(int column, int row);

// Used by swaps and hints; exchanges the two complete records (position, kind, frame, flags).
void SwapCells(Square a, Square b);

// Used by play input, clearing and the level bar; true when no cell is EmptyKind.
bool BoardFull();

// Used by moves, hints and the level bar; clears every Selected flag (SwapTarget stays).
void ClearSelection();

// Used by NewBoard and the end of every fall step; puts column's spawn slot at rest.
void ResetSpawnSlot(int column);

// Called by the new-game screen, by start-up without a save file and after a board clear-out;
// deals a random board of kinds 0..kinds-1 without ready-made lines of three and with a move.
void NewBoard(int kinds);

// Called by the save file's reader and before every save: every empty square gets a piece that
// makes no line, every piece stands at home without flags, a standing line is redrawn, and a
// board without a move is replaced by a new one of KindCount kinds.
void TidyBoard();

// Called only by NewBoard; redraws every line of three until none is left.
void RerollTriples();

// Used by play input to map a screen point inside the board to its square (truncating).
Square SquareAt(int x, int y);

// Used by play input; true when the square lies on the 8 by 8 grid.
bool OnGrid(Square square);

// Used by play input; true when the two squares share a side.
bool Neighbours(Square a, Square b);

// Used by the save file: writes the cell as 20 little-endian bytes, reserved bytes zero.
void WriteCellBytes(const Cell& cell, uint8_t* out);

// Used by the save file: reads a cell from 20 little-endian bytes; reserved bytes read as 0.
Cell ReadCellBytes(const uint8_t* in);
