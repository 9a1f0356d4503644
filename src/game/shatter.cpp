// The screen shatter transition: the old screen breaks into tiles that fall away.
#include "game/shatter.h"

uint8_t ShatterRequested = 0;
uint8_t ShatterActive = 0;
