// A second game for the one-game-at-a-time tests: another process that holds the save.
#pragma once

#include <sys/types.h>

// Forks a process that claims the save in the working folder and waits there until it is
// killed; returns its id once the claim is made, or -1 when it was refused. The save and
// start-up tests call it to stand for a game already running.
pid_t HoldSaveInAnotherProcess();
// Kills a holder without a word, as a crash would, and waits for it; true once it is gone.
bool EndSaveHolder(pid_t holder);
