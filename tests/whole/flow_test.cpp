// Whole-program tests of the screen flow: from the logo through a game to the high scores and out.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "audio/music.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "harness.h"
#include "platform/messages.h"
#include "screens/new_game.h"
#include "screens/options.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;

// Hot spots the tests click, in picture coordinates.
constexpr int ButtonX = 170;  // the main menu's buttons
constexpr int ContinueY = 197;
constexpr int NewGameY = 257;
constexpr int OptionsY = 318;
constexpr int ExitY = 442;
constexpr int PlayMenuX = 60;  // the play screen's menu button
constexpr int PlayMenuY = 420;

TEST(FlowTest, LogoTitleGameOverNameHighScoresAndExit) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.Step(0.02f, 50);
    EXPECT_EQ(ScreenState, Logo);
    game.Click(320, 440);  // a click ends the logo's reveal
    EXPECT_EQ(ScreenState, Title);
    game.WaitForScreen();
    game.SaveShot("flow-title");
    game.Click(20, 20);  // the title waits for any click
    EXPECT_EQ(ScreenState, MainMenu);
    // A click while the title breaks away cuts the transition short and is lost.
    EXPECT_EQ(ShatterActive, 1);
    game.Click(ButtonX, NewGameY);
    EXPECT_EQ(ShatterActive, 0);
    game.Step(0.02f, 5);
    EXPECT_EQ(ScreenState, MainMenu);
    game.Click(ButtonX, ContinueY);  // nothing to continue yet
    EXPECT_EQ(ScreenState, MainMenu);

    game.Click(ButtonX, NewGameY);
    ASSERT_EQ(ScreenState, NewGame);
    game.Click(317, 129);  // Timed
    game.Click(320, 318);  // 7 kinds
    game.Click(407, 402);  // Start
    ASSERT_EQ(ScreenState, Play);
    EXPECT_EQ(GameMode, Timed);
    EXPECT_EQ(KindCount, 7);
    game.WaitForScreen();
    game.RunUntil([] { return LevelBar < 29.0f; }, 20.0f);

    game.Click(PlayMenuX, PlayMenuY);
    ASSERT_EQ(ScreenState, MainMenu);
    EXPECT_EQ(CurrentTrack, 0);
    game.WaitForScreen();
    game.Click(ButtonX, ContinueY);
    ASSERT_EQ(ScreenState, Play);
    EXPECT_GE(CurrentTrack, 1);
    game.WaitForScreen();

    Score = 5000;  // enough for a row of the table
    LevelBar = ShownLevelBar = 0.5f;
    ASSERT_TRUE(game.RunUntil([] { return ScreenState == HighScores; }, 10.0f));
    EXPECT_EQ(NameEntryOpen, 1);
    EXPECT_EQ(HighScorePage, 7);
    game.WaitForScreen();
    game.Type("ABCDEFGHIJ");
    EXPECT_STREQ(NameBuffer, "ABCDEFGHI_");
    game.SaveShot("flow-name-entry");
    game.Press(platform::TestKey::Enter);
    EXPECT_EQ(NameEntryOpen, 0);
    ASSERT_TRUE(fs::exists(game.Folder() + "/game.sav"));
    bool found = false;
    for (int row = 0; row < HighScoreRows; ++row)
        found = found || std::strcmp(HighScoreTable[row][4].Name, "ABCDEFGHI") == 0;
    EXPECT_TRUE(found);
    game.Step();
    game.SaveShot("flow-high-scores");

    game.Click(320, 439);  // Back
    ASSERT_EQ(ScreenState, MainMenu);
    game.WaitForScreen();
    game.Click(ButtonX, ExitY);
    EXPECT_TRUE(game.Ended());
    EXPECT_EQ(fs::file_size(game.Folder() + "/game.sav"), 6933u);
}

// The first run of the restart test, in a child process: a Timed game of 7 kinds, left through
// the menu's Exit button; the board's kinds go to "kinds.txt" for the second run to compare.
int FirstRun(WholeGame& game) {
    if (!game.Start()) return 1;
    game.PlayNewGame(1, 7);
    Score = 4321;
    ShownScore = 4321.0f;
    Level = 5;
    game.Step(0.02f, 10);
    std::ofstream kinds(game.Folder() + "/kinds.txt");
    for (const Cell& cell : Board) kinds << static_cast<int>(cell.Kind) << ' ';
    kinds << '\n';
    kinds.close();
    game.Click(PlayMenuX, PlayMenuY);
    game.WaitForScreen();
    game.Click(ButtonX, ExitY);
    return game.Ended() ? 0 : 2;
}

TEST(FlowTest, RestartContinuesTheSameGame) {
    WholeGame game;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(FirstRun(game));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    ASSERT_TRUE(game.Start());
    EXPECT_EQ(NoGameToContinue, 0);
    game.RunUntil([] { return ScreenState == Title && ShatterActive == 0; }, 10.0f);
    game.Click(320, 440);
    game.WaitForScreen();
    game.Click(ButtonX, ContinueY);
    ASSERT_EQ(ScreenState, Play);
    EXPECT_EQ(Score, 4321);
    EXPECT_EQ(Level, 5);
    EXPECT_EQ(GameMode, Timed);
    EXPECT_EQ(KindCount, 7);
    std::ifstream kinds(game.Folder() + "/kinds.txt");
    for (const Cell& cell : Board) {
        int kind = -1;
        kinds >> kind;
        EXPECT_EQ(cell.Kind, kind);
    }
}

TEST(FlowTest, OptionsToggleFullScreenAndDragTheMusicKnob) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.RunUntil([] { return ScreenState == Title && ShatterActive == 0; }, 10.0f);
    game.Click(320, 440);
    game.WaitForScreen();
    game.Click(ButtonX, OptionsY);
    ASSERT_EQ(ScreenState, Options);
    const Shot windowed = game.Picture();
    game.Click(323, 95);  // Full screen
    EXPECT_EQ(FullScreen, 1);
    EXPECT_EQ(ScreenState, Options);
    game.Step();
    game.SaveShot("flow-options-full-screen");
    // The same options screen, now with its check mark.
    EXPECT_LT(game.Picture().DifferingPixels(windowed, 0, 0, 640, 480, 8), 640 * 480 / 20);
    game.Click(323, 95);
    EXPECT_EQ(FullScreen, 0);

    game.MoveMouse(401, 278);  // on the music knob at the right end
    platform::InjectMouseButton(true);
    game.Step();
    game.MoveMouse(310, 278);
    EXPECT_EQ(MusicSlider, 300);
    platform::InjectMouseButton(false);
    game.Step();
    game.MoveMouse(250, 278);
    EXPECT_EQ(MusicSlider, 300);
    EXPECT_EQ(MusicKnobDragged, 0);

    game.Click(231, 417);  // Back
    EXPECT_EQ(ScreenState, MainMenu);
}

// Start asks before it leaves a game in progress; Keep keeps it, and a game left enters its
// score in its table like a finished one: its name is asked, the table stays with the new row
// lit until the player moves on with Back, and then the new game begins.
TEST(FlowTest, StartAsksBeforeLeavingAGameInProgressAndTheLeftGameIsScored) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(Untimed, 7);
    Level = 4;
    Score = 2115;
    ShownScore = 2115.0f;
    game.Click(PlayMenuX, PlayMenuY);
    game.WaitForScreen();
    game.Click(ButtonX, NewGameY);
    game.Click(317, 129);  // Timed, for the next game
    game.Click(407, 402);  // Start
    ASSERT_EQ(LeaveAsked, 1);
    EXPECT_EQ(ScreenState, NewGame);
    game.MoveMouse(265, 259);
    game.SaveShot("flow-leave-game");
    game.Click(375, 259);  // Keep
    EXPECT_EQ(LeaveAsked, 0);
    game.Click(407, 402);
    game.Click(265, 259);  // Leave
    ASSERT_EQ(ScreenState, HighScores);
    ASSERT_EQ(NameEntryOpen, 1);
    EXPECT_EQ(HighScorePage, 7);
    EXPECT_EQ(HighScoreTable[0][1].Score, 2115);  // the Untimed table of 7 kinds
    game.WaitForScreen();
    game.Type("Ann");
    game.SaveShot("flow-leave-name-entry");
    game.Press(platform::TestKey::Enter);
    EXPECT_STREQ(HighScoreTable[0][1].Name, "Ann");
    game.Step();
    const Shot named = game.Picture();
    game.Step(0.1f, 50);
    game.SaveShot("flow-leave-named");
    EXPECT_EQ(ScreenState, HighScores);
    EXPECT_EQ(named.DifferingPixels(game.Picture(), 0, 0, 640, 480), 0);
    game.Press(platform::TestKey::Escape);  // Back
    EXPECT_EQ(ScreenState, Play);
    EXPECT_EQ(GameMode, Timed);
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(NoGameToContinue, 0);
}

// Every choice is taken by a click on the middle of its drawn box or round socket: the five of
// the new-game card and the three of the options card.
TEST(FlowTest, EveryDrawnBoxAndSocketTakesItsClick) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.ToMainMenu();
    game.Click(ButtonX, NewGameY);
    ASSERT_EQ(ScreenState, NewGame);
    // Each socket's middle: the marker's place plus half its 19 by 25 size.
    struct Socket {
        int X, Y, Mode, Kinds;
    };
    for (const Socket& socket :
         {Socket{265, 130, Timed, 6}, Socket{265, 171, Untimed, 6}, Socket{265, 279, Untimed, 6},
          Socket{265, 319, Untimed, 7}, Socket{265, 355, Untimed, 8}, Socket{265, 130, Timed, 8}}) {
        game.Click(socket.X, socket.Y);
        EXPECT_EQ(ChosenMode, socket.Mode) << socket.X << "," << socket.Y;
        EXPECT_EQ(ChosenKinds, socket.Kinds) << socket.X << "," << socket.Y;
    }
    game.Click(233, 400);  // Back
    game.Click(ButtonX, OptionsY);
    ASSERT_EQ(ScreenState, Options);
    // Each check box's middle: the check mark's place plus half its size.
    game.Click(249, 96);
    EXPECT_EQ(FullScreen, 1);
    game.Click(249, 96);
    EXPECT_EQ(FullScreen, 0);
    const unsigned char cursor = SystemCursor, food = EasyFood;
    game.Click(249, 134);
    EXPECT_NE(SystemCursor, cursor);
    game.Click(249, 173);
    EXPECT_NE(EasyFood, food);
}

}  // namespace
