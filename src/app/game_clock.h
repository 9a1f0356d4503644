// The game clock: frame times that leave out the time the application spent in the background.
#pragma once

// ---- Modes ----
// What a call of GameClock does.
enum GameClockMode : int {
    Resume = 0,      // start counting again; returns 0
    Pause = 1,       // stop counting; returns 0
    FrameDelta = 2,  // seconds since the previous FrameDelta, Resume or Pause; 0 while paused
    Now = 3,         // the live time in seconds
};

// Called with Resume by the program entry after start-up and on activation, with Pause on
// deactivation, and with FrameDelta once per frame by the frame driver. Returns -1 for an
// unknown mode.
float GameClock(int mode);
