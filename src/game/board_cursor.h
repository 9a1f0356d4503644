// The board cursor: play by keys and pad, a square at a time, with the same moves as the mouse.
#pragma once

#include "game/board.h"
#include "platform/input.h"

// ---- Cursor ----
// The square the keys act on; the top-left square when a game starts.
extern Square BoardCursor;

// Called when a new game starts: the cursor goes back to the top-left square.
void ResetBoardCursor();

// Called by the key step of the frame on the play screen (won panel not up): arrows move the
// cursor (no wrap) or, while a piece is selected, swap it with the neighbour they point at;
// Enter and Space select or drop the piece under the cursor; H the hint, M the menu button,
// P and Escape pause and resume. Every move goes through the click of the same place, so the
// rules, sounds and refusals are the mouse's.
void PlayKey(platform::Action action);

// Called by the pause keys (P, Escape, Pause, the pad's Start): play pauses or resumes, unless
// the won panel is up.
void TogglePause();

// Called by the play screen after the board is drawn, while keys are in use: the cursor's
// brackets on its square.
void DrawBoardCursor();
