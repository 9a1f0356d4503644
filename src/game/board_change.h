// The change of board between levels: the old pieces fall out, a fresh board drops in.
#pragma once

#include <cstdint>

// ---- Running transitions ----
// 1 while a fresh board drops in; play input is refused meanwhile.
extern uint8_t DropIn;
// 1 while the old board falls out; play input is refused meanwhile.
extern uint8_t ClearOut;
