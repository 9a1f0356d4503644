// The high-score screen: the tables of the page shown, the name box and the buttons.
#pragma once

struct FocusList;
class Sprite;

// ---- Pictures ----
// "HighScores.jpg", the chalkboard behind the tables; its pixels only while the screen shows.
extern Sprite* HighScoresPicture;
// "WindowHS.JPG", the name box; its pixels only while the screen shows.
extern Sprite* NameBoxPicture;

// Used by the window procedure: true while the high-score screen shows the name box, the only
// place where typing and Enter act.
bool NameBoxShown();
// Called by the OK button and by the window procedure's Enter key while the name box is open:
// closes the box, stores the name, returns play to its normal phase and writes the save file. The
// table stays, the new row lit; after a game left for a new one, Back then starts the new game.
void ConfirmName();

// Called by the display switch after the game pictures are loaded; always reports success.
bool LoadHighScoresPictures();
// Called by the display switch and shutdown: releases this screen's pictures.
void FreeHighScoresPictures();

// Called every frame by the frame driver; draws the tables, only on the high-score screen.
void DrawHighScores();
// Called every frame by the frame driver with the mouse position and the frame time in seconds.
void HoverHighScores(int x, int y, float dt);
// Called by the click dispatcher; returns true when the click was used by the high-score screen.
bool ClickHighScores(int x, int y);
// Called by the focus step on the high-score screen: OK alone while the name box is shown,
// otherwise the previous-page arrow, Back (focused first) and the next-page arrow.
void HighScoresFocus(FocusList& list);
