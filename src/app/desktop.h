// The game's standing on the desktop: the shell flags, the desktop as last read, the window's
// rectangles and the notices that end the program at start (the desktop cannot serve, or another
// game holds the save).
#pragma once

#include <cstdint>

// ---- Shell flags ----
// 1 while the game is the active application (set by every activation message); initially 0.
extern int AppActive;
// 1 once start-up has finished; frames run only from then on; never cleared.
extern uint8_t AppReady;
// 1 when the pointer lay outside the client area when last tested; initially 1.
extern uint8_t CursorOutside;
// 1 when the left button went down and the frame driver has not dispatched the click yet.
extern uint8_t ClickPending;

// ---- Desktop ----
// Bits per pixel of the desktop when last read (8, 16, 24 or 32); 0 before the entry reads it.
extern int DesktopDepth;
// Width of the desktop in pixels when last read; 0 before the entry reads it.
extern int DesktopWidth;

// ---- Start ----
// The exit code of a start that could not open the game's window.
constexpr int NoWindowExitCode = 1;
// Set when the window could not be opened at start (the box saying why was shown).
extern bool WindowUnavailable;

// Called on window moves and after a display switch: in windowed mode, while active, the client
// area's rectangles follow the window.
void RefreshWindowRects();

// Called at start when video, the window or its renderer cannot be made: sets WindowUnavailable
// and shows the error box naming what failed, which ends the program.
void ShowWindowFailure();

// Called at start when another game holds the save: the box telling the player so, in the game's
// own words; the program then ends without touching the save.
void ShowAlreadyRunningNotice();

// Called at start and after a desktop change to 8 bits: the error box that ends the program.
void ShowCannotRunNotice();
