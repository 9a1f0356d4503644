// The game's standing on the desktop: the shell flags, the desktop as last read, the window's
// rectangles and the notices that end the program at start (the desktop cannot serve, or another
// game holds the save).
#pragma once

#include <cstdint>
#include <string>

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
// The exit code of a start that could not go on: no window, no folder or lock for the save, a
// save that cannot be read.
constexpr int StartFailedExitCode = 1;
// Set when the start could not go on (the box saying why was shown).
extern bool StartFailed;

// Called on window moves and after a display switch: in windowed mode, while active, the client
// area's rectangles follow the window.
void RefreshWindowRects();

// Called at start when video, the window or its renderer cannot be made: sets WindowUnavailable
// and shows the error box naming what failed, which ends the program.
void ShowWindowFailure();

// Called at start when the player's folder for the save cannot be used: sets StartFailed and
// tells the player which folder and why; the game ends without saving anywhere else.
void ShowNoPlayerFolderNotice();

// Called at start when the save's folder cannot be locked: sets StartFailed and tells the player
// why; the game ends, since nothing would keep a second game off its save.
void ShowCannotLockNotice();

// Called at start when the save is there but cannot be read: sets StartFailed and tells the
// player the path and why; the game ends and leaves the save untouched.
void ShowUnreadableSaveNotice(const std::string& reason);

// Called at start when another game holds the save: the box telling the player so, in the game's
// own words; the program then ends without touching the save.
void ShowAlreadyRunningNotice();

// Called at start and after a desktop change to 8 bits: the error box that ends the program.
void ShowCannotRunNotice();
