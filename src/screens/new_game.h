// The new-game screen: game mode and number of kinds, then Start.
#pragma once

// Called by the display switch after the game pictures are loaded; always reports success.
bool LoadNewGamePictures();
// Called by the display switch and shutdown: releases the panel and the highlight sheet.
void FreeNewGamePictures();

// Called by the main menu's New game button: the panel opens on the mode and kinds of the last
// game; a choice made on it changes nothing of the game in progress until Start.
void OpenNewGame();

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
