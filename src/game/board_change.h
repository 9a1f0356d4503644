// The change of board between levels: the old pieces fall out, a fresh board drops in.
#pragma once

#include <cstdint>

#include "game/board.h"

// ---- Running transitions ----
// 1 while a fresh board drops in; play input is refused meanwhile.
extern uint8_t DropIn;
// 1 while the old board falls out; play input is refused meanwhile.
extern uint8_t ClearOut;

// ---- Drop-in ----
// Screen y of each piece of the fresh board while it drops in, indexed like Board.
extern float DropY[BoardCellCount];

// ---- Clear-out ----
// One piece of the old board falling out.
struct ClearPieceRecord {
    float X;        // screen x of the piece's square
    float Y;        // screen y of the piece's square
    float Drop;     // pixels fallen so far
    int32_t Kind;   // piece kind, or EmptyKind
    int32_t Delay;  // ClearClock units before it starts to fall
};
// The 64 pieces of the old board, indexed like Board.
extern ClearPieceRecord ClearPiece[BoardCellCount];
// The clear-out's clock, advancing by 500 per second; 0 between clear-outs.
extern float ClearClock;
// Clear-outs since the random generator was last re-seeded here, 0..3.
extern uint8_t ClearCount;

// Called by the new-game screen after NewBoard and at the end of a clear-out: the current board
// starts dropping in from above, bottom rows first.
void StartDropIn();

// Called every frame by the play screen's frame: moves and draws the dropping pieces; false
// while they are still dropping.
bool DropInFrame(float dt);

// Called by the phase banner when a board is to be replaced: the old pieces start falling out.
void StartClearOut();

// Called every frame by the play screen's frame: moves and draws the falling pieces, and at the
// end deals the next board and starts its drop-in; false while the old pieces still fall.
bool ClearOutFrame(float dt);

// Called when play is brought to rest for a save: a clear-out deals its board at once and a
// drop-in lands at once.
void FinishBoardChange();

// Called when a new game starts: no board change is under way.
void ResetBoardChange();
