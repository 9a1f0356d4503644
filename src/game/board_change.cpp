// The change of board between levels: the old pieces fall out, a fresh board drops in.
#include "game/board_change.h"

uint8_t DropIn = 0;
uint8_t ClearOut = 0;
