// The player's settings file: read once at start, written whole whenever a setting changes.
#include "platform/settings.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"

namespace platform {

std::map<std::string, std::string> Settings;

namespace {

// A settings file longer than this is not one the game wrote: it is ignored.
constexpr std::size_t LongestFile = 64 * 1024;

// What the file says about itself, written at its top.
const char* const FileNote =
    "# Pelmaro's settings, written by the game whenever one changes: one key=value a line.\n"
    "# language: the language the player chose on the Options card (en, de, ...); when it is\n"
    "# missing the game speaks the desktop's language.\n";

bool KeyCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

bool ValidKey(const std::string& key) {
    if (key.empty()) return false;
    for (char c : key) {
        if (!KeyCharacter(c)) return false;
    }
    return true;
}

bool ValidValue(const std::string& value) {
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) return false;
    }
    return true;
}

// Writes Settings into the file; false with a note on standard error when that fails.
bool SaveSettings() {
    const std::string name = SettingsFileName();
    if (name.empty()) return false;
    const std::string text = FormatSettings(Settings);
    ReplaceFailure failure{};
    if (MakePrivateFolder(std::filesystem::path(name).parent_path().string()) &&
        ReplaceFile(name, std::vector<uint8_t>(text.begin(), text.end()), failure))
        return true;
    std::fprintf(stderr, "Pelmaro: the settings could not be written to %s (%s).\n",
                 FullPath(name).c_str(),
                 failure.reason.empty() ? "its folder cannot be made" : failure.reason.c_str());
    return false;
}

}  // namespace

std::string SettingsFileName() {
    const std::string folder = DesktopFolder("XDG_CONFIG_HOME", ".config");
    return folder.empty() ? "" : folder + "/settings";
}

bool ParseSettings(const std::string& text, std::map<std::string, std::string>& settings,
                   std::string& fault) {
    settings.clear();
    std::size_t start = 0;
    for (int line = 1; start < text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string row = text.substr(start, end - start);
        start = end + 1;
        if (row.empty() || row.front() == '#') continue;
        const std::size_t equals = row.find('=');
        const std::string key = row.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : row.substr(equals + 1);
        if (equals == std::string::npos || !ValidKey(key) || !ValidValue(value)) {
            fault = "line " + std::to_string(line) + " is not key=value";
            settings.clear();
            return false;
        }
        settings[key] = value;
    }
    return true;
}

std::string FormatSettings(const std::map<std::string, std::string>& settings) {
    std::string text = FileNote;
    for (const auto& [key, value] : settings) text += key + "=" + value + "\n";
    return text;
}

void LoadSettings() {
    Settings.clear();
    const std::string name = SettingsFileName();
    std::error_code error;
    if (name.empty() || !std::filesystem::exists(std::filesystem::symlink_status(name, error)))
        return;
    std::vector<uint8_t> bytes;
    std::string reason;
    std::string fault;
    const FileRead read = ReadPlainFile(name, LongestFile + 1, bytes, reason);
    if (read == FileRead::NoFile) {
        fault = "it is not a file that can be read";
    } else if (read == FileRead::Failed) {
        fault = "it cannot be read (" + reason + ")";
    } else if (bytes.size() > LongestFile) {
        fault = "it is longer than a settings file";
    } else {
        ParseSettings(std::string(bytes.begin(), bytes.end()), Settings, fault);
    }
    if (!fault.empty())
        std::fprintf(stderr, "Pelmaro: the settings in %s are ignored: %s.\n",
                     FullPath(name).c_str(), fault.c_str());
}

std::string Setting(const std::string& key) {
    const auto found = Settings.find(key);
    return found == Settings.end() ? "" : found->second;
}

bool ChangeSetting(const std::string& key, const std::string& value) {
    Settings[key] = value;
    return SaveSettings();
}

}  // namespace platform
