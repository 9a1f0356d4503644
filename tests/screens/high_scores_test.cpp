// Tests of the high-score tables, the name box and the high-score screen's buttons.
#include "screens/high_scores.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/play_screen.h"
#include "game/shatter.h"
#include "screens/flow.h"

namespace {

namespace fs = std::filesystem;

constexpr int OkX = 300, OkY = 270;
constexpr int BackX = 300, BackY = 440;
constexpr int PreviousX = 80, PreviousY = 440;
constexpr int NextX = 550, NextY = 440;

class HighScoresTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetHighScores();
        NameReset();
        HighScorePage = 6;
        EffectRequests.clear();
    }
};

// The scores of one table, best first.
std::vector<int> Scores(int slot) {
    std::vector<int> scores;
    for (int row = 0; row < HighScoreRows; ++row) scores.push_back(HighScoreTable[row][slot].Score);
    return scores;
}

void Type(const std::string& text) {
    for (char c : text) NameAppend(c);
}

TEST_F(HighScoresTest, DefaultTablesCountDownFrom1000) {
    for (int slot = 0; slot < HighScoreSlots; ++slot) {
        EXPECT_EQ(Scores(slot), (std::vector<int>{1000, 900, 800, 700, 600, 500, 400, 300, 200}));
        for (int row = 0; row < HighScoreRows; ++row)
            EXPECT_STREQ(HighScoreTable[row][slot].Name, "Empty ");
    }
}

TEST_F(HighScoresTest, InsertScoreKeepsTheOrderAndPutsTiesAbove) {
    HighScorePage = 7;
    Score = 1000;  // equals row 0: becomes the new row 0, the old 200 drops out
    InsertScore(Timed);
    EXPECT_EQ(InsertRow, 0);
    EXPECT_EQ(ScorePlaced, 1);
    EXPECT_EQ(Scores(4), (std::vector<int>{1000, 1000, 900, 800, 700, 600, 500, 400, 300}));
    EXPECT_STREQ(HighScoreTable[0][4].Name, "Empty ");  // the old name shows until StoreName
    EXPECT_EQ(Scores(1), (std::vector<int>{1000, 900, 800, 700, 600, 500, 400, 300, 200}));

    Score = 700;
    InsertScore(Timed);
    EXPECT_EQ(InsertRow, 4);
    EXPECT_EQ(Scores(4), (std::vector<int>{1000, 1000, 900, 800, 700, 700, 600, 500, 400}));

    Score = 450;  // only the last row moves out
    InsertScore(Timed);
    EXPECT_EQ(InsertRow, 8);
    EXPECT_EQ(Scores(4), (std::vector<int>{1000, 1000, 900, 800, 700, 700, 600, 500, 450}));

    Score = 449;
    InsertScore(Timed);
    EXPECT_EQ(InsertRow, 10);
    EXPECT_EQ(ScorePlaced, 0);
    EXPECT_EQ(Scores(4), (std::vector<int>{1000, 1000, 900, 800, 700, 700, 600, 500, 450}));
}

TEST_F(HighScoresTest, SlotFollowsModeAndKinds) {
    Score = 5000;
    for (int kinds = 6; kinds <= 8; ++kinds) {
        for (int mode = 0; mode <= 1; ++mode) {
            HighScorePage = kinds;
            InsertScore(mode);
            Type("x");
            StoreName();
            NameBackspace();
        }
    }
    for (int slot = 0; slot < HighScoreSlots; ++slot) {
        EXPECT_EQ(HighScoreTable[0][slot].Score, 5000) << slot;
        EXPECT_STREQ(HighScoreTable[0][slot].Name, "x") << slot;
    }
}

TEST_F(HighScoresTest, NameEntryKeepsNineCharactersAndAShownCaret) {
    EXPECT_STREQ(NameBuffer, "_");
    Type("ABCDEFGHIJ");
    EXPECT_STREQ(NameBuffer, "ABCDEFGHI_");
    EXPECT_EQ(NameLength, 9);
    NameBackspace();
    EXPECT_STREQ(NameBuffer, "ABCDEFGH_");
    NameAppend(31);
    NameAppend(127);
    NameAppend(static_cast<char>(200));
    EXPECT_STREQ(NameBuffer, "ABCDEFGH_");
    NameBackspace();
    NameAppend(' ');
    NameAppend('~');
    EXPECT_STREQ(NameBuffer, "ABCDEFG ~_");
    for (int i = 0; i < 12; ++i) NameBackspace();
    EXPECT_STREQ(NameBuffer, "_");
    EXPECT_EQ(NameLength, 0);
    EXPECT_TRUE(EffectRequests.empty());
}

TEST_F(HighScoresTest, StoreNameDropsTheCaret) {
    Score = 950;
    InsertScore(Untimed);
    Type("Chef Ann");
    StoreName();
    EXPECT_STREQ(HighScoreTable[1][0].Name, "Chef Ann");
    EXPECT_EQ(HighScoreTable[1][0].Score, 950);
    EXPECT_EQ(ScorePlaced, 0);
    EXPECT_STREQ(NameBuffer, "Chef Ann_");  // the next name box starts with it

    NameReset();
    Score = 2000;
    InsertScore(Untimed);
    StoreName();
    EXPECT_STREQ(HighScoreTable[0][0].Name, "");

    Score = 1;
    InsertScore(Untimed);
    Type("Nobody");
    StoreName();
    for (int row = 0; row < HighScoreRows; ++row)
        EXPECT_STRNE(HighScoreTable[row][0].Name, "Nobody");
}

class HighScoresScreenTest : public HighScoresTest {
  protected:
    void SetUp() override {
        HighScoresTest::SetUp();
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
    Type("Pat");
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
