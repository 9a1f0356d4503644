// Whole-program tests of the application shell: start-up, window messages, display switch, end.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/save_holder.h"
#include "app/desktop.h"
#include "app/startup.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "harness.h"
#include "platform/display.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "screens/save_file.h"
#include "shared/state.h"

namespace {

namespace fs = std::filesystem;

Sprite* const* const GameSpriteSlots[] = {
    &BackgroundPicture, &FiguresPicture, &FontPicture,   &NumberPicture,   &GameOverPicture,
    &EasyFoodPicture,   &CursorPicture,  &GameGoPicture, &ShatterSnapshot, &MenDownPicture,
    &LogoPicture,       &PanPicture,     &LevelPicture,  &MixerPicture};

// How many error boxes the captured standard error shows.
int BoxesShown(const std::string& shown) {
    int boxes = 0;
    for (size_t at = shown.find("Error: "); at != std::string::npos;
         at = shown.find("Error: ", at + 1))
        ++boxes;
    return boxes;
}

// The words of the error box for a picture of the game that cannot be used: its path, what is
// wrong, and what the player should know.
std::string PictureBox(const std::string& name, const std::string& problem) {
    return "/bmp/" + name + "\n(" + problem +
           ").\nYour game in progress is kept.\nReinstalling Pelmaro mends this.";
}

int GameSpritesAlive() {
    int count = 0;
    for (Sprite* const* slot : GameSpriteSlots) count += *slot != nullptr ? 1 : 0;
    return count;
}

TEST(ShellTest, FirstStartWithoutSaveFileIsWindowedOnTheLogoWithDefaults) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(AppReady, 1);
    EXPECT_EQ(AppActive, 1);
    EXPECT_EQ(ScreenState, Logo);
    EXPECT_EQ(FullScreen, 0);
    EXPECT_EQ(SystemCursor, 1);
    EXPECT_EQ(KindCount, 6);
    EXPECT_EQ(NoGameToContinue, 1);
    EXPECT_STREQ(HighScoreTable[0][0].Name, "Empty ");
    EXPECT_EQ(GameSpritesAlive(), 14);
    EXPECT_EQ(DesktopDepth, 32);
    EXPECT_TRUE(platform::GameWindowHasIcon());
    // The logo shows at once: a tenth of a second in, the squares in the middle, where the
    // reveal begins, have opened; two seconds in, the reveal has uncovered it.
    ASSERT_TRUE(game.Step(0.02f, 4));
    EXPECT_GT(game.Picture().LitPixels(280, 200, 360, 280), 100);
    EXPECT_LT(game.Picture().LitPixels(90, 160, 540, 320), 6400);
    ASSERT_TRUE(game.Step(0.02f, 96));
    game.SaveShot("logo-reveal");
    EXPECT_GT(game.Picture().LitPixels(90, 160, 540, 320), 20000);
}

TEST(ShellTest, DisplaySwitchesKeepFourteenSpritesAndTheGameState) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    // Two seconds into the logo every picture has loaded behind it.
    ASSERT_TRUE(game.Step(0.02f, 100));
    const int surfaces = platform::LiveSurfaceCount();
    const int32_t screen = ScreenState;
    const uint8_t firstKind = Board[0].Kind;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(RecreateDisplay(i % 2 == 0));
        EXPECT_EQ(FullScreen, i % 2 == 0 ? 1 : 0);
        EXPECT_EQ(GameSpritesAlive(), 14);
        EXPECT_EQ(platform::LiveSurfaceCount(), surfaces);
    }
    EXPECT_EQ(ScreenState, screen);
    EXPECT_EQ(Board[0].Kind, firstKind);
    EXPECT_EQ(FiguresPicture->ClipRect.left, 236);
    EXPECT_EQ(FiguresPicture->ClipRect.bottom, 404);
    EXPECT_EQ(CursorPicture->ClipRect.right, 640);
    EXPECT_EQ(ShatterSnapshot->Width(), 640u);
}

TEST(ShellTest, MissingBitmapEndsTheProgramThroughTheErrorBoxNamingIt) {
    WholeGame game({"Cursor.bmp"});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(game.Start());
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("Error: Pelmaro could not read its picture\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find(PictureBox("Cursor.bmp", "No such file or directory")), std::string::npos)
        << shown;
    EXPECT_TRUE(game.Ended());
    EXPECT_FALSE(platform::GameWindowExists());
    EXPECT_EQ(GameSpritesAlive(), 0);
    EXPECT_EQ(platform::LiveSurfaceCount(), 0);
    EXPECT_EQ(AppReady, 0);
}

// The bytes of a baked picture.
std::string BakedPicture(const std::string& name) {
    std::ifstream in(std::string(PELMARO_GAME_DIR) + "/bmp/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ShellTest, BrokenCutOrWronglySizedPicturesEndTheProgramWithABoxSayingWhy) {
    struct Case {
        const char* Picture;
        std::string Bytes;
        const char* Problem;
    };
    const std::string logo = BakedPicture("Logo.jpg");
    const Case cases[] = {
        // A file that starts like a JPEG and breaks off after a few bytes.
        {"Logo.jpg", "\xFF\xD8\xFF\xE0 broken", "Premature end of JPEG file"},
        // The real picture cut in half, which libjpeg would fill in grey.
        {"Logo.jpg", logo.substr(0, logo.size() / 2), "Premature end of JPEG file"},
        // The logo where the pointer's picture belongs: the game draws from a 49 x 30 picture.
        {"Cursor.bmp", BakedPicture("mixer.bmp"), "it is 109 x 1308 pixels, not 49 x 30"},
    };
    for (const Case& damaged : cases) {
        SCOPED_TRACE(damaged.Problem);
        WholeGame game({damaged.Picture});
        std::ofstream(game.Folder() + "/bmp/" + damaged.Picture, std::ios::binary) << damaged.Bytes;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(game.Start());
        const std::string shown = testing::internal::GetCapturedStderr();
        EXPECT_NE(shown.find(PictureBox(damaged.Picture, damaged.Problem)), std::string::npos)
            << shown;
        EXPECT_EQ(BoxesShown(shown), 1) << shown;
        EXPECT_TRUE(game.Ended());
        EXPECT_EQ(GameSpritesAlive(), 0);
        EXPECT_EQ(platform::LiveSurfaceCount(), 0);
    }
}

TEST(ShellTest, MissingMenuPictureShowsOneBoxAndLeavesNothingLoaded) {
    WholeGame game({"Menu.jpg"});
    testing::internal::CaptureStderr();
    // The menu's pictures load behind the logo, so the box comes in one of its first frames.
    game.Start();
    game.RunUntil([&] { return game.Ended(); }, 1.0f);
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find(PictureBox("Menu.jpg", "No such file or directory")), std::string::npos)
        << shown;
    EXPECT_EQ(BoxesShown(shown), 1) << "only one box: " << shown;
    EXPECT_TRUE(game.Ended());
    EXPECT_EQ(GameSpritesAlive(), 0);
    EXPECT_EQ(platform::LiveSurfaceCount(), 0);
}

// Leaves out a picture that does not exist: every picture is then linked one by one, so that a
// test can take one away while the game runs.
const std::vector<std::string> PicturesOneByOne = {"no such picture"};

// Starts the game and goes through the logo and the title to the main menu.
void StartOnTheMainMenu(WholeGame& game) {
    ASSERT_TRUE(game.Start());
    game.RunUntil([] { return ScreenState == Title && ShatterActive == 0; }, 10.0f);
    game.Click(320, 440);  // the title's play button
    game.RunUntil([] { return ShatterActive == 0; }, 5.0f);
    ASSERT_EQ(ScreenState, MainMenu);
}

TEST(ShellTest, EightBitDesktopIsRefusedWithTheNoticeBeforeAnyWindowIsMade) {
    platform::OverrideDesktopDepthForTests(8);
    WholeGame game;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(game.Start());
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("This game cannot run in a desktop\nwindow"), std::string::npos);
    EXPECT_EQ(BoxesShown(shown), 1) << shown;
    EXPECT_FALSE(platform::GameWindowExists());
    EXPECT_EQ(AppReady, 0);
}

TEST(ShellTest, DisplayThatCannotStartIsNamedInAnErrorBox) {
    setenv("SDL_VIDEODRIVER", "nowhere", 1);
    WholeGame game;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(game.Start());
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("Error: This game cannot open its window.\nWhat failed: the display: "),
              std::string::npos)
        << shown;
    EXPECT_EQ(BoxesShown(shown), 1) << shown;
    EXPECT_FALSE(platform::GameWindowExists());
    EXPECT_EQ(AppReady, 0);
}

TEST(ShellTest, DesktopThatDoesNotAnswerIsNamedAndNeverSwappedForAnUnseenWindow) {
    // No driver asked for, and no X server at this display: SDL's offscreen driver would start.
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("WAYLAND_DISPLAY");
    setenv("DISPLAY", ":9731", 1);
    WholeGame game;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(game.Start());
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("Error: This game cannot open its window.\nWhat failed: the display: x11"),
              std::string::npos)
        << shown;
    EXPECT_EQ(BoxesShown(shown), 1) << shown;
    EXPECT_TRUE(StartFailed);
    EXPECT_FALSE(platform::GameWindowExists());
    EXPECT_EQ(AppReady, 0);
}

TEST(ShellTest, PictureMissingAtTheFullScreenSwitchEndsCleanlyAfterOneBox) {
    WholeGame game(PicturesOneByOne);
    StartOnTheMainMenu(game);
    SystemCursor = 0;      // our own pointer is drawn at the end of every frame
    game.Click(170, 318);  // Options
    ASSERT_EQ(ScreenState, Options);
    fs::remove(game.Folder() + "/bmp/Cursor.bmp");
    testing::internal::CaptureStderr();
    game.Click(323, 95);  // Full screen: every picture is loaded again, and one is gone
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find(PictureBox("Cursor.bmp", "No such file or directory")), std::string::npos)
        << shown;
    EXPECT_EQ(BoxesShown(shown), 1) << shown;
    EXPECT_TRUE(game.Ended());
    EXPECT_EQ(GameSpritesAlive(), 0);
    EXPECT_EQ(platform::LiveSurfaceCount(), 0);
    EXPECT_EQ(fs::file_size(game.Folder() + "/game.sav"), 6933u);  // nothing is lost
}

TEST(ShellTest, PaintBehindAnActivationWhoseDisplaySetUpFailedDrawsNothing) {
    WholeGame game(PicturesOneByOne);
    StartOnTheMainMenu(game);
    platform::InjectWindowEvent(platform::TestWindowEvent::FocusLost);
    game.Step();
    // Meanwhile the desktop changed and a picture went away: the return sets the display up
    // again, which fails with its box; the paint message queued behind it must not draw.
    platform::OverrideDesktopDepthForTests(16);
    fs::remove(game.Folder() + "/bmp/Font.bmp");
    testing::internal::CaptureStderr();
    platform::InjectWindowEvent(platform::TestWindowEvent::FocusGained);
    platform::InjectWindowEvent(platform::TestWindowEvent::Exposed);
    game.Step();
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find(PictureBox("Font.bmp", "No such file or directory")), std::string::npos)
        << shown;
    EXPECT_EQ(BoxesShown(shown), 1) << shown;
    EXPECT_TRUE(game.Ended());
    EXPECT_EQ(GameSpritesAlive(), 0);
}

TEST(ShellTest, DesktopShrunkInTheBackgroundBringsTheWindowBackOnIt) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    auto awayAndBackTo = [&game](int width, int height) {
        platform::InjectWindowEvent(platform::TestWindowEvent::FocusLost);
        game.Step();
        platform::OverrideDesktopSizeForTests(width, height);
        platform::InjectWindowEvent(platform::TestWindowEvent::FocusGained);
        game.Step();
    };
    // The window is centred on the 1024x768 desktop at (192, 144). Only the height shrinks: the
    // display stays as it is, but the window comes back up onto the desktop.
    const Sprite* figures = FiguresPicture;
    awayAndBackTo(1024, 500);
    EXPECT_EQ(FiguresPicture, figures);
    EXPECT_EQ(platform::ClientAreaOnScreen().left, 192);
    EXPECT_EQ(platform::ClientAreaOnScreen().top, 10);
    EXPECT_EQ(ScreenRect.top, 10);
    // The width shrinks too: the display is set up again and the window centred on what is left.
    awayAndBackTo(700, 500);
    EXPECT_EQ(DesktopWidth, 700);
    EXPECT_EQ(platform::ClientAreaOnScreen().left, 30);
    EXPECT_EQ(platform::ClientAreaOnScreen().top, 10);
    EXPECT_EQ(ScreenRect.left, 30);
    EXPECT_EQ(ScreenRect.top, 10);
    EXPECT_EQ(GameSpritesAlive(), 14);
}

TEST(ShellTest, SixteenBitDesktopPassesAndDrawsInRgb565) {
    platform::OverrideDesktopDepthForTests(16);
    WholeGame game;
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(DesktopDepth, 16);
    EXPECT_EQ(platform::SurfaceFormat(BackBuffer->Surface()).bitCount, 16);
    ASSERT_TRUE(game.Step(0.02f, 100));
    EXPECT_GT(game.Picture().LitPixels(90, 160, 540, 320), 20000);
}

TEST(ShellTest, CloseRequestSavesLikeTheExitButtonAndEnds) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(1, 7);
    const uint8_t firstKind = Board[0].Kind;
    platform::InjectWindowEvent(platform::TestWindowEvent::Close);
    EXPECT_FALSE(game.Step());
    EXPECT_TRUE(game.Ended());
    ASSERT_TRUE(fs::exists(game.Folder() + "/game.sav"));
    EXPECT_EQ(fs::file_size(game.Folder() + "/game.sav"), 6933u);
    EXPECT_EQ(KindCount, 7);
    EXPECT_EQ(Board[0].Kind, firstKind);
    EXPECT_EQ(GameSpritesAlive(), 0);
}

TEST(ShellTest, HangUpSavesLikeACloseRequest) {
    WholeGame game;
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!game.Start()) _exit(2);
        game.PlayNewGame(1, 8);
        std::raise(SIGHUP);  // the terminal the game was started from has closed
        game.Step(0.02f, 3);
        _exit(game.Ended() ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the hang-up ended the game without saving";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(fs::exists(game.Folder() + "/game.sav"));
    EXPECT_EQ(fs::file_size(game.Folder() + "/game.sav"), 6933u);
}

TEST(ShellTest, SecondGameOnTheSameSaveTellsThePlayerAndLeavesTheSaveAlone) {
    WholeGame game;
    // The first game, in a process of its own, holds the save.
    const pid_t first = HoldSaveInAnotherProcess();
    ASSERT_GT(first, 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(game.Start());
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("Pelmaro: Pelmaro is already running."), std::string::npos) << shown;
    EXPECT_EQ(BoxesShown(shown), 0) << shown;  // a notice, not an error
    EXPECT_FALSE(platform::GameWindowExists());
    EXPECT_EQ(AppReady, 0);
    EXPECT_FALSE(fs::exists(game.Folder() + "/game.sav"));
    // Once the first game is gone, however it went, the save is free.
    ASSERT_TRUE(EndSaveHolder(first));
    EXPECT_TRUE(game.Start());
}

TEST(ShellTest, BackgroundTimeIsNotGameTimeAndFramesStop) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(1, 6);
    game.Step(0.02f, 50);  // past the hold after the bar was set
    const float bar = LevelBar;
    platform::InjectWindowEvent(platform::TestWindowEvent::FocusLost);
    game.Step();
    EXPECT_EQ(AppActive, 0);
    const Shot before = game.Picture();
    game.Step(0.5f, 20);  // ten seconds in the background
    EXPECT_EQ(LevelBar, bar);
    EXPECT_EQ(game.Picture().DifferingPixels(before, 0, 0, 640, 480), 0);
    platform::InjectWindowEvent(platform::TestWindowEvent::FocusGained);
    game.Step(0.02f);
    EXPECT_EQ(AppActive, 1);
    // Level 1 drains 0.2 bar pixels per second: a frame's worth at most, not ten seconds' worth.
    EXPECT_NEAR(LevelBar, bar, 0.01f);
}

TEST(ShellTest, DesktopChangedInTheBackgroundRecreatesTheDisplayOnReturn) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(1, 7);
    game.Step(0.02f, 100);
    const uint8_t firstKind = Board[0].Kind;
    const Sprite* figures = FiguresPicture;
    auto awayAndBack = [&game] {
        platform::InjectWindowEvent(platform::TestWindowEvent::FocusLost);
        game.Step();
        platform::InjectWindowEvent(platform::TestWindowEvent::FocusGained);
        game.Step();
    };
    // Back to an unchanged desktop: the same pictures, nothing re-created.
    awayAndBack();
    EXPECT_EQ(FiguresPicture, figures);
    EXPECT_EQ(platform::SurfaceFormat(BackBuffer->Surface()).bitCount, 32);
    // The desktop went to 16 bits meanwhile: the display follows it and the game goes on.
    platform::OverrideDesktopDepthForTests(16);
    awayAndBack();
    EXPECT_EQ(DesktopDepth, 16);
    EXPECT_EQ(platform::SurfaceFormat(BackBuffer->Surface()).bitCount, 16);
    EXPECT_EQ(GameSpritesAlive(), 14);
    EXPECT_EQ(ScreenState, Play);
    EXPECT_EQ(KindCount, 7);
    EXPECT_EQ(Board[0].Kind, firstKind);
    // An 8-bit desktop found on return ends the game with the notice.
    platform::OverrideDesktopDepthForTests(8);
    testing::internal::CaptureStderr();
    awayAndBack();
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("This game cannot run in a desktop\nwindow"), std::string::npos);
    EXPECT_TRUE(game.Ended());
}

TEST(ShellTest, PauseTogglesPauseOnEveryScreenEscapeOnlyInPlayNeitherOnTheWonPanel) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.Press(platform::TestKey::Pause);
    EXPECT_EQ(Paused, 1);
    game.Press(platform::TestKey::Pause);
    EXPECT_EQ(Paused, 0);
    game.PlayNewGame(0, 6);
    game.Press(platform::TestKey::Escape);
    EXPECT_EQ(Paused, 1);
    game.Press(platform::TestKey::Escape);
    EXPECT_EQ(Paused, 0);
    GameWon = 1;
    game.Press(platform::TestKey::Pause);
    game.Press(platform::TestKey::Escape);
    EXPECT_EQ(Paused, 0);
    GameWon = 0;
}

TEST(ShellTest, TypingAndEnterActOnlyOnTheNameBoxOfTheHighScoreScreen) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.Type("abc");
    EXPECT_EQ(NameLength, 0);
    NameEntryOpen = 1;
    game.Type("q");  // the box is open but not shown: still on the logo
    game.Press(platform::TestKey::Enter);
    EXPECT_EQ(NameLength, 0);
    EXPECT_EQ(NameEntryOpen, 1);
    ScreenState = HighScores;
    game.Step();  // the box shows
    // A letter the font lacks goes in as its nearest plain letters; a sign without one is left.
    game.Type("a\tb\xc3\xab\xc3\x9f\xc3\xa5\xe2\x82\xac~");  // a, tab, b, ë, ß, å, €, ~
    EXPECT_STREQ(NameBuffer, "abessa~_");
    game.Press(platform::TestKey::Space);  // a key press types nothing by itself
    game.Press(platform::TestKey::Backspace);
    EXPECT_STREQ(NameBuffer, "abessa_");
    // While a game ends under its banner nothing is typed yet: the box is not up.
    NameEntryOpen = 0;
    PlayPhase = PhaseBarEmpty;
    game.Type("z");
    EXPECT_STREQ(NameBuffer, "abessa_");
    PlayPhase = PhasePlaying;
    EXPECT_FALSE(fs::exists(game.Folder() + "/game.sav"));
    // Without the box Enter is the focused Back button, which saves nothing.
    game.Press(platform::TestKey::Enter);
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_FALSE(fs::exists(game.Folder() + "/game.sav"));
    ScreenState = HighScores;
    NameEntryOpen = 1;
    game.WaitForScreen();
    game.Press(platform::TestKey::Enter);
    EXPECT_EQ(NameEntryOpen, 0);
    EXPECT_TRUE(fs::exists(game.Folder() + "/game.sav"));
}

TEST(ShellTest, OwnPointerHidesTheDesktopPointerOnlyOverTheClientArea) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.MoveMouse(100, 100);
    EXPECT_TRUE(platform::SystemCursorShown());
    SystemCursor = 0;
    game.MoveMouse(0, 0);
    EXPECT_EQ(CursorOutside, 0);
    EXPECT_FALSE(platform::SystemCursorShown());
    game.MoveMouse(640, 100);
    EXPECT_EQ(CursorOutside, 1);
    EXPECT_TRUE(platform::SystemCursorShown());
    game.MoveMouse(639, 479);
    EXPECT_EQ(CursorOutside, 0);
    game.MoveMouse(10, -1);
    EXPECT_EQ(CursorOutside, 1);
}

TEST(ShellTest, MovingTheWindowKeepsMouseCoordinatesRelativeToTheClientArea) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    platform::InjectWindowEvent(platform::TestWindowEvent::Moved);
    game.Step();
    const platform::Rect client = platform::ClientAreaOnScreen();
    EXPECT_EQ(ScreenRect.left, client.left);
    EXPECT_EQ(ScreenRect.top, client.top);
    EXPECT_EQ(ScreenRect.right - ScreenRect.left, 640);
    EXPECT_EQ(ClientRect.bottom, 480);
}

}  // namespace
