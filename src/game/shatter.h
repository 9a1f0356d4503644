// The screen shatter transition: the old screen breaks into tiles that fall away.
#pragma once

#include <cstdint>

// ---- Transition flags ----
// 1 when a screen change asked for the transition; cleared when the snapshot is taken.
extern uint8_t ShatterRequested;
// 1 while the tiles are falling; hover and clicks are suspended meanwhile.
extern uint8_t ShatterActive;
