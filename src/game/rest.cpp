// Play at rest: a saved game can always go on, and a new game inherits nothing of the last one.
#include "game/rest.h"

#include "game/board.h"
#include "game/board_change.h"
#include "game/falling.h"
#include "game/flying_piece.h"
#include "game/hud.h"
#include "game/moves.h"
#include "game/play_screen.h"
#include "game/score_tables.h"
#include "shared/state.h"

namespace {
// The rules run forward in steps of one play frame, for at most 200 seconds of game time; a
// cascade settles in a few seconds.
constexpr float RestStep = 0.02f;
constexpr int RestStepLimit = 10000;

// The player's swap, the hint and the falling pieces run to their end as the play frames would
// run them: a swap that makes a line clears it, its cascade falls and scores.
void RunRulesToRest() {
    for (int step = 0; step < RestStepLimit && PiecesMoving(); ++step) {
        SwapAnimation(RestStep);
        AdvanceFall(RestStep);
        HintAnimation(RestStep);
    }
}

// A bar filled by the last clearing completes its level, as the play frames would on the next
// frames: the last level is won, any other ends with its banner's outcome.
void CompleteFullBar() {
    if (LevelBar < LevelBarFull || PlayPhase != PhasePlaying) return;
    if (Level == LastLevel) {
        GameWon = 1;
    } else {
        PlayPhase = PhaseLevelComplete;
    }
}

// True when the game has ended or been won but its score has not reached its table yet.
bool GameFinished() {
    return GameWon != 0 || PlayPhase == PhaseNoMovesUntimed || PlayPhase == PhaseBarEmpty;
}

// A finished game's score goes to its table under the name last used; no game is left.
void FinishGame() {
    EnterGameScore();
    StoreOpenName();
    NoGameToContinue = 1;
    ResetPhases();
}
}  // namespace

void BringPlayToRest() {
    StoreOpenName();
    if (NoGameToContinue != 0) return;
    RunRulesToRest();
    CompleteFullBar();
    if (GameFinished()) {
        FinishGame();
        return;
    }
    if (PlayPhase == PhaseLevelComplete || PlayPhase == PhaseNewBoard) ReplaceBoard(PlayPhase);
    FinishBoardChange();
    ResetMoves();
    ResetFall();
    TidyBoard();
}

void ResetPlay() {
    StoreOpenName();
    ResetMoves();
    ResetFall();
    ResetPhases();
    ResetBoardChange();
    ResetWonPanel();
    FlyingPieces.clear();
    Paused = 0;
    MatchSoundPending = 0;
}
