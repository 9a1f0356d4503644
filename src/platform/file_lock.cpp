// One game at a time on one save: the running game locks the folder that holds it.
#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

// The open folder while this process holds its lock; -1 otherwise.
int HeldLock = -1;
// Why the last lock could not be taken.
std::string Failure;

}  // namespace

FileLock TakeFolderLock(const std::string& folder) {
    DropFileLock();
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        Failure = std::strerror(errno);
        return FileLock::Unavailable;
    }
    int locked = 0;
    do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool held = errno == EWOULDBLOCK;
        Failure = std::strerror(errno);
        close(fd);
        return held ? FileLock::HeldElsewhere : FileLock::Unavailable;
    }
    HeldLock = fd;
    return FileLock::Taken;
}

std::string FileLockFailure() { return Failure; }

void DropFileLock() {
    if (HeldLock < 0) return;
    close(HeldLock);
    HeldLock = -1;
}

}  // namespace platform
