// Tests of the mapping from the game's relative paths to this platform's paths.
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>

TEST(GamePath, MapsBackslashesToTheSeparator) {
    EXPECT_EQ(platform::GamePath("bmp\\Logo.jpg"), "bmp/Logo.jpg");
    EXPECT_EQ(platform::GamePath("music\\track0.ogg"), "music/track0.ogg");
    EXPECT_EQ(platform::GamePath("sound\\01.wav"), "sound/01.wav");
    EXPECT_EQ(platform::GamePath("bmp\\game over.jpg"), "bmp/game over.jpg");
    EXPECT_EQ(platform::GamePath("game.sav"), "game.sav");
    EXPECT_EQ(platform::GamePath(""), "");
}

TEST(GamePath, KeepsNamesLongerThanTheOldPathLimit) {
    // The game once built picture paths in a 100-byte buffer; a long name must arrive whole.
    std::string name(300, 'x');
    EXPECT_EQ(platform::GamePath("bmp\\" + name + ".bmp"), "bmp/" + name + ".bmp");
}
