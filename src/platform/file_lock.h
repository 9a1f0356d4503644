// One game at a time on one save: the running game locks the folder that holds it.
#pragma once

#include <string>

namespace platform {

// What became of a lock asked for.
enum class FileLock {
    Taken,          // this process holds it now
    HeldElsewhere,  // another running process holds it
    Unavailable,    // the folder cannot be opened or locked (FileLockFailure says why)
};

// Called once at start by the save file: locks the named folder for this process, so that a
// second game on the same save finds it held. The folder itself is locked, not a file in it, so
// nothing planted in the folder (a link, a folder, an unreadable file) can stand in the way, and
// a read-only folder locks as well as any. The lock is the system's: it ends with the process
// however it ends, and a crash never leaves it behind. A lock this process held already is
// dropped first.
FileLock TakeFolderLock(const std::string& folder);

// Called after TakeFolderLock gave Unavailable: the system's reason, in words.
std::string FileLockFailure();

// Called when the game window goes, by a message box's own process and by tests: drops the lock
// TakeFolderLock took in this process; does nothing without one. Safe in a forked child.
void DropFileLock();

}  // namespace platform
