// The program's only error box, after which the game ends, and the diagnostic trace line.
#pragma once

#include <string>

// Called by the display set-up, the Sprites and the picture loaders when the game cannot go on:
// shows the text in a box captioned "Error" and, once the player confirms, saves a game that was
// under way (start-up had finished) and destroys the window.
void ShowError(const std::string& text);

// Called by the display device and the sound effects on a start-up failure: formats a diagnostic
// line with printf rules into 256 characters (longer lines are cut) and discards it.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
