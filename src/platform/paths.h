// Where the game's files are: its data (pictures, sounds, music, help page) and the player's own
// folder, which holds the save file.
#pragma once

#include <string>

namespace platform {

// ---- Folders ----
// The folder the game's data is read from, ending in '/'; empty while the data lies in the
// working directory (the build folder, the tests). Set by SettleGameFolders.
extern std::string DataFolder;

// Called by picture loading, the sound effects, the music playlist and the shell before opening
// a data file: "bmp\\Logo.jpg" becomes "bmp/Logo.jpg" inside DataFolder. Any length is accepted.
std::string GamePath(const std::string& gamePath);

// Called by PlayerFolder and the settings file: the game's folder under one of the desktop's
// folders, "$<variable>/pelmaro" when the variable holds an absolute path, else
// "$HOME/<underHome>/pelmaro"; empty when neither is known.
std::string DesktopFolder(const char* variable, const char* underHome);

// Called wherever the environment decides something (folders, the desktop, the language): the
// value of an environment variable; empty when it is not set.
std::string EnvironmentValue(const char* name);

// Called by SettleGameFolders (and tests): the player's own folder for the game,
// "$XDG_DATA_HOME/pelmaro" when that variable holds an absolute path, else
// "$HOME/.local/share/pelmaro"; empty when neither is known.
std::string PlayerFolder();

// Called by SettleGameFolders and the settings file: makes the folder and its parents, the last
// one only its owner may enter; false when there is no such folder afterwards (PlayerFolderFailure
// then says which folder and why).
bool MakePrivateFolder(const std::string& folder);

// Called by SettleGameFolders (and tests): the data folder of a game installed with its binary
// in `binaryFolder` (".../bin" beside ".../share/pelmaro"), ending in '/'; empty when that
// folder holds no game data, as for the build folder.
std::string InstalledDataFolder(const std::string& binaryFolder);

// Called once by the program entry before any file is read. An installed game reads its data
// from its installed data folder and makes the player's own folder (on first start) its working
// directory, so the save file is kept there; a save file left beside the binary is copied in
// once, when the player's folder has none. A game run from its data folder changes nothing.
// False when the player's folder is not known or could not be made or entered (the game must
// then not start: it never keeps the save wherever it happened to be started);
// PlayerFolderFailure says which folder and why.
bool SettleGameFolders(const std::string& saveFileName);

// Called after SettleGameFolders failed: the player's folder and the system's reason, in words
// for the player.
std::string PlayerFolderFailure();

}  // namespace platform
