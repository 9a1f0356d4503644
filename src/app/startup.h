// Start-up, display switching and shutdown, and the game Sprites they load and free.
#pragma once

// ---- Start-up, display switch, shutdown ----
// Called once by the program entry after the display device exists: loads the save file (or
// deals a fresh board), sets the display up with the pictures the logo draws, seeds the random
// generator and prepares logo, high scores, font and name. False when the program must end
// (display or pictures failed).
bool StartUp();

// Called every frame by the frame driver: start-up goes on behind the logo, one step a frame: the
// other pictures with the window's icon, then effects, music device and menu music once the logo
// stands still; whatever is left, all at once when the logo has ended. An error box on the way
// ends the program.
void ContinueStartUp();

// Called by start-up, by the Options screen's full-screen switch and on reactivation after a
// desktop change: releases every picture, sets the display up full-screen or windowed, restyles
// the window and loads every picture again (those of other screens than the one shown give their
// pixels back at once); the game state is untouched. False when the program must end (the window
// is gone by then).
bool RecreateDisplay(bool fullScreen);

// Called by RecreateDisplay and behind the logo: creates the game Sprites not yet loaded, in table
// order. False once an error box ended the program during loading (nothing more is loaded then).
bool LoadGameSprites();

// Called by RecreateDisplay and ShutDown: releases and deletes every game Sprite that exists.
void FreeGameSprites();

// Called once while the window is destroyed, before the display is released: stops effects and
// the music device and frees every picture; whatever was never created is skipped.
void ShutDown();
