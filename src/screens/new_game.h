// The new-game screen: game mode and number of kinds, then Start.
#pragma once

class Sprite;

// ---- Pictures ----
// "ActiveOption.bmp", the keyed sheet of highlights used by several screens; null until loaded.
extern Sprite* ActiveOptionPicture;

// Called by the display switch after the game pictures are loaded; always reports success.
bool LoadNewGamePictures();
// Called by the display switch and shutdown: releases the panel and the highlight sheet.
void FreeNewGamePictures();

// Called by the new-game hover and click steps: the choice row 0..4 holding the point, or 134
// when none does.
int HitChoiceRow(int x, int y);

// Called every frame by the frame driver; draws the menu, the panel and the markers, only on
// the new-game screen.
void DrawNewGame();
// Called every frame by the frame driver with the mouse position; lights the row or button under
// it.
void HoverNewGame(int x, int y);
// Called by the click dispatcher; returns true when the click was used by the new-game screen.
bool ClickNewGame(int x, int y);
// Called by Start: a fresh game of the chosen mode and kinds, shown on the play screen.
void StartNewGame();
