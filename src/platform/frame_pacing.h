// Frame pacing: the message loop rests between frames instead of drawing them back to back.
#pragma once

namespace platform {

// Called by the message loop after every frame: when showing the frame did not wait for the
// display's vertical sync, sleeps until the display's next refresh is due (at DisplayRefreshRate,
// counted from the previous one), so a still screen costs one frame per refresh. A frame that ran
// late starts the count afresh. Sleeps on the real clock, whatever clock the game time follows.
void WaitForDisplayRefresh();

}  // namespace platform
