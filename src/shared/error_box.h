// The program's only error box, after which the game ends, and the diagnostic trace line.
#pragma once

#include <string>

// ---- Ending the program ----
// Called by ShowError before its box shows: keeps a game under way, so that nothing is lost
// however the box ends (answered, or the desktop going away under it). The application sets it
// at start-up; until then it does nothing.
extern void (*KeepGameBeforeError)();

// Called by the display set-up, the Sprites and the picture loaders when the game cannot go on:
// keeps the game through KeepGameBeforeError, shows the text in a box captioned "Error" and, once
// the player confirms, ends the program by destroying the window.
void ShowError(const std::string& text);

// Called by the display device and the sound effects on a start-up failure: formats a diagnostic
// line with printf rules into 256 characters (longer lines are cut) and discards it.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
