// Tests of the high-score tables and the name a score is stored under.
#include "game/score_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/sound_effects.h"
#include "game/board.h"

namespace {

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

}  // namespace
