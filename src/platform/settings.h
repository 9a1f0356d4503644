// The player's settings that are not part of a game (the language, the window): a small
// key=value file under the desktop's settings folder, kept apart from the save file.
#pragma once

#include <map>
#include <string>

namespace platform {

// ---- The settings ----
// Every setting by its key, as last read from the file or changed since; empty until LoadSettings.
extern std::map<std::string, std::string> Settings;

// Called by LoadSettings and SaveSettings (and tests): the settings file,
// "$XDG_CONFIG_HOME/pelmaro/settings" when that variable holds an absolute path, else
// "$HOME/.config/pelmaro/settings"; empty when neither is known.
std::string SettingsFileName();

// Called by LoadSettings (and tests): reads the file's text into `settings`. The file holds one
// "key=value" a line; a key is made of a-z, 0-9, '-', '_' and '.', a value of any characters but
// control characters; blank lines and lines starting with '#' are notes. False, with the first
// fault in words in `fault`, when a line is neither.
bool ParseSettings(const std::string& text, std::map<std::string, std::string>& settings,
                   std::string& fault);

// Called by SaveSettings (and tests): the file's text for `settings`, a note saying what the file
// is first, then one line a key in the keys' order.
std::string FormatSettings(const std::map<std::string, std::string>& settings);

// Called once at start-up before a setting is asked for: fills Settings from the file. A missing
// file leaves them empty; a file that cannot be read or is wrong leaves them empty too, with a
// note on standard error saying so (the next save writes the file afresh).
void LoadSettings();

// Called at start-up by what keeps a setting there (the language): the setting's value ("" when it
// was never set).
std::string Setting(const std::string& key);

// Called when the player changes a setting: keeps `value` under `key` (a key ParseSettings
// accepts, a value without control characters) and writes the whole file at once, as the save is
// written: into a new file, synced, renamed over the old one, never through a link; the folder is
// made first when missing. False, with a note on standard error, when it could not be written;
// the setting still holds for this run.
bool ChangeSetting(const std::string& key, const std::string& value);

}  // namespace platform
