// Keys and pad buttons in the frame: each action acts on the screen shown as a click would.
#pragma once

#include "platform/input.h"

// Called by the window procedure for every key or pad action: it waits for the next frame.
void QueueKeyAction(platform::Action action);

// Called every frame by the frame driver before the screens draw: the moves among the waiting
// actions (up to the first that is not a move) act at once, so the frame shows the focus ring,
// the hover picture and the board cursor where they went.
void RunKeyMoves();

// Called every frame by the frame driver after the click step: the other actions that arrived
// since the last frame act in order, on the screen as drawn, as a click does. A move only shows the
// focus ring or board cursor when it was hidden; Enter and Space click the focused control; Escape
// clicks Back; on the play screen the board cursor takes the keys. A key while the screens change
// cuts the transition short.
void RunKeyActions();
