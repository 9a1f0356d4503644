// Files replaced off the game's thread: the automatic save written while play goes on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Called by the automatic save during play: the bytes go to a writer thread of their own, which
// puts them in place of the named file as ReplaceFile does (a new file, synced, renamed), so the
// frame never waits for the disk. Bytes still waiting when newer ones come are dropped for them.
// A failure is told on standard error only; the next save tries again.
void ReplaceFileInBackground(const std::string& name, std::vector<uint8_t> bytes);

// Called before every save the game's own thread writes, and by tests: returns once the writer has
// finished everything it was given, so an older game never lands after a newer one.
void FinishBackgroundWrites();

// Called by tests and the benchmark: how many files the writer has put in place since start.
unsigned BackgroundWritesDone();

}  // namespace platform
