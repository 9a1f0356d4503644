// Tests of the main menu, options, new-game, title and won-panel hot spots and transitions.
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
#include "platform/shell.h"
#include "screens/high_scores.h"
#include "screens/how_to_play.h"
#include "screens/logo_title.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "screens/options.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;

class MenusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EffectRequests.clear();
        platform::RecordShellOpens = true;
        ShatterRequested = 0;
    }
};

TEST_F(MenusTest, DisabledContinueIgnoresHoverAndClick) {
    ScreenState = MainMenu;
    NoGameToContinue = 1;
    HoverMainMenu(100, 190);
    EXPECT_EQ(MenuHighlight, 6);
    EXPECT_EQ(MenuPicture, 5);
    EXPECT_FALSE(ClickMainMenu(100, 190));
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_TRUE(EffectRequests.empty());
}

TEST_F(MenusTest, HoverSoundPlaysOncePerHotSpotEntry) {
    ScreenState = MainMenu;
    HoverMainMenu(100, 250);  // New game
    HoverMainMenu(110, 260);
    EXPECT_EQ(MenuHighlight, 1);
    HoverMainMenu(100, 300);  // straight onto Options: no second sound
    EXPECT_EQ(MenuHighlight, 2);
    EXPECT_EQ(MenuPicture, 2);
    EXPECT_EQ(EffectRequests, (std::vector<int>{0}));
    HoverMainMenu(100, 288);  // the gap between buttons
    EXPECT_EQ(MenuHighlight, 6);
    EXPECT_EQ(HoverLatch, 0);
    HoverMainMenu(100, 360);
    EXPECT_EQ(EffectRequests, (std::vector<int>{0, 0}));
}

TEST_F(MenusTest, HowToPlayLinkLightsWithoutChangingThePictureAndOpensTheCard) {
    ScreenState = MainMenu;
    HoverMainMenu(100, 300);
    HoverMainMenu(320, 460);
    EXPECT_EQ(MenuHighlight, 5);
    EXPECT_EQ(MenuPicture, 2);
    HoverMainMenu(313, 460);  // the link's art starts at 310, its hot spot at 314
    EXPECT_EQ(MenuHighlight, 6);
    EffectRequests.clear();
    EXPECT_TRUE(ClickMainMenu(555, 470));
    EXPECT_EQ(ScreenState, HowToPlay);
    EXPECT_TRUE(platform::OpenedTargets.empty());
    EXPECT_EQ(EffectRequests, (std::vector<int>{1}));
}

TEST_F(MenusTest, MenuButtonsLeadToTheirScreens) {
    ScreenState = MainMenu;
    MenuHighlight = MenuPicture = 1;
    EXPECT_TRUE(ClickMainMenu(85, 231));
    EXPECT_EQ(ScreenState, NewGame);
    EXPECT_EQ(MenuHighlight, 1);  // kept under the panel
    EXPECT_EQ(ShatterRequested, 0);

    ScreenState = MainMenu;
    EXPECT_TRUE(ClickMainMenu(263, 343));
    EXPECT_EQ(ScreenState, Options);

    ScreenState = MainMenu;
    KindCount = 8;
    EXPECT_TRUE(ClickMainMenu(150, 380));
    EXPECT_EQ(ScreenState, HighScores);
    EXPECT_EQ(HighScorePage, 8);
    EXPECT_EQ(ShatterRequested, 1);
    EXPECT_EQ(MenuHighlight, 6);
    EXPECT_EQ(EffectRequests, (std::vector<int>{1, 1, 1}));
}

TEST_F(MenusTest, ContinueResumesPlay) {
    ScreenState = MainMenu;
    NoGameToContinue = 0;
    MixerIdle = 0;
    EXPECT_TRUE(ClickMainMenu(100, 190));
    EXPECT_EQ(ScreenState, Play);
    EXPECT_EQ(MixerIdle, 1);
    EXPECT_EQ(ShatterRequested, 1);
    EXPECT_EQ(MenuPicture, 5);
    EXPECT_EQ(EffectRequests, (std::vector<int>{1}));
}

TEST_F(MenusTest, ExitSavesAndAsksToQuitSilently) {
    fs::path home = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("pelmaro_menu_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);
    ScreenState = MainMenu;
    Level = 12;
    EXPECT_TRUE(ClickMainMenu(100, 440));
    EXPECT_EQ(QuitRequested, 1);
    EXPECT_TRUE(EffectRequests.empty());
    EXPECT_EQ(fs::file_size("game.sav"), 6933u);
    fs::current_path(home);
    fs::remove_all(dir);
}

TEST_F(MenusTest, OptionRowsToggleAndBackReturns) {
    ScreenState = Options;
    EXPECT_TRUE(ClickOptions(300, 130));
    EXPECT_EQ(SystemCursor, 0);
    EXPECT_TRUE(ClickOptions(249, 193));
    EXPECT_EQ(EasyFood, 0);
    EXPECT_TRUE(ClickOptions(300, 130));
    EXPECT_EQ(SystemCursor, 1);
    EXPECT_FALSE(ClickOptions(300, 115));  // between the rows
    EXPECT_TRUE(ClickOptions(400, 420));   // Help: the how-to-play card
    EXPECT_EQ(ScreenState, HowToPlay);
    ScreenState = Options;
    MenuHighlight = 2;
    EXPECT_TRUE(ClickOptions(200, 410));
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_EQ(MenuHighlight, 6);
    EXPECT_EQ(EffectRequests, (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(MenusTest, KnobGrabIsNotAHandledClick) {
    ScreenState = Options;
    EXPECT_FALSE(ClickOptions(400, 280));  // music knob at 391: grab area 391..418
    EXPECT_EQ(MusicKnobDragged, 1);
    EXPECT_EQ(MusicGrabOffset, 9);
    EXPECT_EQ(SoundKnobDragged, 0);
    EndKnobDrags();
    SoundSlider = 300;
    EXPECT_FALSE(ClickOptions(327, 368));
    EXPECT_EQ(SoundKnobDragged, 1);
    EXPECT_EQ(SoundGrabOffset, 27);
    EndKnobDrags();
    EXPECT_FALSE(ClickOptions(328, 350));  // just right of the knob
    EXPECT_EQ(SoundKnobDragged, 0);
    EXPECT_TRUE(EffectRequests.empty());
}

TEST_F(MenusTest, SlidersClampAndMapToGain) {
    MusicSlider = 228;
    SoundSlider = 390;
    ClampSliders();
    EXPECT_EQ(MusicSlider, 228);
    EXPECT_EQ(SoundSlider, 390);
    MusicSlider = 226;
    SoundSlider = 392;
    ClampSliders();
    EXPECT_EQ(MusicSlider, 227);
    EXPECT_EQ(SoundSlider, 391);
    MusicSlider = -5000;
    SoundSlider = 9999;
    ClampSliders();
    EXPECT_EQ(MusicSlider, 227);
    EXPECT_EQ(SoundSlider, 391);
    EXPECT_EQ(MusicGain(), 0.0f);
    MusicSlider = 229;
    EXPECT_EQ(MusicGain(), 0.0f);
    MusicSlider = 391;
    EXPECT_FLOAT_EQ(MusicGain(), 162.0f / 164.0f);
    MusicSlider = 310;
    EXPECT_FLOAT_EQ(MusicGain(), 81.0f / 164.0f);
}

TEST_F(MenusTest, NewGameChoicesWaitForStartAndLeaveTheGameInProgressAlone) {
    ScreenState = MainMenu;
    GameMode = Untimed;
    KindCount = 6;
    EXPECT_TRUE(ClickMainMenu(170, 257));  // New game
    EXPECT_EQ(ScreenState, NewGame);
    EXPECT_EQ(HitChoiceRow(268, 116), 0);
    EXPECT_EQ(HitChoiceRow(387, 190), 1);
    EXPECT_EQ(HitChoiceRow(353, 297), 2);
    EXPECT_EQ(HitChoiceRow(266, 303), 3);
    EXPECT_EQ(HitChoiceRow(355, 367), 4);
    EXPECT_EQ(HitChoiceRow(366, 116), 134);
    EXPECT_TRUE(ClickNewGame(300, 130));
    EXPECT_EQ(ChosenMode, Timed);
    EXPECT_TRUE(ClickNewGame(300, 320));
    EXPECT_EQ(ChosenKinds, 7);
    EXPECT_TRUE(ClickNewGame(300, 320));  // the same row again still sounds
    EXPECT_TRUE(ClickNewGame(200, 400));  // Back: the game to continue keeps its mode and kinds
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_EQ(GameMode, Untimed);
    EXPECT_EQ(KindCount, 6);
    EXPECT_EQ(EffectRequests, (std::vector<int>{1, 1, 1, 1, 1}));
    ScreenState = NewGame;  // Start takes the choice
    EXPECT_TRUE(ClickNewGame(400, 400));
    EXPECT_EQ(GameMode, Timed);
    EXPECT_EQ(KindCount, 7);
}

TEST_F(MenusTest, StartBeginsAFreshGame) {
    ScreenState = NewGame;
    ChosenMode = Timed;
    ChosenKinds = 8;
    Level = 40;
    Score = 999;
    ShownScore = 999.0f;
    NoGameToContinue = 1;
    Paused = 1;
    WinCount = 3;
    MixerIdle = 0;
    EXPECT_TRUE(ClickNewGame(400, 400));
    EXPECT_EQ(ScreenState, Play);
    EXPECT_EQ(LevelBar, 30.0f);
    EXPECT_EQ(ShownLevelBar, 30.0f);
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(ShownScore, 0.0f);
    EXPECT_EQ(NoGameToContinue, 0);
    EXPECT_EQ(Paused, 0);
    EXPECT_EQ(WinCount, 0);
    EXPECT_EQ(MixerIdle, 1);
    EXPECT_EQ(ShatterRequested, 1);
    for (const Cell& cell : Board) EXPECT_LT(cell.Kind, 8);

    // With this game in progress, Start first asks; Keep keeps it, Leave starts the new one.
    ScreenState = NewGame;
    ChosenMode = Untimed;
    Level = 4;
    ResetHighScores();
    Score = 150;  // below every row of the table: no name to ask
    EXPECT_TRUE(ClickNewGame(436, 420));
    EXPECT_EQ(LeaveAsked, 1);
    EXPECT_EQ(ScreenState, NewGame);
    EXPECT_FALSE(ClickNewGame(300, 130));  // the panel under the question takes no click
    EXPECT_EQ(ChosenMode, Untimed);
    EXPECT_TRUE(ClickNewGame(375, 259));  // Keep
    EXPECT_EQ(LeaveAsked, 0);
    EXPECT_EQ(Level, 4);
    EXPECT_TRUE(ClickNewGame(436, 420));
    EXPECT_TRUE(ClickNewGame(265, 259));  // Leave
    EXPECT_EQ(ScreenState, Play);
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(LevelBar, 0.0f);
}

TEST_F(MenusTest, AnyClickOnTheTitleLeadsToTheMenu) {
    ScreenState = Title;
    EXPECT_TRUE(ClickTitle(20, 20));
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_EQ(ShatterRequested, 1);
    EXPECT_EQ(MenuHighlight, 6);
    EXPECT_EQ(EffectRequests, (std::vector<int>{1}));
}

TEST_F(MenusTest, WonPanelButtonEntersTheScoreAndOpensTheNameBox) {
    ResetHighScores();
    GameWon = 1;
    ScreenState = Play;
    KindCount = 7;
    GameMode = Timed;
    Score = 123456;
    NoGameToContinue = 0;
    EXPECT_FALSE(ClickWonPanel(186, 320));
    EXPECT_TRUE(ClickWonPanel(200, 320));  // reacts while still sliding in
    EXPECT_EQ(ScreenState, HighScores);
    EXPECT_EQ(HighScorePage, 7);
    EXPECT_EQ(HighScoreTable[0][4].Score, 123456);
    EXPECT_EQ(NameEntryOpen, 1);  // a winner types a name like any finished game
    EXPECT_EQ(NoGameToContinue, 1);
    EXPECT_EQ(GameWon, 0);
    EXPECT_EQ(ShatterRequested, 1);
    EXPECT_FALSE(ClickWonPanel(200, 320));
}

TEST_F(MenusTest, RevealSpeedsAreWholeNumbers30To79) {
    ResetReveal();
    EXPECT_EQ(RevealColumnRing, -1);
    EXPECT_EQ(RevealRowRing, -1);
    for (const RevealTile& tile : RevealGrid) {
        EXPECT_EQ(tile.Size, 0.0f);
        EXPECT_GE(tile.Speed, 30.0f);
        EXPECT_LE(tile.Speed, 79.0f);
        EXPECT_EQ(tile.Speed, static_cast<float>(static_cast<int>(tile.Speed)));
    }
}

TEST_F(MenusTest, ScreensIgnoreClicksOffTheirScreen) {
    ScreenState = Play;
    EXPECT_FALSE(ClickMainMenu(100, 250));
    EXPECT_FALSE(ClickOptions(300, 130));
    EXPECT_FALSE(ClickNewGame(300, 130));
    EXPECT_FALSE(ClickHighScores(550, 440));
    EXPECT_FALSE(ClickTitle(300, 440));
    EXPECT_FALSE(ClickWonPanel(300, 320));
    EXPECT_FALSE(ClickHowToPlay(351, 396));
    EXPECT_EQ(SystemCursor, 1);
    EXPECT_EQ(GameMode, Untimed);
    EXPECT_TRUE(EffectRequests.empty());
}

}  // namespace
