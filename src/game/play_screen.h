// The play screen: background decorations, the board, the pause banner and flying pieces.
#pragma once

#include <cstdint>

// ---- Pause ----
// 1 while play is paused with the Pause key (board hidden, bar held); not saved.
extern uint8_t Paused;

// ---- Decorations ----
// Animation time of the frying pan (the hint button) in frames; 0 when the pointer left it.
extern float PanAnim;
// 1 once the pan's three frames have played for the current hover.
extern uint8_t PanDone;
// 1 when a flying piece reached the mixer and the mixer should whirl.
extern uint8_t MixerTrigger;
// 1 while the mixer rests; initial 1.
extern uint8_t MixerIdle;
// 1 when pieces were removed and the clearing sound is due on the next play frame.
extern uint8_t MatchSoundPending;
