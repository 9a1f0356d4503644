// Pixel probes of the screens drawn with the baked pictures on SDL's dummy display.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

#include "../support/shots.h"
#include "game/hud.h"
#include "game/score_tables.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "platform/display.h"
#include "platform/window.h"
#include "screens/high_scores.h"
#include "screens/logo_title.h"
#include "screens/main_menu.h"
#include "screens/new_game.h"
#include "screens/options.h"
#include "shared/state.h"

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

// High-score cells: a name as long as the save file allows and scores at the limits of their
// 32 bits stay inside their columns, scores are right-aligned, and rows of a new table are
// drawn from the muted glyph strip while earned rows are bright.
class HighScoreCellsTest : public ScreenPicturesTest {
  protected:
    // The screen with row 0 of both shown tables holding `name` and the two scores.
    std::vector<uint32_t> TableWith(const std::string& name, int untimed, int timed) {
        ScreenState = HighScores;
        NameEntryOpen = 0;
        HighScorePage = 6;
        for (int slot : {0, 3}) {
            HighScoreEntry& entry = HighScoreTable[0][slot];
            std::snprintf(entry.Name, sizeof entry.Name, "%s", name.c_str());
            entry.Score = slot == 0 ? untimed : timed;
        }
        DrawHighScores();
        return BackBufferFrame();
    }
};

TEST_F(HighScoreCellsTest, CellsStayInsideTheirColumns) {
    const std::vector<uint32_t> plain = TableWith("", 0, 0);
    const std::string longest(HighScoreNameSize - 1, 'W');
    const std::vector<uint32_t> longName = TableWith(longest, 0, 0);
    Shot("high_scores_long_name");
    // The name fills its column and stops where the score column begins.
    EXPECT_TRUE(AnyDifference(plain, longName, 180, 183, 195, 200));
    EXPECT_FALSE(AnyDifference(plain, longName, 195, 180, 370, 205));
    EXPECT_FALSE(AnyDifference(plain, longName, 480, 180, 640, 205));
    const std::vector<uint32_t> limits = TableWith("", INT32_MIN, INT32_MAX);
    Shot("high_scores_score_limits");
    // The scores stay between the name column and their table's frame.
    EXPECT_TRUE(AnyDifference(plain, limits, 195, 183, 298, 200));
    EXPECT_TRUE(AnyDifference(plain, limits, 480, 183, 583, 200));
    EXPECT_FALSE(AnyDifference(plain, limits, 0, 180, 195, 205));
    EXPECT_FALSE(AnyDifference(plain, limits, 298, 180, 480, 205));
    EXPECT_FALSE(AnyDifference(plain, limits, 583, 180, 640, 205));
    const std::vector<uint32_t> both = TableWith(longest, INT32_MIN, INT32_MIN);
    EXPECT_FALSE(AnyDifference(plain, both, 298, 180, 370, 205));
    EXPECT_FALSE(AnyDifference(plain, both, 583, 180, 640, 205));
}

// The name box never covers the row where the new score lands, whichever row that is: the row
// shows lit, as it will once named; the name is written in the table's chalk, and once it has nine
// letters the box says it is full and shows no caret.
TEST_F(HighScoreCellsTest, TheNameBoxKeepsClearOfTheLandingRowAndShowsAFullName) {
    ScreenState = HighScores;
    HighScorePage = 6;
    for (int row = 0; row < HighScoreRows; ++row) {
        ResetHighScores();
        Score = 1050 - 100 * row;
        InsertScore(Untimed);
        ASSERT_EQ(InsertRow, row);
        NameEntryOpen = 0;
        NamedRowLit = 1;
        DrawHighScores();
        const std::vector<uint32_t> table = BackBufferFrame();
        NamedRowLit = 0;
        NameEntryOpen = 1;
        DrawHighScores();
        const std::vector<uint32_t> boxed = BackBufferFrame();
        const int y = 183 + 25 * row;
        EXPECT_FALSE(AnyDifference(table, boxed, 52, y - 3, 312, y + 20)) << row;
        EXPECT_TRUE(AnyDifference(table, boxed, 145, 0, 495, 480)) << row;
    }
    // Row 8: the box lies above it, its field's name 54 pixels below its top edge at 148.
    NameReset();
    for (char c : std::string("Chef Anna")) NameAppend(c);
    NameBackspace();
    DrawHighScores();
    const std::vector<uint32_t> eight = BackBufferFrame();
    const int a = GlyphOffsets['C' - 32];
    EXPECT_EQ(
        BackBufferShows(FontPicture,
                        Rect{a, ChalkGlyphs.Top, a + 13, ChalkGlyphs.Top + GlyphHeight}, 169, 202),
        1.0);
    NameAppend('a');
    DrawHighScores();
    Shot("high_scores_name_full");
    const std::vector<uint32_t> nine = BackBufferFrame();
    // The prompt changes, and no caret follows the ninth letter.
    EXPECT_TRUE(AnyDifference(eight, nine, 154, 157, 486, 190));
    const int caretX = 169 + TextWidth("Chef Anna");
    NameReset();
    DrawHighScores();
    EXPECT_FALSE(AnyDifference(BackBufferFrame(), nine, caretX, 200, caretX + 12, 222));
}

TEST_F(HighScoreCellsTest, ScoresAreRightAlignedAndNewTableRowsMuted) {
    TableWith("Ann", 7, 1234567);
    // Rows players earned are written in bright chalk of the same weight as the muted rows.
    const int32_t chalk = ChalkGlyphs.Top, muted = MutedGlyphs.Top;
    // "7" (10 pixels wide) ends at the column's right edge, 298; so does the last digit of
    // "1234567" at 583.
    const int seven = GlyphOffsets['7' - 32];
    EXPECT_EQ(BackBufferShows(FontPicture, Rect{seven, chalk, seven + 10, chalk + 17}, 288, 183),
              1.0);
    EXPECT_EQ(BackBufferShows(FontPicture, Rect{seven, chalk, seven + 10, chalk + 17}, 573, 183),
              1.0);
    // Row 1 of a new table is muted; row 0, now earned, is chalk.
    const int e = GlyphOffsets['E' - 32];
    EXPECT_EQ(BackBufferShows(FontPicture, Rect{e, muted, e + 12, muted + 17}, 85, 208), 1.0);
    const int a = GlyphOffsets['A' - 32];
    EXPECT_EQ(BackBufferShows(FontPicture, Rect{a, chalk, a + 13, chalk + 17}, 85, 183), 1.0);
    // A placeholder row pushed down by a better score stays muted.
    HighScoreTable[1][0].Score = 1000;
    DrawHighScores();
    EXPECT_EQ(BackBufferShows(FontPicture, Rect{e, muted, e + 12, muted + 17}, 85, 208), 1.0);
}
