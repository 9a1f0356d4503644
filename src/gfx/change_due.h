// Timed changes: the steps of a frame say when their picture or sound next changes by itself, so
// the loop can sleep until the soonest instead of drawing frames that change nothing.
#pragma once

// ---- Timed changes ----
// Seconds of game time from the end of this frame until the soonest change a step reported;
// platform::NoChangeDue while none did.
extern float ChangeDue;

// Called by the frame driver as each frame begins: no change is due yet.
void ResetChangeDue();

// Called by a frame step whose picture or sound changes with time alone: its next change comes in
// `seconds` of game time (0: in the very next frame, as for anything that moves).
void ChangeDueIn(float seconds);
