// The display going away under the game (the session ended, the X server crashed or restarted).
#pragma once

namespace platform {

// The exit code of a game whose display went away; its game was saved first.
constexpr int DisplayLostExitCode = 1;

// Called once by the program entry after the window exists: when the connection to the display
// is lost, `keepGame` runs (it saves the game at rest, as a close request does), the save's lock
// is given up, and the program ends with DisplayLostExitCode. Nothing else may be asked of the
// display by then, so nothing more is drawn or shown.
void KeepGameWhenDisplayIsLost(void (*keepGame)());

// Called by the message box: true once the display is gone, when no box can be shown any more.
bool DisplayLost();

}  // namespace platform
