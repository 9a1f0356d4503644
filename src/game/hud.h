// The level bar, the score display and the phases of play.
#pragma once

#include <cstdint>

// ---- Play phases ----
// Values of PlayPhase; each is also the row of its banner in "game over.jpg".
enum PlayPhaseValue : int32_t {
    PhaseNoMovesUntimed = 0,  // no move left in Untimed mode: the game ends
    PhasePlaying = 1,         // normal play
    PhaseLevelComplete = 2,   // the bar is full: next level
    PhaseBarEmpty = 3,        // the bar ran empty in Timed mode: the game ends
    PhaseNewBoard = 4,        // no move left in Timed mode: the board is replaced
};
// Bar pixels of a full level bar.
constexpr float LevelBarFull = 73.0f;
// The last level; completing it wins the game.
constexpr int32_t LastLevel = 99;

// ---- Shown values and phase (ShownScore and ShownLevelBar are saved) ----
// The score as displayed, following Score at 100 points per second; never below 0 for long.
extern float ShownScore;
// The level bar as displayed, in bar pixels 0..73, following LevelBar.
extern float ShownLevelBar;
// The phase of play, a PlayPhaseValue; initial PhasePlaying.
extern int32_t PlayPhase;
// 1 once level 99 is completed, until the won panel is left; else 0.
extern uint8_t GameWon;

// ---- Completion sound counters ----
// Frames the full bar has been seen below level 99, capped at 2; 0 when a new level starts.
extern uint8_t LevelDoneCount;
// Frames the full bar has been seen, capped at 4; 0 when a new game starts.
extern uint8_t WinCount;

// Called every frame by the frame driver after PlayFrame: the shown score and bar follow the true
// ones, the Timed bar drains and warns, the digits and bar are drawn and a full bar completes the
// level; while paused they are only drawn. Does nothing off the play screen.
void PlayHud(float dt);

// Called when a new game starts: phase Playing, no banner, not won, the completion counters and
// the bar's hold and warning timers at rest.
void ResetPhases();

// Called by the phase banner once a level-complete (2) or new-board (4) banner has gone, and
// when play is brought to rest for a save: the next level's bar, and the old board falls out.
void ReplaceBoard(int32_t phase);

// Called by the new-game screen when a game starts and by the save file when it holds no game:
// level 1, no score, and the bar a level starts with in the current GameMode.
void StartFirstLevel();

// Called every frame by the play screen's frame with PlayPhase: the banner of a phase other than
// playing, and when it has gone the phase's outcome (next level, new board or game over).
void PhaseBanner(int32_t phase, float dt);
