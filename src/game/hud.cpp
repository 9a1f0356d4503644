// The level bar, the score display and the phases of play.
#include "game/hud.h"

float ShownScore = 0.0f;
float ShownLevelBar = 0.0f;
int32_t PlayPhase = PhasePlaying;
uint8_t GameWon = 0;
uint8_t LevelDoneCount = 0;
uint8_t WinCount = 0;
