// The program's only error box, after which the game ends, and the diagnostic trace line.
#pragma once

#include <string>

// ---- Ending the program ----
// Called by ShowError once the player has confirmed the box: ends the program. The application
// sets it at start-up to keep a game under way before the window goes; until then it destroys
// the window.
extern void (*EndProgram)();

// Called by the display set-up, the Sprites and the picture loaders when the game cannot go on:
// shows the text in a box captioned "Error" and, once the player confirms, ends the program
// through EndProgram.
void ShowError(const std::string& text);

// Called by the display device and the sound effects on a start-up failure: formats a diagnostic
// line with printf rules into 256 characters (longer lines are cut) and discards it.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
