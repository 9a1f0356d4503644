// The frame driver: the order of one frame's steps, and the routing of clicks to the screens.
#include "app/frame_driver.h"

#include "game/moves.h"
#include "game/shatter.h"

uint8_t QuitRequested = 0;

bool DispatchClick(int x, int y) {
    // While the old screen breaks away, clicks are lost, not queued.
    if (ShatterActive != 0) return false;
    // The click steps in their fixed order; the first that takes the click ends the offer.
    return PlayClick(x, y);
}
