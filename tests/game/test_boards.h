// Boards for the game-play tests, written as eight rows of eight kind digits.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "game/board.h"

// A board of kinds 0..4 with no line of three and no possible move; kinds 5, 6 and 7 are free
// for the pieces a test places on it.
extern const char* const QuietBoard[8];

// Fills the board from rows[row][column] ('0'..'9' kinds, '.' empty): home positions, frame 0,
// flags and marks clear, spawn slots at rest.
void LoadBoard(const char* const rows[8]);

// Puts kind on each of the squares, keeping everything else.
void Place(uint8_t kind, std::initializer_list<Square> squares);

// The board's kinds as eight rows of digits separated by '/', for comparisons.
std::string BoardKinds();

// True when every cell stands exactly at its home position.
bool AllAtHome();
