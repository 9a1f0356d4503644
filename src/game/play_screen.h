// The play screen: background decorations, the board, the pause banner and flying pieces.
#pragma once

#include <cstdint>

// ---- Pause ----
// 1 while play is paused with the Pause key (board hidden, nothing of the game moving); not saved.
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

// Called every frame by the frame driver first of the play steps: the kitchen, the level caption,
// the menu highlight, the pan, the cook's blink and the mixer. Does nothing off the play screen.
void PlayBackground(float dt);

// Called every frame by the frame driver after PlayBackground: the board change, moves, falling
// and hints, then the board, the phase banner and the flying pieces; while paused only the pause
// banner. Does nothing off the play screen.
void PlayFrame(float dt);

// Called at the end of PlayFrame: moves, shrinks and draws the flying pieces; a piece that
// reaches the mixer's mouth sets the mixer going and leaves the list.
void FlyingPiecesFrame(float dt);
