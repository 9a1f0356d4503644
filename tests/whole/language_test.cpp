// Whole-program tests of the game in German: chosen at start, changed on the Options card, and
// every word drawn at run time kept inside its box on every screen that draws one.
#include "shared/language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/hud.h"
#include "game/shatter.h"
#include "harness.h"
#include "platform/settings.h"
#include "screens/high_scores.h"
#include "screens/new_game.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;

// Hot spots the test clicks, in picture coordinates.
constexpr int ButtonX = 170;  // the main menu's buttons
constexpr int NewGameY = 257;
constexpr int OptionsY = 318;
constexpr int PlayMenuX = 60;  // the play screen's menu button
constexpr int PlayMenuY = 420;
constexpr int LanguageX = 330, LanguageY = 234;  // the language pill, and its left arrow
constexpr int LanguageBackX = 252;

// Where each screen writes words at run time, as its pictures frame them: the language pill, the
// mode and time left on the counter under the thermometer, between the Menu button and the board,
// the question's field on its card, the plate under a game-over banner (the board), the name
// columns of the two high-score tables.
constexpr Area LanguagePill{244, 224, 400, 244};
constexpr Area ModeBox{98, 440, 230, 468};
constexpr Area QuestionField{140, 198, 494, 232};
constexpr Area NameColumns[] = {{85, 150, 195, 470}, {370, 150, 480, 470}};

void WaitForShatter(WholeGame& game) {
    game.RunUntil([] { return ShatterActive == 0; }, 5.0f);
}

std::string SettingsText() {
    std::ifstream in(platform::SettingsFileName(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The screen as it stands in English and in German (the language switched as the Options card
// switches it, without time passing): the German words must differ from the English ones, and
// only inside the screen's boxes. Leaves the game speaking German.
void ExpectWordsInsideBoxes(WholeGame& game, const std::vector<Area>& boxes, const char* name) {
    PickLanguage(0);
    game.Step(0.0f);
    const Shot english = game.Picture();
    PickLanguage(1);
    game.Step(0.0f);
    const Shot german = game.Picture();
    game.SaveShot(std::string("de-") + name);
    int inside = 0;
    Area outside{640, 480, 0, 0};  // the pixels changed outside every box, when there are any
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (english.At(x, y) == german.At(x, y)) continue;
            bool inBox = false;
            for (const Area& box : boxes) inBox = inBox || box.Contains(x, y);
            if (inBox) {
                ++inside;
            } else {
                outside = outside.Joined({x, y, x + 1, y + 1});
            }
        }
    }
    EXPECT_GT(inside, 0) << name << ": no word changed";
    EXPECT_TRUE(outside.Left >= outside.Right)
        << name << ": words outside their boxes, in (" << outside.Left << ", " << outside.Top
        << ")-(" << outside.Right << ", " << outside.Bottom << ")";
}

TEST(LanguageTest, GermanFromTheSettingsOnEveryScreenAndChangedOnTheOptionsCard) {
    fs::create_directories(fs::path(platform::SettingsFileName()).parent_path());
    std::ofstream(platform::SettingsFileName()) << "language=de\n";
    setenv("LANG", "en_GB.UTF-8", 1);  // the player's choice wins over the desktop's
    WholeGame game;
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(CurrentLanguage, 1);
    game.ToMainMenu();
    game.SaveShot("de-main-menu");

    game.Click(ButtonX, OptionsY);
    ASSERT_EQ(ScreenState, Options);
    WaitForShatter(game);
    game.MoveMouse(20, 20);
    ExpectWordsInsideBoxes(game, {LanguagePill}, "options");
    game.Click(LanguageX, LanguageY);  // on: round the list to English, at once and kept
    EXPECT_EQ(CurrentLanguage, 0);
    EXPECT_NE(SettingsText().find("\nlanguage=en\n"), std::string::npos);
    game.Click(LanguageBackX, LanguageY);  // its left arrow: back to German
    EXPECT_EQ(CurrentLanguage, 1);
    EXPECT_NE(SettingsText().find("\nlanguage=de\n"), std::string::npos);
    game.Click(231, 417);  // Back
    ASSERT_EQ(ScreenState, MainMenu);
    WaitForShatter(game);

    game.NewGameFromMenu(Timed, 7);
    Level = 4;
    Score = 2115;
    ShownScore = 2115.0f;
    game.MoveMouse(600, 460);
    ExpectWordsInsideBoxes(game, {ModeBox}, "play");
    GameMode = Untimed;
    ExpectWordsInsideBoxes(game, {ModeBox}, "play-untimed");
    GameMode = Timed;

    game.Click(PlayMenuX, PlayMenuY);
    WaitForShatter(game);
    game.Click(ButtonX, NewGameY);
    game.Click(407, 402);  // Start: the question before the game is left
    ASSERT_EQ(LeaveAsked, 1);
    Level = LastLevel;  // the longest question a game of up to 9,999 points asks
    Score = 9999;
    game.MoveMouse(20, 20);
    ExpectWordsInsideBoxes(game, {QuestionField}, "question");
    game.Click(375, 259);  // Keep
    game.Click(233, 400);  // Back
    WaitForShatter(game);

    game.NewGameFromMenu(Timed, 7);
    Score = 1234567;
    ShownScore = 1234567.0f;
    LevelBar = ShownLevelBar = 0.5f;
    ASSERT_TRUE(game.RunUntil([] { return PlayPhase == PhaseBarEmpty; }, 10.0f));
    game.Step(0.02f, 50);  // the banner has dropped in, the score's plate under it
    ExpectWordsInsideBoxes(game, {BoardArea, ModeBox}, "final-score");

    ASSERT_TRUE(game.RunUntil([] { return ScreenState == HighScores; }, 10.0f));
    WaitForShatter(game);
    game.Press(platform::TestKey::Enter);
    std::vector<Area> columns(std::begin(NameColumns), std::end(NameColumns));
    ExpectWordsInsideBoxes(game, columns, "high-scores");
}

}  // namespace
