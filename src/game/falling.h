// Clearing, falling and scoring: marked squares empty, pieces drop, new ones slide in.
#pragma once

#include <cstdint>

// ---- Fall state ----
// What the current clearing pass emptied in one column.
struct FallRecord {
    uint8_t Removed;    // 1 if a square of this column was emptied
    uint8_t LowestRow;  // the largest row emptied; 0 when only row 0 was, or nothing
};
// One record per column; cleared by MarkMatches and after every fall step.
extern FallRecord FallColumn[8];
// 1 while a square is empty and pieces are moving down.
extern uint8_t Falling;
// Pixels moved in the current fall step, 0..50.
extern float FallOffset;
// Falling speed in units of 100 pixels per second; RestFallSpeed at rest, +1 per fall step.
extern int32_t FallSpeed;
// FallSpeed at the start of a cascade: after a selection and before a chain.
constexpr int32_t RestFallSpeed = 3;
// Combo level 1..5 of the last pass that removed three or more squares; 0 before the first.
extern int32_t ComboLevel;
// Milliseconds of play a rest has run the rules ahead of the clock; 0 during play. A clearing
// pass seeds the random generator with the tick count of the frame it belongs to.
extern uint32_t RulesAheadMs;

// Called by the swap that made a line, after every fall step and to start a chain: empties
// the marked squares, scores, and decides about a board left without moves.
void ClearingPass();

// Called when a board is dealt or a new game starts: no fall is under way, nothing is marked,
// the spawn slots rest and the speed is back to its start.
void ResetFall();

// Called every frame by the play screen with the frame time in seconds: one frame of falling.
void AdvanceFall(float dt);
