// The change of board between levels: the old pieces fall out, a fresh board drops in.
#include "game/board_change.h"

#include "audio/sound_effects.h"
#include "game/falling.h"
#include "game/moves.h"
#include "game/score_popups.h"
#include "game/shatter.h"
#include "gfx/display.h"
#include "gfx/sprite.h"
#include "platform/clock.h"
#include "shared/random.h"
#include "shared/state.h"

uint8_t DropIn = 0;
uint8_t ClearOut = 0;
float DropY[BoardCellCount] = {};
ClearPieceRecord ClearPiece[BoardCellCount] = {};
float ClearClock = 0.0f;
uint8_t ClearCount = 0;

namespace {
// Pixels per second of a dropping piece.
constexpr float DropSpeed = 650.0f;
// Where a column's row 0 starts above the screen, and the stagger between rows.
constexpr int DropStart = -996;
constexpr int DropRowStagger = 120;
constexpr int DropJitter = 70;
// ClearClock units per second, and pixels per second of a piece falling out.
constexpr float ClearClockRate = 500.0f;
constexpr float ClearFallSpeed = 550.0f;
// Delay of the bottom row's pieces; each row above waits 30 units more, plus up to 24.
constexpr int ClearDelayBase = 270;
constexpr int ClearRowStagger = 30;
constexpr int ClearJitter = 25;
// Pixels the top-left piece falls before the clear-out ends.
constexpr float ClearDropEnd = 500.0f;
// Clear-outs between two re-seedings of the random generator.
constexpr uint8_t ClearOutsPerSeed = 3;

// Draws a resting piece of kind at (x, y), with its backdrop tile when EasyFood is on; both are
// clipped to the board. An empty square draws nothing.
void DrawRestingPiece(int32_t kind, int32_t x, int32_t y) {
    if (kind == EmptyKind) return;
    int32_t left = SquareSize * kind;
    if (EasyFood != 0) {
        EasyFoodPicture->DrawClipped(BackBuffer, x, y, left, 0, left + SquareSize, SquareSize);
    }
    FiguresPicture->DrawClipped(BackBuffer, x, y, left, 0, left + SquareSize, SquareSize);
}

// The end of a clear-out: the next board is dealt and starts dropping in.
void FinishClearOut() {
    ClearCount += 1;
    ClearOut = 0;
    ClearClock = 0.0f;
    NewBoard(KindCount);
    // A fresh board must not inherit the old board's unfinished fall: its records would shift
    // the new pieces and leave a square empty for good.
    ResetFall();
    StartDropIn();
    if (ClearCount > ClearOutsPerSeed) {
        SeedRandom(platform::TickCount());
        ClearCount = 0;
    }
}

}  // namespace

void StartDropIn() {
    ClearScorePopups();
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            DropY[CellIndex(c, r)] =
                static_cast<float>(Random() % DropJitter + DropRowStagger * r + DropStart);
        }
    }
    DropIn = 1;
}

bool DropInFrame(float dt) {
    if (DropIn == 0 || ShatterActive != 0) return true;
    float step = dt * DropSpeed;
    bool done = true;
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            float& y = DropY[CellIndex(c, r)];
            float target = static_cast<float>(BoardTop + SquareSize * r);
            y += step;
            if (y >= target) {
                y = target;
                PlaySoundEffect(Effect::Land);
            } else {
                done = false;
            }
            DrawRestingPiece(Board[CellIndex(c, r)].Kind, BoardLeft + SquareSize * c,
                             static_cast<int32_t>(y));
        }
    }
    if (!done) return false;
    SelectStep = 0;
    DropIn = 0;
    return true;
}

void StartClearOut() {
    ClearOut = 1;
    HintMarked = 0;
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            ClearPieceRecord& piece = ClearPiece[CellIndex(c, r)];
            piece.X = static_cast<float>(BoardLeft + SquareSize * c);
            piece.Y = static_cast<float>(BoardTop + SquareSize * r);
            piece.Drop = 0.0f;
            piece.Kind = Board[CellIndex(c, r)].Kind;
            piece.Delay = ClearDelayBase - ClearRowStagger * r + Random() % ClearJitter;
        }
    }
}

void FinishBoardChange() {
    if (ClearOut != 0) FinishClearOut();
    if (DropIn == 0) return;
    DropIn = 0;
    SelectStep = 0;
}

void ResetBoardChange() {
    DropIn = 0;
    ClearOut = 0;
    ClearClock = 0.0f;
}

bool ClearOutFrame(float dt) {
    if (ClearOut == 0) return true;
    ClearClock += dt * ClearClockRate;
    for (ClearPieceRecord& piece : ClearPiece) {
        if (static_cast<float>(piece.Delay) <= ClearClock) piece.Drop += dt * ClearFallSpeed;
        DrawRestingPiece(piece.Kind, static_cast<int32_t>(piece.X),
                         static_cast<int32_t>(piece.Y) + static_cast<int32_t>(piece.Drop));
        if (ClearPiece[0].Drop >= ClearDropEnd) {
            FinishClearOut();
            return true;
        }
    }
    return false;
}
