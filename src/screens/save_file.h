// The save file "game.sav": the unfinished game, the high-score tables and the options.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_lock.h"

// ---- Layout ----
// Length of a complete save file in bytes.
constexpr std::size_t SaveFileSize = 6933;
// Name of the save file in the working directory.
constexpr char SaveFileName[] = "game.sav";
// Name under which a save that could be read but held no sound game is kept, before a fresh game
// replaces it.
constexpr char BadSaveName[] = "game.sav.bad";
// Seconds of play a game ended without a word (killed, the power lost) loses at most.
constexpr float AutoSaveSeconds = 30.0f;

// Called by the main menu's Exit button, when a high-score name is confirmed and on every other way
// out of the program. A saved game always resumes playable, or there is no game to continue:
// play is first brought to rest (every motion finished by the rules, a begun level or board
// change carried out, a finished or won game's score entered in its table under the name last
// used), so the file holds a settled, full board with a move and no selection. Writes a new file
// of its own beside "game.sav" and renames it over the old one only when complete and on the disk;
// when that fails the old file is left as it was, a box tells the player the file that failed and
// why (and that the game saved before is kept, when there is one), and the result is false.
bool SaveGame();
// Called once at start-up before the display exists: reads "game.sav" if it is a plain file that
// can be opened (false, and nothing changed, if not; a pipe never makes it wait). Impossible game
// values give a fresh game instead, and the file is first kept as "game.sav.bad"; a game stored in
// motion resumes at rest (empty squares filled, pieces home, a board with a move).
bool LoadGame();
// Called at start-up to decide whether the default high-score tables are needed.
bool SaveFileReadable();
// Called once at start, before the save is read: true, with the system's reason, when a save
// stands there that cannot be read (no permission, an I/O error). The game must not start then:
// its first save would replace the player's game.
bool SaveFileUnreadable(std::string& reason);

// Called once at start, before the save is read: takes the lock on the folder of "game.sav" that
// the game holds while it runs, and removes what a game ended mid-save left beside the save.
// HeldElsewhere when another running game holds it: that game owns the save; Unavailable when the
// folder cannot be locked (platform::FileLockFailure says why): the game must not start either,
// since nothing would keep a second game off its save.
platform::FileLock ClaimSaveFile();
// Called when the game window goes, after the last save: lets another game take the save.
void ReleaseSaveFile();

// Called by SaveGame (and tests): the current globals as the 6933 bytes of the file.
std::vector<uint8_t> EncodeSave();
// Called by LoadGame (and tests): reads a file's bytes of any length over the globals,
// keeping only what is sound. False when the file held no sound game, so a fresh one was dealt.
bool DecodeSave(const uint8_t* data, std::size_t size);

// ---- Saving as play goes ----
// Called once a frame by the frame driver, and with `now` when the game goes to the background:
// a game played on the play screen is saved as it stands whenever it is at rest after a level
// change, and after a move at most every AutoSaveSeconds (at once with `now`), written by a
// thread of its own so the frame never waits for the disk. A game ended without a word (killed,
// the power lost) so loses at most half a minute of play.
void KeepGameAsPlayGoes(bool now);
