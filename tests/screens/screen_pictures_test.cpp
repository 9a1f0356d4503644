// Pixel probes of the screens drawn with the baked pictures on SDL's dummy display.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../support/shots.h"
#include "app/startup.h"
#include "game/hud.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "platform/display.h"
#include "platform/window.h"
#include "screens/flow.h"
#include "screens/high_scores.h"
#include "screens/logo_title.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "screens/options.h"

namespace {

namespace fs = std::filesystem;

// Brings up the window and display in the baked data folder and loads what the screens draw.
class ScreenPicturesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = fs::current_path();
        fs::current_path(PELMARO_GAME_DIR);
        ASSERT_TRUE(platform::CreateGameWindow());
        ASSERT_TRUE(CreateDevice());
        ASSERT_TRUE(SetUpDisplay(false));
        BuildGlyphOffsets();
        ResetHighScores();
        for (auto [picture, name, key] : {std::tuple{&FontPicture, "Font.bmp", 1},
                                          {&CursorPicture, "Cursor.bmp", 1},
                                          {&GameGoPicture, "GameGo.jpg", 0},
                                          {&LogoPicture, "Logo.jpg", 0},
                                          {&GameOverPicture, "game over.jpg", 1}}) {
            *picture = LoadPicture(name, static_cast<unsigned char>(key));
        }
        CursorPicture->SetClipRect(0, 0, 640, 480);
        LoadMainMenuPictures();
        LoadNewGamePictures();
        LoadHighScoresPictures();
        LoadOptionsPictures();
    }
    void TearDown() override {
        for (Sprite** picture :
             {&FontPicture, &CursorPicture, &GameGoPicture, &LogoPicture, &GameOverPicture}) {
            FreePicture(*picture);
        }
        FreeMainMenuPictures();
        FreeNewGamePictures();
        FreeHighScoresPictures();
        FreeOptionsPictures();
        ReleaseDisplay();
        platform::DestroyGameWindow();
        fs::current_path(home_);
    }
    uint32_t Pixel(int x, int y) { return platform::ReadSurfacePixel(BackBuffer->Surface(), x, y); }

    // Saves the back buffer as "<name>.png" when PELMARO_SHOTS names a folder.
    void Shot(const std::string& name) { ASSERT_TRUE(SaveBackBufferShot(name)); }
    fs::path home_;
};

TEST_F(ScreenPicturesTest, MainMenuHighlightCoversExactlyItsButton) {
    ScreenState = MainMenu;
    NoGameToContinue = 1;
    DrawMainMenu();
    HoverMainMenu(0, 0);
    std::vector<uint32_t> plain = BackBufferFrame();
    Shot("main_menu");
    HoverMainMenu(100, 250);
    DrawMainMenu();
    std::vector<uint32_t> lit = BackBufferFrame();
    Shot("main_menu_new_game");
    EXPECT_TRUE(AnyDifference(plain, lit, 85, 231, 264, 283));
    EXPECT_TRUE(AnyDifference(plain, lit, 313, 195, 558, 451));  // the button's picture
    EXPECT_FALSE(AnyDifference(plain, lit, 0, 0, 85, 480));
    EXPECT_FALSE(AnyDifference(plain, lit, 85, 283, 264, 480));
}

TEST_F(ScreenPicturesTest, EveryScreenDrawsWithItsHoverStates) {
    struct View {
        const char* name;
        int screen;
        int x, y;
    } views[] = {
        {"options", Options, 0, 0},
        {"options_help", Options, 400, 420},
        {"options_row", Options, 300, 130},
        {"new_game", NewGame, 0, 0},
        {"new_game_start", NewGame, 400, 400},
        {"new_game_timed", NewGame, 300, 130},
        {"high_scores", HighScores, 0, 0},
        {"high_scores_next", HighScores, 550, 440},
        {"high_scores_back", HighScores, 300, 440},
        {"title", Title, 0, 0},
        {"title_lit", Title, 300, 440},
    };
    for (const View& v : views) {
        SCOPED_TRACE(v.name);
        ScreenState = v.screen;
        NameEntryOpen = std::string(v.name) == "high_scores";
        if (NameEntryOpen) {
            NameReset();
            for (char c : std::string("Chef Ann")) NameAppend(c);
        }
        DrawOptions();
        DrawNewGame();
        DrawHighScores();
        DrawTitle();
        HoverOptions(v.x, v.y);
        HoverNewGame(v.x, v.y);
        HoverHighScores(v.x, v.y, 0.01f);
        HoverTitle(v.x, v.y, 0.01f);
        Shot(v.name);
        std::vector<uint32_t> frame = BackBufferFrame();
        EXPECT_TRUE(
            AnyDifference(frame, std::vector<uint32_t>(640 * 480, frame[0]), 0, 0, 640, 480));
    }
}

TEST_F(ScreenPicturesTest, KnobFollowsTheDragAndStopsAtTheTrackEnd) {
    ScreenState = Options;
    MusicSlider = 300;
    ClickOptions(310, 280);
    ASSERT_EQ(MusicKnobDragged, 1);
    HoverOptions(0, 500);  // far left, outside the grab area: the drag goes on
    EXPECT_EQ(MusicSlider, 227);
    HoverOptions(1000, 0);
    EXPECT_EQ(MusicSlider, 391);
    HoverOptions(260, 0);
    EXPECT_EQ(MusicSlider, 250);
    EndKnobDrags();
    HoverOptions(300, 0);
    EXPECT_EQ(MusicSlider, 250);
    DrawOptions();
    HoverOptions(0, 0);
    std::vector<uint32_t> at250 = BackBufferFrame();
    MusicSlider = 350;
    DrawOptions();
    HoverOptions(0, 0);
    EXPECT_TRUE(AnyDifference(at250, BackBufferFrame(), 250, 269, 278, 290));
}

TEST_F(ScreenPicturesTest, LogoRevealEndsAfterThreeSeconds) {
    ResetReveal();
    ScreenState = Logo;
    LogoTimer = 0.0f;
    DrawLogo(0.05f);
    EXPECT_EQ(Pixel(300, 240), Pixel(0, 0));  // still covered by its black square
    for (int i = 0; i < 58; ++i) DrawLogo(0.05f);
    EXPECT_EQ(ScreenState, Logo);
    DrawLogo(0.05f);
    EXPECT_EQ(ScreenState, Title);
    Shot("logo_last");
    EXPECT_NE(Pixel(300, 240), Pixel(0, 0));
}

}  // namespace
