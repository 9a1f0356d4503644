// Keys and pad buttons in the frame: each action acts on the screen shown as a click would.
#pragma once

#include "platform/input.h"

// Called by the window procedure for every key or pad action: it waits for the next frame.
void QueueKeyAction(platform::Action action);

// Called by the window procedure for typed characters, and by the key step: true while the name
// box is shown and the player has seen it, the only time typing and Enter reach the name.
bool NameBoxTakesKeys();

// Called every frame by the frame driver before the screens draw, with the pointer's position:
// keys back after the mouse put the ring on the control under the pointer (else on the one the
// screen focused on arrival), and the moves among the waiting actions (up to the first that is
// not a move) act at once, so the frame shows the focus ring, the hover picture and the board
// cursor where they went.
void RunKeyMoves(int x, int y);

// Called every frame by the frame driver after the click step: the other actions that arrived
// since the last frame act in order, as a click does, on the screen as the last presented frame
// showed it. A key while the screens change only cuts the change short; a screen not shown yet
// takes no key; a hidden focus ring or board cursor is only shown by the keys that act on it
// (arrows, Tab, Enter, Space). Otherwise Enter and Space click the focused control, Escape clicks
// Back, and on the play screen the board cursor takes the keys.
void RunKeyActions();

// Called every frame by the frame driver once the screens, hover pictures and marks are drawn:
// notes which screen the frame shows whole, and whether with its focus ring or board cursor.
void NoteDrawnScreen();

// Called every frame by the frame driver once the frame is presented: the keys pressed from now
// on act on the screen as this frame shows it.
void NotePresentedScreen();
