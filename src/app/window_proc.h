// The window procedure: the messages the game acts on, and the shell flags they set.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// ---- Shell flags ----
// 1 while the game is the active application (set by every activation message); initially 0.
extern int AppActive;
// 1 once start-up has finished; frames run only from then on; never cleared.
extern uint8_t AppReady;
// 1 when the pointer lay outside the client area when last tested; initially 1.
extern uint8_t CursorOutside;
// 1 when the left button went down and the frame driver has not dispatched the click yet.
extern uint8_t ClickPending;

// Called by the message pump for every message dispatched to the game window.
void WindowProcedure(const platform::Message& message);

// Called by the window layer while the window is being destroyed (by the error box, the Exit
// button or a close request): shuts the game down, lets the save go, releases the display, posts
// the quit message.
void WindowDestroyed();
