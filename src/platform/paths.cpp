// Where the game's files are: the installed or working-directory data, the player's own folder.
#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {

std::string DataFolder;

namespace {

namespace fs = std::filesystem;

// The installed data folder seen from the installed binary's folder, set by the build.
const char* const DataFromBinary = PELMARO_DATA_FROM_BINARY;

// The folder of the running program's binary; empty when the system does not say.
fs::path BinaryFolder() {
    std::error_code error;
    fs::path binary = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : binary.parent_path();
}

// Why the player's folder could not be used.
std::string Failure;

// Notes the folder that failed and the reason.
bool Fail(const std::string& folder, const std::string& reason) {
    Failure = folder + "\n(" + reason + ")";
    return false;
}

// Copies the save file from beside the binary when the player's folder has none yet.
void TakeOverOldSave(const fs::path& binaryFolder, const fs::path& playerFolder,
                     const std::string& saveFileName) {
    std::error_code error;
    const fs::path old = binaryFolder / saveFileName;
    if (fs::exists(playerFolder / saveFileName, error) || !fs::is_regular_file(old, error)) return;
    fs::copy_file(old, playerFolder / saveFileName, error);
}

}  // namespace

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string GamePath(const std::string& gamePath) {
    std::string path = gamePath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return DataFolder + path;
}

std::string DesktopFolder(const char* variable, const char* underHome) {
    const std::string folder = EnvironmentValue(variable);
    if (!folder.empty() && folder.front() == '/') return folder + "/pelmaro";
    const std::string home = EnvironmentValue("HOME");
    if (home.empty()) return "";
    return home + "/" + underHome + "/pelmaro";
}

std::string PlayerFolder() { return DesktopFolder("XDG_DATA_HOME", ".local/share"); }

bool MakePrivateFolder(const std::string& name) {
    const fs::path folder = name;
    std::error_code error;
    fs::create_directories(folder.parent_path(), error);
    if (error) return Fail(folder.parent_path().string(), error.message());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return Fail(folder.string(), std::strerror(errno));
    if (!fs::is_directory(folder, error))
        return Fail(folder.string(), error ? error.message() : "it is not a folder");
    return true;
}

std::string InstalledDataFolder(const std::string& binaryFolder) {
    if (binaryFolder.empty()) return "";
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(fs::path(binaryFolder) / DataFromBinary, error);
    if (error || !fs::is_directory(folder / "bmp", error)) return "";
    return folder.string() + "/";
}

bool SettleGameFolders(const std::string& saveFileName) {
    const fs::path binaryFolder = BinaryFolder();
    DataFolder = InstalledDataFolder(binaryFolder.string());
    if (DataFolder.empty()) return true;
    const std::string player = PlayerFolder();
    if (player.empty())
        return Fail("~/.local/share/pelmaro", "neither XDG_DATA_HOME nor HOME says where it is");
    if (!MakePrivateFolder(player)) return false;
    TakeOverOldSave(binaryFolder, player, saveFileName);
    if (::chdir(player.c_str()) != 0) return Fail(player, std::strerror(errno));
    return true;
}

std::string PlayerFolderFailure() { return Failure; }

}  // namespace platform
