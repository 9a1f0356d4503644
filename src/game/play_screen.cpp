// The play screen: background decorations, the board, the pause banner and flying pieces.
#include "game/play_screen.h"

uint8_t Paused = 0;
float PanAnim = 0.0f;
uint8_t PanDone = 0;
uint8_t MixerTrigger = 0;
uint8_t MixerIdle = 1;
uint8_t MatchSoundPending = 0;
