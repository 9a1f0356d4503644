// Player moves and hints: selection, second click, drag, swap slides and the hint display.
#include "game/moves.h"

#include <utility>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/board_change.h"
#include "game/falling.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/play_screen.h"
#include "game/score_popups.h"
#include "game/shatter.h"
#include "platform/clock.h"
#include "shared/random.h"
#include "shared/state.h"

int32_t SelectStep = 0;
Square SelectedSquare = {};
Square TargetSquare = {};
ScreenPoint ClickPoint = {};
uint8_t MouseDown = 0;
float SwapOffset = 0.0f;
uint8_t SwapCount = 0;
uint8_t HintActive = 0;
float HintStep = 0.0f;
float HintOffset = 0.0f;
int32_t HintSwapCount = 0;
uint8_t HintMarked = 0;
uint8_t MenuHover = 0;
uint8_t PanHover = 0;

namespace {
// Pixels per second of a swap or hint slide.
constexpr float SlideSpeed = 160.0f;
// Points and bar pixels a paid hint costs.
constexpr int32_t HintPoints = 10;
constexpr float HintBar = 4.0f;
// In Timed mode a hint is free while the bar is at or below this.
constexpr float FreeHintBar = 10.0f;

// A click ends the pause. The press that did it selects nothing and drags nothing: a piece
// selected before the pause is let go, so the held button cannot swap it.
void ResumeFromPause() {
    Paused = 0;
    if (SelectStep != 1) return;
    SelectStep = 0;
    ClearSelection();
}

// Leaves the play screen for the main menu; the game stays as it is, to be continued.
void LeaveToMainMenu() {
    MenuHighlight = 6;
    MenuPicture = 5;
    MixerIdle = 1;
    PlaySoundEffect(Effect::Click);
    ScreenState = MainMenu;
    MenuHover = 0;
    ShatterRequested = 1;
    SeedRandom(platform::TickCount());
    StartMusicTrack(0);
}

// Starts the hint display, charging for it unless a Timed game is short of time.
void StartHint() {
    PlaySoundEffect(Effect::Hint);
    HintMarked = 0;
    ClearSelection();
    SelectStep = 0;
    FindHint();
    HintActive = 1;
    if (LevelBar > FreeHintBar || GameMode == Untimed) {
        Score -= HintPoints;
        LevelBar -= HintBar;
    }
}

// Selects the piece on square and plays the select sound; the last hint's mark goes.
void Select(Square square) {
    HintMarked = 0;
    SelectedSquare = square;
    CellAt(square).Selected = 1;
    PlaySoundEffect(Effect::Select);
}

// Flags TargetSquare as the swap partner; the swap starts on the next frame.
void FlagTarget() {
    Cell& target = CellAt(TargetSquare);
    target.Selected = 1;
    target.SwapTarget = 1;
}

// The second click on the board at square: a neighbour starts a swap, the selected piece
// drops the selection, any other piece becomes the new selection.
bool SecondClick(Square square) {
    TargetSquare = square;
    if (Neighbours(TargetSquare, SelectedSquare)) {
        FlagTarget();
        SelectStep = 0;
        return true;
    }
    ClearSelection();
    if (TargetSquare == SelectedSquare) {
        SelectStep = 0;
        return false;
    }
    Select(TargetSquare);
    SelectStep = 1;
    return true;
}

// The point a drag from the click toward (x, y) aims at, once it passed the threshold.
bool DragPoint(int x, int y, ScreenPoint& aim) {
    const int cx = ClickPoint.X;
    const int cy = ClickPoint.Y;
    if (cx - x >= DragThreshold) {
        aim = {cx - SquareSize, y};
    } else if (x - cx >= DragThreshold) {
        aim = {cx + SquareSize, y};
    } else if (cy - y >= DragThreshold) {
        aim = {x, cy - SquareSize};
    } else if (y - cy >= DragThreshold) {
        aim = {x, cy + SquareSize};
    } else {
        return false;
    }
    return true;
}

// A drag with the button held from the selected piece toward a neighbour.
void Drag(int x, int y) {
    ScreenPoint aim{};
    if (!DragPoint(x, y, aim)) return;
    if (!BoardArea.Contains(x, y)) {
        SelectStep = 0;
        ClearSelection();
        return;
    }
    // A point beside the board aims at nothing: truncation would put it on the edge squares.
    if (!BoardArea.Contains(aim.X, aim.Y)) return;
    TargetSquare = SquareAt(aim.X, aim.Y);
    if (Neighbours(TargetSquare, SelectedSquare)) FlagTarget();
}

// Moves two pieces of neighbouring squares toward each other's square by step pixels; the
// piece on the second square moves toward the first.
void SlideToward(Square first, Square second, float step) {
    Cell& a = CellAt(first);
    Cell& b = CellAt(second);
    if (first.Row == second.Row) {
        a.X += first.Column < second.Column ? step : -step;
        b.X += first.Column < second.Column ? -step : step;
    } else {
        a.Y += first.Row < second.Row ? step : -step;
        b.Y += first.Row < second.Row ? -step : step;
    }
}

// Ends a player swap: the target flag goes, both pieces stand at home, nothing is selected.
void EndSwap() {
    SelectStep = 0;
    SwapCount = 0;
    CellAt(TargetSquare).SwapTarget = 0;
    SetHome(SelectedSquare.Column, SelectedSquare.Row);
    SetHome(TargetSquare.Column, TargetSquare.Row);
}

// A slide of the player swap is complete: the records change squares, and a line is cleared
// or, after the slide back, the swap ends.
void CompleteSwapSlide() {
    SwapCount += 1;
    SwapCells(SelectedSquare, TargetSquare);
    std::swap(SelectedSquare, TargetSquare);
    SwapOffset = 0.0f;
    if (AnyMatch()) {
        EndSwap();
        StartChain();
        MarkMatches();
        ClearingPass();
        ClearSelection();
    } else if (SwapCount >= 2) {
        EndSwap();
        ClearSelection();
    }
}
}  // namespace

bool PlayInputOpen() {
    return ScreenState == Play && BoardFull() && DropIn == 0 && ClearOut == 0 &&
           PlayPhase == PhasePlaying && GameWon == 0;
}

bool PlayClick(int x, int y) {
    if (ScreenState != Play) return false;
    const bool open = PlayInputOpen() && HintActive == 0;
    // The board is hidden while paused: a click anywhere but on a working menu button only
    // resumes play, under a banner or a board change too.
    if (Paused != 0 && !(open && MenuButton.Contains(x, y))) {
        ResumeFromPause();
        return true;
    }
    if (!open) return false;
    ClickPoint = {x, y};
    if (MenuButton.Contains(x, y)) {
        LeaveToMainMenu();
        return true;
    }
    if (platform::PointInRegion(HintButton, x, y) && CellAt(TargetSquare).SwapTarget == 0) {
        StartHint();
        return true;
    }
    if (BoardArea.Contains(x, y)) {
        SelectStep += 1;
    } else {
        ClearSelection();
        if (SelectStep == 1) SelectStep = 0;
    }
    if (SelectStep == 1) {
        FallSpeed = RestFallSpeed;
        Select(SquareAt(x, y));
        return true;
    }
    // A second click counts whether or not the button is still down: a press and release
    // between two frames is a click like any other.
    if (SelectStep == 2) return SecondClick(SquareAt(x, y));
    return false;
}

void PlayHover(int x, int y) {
    if (!PlayInputOpen()) return;
    const bool onMenu = MenuButton.Contains(x, y);
    const bool onPan = platform::PointInRegion(HintButton, x, y);
    if (onMenu) PlayHoverSound();
    MenuHover = onMenu ? 1 : 0;
    if (onPan) {
        PlayHoverSound();
        PanHover = 1;
    } else {
        PanAnim = 0.0f;
        PanHover = 0;
    }
    if (!onMenu && !onPan) HoverLatch = 0;
    if (MouseDown != 0 && SelectStep == 1 && Paused == 0) Drag(x, y);
}

void ResetMoves() {
    SelectStep = 0;
    SelectedSquare = {};
    TargetSquare = {};
    SwapOffset = 0.0f;
    SwapCount = 0;
    HintActive = 0;
    HintStep = 0.0f;
    HintOffset = 0.0f;
    HintSwapCount = 0;
    HintMarked = 0;
    MenuHover = 0;
    PanHover = 0;
}

void SwapAnimation(float dt) {
    if (CellAt(TargetSquare).SwapTarget == 0) return;
    SelectStep = 3;
    float step = dt * SlideSpeed;
    SwapOffset += step;
    if (SwapOffset > static_cast<float>(SquareSize)) {
        CompleteSwapSlide();
        step = 0.0f;
    }
    SlideToward(SelectedSquare, TargetSquare, step);
}

void HintAnimation(float dt) {
    if (HintActive == 0) return;
    const Square first = HintMove.First;
    const Square second = HintMove.Second;
    HintStep = dt * SlideSpeed;
    HintOffset += HintStep;
    if (HintOffset >= static_cast<float>(SquareSize)) {
        HintOffset = 0.0f;
        HintSwapCount += 1;
        SwapCells(first, second);
        SetHome(first.Column, first.Row);
        SetHome(second.Column, second.Row);
    }
    CellAt(first).Selected = 1;
    CellAt(second).Selected = 1;
    SlideToward(second, first, HintStep);
    if (HintSwapCount >= 2) {
        SetHome(first.Column, first.Row);
        SetHome(second.Column, second.Row);
        HintSwapCount = 0;
        HintOffset = 0.0f;
        SelectStep = 0;
        HintActive = 0;
        HintMarked = 1;
        ClearSelection();
    }
}

bool PiecesMoving() {
    return Falling != 0 || HintActive != 0 || CellAt(TargetSquare).SwapTarget != 0;
}
