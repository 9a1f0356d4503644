// Tests of the level bar, the score and level digits, completion and the phase banner.
#include "game/hud.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/colour.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "play_fixture.h"
#include "shared/state.h"
#include "test_boards.h"

namespace {

constexpr float Dt = 0.02f;

class HudTest : public PlayFixture {
  protected:
    void SetUp() override {
        PlayFixture::SetUp();
        ScreenState = Play;
        LoadBoard(QuietBoard);
    }
    // Runs the HUD for `seconds` of frames of Dt.
    void RunHud(float seconds) {
        for (int i = 0; i < static_cast<int>(seconds / Dt + 0.5f); ++i) PlayHud(Dt);
    }
    int Requests(int effect) const {
        return static_cast<int>(std::count(EffectRequests.begin(), EffectRequests.end(), effect));
    }
    // The shown bar height: rows of the bar's column that the cover does not hide.
    int VisibleBarRows() const {
        int rows = 0;
        for (int y = 339; y < 412; ++y) {
            if (Pixel(184, y) == PicturePixel(BackgroundPicture, 184, y)) ++rows;
        }
        return rows;
    }
};

TEST_F(HudTest, TimedBarAtLevelOneRunsOutAfterAboutHundredFortyFiveSeconds) {
    GameMode = Timed;
    Level = 1;
    LevelBar = ShownLevelBar = 30.0f;
    int frames = 0;
    while (PlayPhase == PhasePlaying && frames < 10000) {
        PlayHud(Dt);
        ++frames;
    }
    // 0.2 bar pixels a second; the bar reads empty once less than one pixel is left.
    EXPECT_NEAR(frames * Dt, 145.0f, 0.1f);
    EXPECT_EQ(PlayPhase, PhaseBarEmpty);
    EXPECT_EQ(LevelBar, 0.0f);
    EXPECT_EQ(Requests(Effect::NoMoves), 1);
    // One tick a second from bar 10 down: 45 seconds.
    EXPECT_NEAR(Requests(Effect::LowTime), 45, 1);
}

TEST_F(HudTest, TimedBarAtLevelTenDrainsTwoPixelsASecond) {
    GameMode = Timed;
    Level = 10;
    LevelBar = ShownLevelBar = 50.0f;
    RunHud(1.0f);
    EXPECT_NEAR(LevelBar, 48.0f, 0.01f);
    EXPECT_EQ(ShownLevelBar, LevelBar);
    RunHud(5.0f);
    EXPECT_NEAR(LevelBar, 38.0f, 0.05f);
}

TEST_F(HudTest, DrainHoldsWhilePausedChangingBoardsOrShattering) {
    GameMode = Timed;
    Level = 20;
    LevelBar = ShownLevelBar = 5.0f;
    Paused = 1;
    RunHud(2.0f);
    EXPECT_EQ(LevelBar, 5.0f);
    EXPECT_EQ(Requests(Effect::LowTime), 0);  // no warning while paused
    Paused = 0;
    for (uint8_t* flag : {&DropIn, &ClearOut, &ShatterActive}) {
        *flag = 1;
        RunHud(1.0f);
        EXPECT_EQ(LevelBar, 5.0f);
        *flag = 0;
    }
    PlayPhase = PhaseNewBoard;
    RunHud(1.0f);
    EXPECT_EQ(LevelBar, 5.0f);
    EXPECT_GE(Requests(Effect::LowTime), 2);  // the warning still ticks meanwhile
}

TEST_F(HudTest, UntimedBarNeverDrainsButAnEmptyBarKeepsNoFraction) {
    GameMode = Untimed;
    LevelBar = ShownLevelBar = 40.0f;
    RunHud(10.0f);
    EXPECT_EQ(LevelBar, 40.0f);
    LevelBar = 0.6f;
    ShownLevelBar = 0.0f;
    PlayHud(Dt);
    EXPECT_EQ(LevelBar, 0.0f);
    EXPECT_EQ(PlayPhase, PhasePlaying);
}

TEST_F(HudTest, RisingBarHoldsTheDrainForHalfASecond) {
    GameMode = Timed;
    Level = 10;
    ShownLevelBar = 30.0f;
    LevelBar = 40.0f;
    RunHud(0.2f);  // rises 50 pixels a second, capped at the true bar
    EXPECT_NEAR(ShownLevelBar, 40.0f, 0.01f);
    RunHud(0.5f);
    EXPECT_NEAR(LevelBar, 40.0f, 0.05f);
    RunHud(1.0f);
    EXPECT_NEAR(LevelBar, 38.0f, 0.1f);
}

TEST_F(HudTest, ShownScoreCountsUpAndDownAndNeverStaysNegative) {
    Score = 1000;
    RunHud(1.0f);
    EXPECT_NEAR(ShownScore, 100.0f, 0.5f);
    Score = 105;
    RunHud(0.1f);
    EXPECT_EQ(ShownScore, 105.0f);  // within dt x 30 it jumps to the exact value
    ShownScore = 5.0f;
    Score = -5;  // a hint in Untimed mode
    RunHud(0.1f);
    EXPECT_GT(ShownScore, 0.0f);
    EXPECT_EQ(Score, -5);
    RunHud(0.2f);
    EXPECT_EQ(ShownScore, 0.0f);
    EXPECT_EQ(Score, 0);
}

TEST_F(HudTest, DigitsAreCentredOnTheirFieldsAndTheCoverShowsTheBar) {
    PlayBackground(0.0f);
    ShownScore = 1234.0f;
    Score = 1234;
    Level = 42;
    LevelBar = ShownLevelBar = 30.0f;
    PlayHud(0.0f);
    Shot("hud_score_level_bar");
    const int h = static_cast<int>(NumberPicture->Height());
    const int lh = static_cast<int>(LevelPicture->Height());
    // Four 10-pixel digits centred on 535: 515, 525, 535, 545.
    for (auto [digit, x] : {std::pair{1, 515}, {2, 525}, {3, 535}, {4, 545}}) {
        EXPECT_GE(Shows(NumberPicture, Rect{10 * digit, 0, 10 * digit + 10, h}, x, 437), 0.99)
            << digit;
    }
    // Two 15-pixel digits centred on 370: 355 and 370.
    EXPECT_GE(Shows(LevelPicture, Rect{60, 0, 75, lh}, 355, 453), 0.99);
    EXPECT_GE(Shows(LevelPicture, Rect{30, 0, 45, lh}, 370, 453), 0.99);
    EXPECT_EQ(VisibleBarRows(), 30);
    EXPECT_GE(Shows(ActiveOptionPicture, Rect{210, 0, 230, 43}, 174, 339), 0.99);

    Level = 7;
    ShownLevelBar = LevelBar = 80.0f;  // clamped to a full bar: no cover at all
    PlayBackground(0.0f);
    PlayHud(0.0f);
    EXPECT_GE(Shows(LevelPicture, Rect{105, 0, 120, lh}, 363, 453), 0.99);
    EXPECT_EQ(ShownLevelBar, 73.0f);
    EXPECT_EQ(VisibleBarRows(), 73);
    ShownLevelBar = LevelBar = 0.0f;
    PlayBackground(0.0f);
    PlayHud(0.0f);
    EXPECT_EQ(VisibleBarRows(), 0);
}

// An empty bar shows nothing of the full bar's colours, in the tube or in the bulb below it.
TEST_F(HudTest, EmptyBarShowsNoFill) {
    ShownLevelBar = LevelBar = 0.0f;
    PlayBackground(0.0f);
    PlayHud(0.0f);
    Shot("hud_empty_bar");
    // The window's pixels are 8-bit red, green and blue; the fill runs from butter to tomato.
    auto near = [](uint32_t pixel, int r, int g, int b) {
        return std::abs(static_cast<int>(pixel >> 16 & 255) - r) < 40 &&
               std::abs(static_cast<int>(pixel >> 8 & 255) - g) < 40 &&
               std::abs(static_cast<int>(pixel & 255) - b) < 50;
    };
    int filled = 0;
    for (int y = 330; y < 440; ++y) {
        for (int x = 168; x < 200; ++x) {
            filled += near(Pixel(x, y), 0xFF, 0xD7, 0x5E) || near(Pixel(x, y), 0xE8, 0x45, 0x2C);
        }
    }
    EXPECT_EQ(filled, 0);
}

// The low-time warning is seen as well as heard: a red frame around the tube, lit for half of
// every second while a Timed bar is under 10, and never otherwise.
TEST_F(HudTest, LowTimeWarningIsSeenAsWellAsHeard) {
    const uint32_t red = PackColour(0xE8, 0x2A, 0x1C);
    auto framed = [&] {
        PlayBackground(0.0f);
        PlayHud(Dt);
        return Pixel(171, 380) == red && Pixel(196, 380) == red && Pixel(184, 336) == red &&
               Pixel(184, 415) == red;
    };
    GameMode = Timed;
    Level = 1;
    LevelBar = ShownLevelBar = 5.0f;
    int lit = 0;
    for (int i = 0; i < 100; ++i) lit += framed() ? 1 : 0;
    Shot("hud_low_time");
    EXPECT_NEAR(lit, 50, 3);  // half of two seconds
    EXPECT_GE(Requests(Effect::LowTime), 1);
    Paused = 1;
    EXPECT_FALSE(framed());
    Paused = 0;
    LevelBar = ShownLevelBar = 20.0f;
    for (int i = 0; i < 60; ++i) EXPECT_FALSE(framed());
    GameMode = Untimed;
    LevelBar = ShownLevelBar = 5.0f;
    for (int i = 0; i < 60; ++i) EXPECT_FALSE(framed());
}

// Height in pixels of cream lettering inside the box of a frame: the rows that its cream pixels
// span within `columns` columns from the leftmost one; for words without descenders, the height
// of their capitals.
int CreamCapHeight(const std::vector<uint32_t>& frame, const Rect& box, int columns = 640) {
    auto cream = [&](int x, int y) {
        const uint32_t p = frame[static_cast<std::size_t>(y * 640 + x)];
        return ((p >> 16) & 0xFF) >= 0xF0 && ((p >> 8) & 0xFF) >= 0xE0 && (p & 0xFF) >= 0xC0;
    };
    int leftmost = box.right;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (cream(x, y)) leftmost = std::min(leftmost, x);
    int first = box.bottom, last = box.top - 1;
    for (int x = leftmost; x < std::min(leftmost + columns, box.right); ++x)
        for (int y = box.top; y < box.bottom; ++y)
            if (cream(x, y)) {
                first = std::min(first, y);
                last = std::max(last, y);
            }
    return last - first + 1;
}

// Under the thermometer the play screen names its mode and, in the Timed mode, the time a bar
// left alone still lasts until its last whole pixel goes and the game ends, as minutes and
// seconds rounded up: one line of large text centred at x 162. The
// words drawn at run time on the play screen (the mode and time, the score under a game-over
// banner) and the pause banner's hint stand as tall as the screen's painted labels ("Menu" and
// the "Pelmaro" sign), and the mode and time keep 4 pixels clear of every outline of the art.
TEST_F(HudTest, ModeAndTimeLeftStandUnderTheThermometerAsTallAsThePaintedLabels) {
    auto showsText = [&](const char* text) {
        int32_t x = 162 - TextWidth(text) / 2;
        double worst = 1.0;
        for (const char* c = text; *c != 0; ++c) {
            const int32_t left = GlyphOffsets[*c - 32];
            const Rect glyph{left, 190, left + GlyphWidths[*c - 32], 211};
            if (*c != ' ') worst = std::min(worst, Shows(FontPicture, glyph, x, 446));
            x += GlyphWidths[*c - 32];
        }
        return worst;
    };
    auto draw = [&] {
        PlayBackground(0.0f);
        PlayHud(0.0f);
    };
    PlayBackground(0.0f);
    const std::vector<uint32_t> art = Frame();
    const int menu = CreamCapHeight(art, Rect{20, 405, 92, 432});
    const int sign = CreamCapHeight(art, Rect{125, 28, 212, 50});
    const int labels = std::max(menu, sign);
    EXPECT_GE(labels, 12);
    GameMode = Untimed;
    draw();
    EXPECT_EQ(showsText("Untimed"), 1.0);
    Shot("play_hud_untimed");
    const std::vector<uint32_t> untimed = Frame();
    const int text = CreamCapHeight(untimed, Rect{96, 440, 230, 480});
    std::printf("capitals: painted \"Menu\" %d and \"Pelmaro\" %d pixels, mode and time %d\n", menu,
                sign, text);
    EXPECT_GE(text, labels);
    // The art around the text: every pixel the text changed, and 4 pixels around, is plain wood.
    int left = 640, top = 480, right = -1, bottom = -1;
    for (int y = 440; y < 480; ++y)
        for (int x = 90; x < 240; ++x)
            if (untimed[static_cast<std::size_t>(y * 640 + x)] !=
                art[static_cast<std::size_t>(y * 640 + x)]) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, left);
    for (int y = top - 4; y <= std::min(bottom + 4, 479); ++y)
        for (int x = left - 4; x <= right + 4; ++x) {
            const uint32_t p = art[static_cast<std::size_t>(y * 640 + x)];
            EXPECT_GE(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF), 150u)
                << "art outline at " << x << "," << y;
        }
    GameMode = Timed;
    Level = 1;
    LevelBar = ShownLevelBar = 30.0f;  // 0.2 bar pixels a second on level 1: 145 seconds
    draw();
    EXPECT_EQ(showsText("Timed 2:25"), 1.0);
    Level = 10;  // ten times as fast: 14.5 seconds
    draw();
    EXPECT_EQ(showsText("Timed 0:15"), 1.0);
    Shot("play_hud_timed");
    Level = 1;
    LevelBar = ShownLevelBar = 1.5f;  // the game ends in 2.5 seconds, as the bar drops below 1
    draw();
    EXPECT_EQ(showsText("Timed 0:03"), 1.0);
    LevelBar = ShownLevelBar = 1.0f;
    draw();
    EXPECT_EQ(showsText("Timed 0:00"), 1.0);
    // The pause banner's hint, "Click or press Esc to play on".
    Paused = 1;
    PlayBackground(0.0f);
    PlayFrame(0.0f);
    Shot("play_hud_paused");
    const int hint = CreamCapHeight(Frame(), Rect{300, 200, 572, 221}, 40);  // "Click"
    std::printf("capitals: pause hint %d pixels\n", hint);
    EXPECT_GE(hint, labels);
}

TEST_F(HudTest, FullBarCompletesTheLevelOnceWithOneSound) {
    Level = 5;
    LevelBar = ShownLevelBar = 73.0f;
    CellAt({2, 2}).Selected = 1;
    RunHud(0.5f);
    EXPECT_EQ(PlayPhase, PhaseLevelComplete);
    EXPECT_EQ(Requests(Effect::LevelDone), 1);
    EXPECT_EQ(CellAt({2, 2}).Selected, 0);
    EXPECT_EQ(LevelDoneCount, 2);
    EXPECT_EQ(GameWon, 0);
}

TEST_F(HudTest, FullBarWaitsForAFullBoard) {
    LevelBar = ShownLevelBar = 73.0f;
    CellAt({4, 0}).Kind = EmptyKind;
    RunHud(0.2f);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    CellAt({4, 0}).Kind = 3;
    PlayHud(Dt);
    EXPECT_EQ(PlayPhase, PhaseLevelComplete);
}

TEST_F(HudTest, FullBarOnTheLastLevelWinsOnce) {
    Level = 99;
    LevelBar = ShownLevelBar = 73.0f;
    RunHud(0.5f);
    EXPECT_EQ(GameWon, 1);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    EXPECT_EQ(Requests(Effect::LevelDone), 1);
    EXPECT_EQ(WinCount, 4);
    EXPECT_EQ(Level, 99);
}

TEST_F(HudTest, WonTimedGameNoLongerDrainsAndTimeRunsOutOnceAndNotUnderThePause) {
    GameMode = Timed;
    Level = 99;
    LevelBar = 75.0f;  // the last line filled the bar
    ShownLevelBar = 70.0f;
    RunHud(10.0f);  // a drain of 20 pixels a second would have emptied the bar twice over
    EXPECT_EQ(GameWon, 1);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    EXPECT_EQ(LevelBar, 75.0f);

    // Under the pause an empty bar ends nothing; once play goes on it does, with one boing, not
    // one a frame.
    GameWon = 0;
    Level = 3;
    LevelBar = ShownLevelBar = 0.0f;
    Paused = 1;
    EffectRequests.clear();
    RunHud(1.0f);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    Paused = 0;
    RunHud(1.0f);
    EXPECT_EQ(PlayPhase, PhaseBarEmpty);
    EXPECT_EQ(Requests(Effect::NoMoves), 1);
}

class BannerTest : public HudTest {
  protected:
    // One frame of the play screen as far as the banner is concerned.
    void BannerFrame(int32_t phase) {
        PlayBackground(Dt);
        PhaseBanner(phase, Dt);
    }
    // The top row where the banner of `phase` shows whole, searched near `around`.
    int BannerTop(int32_t phase, int around) const {
        for (int y = around - 3; y <= around + 3; ++y) {
            if (Shows(GameOverPicture, Rect{0, 61 * phase, 300, 61 * phase + 61}, 286, y) > 0.99) {
                return y;
            }
        }
        return -1000;
    }
};

TEST_F(BannerTest, BannerDropsInClippedByTheBoardAndBouncesAroundHundredForty) {
    for (int i = 0; i < 25; ++i) BannerFrame(PhaseLevelComplete);
    Shot("banner_entering");
    // BannerY is -20: the banner's lower 41 rows show, from the board's top edge down.
    EXPECT_GE(Shows(GameOverPicture, Rect{0, 122 + 24, 300, 183}, 286, 4), 0.99);
    for (int y = 0; y < 4; ++y) {
        for (int x = 286; x < 586; x += 7) {
            EXPECT_EQ(Pixel(x, y), PicturePixel(BackgroundPicture, x, y));
        }
    }
    for (int i = 25; i < 50; ++i) BannerFrame(PhaseLevelComplete);
    EXPECT_EQ(BannerTop(PhaseLevelComplete, 162), 162);
    for (int i = 50; i < 60; ++i) BannerFrame(PhaseLevelComplete);
    EXPECT_EQ(BannerTop(PhaseLevelComplete, 184), 184);
    Shot("banner_level_complete");
    // Centred on the board: 150 pixels either side of x = 436.
    EXPECT_EQ(Pixel(285, 200), PicturePixel(BackgroundPicture, 285, 200));
    for (int i = 60; i < 80; ++i) BannerFrame(PhaseLevelComplete);
    EXPECT_EQ(BannerTop(PhaseLevelComplete, 113), 113);
    EXPECT_EQ(LevelBar, 73.0f);
}

TEST_F(BannerTest, LevelCompleteBannerLeadsToTheNextLevelAndAClearOut) {
    GameMode = Timed;
    Level = 98;
    PlayPhase = PhaseLevelComplete;
    LevelDoneCount = 2;
    int frames = 0;
    while (PlayPhase != PhasePlaying && frames < 400) {
        BannerFrame(PlayPhase);
        ++frames;
    }
    EXPECT_EQ(frames, 167);  // 1200 banner pixels at 360 a second
    EXPECT_EQ(Level, 99);
    EXPECT_EQ(LevelBar, 30.0f);
    EXPECT_EQ(ClearOut, 1);
    EXPECT_EQ(LevelDoneCount, 0);
    EXPECT_EQ(ScreenState, Play);
}

TEST_F(BannerTest, NoMoveBannerReplacesTheBoardKeepingATimedBar) {
    GameMode = Timed;
    Level = 4;
    LevelBar = 21.5f;
    for (int i = 0; i < 167; ++i) BannerFrame(PhaseNewBoard);
    EXPECT_EQ(Level, 4);
    EXPECT_EQ(LevelBar, 21.5f);
    EXPECT_EQ(ClearOut, 1);
    GameMode = Untimed;
    ClearOut = 0;
    PlayPhase = PhaseNewBoard;
    for (int i = 0; i < 167; ++i) BannerFrame(PhaseNewBoard);
    EXPECT_EQ(LevelBar, 0.0f);
    EXPECT_EQ(ClearOut, 1);
}

TEST_F(BannerTest, GameOverBannerOpensTheHighScoresWithTheNameBox) {
    ResetHighScores();
    GameMode = Timed;
    KindCount = 7;
    Score = 5000;
    NoGameToContinue = 0;
    MixerIdle = 0;
    PlayPhase = PhaseBarEmpty;
    for (int i = 0; i < 167; ++i) BannerFrame(PlayPhase);
    EXPECT_EQ(ScreenState, HighScores);
    EXPECT_EQ(NameEntryOpen, 1);
    EXPECT_EQ(NoGameToContinue, 1);
    EXPECT_EQ(MixerIdle, 1);
    EXPECT_EQ(HighScorePage, 7);
    EXPECT_EQ(ShatterRequested, 1);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    EXPECT_EQ(HighScoreTable[0][4].Score, 5000);  // Timed, seven kinds
}

}  // namespace
