// Frame pacing: the message loop rests between frames instead of drawing them back to back.
#pragma once

#include <limits>

namespace platform {

// The due time of a frame after which nothing changes by itself: only a message brings the next.
constexpr float NoChangeDue = std::numeric_limits<float>::infinity();

// Called by the message loop after every frame: when showing the frame did not wait for the
// display's vertical sync, sleeps until the display's next refresh is due (at DisplayRefreshRate,
// counted from the previous one), so a running animation costs one frame per refresh. A frame that
// ran late starts the count afresh. Sleeps on the real clock, whatever clock the game time follows.
void WaitForDisplayRefresh();

// Called by the message loop after every frame with the seconds until the picture or the sound next
// changes by itself (0 while something moves, NoChangeDue when nothing is timed). A change due
// before the display's next refresh waits for that refresh (WaitForDisplayRefresh); a later one
// sleeps until it is due or a message arrives, whichever comes first. On the manual clock nothing
// sleeps: unless a message is waiting, the clock moves on by what the wait would have lasted (a
// refresh, or the due time in whole milliseconds; nothing when no change is due).
void WaitForNextFrame(float dueSeconds);

}  // namespace platform
