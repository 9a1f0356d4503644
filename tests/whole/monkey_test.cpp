// A long run of random input over every screen: the game never crashes, hangs or breaks its board.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include "game/board.h"
#include "game/hud.h"
#include "gfx/display.h"
#include "gfx/kept_background.h"
#include "gfx/sprite.h"
#include "harness.h"
#include "platform/display.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "screens/save_file.h"
#include "shared/state.h"

namespace {

// The main menu's Exit button, which would end the run early.
bool OnExitButton(int x, int y) {
    return ScreenState == MainMenu && x >= 85 && x < 264 && y >= 416 && y < 468;
}

// What must hold after every frame, whatever the player did.
void ExpectSoundGame() {
    ASSERT_GE(KindCount, 6);
    ASSERT_LE(KindCount, 8);
    ASSERT_GE(Level, 1);
    ASSERT_LE(Level, 99);
    // Kinds stay within the game's own: a choice left on the new-game screen with Back does not
    // change the game to continue.
    for (const Cell& cell : Board) ASSERT_TRUE(cell.Kind < KindCount || cell.Kind == EmptyKind);
    ASSERT_TRUE(ScreenState >= Logo && ScreenState <= HowToPlay && ScreenState != 6);
}

// A number from the environment (the soak's seed and length), or `otherwise`.
unsigned long FromEnvironment(const char* name, unsigned long otherwise) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoul(text, nullptr, 10) : otherwise;
}

// The game is saved as a closing window would save it and loaded again: the loaded state is the
// saved one, byte for byte.
void SaveAndLoadAgain() {
    ASSERT_TRUE(SaveGame());
    const std::vector<uint8_t> saved = EncodeSave();
    ASSERT_TRUE(LoadGame());
    ASSERT_EQ(EncodeSave(), saved);
}

TEST(MonkeyTest, RandomClicksKeysAndTextOnEveryScreenKeepTheGameSound) {
    platform::RecordShellOpens = true;  // the help page and web link are only recorded
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(1, 7);  // from a Timed game; the menu button leads on to every other screen
    // `make soak SEED=... ACTIONS=...` runs the same test longer on other dice.
    std::mt19937 random(static_cast<unsigned>(FromEnvironment("PELMARO_SOAK_SEED", 20261207)));
    const unsigned long actions = FromEnvironment("PELMARO_SOAK_ACTIONS", 4000);
    std::uniform_int_distribution<int> pickX(-20, 659), pickY(-20, 499), pick(0, 999);
    std::set<int> visited;
    int reloads = 0;
    for (unsigned long action = 0; action < actions && !game.Ended(); ++action) {
        const int x = pickX(random), y = pickY(random), what = pick(random) / 10;
        if (pick(random) < 5) {
            SaveAndLoadAgain();
            ++reloads;
        } else if (what < 35 && !OnExitButton(x, y)) {
            game.Click(x, y);
        } else if (what < 60) {
            game.MoveMouse(x, y);
        } else if (what < 62) {
            game.Press(platform::TestKey::Pause);
        } else if (what < 64) {
            game.Press(platform::TestKey::Enter);
        } else if (what < 67) {
            game.Type(std::string(1, static_cast<char>(32 + pick(random) % 95)));
        } else {
            game.Step(0.005f + 0.00005f * static_cast<float>(pick(random)));
        }
        visited.insert(ScreenState);
        ExpectSoundGame();
        // A screen's picture kept in the back buffer is still there wherever nothing was drawn
        // over it, so copying back only what was drawn gives the picture a whole redraw gives.
        ASSERT_TRUE(KeptBackgroundIntact()) << "action " << action << " on screen " << ScreenState;
        // The present compares only the rows drawn since the last picture shown: what it shows
        // is still the whole frame drawn (looked at every few actions, for time).
        if (action % 4 == 0 && !game.Ended()) {
            ASSERT_TRUE(platform::ReadPresentedPicture() ==
                        platform::ReadSurfacePicture(BackBuffer->Surface()))
                << "action " << action << " on screen " << ScreenState;
        }
        if (HasFatalFailure()) return;
    }
    EXPECT_FALSE(game.Ended());
    EXPECT_GE(visited.size(), 4u);  // the run wandered through the menus, not only play
    EXPECT_GT(reloads, 0);
    std::printf("%lu actions, %d saves and reloads\n", actions, reloads);
}

}  // namespace
