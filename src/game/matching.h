// Match detection and move search: lines of three, removal marks, possible moves and hints.
#pragma once

#include "game/board.h"

// ---- Hint ----
// A swap of two neighbours; First lies right of or below Second.
struct HintMoveRecord {
    Square First;
    Square Second;
};
// The swap the hint shows; keeps its old value when no move is found (initially all 0).
extern HintMoveRecord HintMove;

// Called by swaps and after every settle; true when three equal kinds stand in a row or column.
bool AnyMatch();

// Called when a swap made a line and to start a chain: sets RemoveMark for every square of a
// line of three or more, clears the fall records and launches one flying copy per square per
// triple.
void MarkMatches();

// Called by every clearing pass on a full board; true when one swap of neighbours makes a line.
bool AnyMovePossible();

// Called when the hint button is clicked; stores the first possible swap in HintMove.
void FindHint();
