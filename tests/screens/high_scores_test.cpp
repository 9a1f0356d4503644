// Tests of the high-score screen's buttons and its name box.
#include "screens/high_scores.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;

// OK of the name box, which lies below a score placed in rows 0..3.
constexpr int OkX = 300, OkY = 380;
constexpr int BackX = 300, BackY = 440;
constexpr int PreviousX = 80, PreviousY = 440;
constexpr int NextX = 550, NextY = 440;

class HighScoresScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetHighScores();
        NameReset();
        HighScorePage = 6;
        EffectRequests.clear();
        ScreenState = HighScores;
        PlayPhase = PhasePlaying;
        ScorePlaced = 0;
        ShatterRequested = 0;
    }
};

TEST_F(HighScoresScreenTest, PagingWrapsBetweenSixAndEight) {
    EXPECT_TRUE(ClickHighScores(PreviousX, PreviousY));
    EXPECT_EQ(HighScorePage, 8);
    EXPECT_TRUE(ClickHighScores(NextX, NextY));
    EXPECT_EQ(HighScorePage, 6);
    EXPECT_TRUE(ClickHighScores(NextX, NextY));
    EXPECT_TRUE(ClickHighScores(NextX, NextY));
    EXPECT_EQ(HighScorePage, 8);
    EXPECT_TRUE(ClickHighScores(PreviousX, PreviousY));
    EXPECT_EQ(HighScorePage, 7);
    EXPECT_EQ(EffectRequests, (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_FALSE(ClickHighScores(320, 300));
}

TEST_F(HighScoresScreenTest, HotSpotEdges) {
    EXPECT_TRUE(ClickHighScores(55, 426));
    EXPECT_FALSE(ClickHighScores(111, 440));
    EXPECT_FALSE(ClickHighScores(54, 440));
    EXPECT_TRUE(ClickHighScores(580, 467));
    EXPECT_FALSE(ClickHighScores(581, 440));
    EXPECT_FALSE(ClickHighScores(300, 453));
}

TEST_F(HighScoresScreenTest, ButtonsWaitWhileANameIsDueOrTheScreenChanges) {
    ScorePlaced = 1;
    PlayPhase = PhaseBarEmpty;
    EXPECT_FALSE(ClickHighScores(NextX, NextY));
    EXPECT_FALSE(ClickHighScores(BackX, BackY));
    PlayPhase = PhasePlaying;
    ShatterRequested = 1;
    EXPECT_FALSE(ClickHighScores(NextX, NextY));
    EXPECT_EQ(HighScorePage, 6);
    ScreenState = MainMenu;
    ShatterRequested = 0;
    EXPECT_FALSE(ClickHighScores(NextX, NextY));
    EXPECT_TRUE(EffectRequests.empty());
}

TEST_F(HighScoresScreenTest, BackReturnsToTheMenu) {
    MixerIdle = 0;
    MenuHighlight = 2;
    MenuPicture = 2;
    EXPECT_TRUE(ClickHighScores(BackX, BackY));
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_EQ(MixerIdle, 1);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    EXPECT_EQ(ShatterRequested, 1);
    EXPECT_EQ(MenuHighlight, 6);
    EXPECT_EQ(MenuPicture, 5);
    EXPECT_EQ(EffectRequests, (std::vector<int>{1}));
}

TEST_F(HighScoresScreenTest, OkConfirmsTheNameAndSaves) {
    fs::path home = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("pelmaro_hs_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);

    Score = 1500;
    NameEntryOpen = 1;
    PlayPhase = PhaseBarEmpty;
    GameWon = 1;
    InsertScore(Untimed);
    for (char c : std::string("Pat")) NameAppend(c);
    EXPECT_FALSE(ClickHighScores(OkX, OkY));  // confirmed, yet not counted as handled
    EXPECT_EQ(NameEntryOpen, 0);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    EXPECT_EQ(GameWon, 0);
    EXPECT_STREQ(HighScoreTable[0][0].Name, "Pat");
    EXPECT_TRUE(EffectRequests.empty());
    EXPECT_EQ(fs::file_size("game.sav"), 6933u);

    Score = 1400;
    InsertScore(Untimed);
    EXPECT_FALSE(ClickHighScores(OkX, OkY));  // the box is closed: OK no longer stores a name
    EXPECT_STREQ(HighScoreTable[1][0].Name, "Empty ");
    EXPECT_EQ(ScorePlaced, 1);
    fs::current_path(home);
    fs::remove_all(dir);
}

}  // namespace
