// The window procedure: the messages the game acts on, and the shell flags they set.
#pragma once

#include "platform/messages.h"

// Called by the message pump for every message dispatched to the game window.
void WindowProcedure(const platform::Message& message);

// Called by the window layer while the window is being destroyed (by the error box, the Exit
// button or a close request): shuts the game down, lets the save go, releases the display, posts
// the quit message.
void WindowDestroyed();
