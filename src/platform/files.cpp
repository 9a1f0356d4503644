// The player's files: read without waiting, replaced whole and safely.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

// New files this process has made; with the process number it makes every new file's name its
// own.
unsigned NewFilesMade = 0;
// How many names CreateNewFile tries before it gives up.
constexpr int NameAttempts = 100;

// True when what stands under the name cannot be a plain file: nothing at all, or a folder, a
// device, a pipe.
bool NoPlainFileAt(const std::string& name) {
    struct stat info {};
    if (stat(name.c_str(), &info) != 0) return errno == ENOENT || errno == ENOTDIR;
    return !S_ISREG(info.st_mode);
}

// Opens a plain file for reading without waiting on it; -1 when it cannot be opened or is not a
// plain file (a folder, a device, a pipe with nobody writing), with `result` saying which.
int OpenPlainFile(const std::string& name, FileRead& result, std::string& reason) {
    const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        result = NoPlainFileAt(name) ? FileRead::NoFile : FileRead::Failed;
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        result = FileRead::NoFile;
        return -1;
    }
    result = FileRead::Done;
    return fd;
}

// Which plain file stands under a name, and as it was last written; `plain` is false when there
// is none.
struct FileIdentity {
    bool plain = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
};

FileIdentity IdentityOf(const std::string& name) {
    struct stat info {};
    FileIdentity identity;
    if (stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return identity;
    identity.plain = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = info.st_size;
    identity.modified = info.st_mtim;
    return identity;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.plain && b.plain && a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
}

// The folder a file name lies in; "." for a bare name.
std::string FolderOf(const std::string& name) {
    const std::string folder = std::filesystem::path(name).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The name of the new file number `count` that process `process` makes beside `name`.
std::string NewFileName(const std::string& name, long process, unsigned count) {
    return name + "." + std::to_string(process) + "-" + std::to_string(count) + ".new";
}

// True when the text is one or more decimal digits.
bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// True when `candidate` is the name NewFileName gives beside a file named `base`.
bool IsNewFileName(const std::string& candidate, const std::string& base) {
    const std::string head = base + ".";
    const std::string tail = ".new";
    if (candidate.size() <= head.size() + tail.size() ||
        candidate.compare(0, head.size(), head) != 0 ||
        candidate.compare(candidate.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    const std::string middle =
        candidate.substr(head.size(), candidate.size() - head.size() - tail.size());
    const std::size_t dash = middle.find('-');
    return dash != std::string::npos && AllDigits(middle.substr(0, dash)) &&
           AllDigits(middle.substr(dash + 1));
}

// Creates the new file beside `name` under a name of this process's own ("game.sav.PID-N.new"),
// only for its owner. Whatever stands under a name already, a file or a link, is never opened:
// the next name is tried. The file's descriptor, or -1 with errno set.
int CreateNewFile(const std::string& name, std::string& newName) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        newName = NewFileName(name, getpid(), ++NewFilesMade);
        const int fd =
            open(newName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes every byte, however the system splits the writing; false with errno set on failure.
bool WriteEvery(int fd, const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// Syncs a folder, so that a rename inside it survives a power loss. The rename has been made by
// then; a file system that cannot sync folders changes nothing for the player.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Notes the file that failed and the system's reason.
void NoteFailure(ReplaceFailure& failure, const std::string& file) {
    failure.reason = std::strerror(errno);
    failure.file = FullPath(file);
}

// Writes the bytes into a new file beside `name` (its name in `newName`) and syncs it to the
// disk. False, with the failure noted and the new file removed, when any step fails.
bool WriteNewFile(const std::string& name, const std::vector<uint8_t>& bytes, std::string& newName,
                  ReplaceFailure& failure) {
    const int fd = CreateNewFile(name, newName);
    if (fd < 0) {
        NoteFailure(failure, newName);
        return false;
    }
    bool ok = WriteEvery(fd, bytes) && fsync(fd) == 0;
    if (!ok) NoteFailure(failure, newName);
    if (close(fd) != 0 && ok) {
        NoteFailure(failure, newName);
        ok = false;
    }
    if (!ok) unlink(newName.c_str());
    return ok;
}

}  // namespace

FileRead ReadPlainFile(const std::string& name, std::size_t limit, std::vector<uint8_t>& bytes,
                       std::string& reason) {
    FileRead result = FileRead::NoFile;
    const int fd = OpenPlainFile(name, result, reason);
    if (fd < 0) return result;
    bytes.clear();
    uint8_t chunk[4096];
    while (bytes.size() < limit) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            reason = std::strerror(errno);
            result = FileRead::Failed;
        }
        if (got <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    close(fd);
    return result;
}

bool PlainFileReadable(const std::string& name) {
    FileRead result = FileRead::NoFile;
    std::string reason;
    const int fd = OpenPlainFile(name, result, reason);
    if (fd < 0) return false;
    close(fd);
    return true;
}

void ReportFileSizeLimitAsFailure() { std::signal(SIGXFSZ, SIG_IGN); }

bool ReplaceFile(const std::string& name, const std::vector<uint8_t>& bytes,
                 ReplaceFailure& failure) {
    const FileIdentity old = IdentityOf(name);
    std::string newName;
    bool ok = WriteNewFile(name, bytes, newName, failure);
    if (ok && std::rename(newName.c_str(), name.c_str()) != 0) {
        NoteFailure(failure, name);
        unlink(newName.c_str());
        ok = false;
    }
    if (ok) {
        SyncFolder(FolderOf(name));
        return true;
    }
    failure.oldKept = SameFile(old, IdentityOf(name));
    return false;
}

void RemoveLeftoverNewFiles(const std::string& name) {
    namespace fs = std::filesystem;
    const std::string base = fs::path(name).filename().string();
    std::error_code error;
    fs::directory_iterator entry(FolderOf(name), error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        if (IsNewFileName(entry->path().filename().string(), base) &&
            entry->symlink_status(error).type() == fs::file_type::regular)
            unlink(entry->path().c_str());
    }
}

std::string FullPath(const std::string& name) {
    std::error_code unknown;
    return std::filesystem::absolute(name, unknown).string();
}

}  // namespace platform
