// Tests of the play screen's frame: background decorations, the board, pause and flying pieces.
#include "game/play_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/falling.h"
#include "game/flying_piece.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/moves.h"
#include "game/score_popups.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "play_fixture.h"
#include "shared/state.h"
#include "test_boards.h"

namespace {

constexpr float Dt = 0.02f;

class PlayScreenTest : public PlayFixture {
  protected:
    void SetUp() override {
        PlayFixture::SetUp();
        ScreenState = Play;
        KindCount = 5;
        LoadBoard(QuietBoard);
    }
    // One frame of the play screen's three steps, in the frame driver's order.
    void Step(float dt) {
        PlayBackground(dt);
        PlayFrame(dt);
        PlayHud(dt);
    }
    int Requests(int effect) const {
        return static_cast<int>(std::count(EffectRequests.begin(), EffectRequests.end(), effect));
    }
    static Rect PieceSource(int kind, int frame) {
        return Rect{50 * kind, 50 * frame, 50 * kind + 50, 50 * frame + 50};
    }
    // True when every piece of the board shows at rest on its own square.
    bool PiecesOnTheirSquares() const {
        for (int c = 0; c < 8; ++c) {
            for (int r = 0; r < 8; ++r) {
                const Cell& cell = Board[CellIndex(c, r)];
                if (Shows(FiguresPicture, PieceSource(cell.Kind, 0), 236 + 50 * c, 4 + 50 * r) <
                    0.99) {
                    return false;
                }
            }
        }
        return true;
    }
};

TEST_F(PlayScreenTest, NothingIsDrawnOffThePlayScreen) {
    ScreenState = MainMenu;
    Clear(10, 20, 30);
    const std::vector<uint32_t> before = Frame();
    Step(Dt);
    EXPECT_FALSE(AnyDifference(before, Frame(), 0, 0, 640, 480));
}

TEST_F(PlayScreenTest, PiecesStandOnTheirSquaresOverTheKitchen) {
    Step(Dt);
    Shot("play_board");
    EXPECT_TRUE(PiecesOnTheirSquares());
    EXPECT_EQ(Shows(BackgroundPicture, Rect{0, 0, 236, 330}, 0, 0), 1.0);
    EXPECT_GE(Shows(MenuTextPicture, Rect{179, 292, 276, 323}, 295, 449), 0.95);  // caption
}

// The same play screen on the full-screen display, whose pixels have 16 bits.
class SixteenBitPlayScreenTest : public PlayScreenTest {
  protected:
    SixteenBitPlayScreenTest() { fullScreenDisplay_ = true; }
};

TEST_F(SixteenBitPlayScreenTest, PiecesBannerAndFlyingPiecesDrawInSixteenBits) {
    ASSERT_EQ(platform::SurfaceFormat(BackBuffer->Surface()).bitCount, 16);
    CellAt({1, 1}).Selected = 1;
    LaunchFlyingPiece(7, 0, 2);
    Step(0.0f);
    Shot("play_board_16bit");
    EXPECT_GE(Shows(FiguresPicture, PieceSource(2, 0), 586, 4), 0.99);  // the copy, over the board
    EXPECT_GE(Shows(EasyFoodPicture, Rect{400, 0, 450, 50}, 286, 54), 0.99);
    FlyingPieces.clear();
    CellAt({1, 1}).Selected = 0;
    Step(0.0f);
    EXPECT_TRUE(PiecesOnTheirSquares());
    Paused = 1;
    Step(Dt);
    EXPECT_GE(Shows(GameOverPicture, Rect{0, 61, 300, 122}, 286, 170), 0.99);
}

TEST_F(PlayScreenTest, SelectedPieceCyclesItsFramesInsideTheSelectionFrame) {
    Cell& cell = CellAt({4, 2});
    cell.Selected = 1;
    Step(0.1f);  // 2.5 frames at 25 a second
    EXPECT_FLOAT_EQ(cell.Frame, 2.5f);
    Shot("play_selected");
    EXPECT_GE(Shows(EasyFoodPicture, Rect{400, 0, 450, 50}, 436, 104), 0.99);
    for (int i = 0; i < 23; ++i) Step(Dt);  // 2.5 + 11.5 passes 13: back to 0
    EXPECT_LT(cell.Frame, 1.0f);
    cell.Selected = 0;
    cell.Frame = 12.0f;  // an unselected piece finishes its cycle and rests
    Step(Dt);
    Step(Dt);
    Step(Dt);
    EXPECT_EQ(cell.Frame, 0.0f);
    Step(Dt);
    EXPECT_EQ(cell.Frame, 0.0f);
    EXPECT_TRUE(PiecesOnTheirSquares());
}

TEST_F(PlayScreenTest, WithoutEasyFoodOnlyPiecesAndTheSelectionFrameAreDrawn) {
    EasyFood = 0;
    CellAt({0, 0}).Selected = 1;
    Step(0.0f);
    Shot("play_without_easyfood");
    // The board art of the background shows wherever a piece is transparent.
    const int kind = CellAt({1, 1}).Kind;
    int matched = 0, transparent = 0;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            if (PicturePixel(FiguresPicture, 50 * kind + x, y) != FiguresPicture->ColourKey)
                continue;
            ++transparent;
            if (Pixel(286 + x, 54 + y) == PicturePixel(BackgroundPicture, 286 + x, 54 + y))
                ++matched;
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_EQ(matched, transparent);
    EXPECT_GE(Shows(EasyFoodPicture, Rect{400, 0, 450, 50}, 236, 4), 0.99);
}

TEST_F(PlayScreenTest, PauseHidesTheBoardBehindItsBanner) {
    Paused = 1;
    CellAt({3, 3}).Selected = 1;
    Step(Dt);
    Shot("play_paused");
    EXPECT_GE(Shows(GameOverPicture, Rect{0, 61, 300, 122}, 286, 170), 0.99);
    EXPECT_EQ(Shows(BackgroundPicture, Rect{236, 4, 636, 170}, 236, 4), 1.0);
    EXPECT_EQ(Shows(BackgroundPicture, Rect{236, 231, 636, 404}, 236, 231), 1.0);
    EXPECT_EQ(CellAt({3, 3}).Frame, 0.0f);  // not animated while hidden
}

TEST_F(PlayScreenTest, BoardChangeWaitsHiddenWhilePaused) {
    Paused = 1;
    StartDropIn();
    for (int i = 0; i < 100; ++i) Step(Dt);
    EXPECT_EQ(DropIn, 1);
    EXPECT_GE(Shows(GameOverPicture, Rect{0, 61, 300, 122}, 286, 170), 0.99);
    Paused = 0;
    for (int i = 0; i < 100; ++i) Step(Dt);
    EXPECT_EQ(DropIn, 0);
    EXPECT_TRUE(PiecesOnTheirSquares());
}

TEST_F(PlayScreenTest, PhaseBannerShowsOverTheBoard) {
    PlayPhase = PhaseNewBoard;
    for (int i = 0; i < 60; ++i) Step(Dt);
    Shot("play_banner_new_board");
    EXPECT_GE(Shows(GameOverPicture, Rect{0, 244, 300, 305}, 286, 184), 0.99);
}

TEST_F(PlayScreenTest, FlyingPiecesShrinkIntoTheMixerAndSetItWhirling) {
    const uint8_t kind = CellAt({2, 7}).Kind;
    LaunchFlyingPiece(2, 7, kind);  // Y 354 flies up to the mouth
    LaunchFlyingPiece(6, 5, 3);     // Y 254 flies down to it
    ASSERT_EQ(FlyingPieces.size(), 2u);
    EXPECT_EQ(FlyingPieces.front().SpeedY, 254.0f - 280.0f);
    EXPECT_EQ(FlyingPieces.back().SpeedY, 260.0f - 354.0f);
    Step(Dt);
    // The first frame draws each copy at its full 50 pixels over its square.
    EXPECT_GE(Shows(FiguresPicture, PieceSource(kind, 0), 336, 354), 0.99);
    EXPECT_EQ(Requests(Effect::Clear), 1);
    EXPECT_EQ(MatchSoundPending, 0);
    EXPECT_EQ(MixerIdle, 0);
    int frames = 1;
    float lastSize = 50.0f;
    while (!FlyingPieces.empty() && frames < 200) {
        for (const FlyingPiece& piece : FlyingPieces) {
            EXPECT_LT(piece.Size, lastSize + 0.5f);
            EXPECT_GE(piece.Y, std::min(254.0f, 280.0f));
            EXPECT_LE(piece.Y, 354.0f);
        }
        lastSize = FlyingPieces.front().Size;
        if (frames == 25) Shot("play_flying_pieces");
        Step(Dt);
        ++frames;
    }
    // About a second on the way, shrinking from 50 to about 10 pixels.
    EXPECT_NEAR(frames * Dt, 1.0f, 0.06f);
    EXPECT_NEAR(lastSize, 10.0f, 2.5f);
    EXPECT_EQ(MixerTrigger, 1);
    EXPECT_EQ(Requests(Effect::Clear), 1);
    EXPECT_EQ(Requests(Effect::Mixer), 0);
    // The mixer starts on the next frame and whirls through its frames for 1.1 seconds, with
    // one whirr for the whole spin.
    int spinFrames = 0;
    bool spinning = true;
    for (int i = 0; i < 100; ++i) {
        Step(Dt);
        if (spinning) ++spinFrames;
        spinning = spinning && MixerTrigger != 0;
        if (i == 30) {
            Shot("play_mixer");
            EXPECT_GE(Shows(MixerPicture, Rect{0, 109 * 6, 109, 109 * 7}, 36, 278), 0.99);
        }
    }
    EXPECT_EQ(spinFrames, 56);  // frames 0..10 at 10 a second, and the closing frame 0
    EXPECT_EQ(Requests(Effect::Mixer), 1);
    EXPECT_EQ(MixerTrigger, 0);
    EXPECT_EQ(MixerIdle, 1);
    EXPECT_EQ(Shows(BackgroundPicture, Rect{36, 278, 145, 387}, 36, 278), 1.0);
}

TEST_F(PlayScreenTest, FlyingPiecesWaitWhilePaused) {
    LaunchFlyingPiece(0, 0, 1);
    Paused = 1;
    for (int i = 0; i < 20; ++i) Step(Dt);
    EXPECT_EQ(FlyingPieces.front().X, 236.0f);
    EXPECT_EQ(FlyingPieces.front().Size, 50.0f);
}

TEST_F(PlayScreenTest, PanPlaysItsThreeFramesOncePerHover) {
    PanHover = 1;
    Step(0.0f);  // hovering, frame 0 at once
    EXPECT_GE(Shows(PanPicture, Rect{0, 0, 95, 155}, 5, 24), 0.99);
    Step(0.15f);  // 1.05 frames
    EXPECT_GE(Shows(PanPicture, Rect{0, 155, 95, 310}, 5, 24), 0.99);
    Step(0.15f);
    Shot("play_pan");
    EXPECT_GE(Shows(PanPicture, Rect{0, 310, 95, 465}, 5, 24), 0.99);
    Step(0.15f);  // past 3: the run ends on frame 0
    EXPECT_EQ(PanDone, 1);
    EXPECT_GE(Shows(PanPicture, Rect{0, 0, 95, 155}, 5, 24), 0.99);
    Step(0.15f);
    EXPECT_EQ(Shows(BackgroundPicture, Rect{5, 24, 100, 179}, 5, 24), 1.0);
    PanHover = 0;  // the pointer leaves
    PanAnim = 0.0f;
    Step(Dt);
    EXPECT_EQ(PanDone, 0);
}

TEST_F(PlayScreenTest, MenuButtonLightsUnderThePointer) {
    MenuHover = 1;
    Step(Dt);
    Shot("play_menu_lit");
    EXPECT_GE(Shows(MenuTextPicture, Rect{179, 212, 264, 291}, 13, 379), 0.99);
    MenuHover = 0;
    Step(Dt);
    EXPECT_EQ(Shows(BackgroundPicture, Rect{13, 379, 35, 458}, 13, 379), 1.0);
}

TEST_F(PlayScreenTest, CookBlinksForAFewTenthsOfASecondNowAndThen) {
    int blinks = 0;
    int run = 0;
    bool sawBlink = false;
    for (int i = 0; i < 500; ++i) {  // 10 seconds
        Step(Dt);
        bool closed = Shows(MenDownPicture, Rect{0, 0, 77, 28}, 112, 200) > 0.99;
        if (closed) {
            ++run;
            if (!sawBlink) Shot("play_blink");
            sawBlink = true;
        } else if (run > 0) {
            ++blinks;
            EXPECT_GE(run, 15);  // 0.3 s
            EXPECT_LE(run, 16);
            run = 0;
        }
    }
    // A chance of one half every second.
    EXPECT_GE(blinks, 2);
    EXPECT_LE(blinks, 9);
}

// WCAG relative luminance of a 0x00RRGGBB colour.
double Luminance(uint32_t rgb) {
    auto channel = [](uint32_t value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) +
           0.0722 * channel(rgb & 0xFF);
}

// WCAG contrast ratio of two colours, 1..21.
double Contrast(uint32_t a, uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The hint's kept mark reads on every piece, with EasyFood's tiles and without: on each kind,
// the pixels it changes by 3:1 or more (WCAG contrast of the marked pixel to the same pixel
// unmarked) cover at least a ring two pixels wide around the square, and one of its two tones
// stands at 3:1 or more from the tile and from the piece's own main colour.
TEST_F(PlayScreenTest, TheHintsKeptMarkReadsAtThreeToOneOnEveryTileAndPiece) {
    constexpr Square First{3, 4}, Second{3, 3};
    constexpr int SquareLeft = 236 + 50 * 3, SquareTop = 4 + 50 * 3;
    // A ring two pixels wide just inside a 50-pixel square.
    constexpr int TwoPixelRing = 50 * 50 - 46 * 46;
    KindCount = 8;
    std::vector<uint32_t> sheet(640 * 480, 0x2F3B35);
    for (uint8_t easyFood : {1, 0}) {
        EasyFood = easyFood;
        for (uint8_t kind = 0; kind < 8; ++kind) {
            LoadBoard(QuietBoard);
            Place(kind, {First, Second});
            HintMove = HintMoveRecord{First, Second};
            HintMarked = 0;
            Step(0.0f);
            const std::vector<uint32_t> plain = Frame();
            HintMarked = 1;
            Step(0.0f);
            const std::vector<uint32_t> marked = Frame();
            // The tile's colour under the mark, and the piece's main colour.
            const uint32_t tile = plain[(SquareTop + 3) * 640 + SquareLeft + 25] & 0xFFFFFF;
            // The piece's main colour: the most common of its colours (to 4 bits a channel)
            // other than its dark outline, as the mean of the pixels of that colour.
            std::map<uint32_t, std::vector<uint32_t>> pieceColours;
            for (int y = 0; y < 50; ++y)
                for (int x = 0; x < 50; ++x) {
                    const uint32_t c = PicturePixel(FiguresPicture, 50 * kind + x, y) & 0xFFFFFF;
                    if (c != 0xFF00FF && Luminance(c) > 0.05)
                        pieceColours[c & 0xF0F0F0].push_back(c);
                }
            const std::vector<uint32_t>& main =
                std::max_element(pieceColours.begin(), pieceColours.end(), [](auto& a, auto& b) {
                    return a.second.size() < b.second.size();
                })->second;
            uint32_t piece = 0;
            for (int shift : {16, 8, 0}) {
                uint64_t sum = 0;
                for (uint32_t c : main) sum += (c >> shift) & 0xFF;
                piece |= static_cast<uint32_t>(sum / main.size()) << shift;
            }
            int reading = 0;
            std::map<uint32_t, int> tones;
            for (int y = SquareTop; y < SquareTop + 50; ++y)
                for (int x = SquareLeft; x < SquareLeft + 50; ++x) {
                    const uint32_t before = plain[y * 640 + x] & 0xFFFFFF;
                    const uint32_t after = marked[y * 640 + x] & 0xFFFFFF;
                    if (before != after) tones[after] += 1;
                    if (Contrast(before, after) >= 3.0) reading += 1;
                    sheet[(20 + 110 * easyFood + (y - SquareTop)) * 640 + 20 + 75 * kind +
                          (x - SquareLeft)] = after;
                    sheet[(300 + 90 * easyFood + (y - SquareTop)) * 640 + 20 + 75 * kind +
                          (x - SquareLeft)] = before;
                }
            double bestOnTile = 0.0, bestOnPiece = 0.0;
            for (const auto& [tone, count] : tones) {
                bestOnTile = std::max(bestOnTile, Contrast(tone, tile));
                bestOnPiece = std::max(bestOnPiece, Contrast(tone, piece));
            }
            std::printf(
                "hint mark, EasyFood %d, kind %d: tile #%06X %.1f:1, piece #%06X %.1f:1, %d pixels "
                "at 3:1 or more (a two-pixel ring is %d)\n",
                easyFood, kind, tile, bestOnTile, piece, bestOnPiece, reading, TwoPixelRing);
            EXPECT_GE(reading, TwoPixelRing) << int{easyFood} << " " << int{kind};
            EXPECT_GE(bestOnTile, 3.0) << int{easyFood} << " " << int{kind};
            EXPECT_GE(bestOnPiece, 3.0) << int{easyFood} << " " << int{kind};
        }
    }
    ASSERT_TRUE(SaveShot("play_hint_mark_on_every_kind", sheet));
}

// A clearing shows one pop-up, "+points" in the outlined pop-up lettering, centred where the
// line was; it stays whole on the board for its whole rise, and vanishes when a piece is
// selected.
TEST_F(PlayScreenTest, ClearingShowsOneOutlinedPopupThatStaysOnTheBoard) {
    auto cell = [](int32_t index) {  // "+" is cell 0, digit d is cell d + 1
        return Rect{320 + 15 * index, 104, 335 + 15 * index, 130};
    };
    StartChain();
    // "+10" is 45 pixels wide, centred on (411, 179).
    ShowClearingPoints(411, 179, 10);
    ScorePopupsFrame(0.0f);
    Shot("play_score_popups");
    EXPECT_EQ(Shows(FontPicture, cell(0), 389, 166), 1.0);
    EXPECT_EQ(Shows(FontPicture, cell(2), 404, 166), 1.0);
    EXPECT_EQ(Shows(FontPicture, cell(1), 419, 166), 1.0);
    // A clearing in the top right corner: pushed left and down until its rise stays on the board.
    StartChain();
    ShowClearingPoints(630, 10, 25);
    ScorePopupsFrame(0.0f);
    EXPECT_EQ(Shows(FontPicture, cell(3), 606, 28), 1.0);
    for (int i = 0; i < 14; ++i) ScorePopupsFrame(Dt);
    Clear(0, 0, 0);
    ScorePopupsFrame(0.0f);
    EXPECT_EQ(Shows(FontPicture, cell(3), 606, static_cast<int>(28.0f - 14 * Dt * 40.0f)), 1.0);
    // Gone after PopupLife.
    for (int i = 0; i < 20; ++i) ScorePopupsFrame(Dt);
    Clear(0, 0, 0);
    ScorePopupsFrame(Dt);
    for (int y = 0; y < 30; ++y) EXPECT_LT(Shows(FontPicture, cell(3), 606, y), 0.5);
    // A selected piece clears it at once.
    ShowClearingPoints(311, 329, 10);
    SelectStep = 1;
    Clear(0, 0, 0);
    ScorePopupsFrame(0.0f);
    EXPECT_LT(Shows(FontPicture, cell(0), 289, 316), 0.5);
    StartChain();
    EXPECT_EQ(ChainLength, 0);
}

// A move shows one pop-up with every point it scores, over the pieces flying to the mixer: a
// line's points count up while its squares fill again; a chain's next line takes the move's
// pop-up to its own place, led by the chain's word, so no two pop-ups ever meet; and a word
// shows only for a newly marked line, not for the passes that find the marks of squares
// already emptied.
TEST_F(PlayScreenTest, AMovesOnePopupShowsEveryPointItScoresOverTheFlyingPieces) {
    // How much of "[word ]+points" shows, its worst cell, centred on (centreX, centreY): "+" is
    // cell 0 of the pop-up lettering, digit d is cell d + 1, each 15 by 26; "Tasty!" is 64 wide
    // and 4 pixels before the points.
    auto showsPoints = [&](bool tasty, const char* text, int32_t centreX, int32_t centreY) {
        const int32_t width = 15 * static_cast<int32_t>(std::strlen(text)) + (tasty ? 68 : 0);
        int32_t x = centreX - width / 2;
        const int32_t y = centreY - 13;
        double worst = 1.0;
        if (tasty) {
            worst = Shows(FontPicture, Rect{485, 104, 549, 130}, x, y);
            x += 68;
        }
        for (const char* c = text; *c != '\0'; ++c, x += 15) {
            const int32_t index = *c == '+' ? 0 : *c - '0' + 1;
            const Rect cell{320 + 15 * index, 104, 335 + 15 * index, 130};
            worst = std::min(worst, Shows(FontPicture, cell, x, y));
        }
        return worst;
    };
    struct Move {
        std::initializer_list<Square> Line;
        std::initializer_list<Square> Chain;  // pieces of kind 6 that the fall lines up
        int32_t Lines;
        int32_t CentreX, CentreY;  // the middle of the move's last line
        bool Tasty;
        const char* Flying;  // the pop-up as the chain's line clears, and once the move settled
        const char* Text;
    };
    // Down one column: passes with 3, 2, 1 and 0 marked squares; across: 3, then 0. Across row 4
    // with 6,6 above it beside a 6: the fall lines them up in row 4, a chain of two lines,
    // 10 + 10 points. The new pieces drawn on this clock make no further line.
    platform::UseManualClock(9000);
    for (const Move& move : {Move{{{3, 2}, {3, 3}, {3, 4}}, {}, 1, 411, 179, false, "", "+20"},
                             Move{{{2, 6}, {3, 6}, {4, 6}}, {}, 1, 411, 329, false, "", "+10"},
                             Move{{{2, 4}, {3, 4}, {4, 4}},
                                  {{1, 4}, {2, 3}, {3, 3}},
                                  2,
                                  361,
                                  229,
                                  true,
                                  "+15",
                                  "+20"}}) {
        LoadBoard(QuietBoard);
        ClearScorePopups();
        Place(5, move.Line);
        Place(6, move.Chain);
        Score = 0;
        StartChain();
        MarkMatches();
        ClearingPass();
        // While the last line's pieces start their flight, its pop-up shows whole over them.
        int lines = 1;
        for (int frame = 0; frame < 200 && (::Falling != 0 || lines < move.Lines); ++frame) {
            platform::AdvanceManualClock(Dt);
            Step(Dt);
            if (ChainLength > lines) {
                lines = ChainLength;
                Step(Dt);
                EXPECT_FALSE(FlyingPieces.empty());
                EXPECT_EQ(showsPoints(move.Tasty, move.Flying, move.CentreX, move.CentreY), 1.0);
                Shot("play_score_popup_chain");
            }
        }
        EXPECT_EQ(ChainLength, move.Lines) << move.Text;
        EXPECT_EQ(Score, std::atoi(move.Text + 1)) << move.Text;
        // The settled move's pop-up shows its total where the last line was.
        EXPECT_FALSE(FlyingPieces.empty());
        EXPECT_EQ(showsPoints(move.Tasty, move.Text, move.CentreX, move.CentreY), 1.0) << move.Text;
    }
}

}  // namespace
