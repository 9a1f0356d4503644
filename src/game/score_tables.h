// The six high-score tables and their entry rules: where a finished game's score goes, and the
// name it is stored under.
#pragma once

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
// The row InsertScore reports when the score found no place.
constexpr int NoRow = 10;
// The table the last InsertScore used.
extern int InsertSlot;
// The score the last InsertScore placed.
extern int PlacedScore;
// 1 while the row just named stays lit: until the player leaves the high-score screen.
extern unsigned char NamedRowLit;

// ---- Name entry ----
// 1 while the name box is shown and Enter confirms it.
extern unsigned char NameEntryOpen;
// Maximum number of typed characters in a name.
constexpr int NameMaxLength = 9;
// The typed characters, then "_" as the caret, then a zero byte.
extern char NameBuffer[NameMaxLength + 2];
// Number of typed characters, 0..9.
extern signed char NameLength;
// 1 while the name box belongs to a game left for a new one: once the name is confirmed, the
// table leads on to the new game; a box closed any other way forgets it.
extern unsigned char NewGameAfterName;

// Called at start-up when there is no save file: every table gets "Empty " rows 1000 down to 200.
void ResetHighScores();
// Called when a game ends, after HighScorePage was set to KindCount: places Score in the table
// of mode (0 Untimed, 1 Timed).
void InsertScore(int mode);
// Called when the name is confirmed: the typed name becomes the placed row's name.
void StoreName();
// Called by the game-over step, the won panel, a close and a game left for a new one: the
// finished game's score goes into the table of its mode and kinds, which the high-score screen
// will show, and the name box opens when the score took a row.
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
// Used by the high-score screen: true for a placeholder row of a new table, where it stands or
// pushed down by a better score; no player has earned it.
bool IsPlaceholderRow(const HighScoreEntry& entry);
