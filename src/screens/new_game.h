// The new-game screen: game mode and number of kinds, then Start.
#pragma once

#include <cstdint>

#include "game/board.h"

struct FocusList;
class Sprite;

// ---- Pictures ----
// "NewGame.jpg", the keyed panel drawn over the main menu; null until loaded, its pixels only
// while the screen shows.
extern Sprite* NewGamePanel;
// "Confirm.bmp", the keyed question card with its two buttons, their lit looks below it; its
// pixels only while the screen shows.
extern Sprite* ConfirmPicture;

// The check box or round socket the panels draw around a 19 by 25 mark whose top-left is at
// (markX, markY): a choice's hot spot covers it as well as the choice's label.
constexpr Area MarkControl(int markX, int markY) {
    return {markX - 3, markY - 3, markX + 22, markY + 28};
}

// ---- Leaving a game in progress ----
// 1 while Start asks whether to leave the game in progress (a card with Leave and Keep).
extern uint8_t LeaveAsked;

// Called by the display switch after the game pictures are loaded; always reports success.
bool LoadNewGamePictures();
// Called by the display switch and shutdown: releases the panel, the question card and the
// highlight sheet.
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
// Called by Start (after the question when a game was in progress) and by a confirmed name of a
// game left for a new one: a fresh game of the chosen mode and kinds, shown on the play screen.
void StartNewGame();
// Called by the focus step on the new-game screen: the five choice rows, Back and Start (focused
// first); while Start asks, only Leave and Keep (focused first, and Escape's Back).
void NewGameFocus(FocusList& list);
