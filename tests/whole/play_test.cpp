// Whole-program tests of the play screen: moves, the bar, levels, pause, display switch, shatter.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/startup.h"
#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/board_change.h"
#include "game/flying_piece.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "harness.h"
#include "shared/state.h"

namespace {

// Rectangles of the presented picture the probes look at.
struct Box {
    int Left, Top, Right, Bottom;
};
constexpr Box WholeBoard{236, 4, 636, 404};
constexpr Box ScoreDigits{495, 435, 575, 452};
constexpr Box LevelBarArea{174, 339, 194, 412};
constexpr Box MixerArea{36, 278, 145, 387};
// The mode and the Timed clock, in one line under the thermometer.
constexpr Box ClockArea{96, 440, 230, 480};
// Seconds between two frames of the clock checks, and the frames from the bar's last pixel to
// the game-over phase.
constexpr float FrameTime = 0.02f;
constexpr float EndFrames = 3.0f;
// Between the board's left edge and the mixer: only flying pieces change it.
constexpr Box FlightPath{145, 20, 236, 420};
// The middle of the banner 0.96 seconds after its phase began (top at y = 145).
constexpr Box BannerArea{300, 160, 570, 200};
// The board on either side of a centred 300-pixel banner.
constexpr Box LeftOfBanner{236, 140, 286, 220};
constexpr Box RightOfBanner{586, 140, 636, 220};

int Differing(const Shot& a, const Shot& b, const Box& box, int tolerance = 0) {
    return a.DifferingPixels(b, box.Left, box.Top, box.Right, box.Bottom, tolerance);
}

bool Requested(int effect) {
    return std::find(EffectRequests.begin(), EffectRequests.end(), effect) != EffectRequests.end();
}

// The centre of a square of the board in picture coordinates.
int CentreX(Square square) { return BoardLeft + SquareSize * square.Column + SquareSize / 2; }
int CentreY(Square square) { return BoardTop + SquareSize * square.Row + SquareSize / 2; }

TEST(PlayTest, SwapMakingALineScoresAndItsPiecesFlyIntoTheMixer) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(0, 6);
    ASSERT_EQ(ScreenState, Play);
    const Shot settled = game.Picture();
    game.SaveShot("play-settled");
    // Every piece stands on its own square.
    for (int column = 0; column < 8; ++column)
        for (int row = 0; row < 8; ++row) {
            EXPECT_EQ(Board[CellIndex(column, row)].X, 236.0f + 50 * column);
            EXPECT_EQ(Board[CellIndex(column, row)].Y, 4.0f + 50 * row);
        }
    ASSERT_TRUE(AnyMovePossible());
    FindHint();
    EffectRequests.clear();
    game.Click(CentreX(HintMove.First), CentreY(HintMove.First));
    EXPECT_TRUE(Requested(SelectSound));
    game.Click(CentreX(HintMove.Second), CentreY(HintMove.Second));
    ASSERT_TRUE(game.RunUntil([] { return !FlyingPieces.empty(); }, 2.0f));
    EXPECT_GT(Score, 0);
    game.Step(0.02f, 30);
    game.SaveShot("play-flying");
    EXPECT_GT(Differing(game.Picture(), settled, FlightPath), 200);
    EXPECT_TRUE(Requested(ClearSound));
    ASSERT_TRUE(game.RunUntil([] { return MixerTrigger != 0; }, 3.0f));
    game.Step(0.02f, 10);
    game.SaveShot("play-mixer");
    EXPECT_GT(Differing(game.Picture(), settled, MixerArea), 500);
    EXPECT_TRUE(Requested(MixerSound));
    ASSERT_TRUE(game.RunUntil([] { return static_cast<int>(ShownScore) == Score; }, 5.0f));
    game.Step();
    EXPECT_GT(Differing(game.Picture(), settled, ScoreDigits), 20);
}

// Runs a Timed game on to its end and checks its clock against the time the game actually
// gave: whenever the clock will still change n times before the game ends (each change one
// second down, the last to 0:00), the game ends between n - 1 and n seconds later (and the
// few frames a game takes to end).
void ExpectTheClockToReachZeroAsTimeRunsOut(WholeGame& game) {
    struct Frame {
        float Time;
        std::vector<uint32_t> Clock;
    };
    std::vector<Frame> frames;
    float time = 0.0f;
    while (PlayPhase != PhaseBarEmpty && time < 30.0f) {
        const Shot shot = game.Picture();
        Frame frame{time, {}};
        for (int y = ClockArea.Top; y < ClockArea.Bottom; ++y)
            for (int x = ClockArea.Left; x < ClockArea.Right; ++x)
                frame.Clock.push_back(shot.At(x, y));
        frames.push_back(frame);
        game.Step(FrameTime);
        time += FrameTime;
    }
    ASSERT_EQ(PlayPhase, PhaseBarEmpty);
    int changesToCome = 0;
    for (size_t i = frames.size() - 1; i > 0; --i) {
        const float left = time - frames[i].Time;
        EXPECT_LE(left, static_cast<float>(changesToCome) + EndFrames * FrameTime)
            << "at " << frames[i].Time;
        EXPECT_GT(left, static_cast<float>(changesToCome) - 1.0f) << "at " << frames[i].Time;
        if (frames[i - 1].Clock != frames[i].Clock) ++changesToCome;
    }
}

TEST(PlayTest, TimedBarDrainsToGameOverAndTheHighScores) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(1, 6);
    const Shot full = game.Picture();
    LevelBar = ShownLevelBar = 3.0f;
    EffectRequests.clear();
    ExpectTheClockToReachZeroAsTimeRunsOut(game);
    EXPECT_GT(Differing(game.Picture(), full, LevelBarArea), 100);
    EXPECT_TRUE(Requested(LowTimeSound));
    EXPECT_TRUE(Requested(NoMovesSound));
    game.Step(0.02f, 48);
    game.SaveShot("play-game-over");
    EXPECT_GT(Differing(game.Picture(), full, BannerArea), 2000);
    ASSERT_TRUE(game.RunUntil([] { return ScreenState == HighScores; }, 5.0f));
    EXPECT_EQ(NoGameToContinue, 1);
    EXPECT_EQ(PlayPhase, PhasePlaying);
    // No points take no row: no name is asked, and the screen's buttons work at once.
    EXPECT_EQ(NameEntryOpen, 0);
    EXPECT_EQ(InsertRow, 10);
    ASSERT_TRUE(game.RunUntil([] { return ShatterActive == 0; }, 5.0f));
    game.Click(320, 440);  // Back
    EXPECT_EQ(ScreenState, MainMenu);
    // On level 2 the bar drains twice as fast.
    game.WaitForScreen();
    game.NewGameFromMenu(1, 6);
    Level = 2;
    LevelBar = ShownLevelBar = 3.0f;
    ExpectTheClockToReachZeroAsTimeRunsOut(game);
}

TEST(PlayTest, CompletedLevelShowsTheBannerThenClearOutAndDropIn) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(0, 6);
    const Shot before = game.Picture();
    LevelBar = 73.0f;
    ASSERT_TRUE(game.RunUntil([] { return PlayPhase == PhaseLevelComplete; }, 3.0f));
    game.Step(0.02f, 48);
    game.SaveShot("play-level-banner");
    EXPECT_GT(Differing(game.Picture(), before, BannerArea), 2000);
    // The banner is centred on the board: the squares beside it stay as they were.
    EXPECT_EQ(Differing(game.Picture(), before, LeftOfBanner), 0);
    EXPECT_EQ(Differing(game.Picture(), before, RightOfBanner), 0);
    ASSERT_TRUE(game.RunUntil([] { return ClearOut != 0; }, 5.0f));
    EXPECT_EQ(Level, 2);
    game.Step(0.02f, 35);
    game.SaveShot("play-clear-out");
    EXPECT_GT(Differing(game.Picture(), before, WholeBoard), 5000);
    ASSERT_TRUE(game.RunUntil([] { return DropIn != 0; }, 3.0f));
    game.Step(0.02f, 40);
    game.SaveShot("play-drop-in");
    ASSERT_TRUE(game.RunUntil([] { return DropIn == 0; }, 3.0f));
    EXPECT_EQ(PlayPhase, PhasePlaying);
    EXPECT_EQ(Level, 2);
    EXPECT_TRUE(BoardFull());
}

// The board's kinds as one string, for comparisons.
std::string Kinds() {
    std::string kinds;
    for (const Cell& cell : Board) kinds += static_cast<char>('0' + cell.Kind);
    return kinds;
}

TEST(PlayTest, PauseHidesTheBoard) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(0, 6);
    const Shot playing = game.Picture();
    game.Press(platform::TestKey::Escape);
    ASSERT_EQ(Paused, 1);
    game.Step();
    const Shot paused = game.Picture();
    game.SaveShot("play-paused");
    EXPECT_GT(Differing(paused, playing, WholeBoard), 20000);
    // Other pieces on the board change nothing while it is hidden.
    for (Cell& cell : Board) cell.Kind = static_cast<uint8_t>((cell.Kind + 1) % 6);
    game.Step();
    EXPECT_EQ(Differing(game.Picture(), paused, WholeBoard), 0);
    game.Press(platform::TestKey::Pause);
    game.Step();
    EXPECT_GT(Differing(game.Picture(), paused, WholeBoard), 20000);
}

// Nothing of the game moves under the pause: a swap paused as it starts neither slides, clears
// nor falls, the bar neither rises nor completes the last level. Play goes on where it stood, and
// the game is won with the pause off, so the won panel's keys work.
TEST(PlayTest, PauseHoldsTheWholeGameAndAGameIsNeverWonUnderIt) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(0, 6);
    Level = LastLevel;
    LevelBar = 72.5f;
    ShownLevelBar = 60.0f;
    FindHint();
    game.Click(CentreX(HintMove.First), CentreY(HintMove.First));
    game.Click(CentreX(HintMove.Second), CentreY(HintMove.Second));
    game.Press(platform::TestKey::P);
    ASSERT_EQ(Paused, 1);
    game.Step();
    ASSERT_TRUE(PiecesMoving());
    const std::string kinds = Kinds();
    const int32_t score = Score;
    const float shownBar = ShownLevelBar;
    const float swapOffset = SwapOffset;
    const Shot paused = game.Picture();
    game.Step(0.02f, 250);
    EXPECT_EQ(Kinds(), kinds);
    EXPECT_EQ(Score, score);
    EXPECT_EQ(ShownLevelBar, shownBar);
    EXPECT_EQ(SwapOffset, swapOffset);
    EXPECT_TRUE(FlyingPieces.empty());
    EXPECT_EQ(GameWon, 0);
    EXPECT_EQ(Differing(game.Picture(), paused, WholeBoard), 0);
    // Enter goes on at once, also after the mouse moved: the board it would show is hidden.
    game.MoveMouse(600, 20);
    game.Press(platform::TestKey::Enter);
    EXPECT_EQ(Paused, 0);
    ASSERT_TRUE(game.RunUntil([] { return GameWon != 0; }, 10.0f));
    EXPECT_GT(Score, score);
    game.Step(0.02f, 20);
    game.Press(platform::TestKey::P);  // a won game does not pause
    EXPECT_EQ(Paused, 0);
    game.Press(platform::TestKey::Enter);  // the won panel's High scores
    EXPECT_EQ(ScreenState, HighScores);
}

// True when the picture shows the hint's cream frame between dark lines on the square, at its
// top-left and bottom-right corners.
bool ShowsHintMark(const Shot& shot, Square square) {
    const int x = BoardLeft + SquareSize * square.Column;
    const int y = BoardTop + SquareSize * square.Row;
    return shot.At(x + 2, y + 2) == 0x3B2414 && shot.At(x + 4, y + 4) == 0xFFF3D6 &&
           shot.At(x + 45, y + 45) == 0xFFF3D6 && shot.At(x + 47, y + 47) == 0x3B2414;
}

// Any click ends a pause, under a banner too, and the press that did it neither selects nor
// drags: the piece selected before the pause is not swapped. The hint leaves its pair softly
// marked until the next selection, a pause or a new board.
TEST(PlayTest, AClickEndsAPauseWithoutAMoveAndTheHintLeavesItsPairMarked) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(0, 6);
    const std::string kinds = Kinds();
    const int32_t score = Score;
    game.Click(CentreX({2, 2}), CentreY({2, 2}));
    ASSERT_EQ(SelectStep, 1);
    game.Press(platform::TestKey::Pause);
    // Pressed beside the selected piece's neighbour and dragged toward it: no swap starts.
    game.Drag(CentreX({3, 3}), CentreY({3, 3}), CentreX({2, 3}), CentreY({2, 3}));
    EXPECT_EQ(Paused, 0);
    EXPECT_EQ(SelectStep, 0);
    EXPECT_EQ(SwapCount, 0);
    game.Step(0.02f, 50);
    EXPECT_EQ(Kinds(), kinds);
    EXPECT_EQ(Score, score);

    // Paused under a banner, a click on the board resumes.
    game.Press(platform::TestKey::Pause);
    PlayPhase = PhaseNewBoard;
    game.Step();
    game.Click(400, 200);
    EXPECT_EQ(Paused, 0);
    ASSERT_TRUE(game.RunUntil([] { return PlayInputOpen(); }, 8.0f));

    // The hint: its pair stays marked a second later, until a pause.
    constexpr int PanX = 52, PanY = 137;
    game.Click(PanX, PanY);
    ASSERT_TRUE(game.RunUntil([] { return HintActive == 0; }, 2.0f));
    game.Step(0.02f, 50);
    game.SaveShot("play-hint-marked");
    EXPECT_TRUE(ShowsHintMark(game.Picture(), HintMove.First));
    EXPECT_TRUE(ShowsHintMark(game.Picture(), HintMove.Second));
    game.Press(platform::TestKey::Pause);
    game.Press(platform::TestKey::Pause);
    EXPECT_FALSE(ShowsHintMark(game.Picture(), HintMove.First));
    // ... and until the player's next selection.
    game.Click(PanX, PanY);
    ASSERT_TRUE(game.RunUntil([] { return HintActive == 0; }, 2.0f));
    game.Step();
    EXPECT_TRUE(ShowsHintMark(game.Picture(), HintMove.First));
    const Square other{HintMove.First.Column == 0 ? 7 : 0, 7};
    game.Click(CentreX(other), CentreY(other));
    EXPECT_FALSE(ShowsHintMark(game.Picture(), HintMove.First));
}

TEST(PlayTest, FullScreenToggleKeepsBoardAndScore) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(1, 8);
    Score = 1234;
    ShownScore = 1234.0f;
    game.Step();
    const Shot windowed = game.Picture();
    Cell saved[BoardCellCount];
    std::copy(Board, Board + BoardCellCount, saved);
    ASSERT_TRUE(RecreateDisplay(true));
    game.Step(0.0f);
    EXPECT_EQ(FullScreen, 1);
    EXPECT_EQ(Score, 1234);
    EXPECT_EQ(ScreenState, Play);
    for (int i = 0; i < BoardCellCount; ++i) EXPECT_EQ(Board[i].Kind, saved[i].Kind);
    // The same picture, up to the 5-6-5 rounding of full-screen.
    EXPECT_EQ(Differing(game.Picture(), windowed, WholeBoard, 8), 0);
    EXPECT_EQ(Differing(game.Picture(), windowed, ScoreDigits, 8), 0);
    game.SaveShot("play-full-screen");
    ASSERT_TRUE(RecreateDisplay(false));
    game.Step(0.0f);
    EXPECT_EQ(Differing(game.Picture(), windowed, WholeBoard, 0), 0);
}

TEST(PlayTest, LeavingTheScreenSnapshotsItAndItBreaksAway) {
    WholeGame game;
    ASSERT_TRUE(game.Start());
    game.PlayNewGame(0, 6);
    game.MoveMouse(60, 420);
    platform::InjectMouseButton(true);  // on the play screen's menu button
    game.Step();
    ASSERT_EQ(ScreenState, MainMenu);
    ASSERT_EQ(ShatterActive, 1);
    const Shot play = game.Picture();  // the frame of the click still shows the play screen
    platform::InjectMouseButton(false);
    game.Step();
    // The tiles have not moved yet: the old screen still covers the new one.
    EXPECT_EQ(Differing(game.Picture(), play, Box{0, 0, 640, 480}), 0);
    game.Step(0.02f, 30);
    game.SaveShot("shatter-falling");
    const Shot falling = game.Picture();
    EXPECT_EQ(Differing(falling, play, Box{0, 0, 640, 40}), 0);
    EXPECT_GT(Differing(falling, play, Box{0, 440, 640, 480}), 5000);
    ASSERT_TRUE(game.RunUntil([] { return ShatterActive == 0; }, 3.0f));
    EXPECT_GT(Differing(game.Picture(), play, Box{0, 0, 640, 40}), 5000);
}

}  // namespace
