// Play at rest: a saved game can always go on, and a new game inherits nothing of the last one.
#include "game/rest.h"

#include "game/board.h"
#include "game/board_change.h"
#include "game/board_cursor.h"
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
constexpr uint32_t RestStepMs = 20;
constexpr int RestStepLimit = 10000;

// The player's swap, the hint and the falling pieces run to their end as the play frames would
// run them, each step on the tick count its frame would have: a swap that makes a line clears
// it, its cascade falls and scores what play would score.
void RunRulesToRest() {
    for (int step = 0; step < RestStepLimit && PiecesMoving(); ++step) {
        RulesAheadMs += RestStepMs;
        SwapAnimation(RestStep);
        AdvanceFall(RestStep);
        HintAnimation(RestStep);
    }
    RulesAheadMs = 0;
}

// True when the game has ended but its score has not reached its table yet. A game won or a
// level completed is not finished here: its full bar is saved and the resumed game shows it.
bool GameFinished() { return PlayPhase == PhaseNoMovesUntimed || PlayPhase == PhaseBarEmpty; }

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

bool PlayAtRest() {
    return NoGameToContinue == 0 && PlayInputOpen() && SelectStep == 0 && !PiecesMoving();
}

void ResetPlay() {
    StoreOpenName();
    ResetMoves();
    ResetBoardCursor();
    ResetFall();
    ResetPhases();
    ResetBoardChange();
    ResetWonPanel();
    FlyingPieces.clear();
    Paused = 0;
    MatchSoundPending = 0;
}
