// The program entry: window, 8-bit refusal, display device, start-up and the message loop.
#pragma once

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

// Called by main: finds the game's folders, brings the game up and runs the message loop; the
// exit code (0, or NoWindowExitCode when the window could not be opened).
int ProgramEntry();

// Called by ProgramEntry (and the whole-program tests): starts video, claims the save (a second
// game on the same save ends with a notice), refuses an 8-bit desktop, creates the window, creates
// the display device, starts the game up, sets AppReady and resumes the game clock. False when the
// program must end at once (every failure to open the display or the window shows a box saying
// what failed).
bool StartProgram();

// Called by the message loop (and the whole-program tests): dispatches every waiting message;
// false once the quit message arrived, with its code in exitCode.
bool HandleWaitingMessages(int& exitCode);

// Called by ProgramEntry after StartProgram: messages and frames interleaved until the quit
// message; returns its code.
int MessageLoop();

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
