// One game at a time on one save: a lock file held by the running game.
#pragma once

#include <string>

namespace platform {

// What became of a lock asked for.
enum class FileLock {
    Taken,          // this process holds it now
    HeldElsewhere,  // another running process holds it
    Unavailable,    // the lock file cannot be made or opened here (a read-only folder, a link)
};

// Called once at start by the save file: locks the named lock file (made when missing) for this
// process, so that a second game on the same save finds it held. The lock is the system's: it
// ends with the process however it ends, and a crash never leaves it behind. A lock this process
// held already is dropped first.
FileLock TakeFileLock(const std::string& name);

// Called when the game window goes (and by tests): drops the lock TakeFileLock took; does nothing
// without one.
void DropFileLock();

}  // namespace platform
