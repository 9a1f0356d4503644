// Points that float up from a cleared line, and a short word when a chain goes on.
#pragma once

#include <cstdint>

// ---- Score pop-ups ----
// Clearing passes with removed squares since the player's last swap made a line, 0..; the
// second and later ones are a chain.
extern int32_t ChainLength;
// Seconds a pop-up floats before it is gone.
constexpr float PopupLife = 0.6f;

// Called by the player's swap when it makes a line, before it is cleared: a new chain begins.
void StartChain();
// Called by ClearingPass for a pass that clears a newly marked line: the move's one pop-up,
// "+points" with every point of the move so far (from the second line of a chain on led by a
// word that names the chain), moves to (centreX, centreY), the middle of the line in screen
// pixels, kept whole on the board.
void ShowClearingPoints(int32_t centreX, int32_t centreY, int32_t points);
// Called by ClearingPass for a pass that marks no new line: its points are added to the move's
// pop-up, so the pop-up shows what the move scored.
void AddClearingPoints(int32_t points);
// Called once per frame by PlayFrame, last, so that nothing covers it: draws the move's pop-up
// over the board and the flying pieces, rising, and ages it; it waits while the move's pieces
// fall, and vanishes at once when the player selects a piece.
void ScorePopupsFrame(float dt);
// Called when a game starts or the board is replaced: no pop-up is left.
void ClearScorePopups();
