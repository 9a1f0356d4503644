// Clearing, falling and scoring: marked squares empty, pieces drop, new ones slide in.
#include "game/falling.h"

#include "audio/sound_effects.h"
#include "game/board.h"
#include "game/hud.h"
#include "game/matching.h"
#include "game/moves.h"
#include "game/score_popups.h"
#include "platform/clock.h"
#include "shared/random.h"
#include "shared/state.h"

FallRecord FallColumn[8] = {};
uint8_t Falling = 0;
float FallOffset = 0.0f;
int32_t FallSpeed = RestFallSpeed;
int32_t ComboLevel = 0;
uint32_t RulesAheadMs = 0;

namespace {
// Empties every marked square, bottom-right first, and draws the spawn kinds; returns the
// number of squares emptied.
int EmptyMarkedSquares() {
    int removed = 0;
    for (int c = BoardColumns - 1; c >= 0; --c) {
        for (int r = BoardRows - 1; r >= 0; --r) {
            if (RemoveMark[CellIndex(c, r)] == 0) continue;
            Board[CellIndex(c, r)].Kind = EmptyKind;
            FallColumn[c].Removed = 1;
            ++removed;
            SpawnSlot[c].Kind = static_cast<uint8_t>(Random() % KindCount);
            if (FallColumn[c].LowestRow == 0) FallColumn[c].LowestRow = static_cast<uint8_t>(r);
            Falling = 1;
        }
    }
    return removed;
}

// The middle, in screen pixels, of a line newly marked for removal; false when no piece is
// marked (the marks left on squares a pass has emptied are no new line).
bool NewLineCentre(int32_t& x, int32_t& y) {
    int count = 0, sumX = 0, sumY = 0;
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            const int i = CellIndex(c, r);
            if (RemoveMark[i] == 0 || Board[i].Kind == EmptyKind) continue;
            ++count;
            sumX += BoardLeft + SquareSize * c + SquareSize / 2;
            sumY += BoardTop + SquareSize * r + SquareSize / 2;
        }
    }
    if (count == 0) return false;
    x = sumX / count;
    y = sumY / count;
    return true;
}

// The combo level a pass of removed squares sets; 0 leaves the level as it was.
int32_t ComboFor(int removed) {
    if (removed < 3) return 0;
    return removed >= 7 ? 5 : removed - 2;
}

// A full board without any move: the game ends (Untimed) or the board is replaced (Timed),
// unless the level bar is already full.
void NoMovesLeft() {
    PlaySoundEffect(Effect::NoMoves);
    if (LevelBar >= LevelBarFull) return;
    PlayPhase = GameMode == Untimed ? PhaseNoMovesUntimed : PhaseNewBoard;
}

// Moves the pieces above each gap, and the spawn slots, down by one frame's step.
void MoveFallingPieces(float step) {
    for (int c = 0; c < BoardColumns; ++c) {
        if (FallColumn[c].Removed == 0) continue;
        SpawnSlot[c].Y += step;
        for (int r = 0; r < FallColumn[c].LowestRow; ++r) Board[CellIndex(c, r)].Y += step;
    }
}

// Ends a fall step: every affected column moves down one row and takes its spawn piece.
void CompleteFallStep() {
    for (int c = 0; c < BoardColumns; ++c) {
        if (FallColumn[c].Removed == 0) continue;
        for (int r = FallColumn[c].LowestRow; r >= 1; --r) {
            Board[CellIndex(c, r)] = Board[CellIndex(c, r - 1)];
            RemoveMark[CellIndex(c, r)] = RemoveMark[CellIndex(c, r - 1)];
        }
        Board[CellIndex(c, 0)] = SpawnSlot[c];
    }
    for (int c = 0; c < BoardColumns; ++c) {
        ResetSpawnSlot(c);
        RemoveMark[CellIndex(c, 0)] = 0;
        for (int r = 0; r < BoardRows; ++r) SetHome(c, r);
    }
    for (FallRecord& record : FallColumn) record = FallRecord{};
}
}  // namespace

void ClearingPass() {
    SeedRandom(platform::TickCount() + RulesAheadMs);
    Falling = 0;
    int32_t centreX = 0, centreY = 0;
    const bool newLine = NewLineCentre(centreX, centreY);
    const int32_t combo = ComboFor(EmptyMarkedSquares());
    if (combo != 0) ComboLevel = combo;
    Score += 5 * ComboLevel;
    if (newLine) {
        ShowClearingPoints(centreX, centreY, 5 * ComboLevel);
    } else {
        AddClearingPoints(5 * ComboLevel);
    }
    LevelBar = static_cast<float>(LevelBar + (KindCount - 3) * ComboLevel * 0.2);
    // Only a settled board is judged: a line still standing is cleared by the chain first.
    if (BoardFull() && !AnyMatch() && !AnyMovePossible() && HintActive == 0) NoMovesLeft();
}

void ResetFall() {
    Falling = 0;
    FallOffset = 0.0f;
    FallSpeed = RestFallSpeed;
    for (FallRecord& record : FallColumn) record = FallRecord{};
    for (int32_t& mark : RemoveMark) mark = 0;
    for (int c = 0; c < BoardColumns; ++c) ResetSpawnSlot(c);
}

void AdvanceFall(float dt) {
    if (Falling == 0) return;
    const float step = static_cast<float>(FallSpeed) * dt * 100.0f;
    FallOffset += step;
    if (FallOffset < static_cast<float>(SquareSize)) {
        MoveFallingPieces(step);
        return;
    }
    FallSpeed += 1;
    FallOffset = 0.0f;
    Falling = 0;
    CompleteFallStep();
    ClearingPass();
    if (Falling == 0 && AnyMatch()) {
        FallSpeed = RestFallSpeed;
        MarkMatches();
        ClearingPass();
    }
}
