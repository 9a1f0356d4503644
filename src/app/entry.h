// The program entry: window, 8-bit refusal, display device, start-up and the message loop.
#pragma once

// Called by main: finds the game's folders, brings the game up and runs the message loop; the
// exit code (0, or StartFailedExitCode when the start could not go on).
int ProgramEntry();

// Called by ProgramEntry (and the whole-program tests): starts video, claims the save (a second
// game on the same save, a folder that cannot be locked or a save that cannot be read end with a
// notice), refuses an 8-bit desktop, creates the window, creates
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
