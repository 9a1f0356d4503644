// The frame driver: the order of one frame's steps, and the routing of clicks to the screens.
#pragma once

// Called by the message loop whenever no message waits and the game is active and ready, and by
// the window procedure on a paint message in windowed mode: draws and presents one frame.
// Always true; a requested quit destroys the window at the end of the frame.
bool RunFrame();

// Called by the frame driver when a click is pending, with the click's client position: offers
// it to the screens' click steps in a fixed order; true when one of them took it. A click
// during the screen shatter transition cuts it short and is dropped. Keys click the same way.
bool DispatchClick(int x, int y);
