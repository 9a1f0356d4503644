// The six high-score tables, the name box and the high-score screen.
#pragma once

struct FocusList;

// ---- Tables ----
// Rows per table (row 0 is the best).
constexpr int HighScoreRows = 9;
// Tables: (kinds - 6) + 3 * mode; 0..2 Untimed with 6..8 kinds, 3..5 Timed with 6..8 kinds.
constexpr int HighScoreSlots = 6;
// Bytes of a stored name including its terminating zero.
constexpr int HighScoreNameSize = 100;

// One row of a table: a zero-terminated name and its score in points.
struct HighScoreEntry {
    char Name[HighScoreNameSize];
    int Score;
};

// The tables, [row 0..8][slot 0..5], rows in descending score order.
extern HighScoreEntry HighScoreTable[HighScoreRows][HighScoreSlots];
// Number of kinds 6..8 whose Untimed and Timed tables the screen shows.
extern int HighScorePage;
// Row 0..8 where the last finished game's score was placed, or 10 when it found no place.
extern int InsertRow;
// 1 while a placed score still waits for its name.
extern unsigned char ScorePlaced;

// ---- Name entry ----
// 1 while the name box is shown and Enter confirms it.
extern unsigned char NameEntryOpen;
// Maximum number of typed characters in a name.
constexpr int NameMaxLength = 9;
// The typed characters, then "_" as the caret, then a zero byte.
extern char NameBuffer[NameMaxLength + 2];
// Number of typed characters, 0..9.
extern signed char NameLength;

// Called at start-up when there is no save file: every table gets "Empty " rows 1000 down to 200.
void ResetHighScores();
// Called when a game ends, after HighScorePage was set to KindCount: places Score in the table
// of mode (0 Untimed, 1 Timed).
void InsertScore(int mode);
// Called when the name is confirmed: the typed name becomes the placed row's name.
void StoreName();
// Called by the game-over step and the won panel: the finished game's score goes into the table
// of its mode and kinds, which the high-score screen will show, and the name box opens.
void EnterGameScore();
// Called by ConfirmName and when play is brought to rest for a save: an open name box stores
// its name (the name last used, when nothing was typed) and closes.
void StoreOpenName();
// Called once at start-up: an empty name with its caret.
void NameReset();
// Called by the window procedure for a typed character 32..126 while the name box is up.
void NameAppend(char c);
// Called by the window procedure for Backspace while the name box is up.
void NameBackspace();
// Used by the window procedure: true while the high-score screen shows the name box, the only
// place where typing and Enter act.
bool NameBoxShown();
// Called by the OK button and by the window procedure's Enter key while the name box is open:
// closes the box, stores the name, returns play to its normal phase and writes the save file.
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
