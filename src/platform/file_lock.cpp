// One game at a time on one save: a lock file held by the running game.
#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// The open lock file while this process holds its lock; -1 otherwise.
int HeldLock = -1;

}  // namespace

FileLock TakeFileLock(const std::string& name) {
    DropFileLock();
    // Opened for reading only, so an existing lock file serves in a folder the game may not write.
    const int fd = open(name.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return FileLock::Unavailable;
    int locked = 0;
    do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? FileLock::HeldElsewhere : FileLock::Unavailable;
    }
    HeldLock = fd;
    return FileLock::Taken;
}

void DropFileLock() {
    if (HeldLock < 0) return;
    close(HeldLock);
    HeldLock = -1;
}

}  // namespace platform
