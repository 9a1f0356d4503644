// Tests of where the game's files are: its relative paths, the installed data, the player's folder.
#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(GamePath, MapsBackslashesToTheSeparator) {
    EXPECT_EQ(platform::GamePath("bmp\\Logo.jpg"), "bmp/Logo.jpg");
    EXPECT_EQ(platform::GamePath("music\\track0.ogg"), "music/track0.ogg");
    EXPECT_EQ(platform::GamePath("sound\\01.wav"), "sound/01.wav");
    EXPECT_EQ(platform::GamePath("bmp\\game over.jpg"), "bmp/game over.jpg");
    EXPECT_EQ(platform::GamePath(""), "");
}

TEST(GamePath, KeepsNamesLongerThanTheOldPathLimit) {
    // The game once built picture paths in a 100-byte buffer; a long name must arrive whole.
    std::string name(300, 'x');
    EXPECT_EQ(platform::GamePath("bmp\\" + name + ".bmp"), "bmp/" + name + ".bmp");
}

TEST(GamePath, LeadsIntoTheDataFolderOfAnInstalledGame) {
    platform::DataFolder = "/usr/share/pelmaro/";
    EXPECT_EQ(platform::GamePath("bmp\\Logo.jpg"), "/usr/share/pelmaro/bmp/Logo.jpg");
    EXPECT_EQ(platform::GamePath("ReadMe.htm"), "/usr/share/pelmaro/ReadMe.htm");
}

TEST(PlayerFolder, FollowsXdgDataHomeOrElseTheHomeFolder) {
    setenv("HOME", "/home/cook", 1);
    setenv("XDG_DATA_HOME", "/srv/cook/data", 1);
    EXPECT_EQ(platform::PlayerFolder(), "/srv/cook/data/pelmaro");
    setenv("XDG_DATA_HOME", "relative/data", 1);  // only absolute paths count
    EXPECT_EQ(platform::PlayerFolder(), "/home/cook/.local/share/pelmaro");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(platform::PlayerFolder(), "/home/cook/.local/share/pelmaro");
    unsetenv("HOME");
    EXPECT_EQ(platform::PlayerFolder(), "");
}

TEST(InstalledDataFolder, IsShareBesideBinOnlyWhenItHoldsTheGameData) {
    const fs::path prefix =
        fs::temp_directory_path() / ("pelmaro_prefix_" + std::to_string(getpid()));
    fs::create_directories(prefix / "bin");
    EXPECT_EQ(platform::InstalledDataFolder((prefix / "bin").string()), "");
    fs::create_directories(prefix / "share" / "pelmaro" / "bmp");
    EXPECT_EQ(platform::InstalledDataFolder((prefix / "bin").string()),
              (prefix / "share" / "pelmaro").string() + "/");
    // The build folder: the binary beside its data, no share/ folder.
    EXPECT_EQ(platform::InstalledDataFolder(PELMARO_GAME_DIR), "");
    EXPECT_EQ(platform::InstalledDataFolder(""), "");
    fs::remove_all(prefix);
}

}  // namespace
