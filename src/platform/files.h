// The player's files: read without waiting, replaced whole and safely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// ---- Reading ----

// What a read of a plain file came to.
enum class FileRead {
    Done,    // the bytes were read
    NoFile,  // no plain file stands under the name (nothing, or a folder, a device, a pipe)
    Failed,  // a plain file stands there but cannot be opened or read; the reason says why
};

// Called by the save file at start-up: the first bytes (at least `limit`, when there are so many)
// of the named file, read only when it is a plain file (or a link to one); a folder, a device or
// a pipe counts as no file and never makes the caller wait. A plain file that is there but cannot
// be opened or read (no permission, an I/O error) gives Failed, with the system's reason.
FileRead ReadPlainFile(const std::string& name, std::size_t limit, std::vector<uint8_t>& bytes,
                       std::string& reason);

// Called by the save file: true when ReadPlainFile would read the file.
bool PlainFileReadable(const std::string& name);

// ---- Replacing ----

// What went wrong when a file could not be replaced.
struct ReplaceFailure {
    // The full path of the file whose creation, writing or renaming failed.
    std::string file;
    // The system's reason, in words ("No space left on device").
    std::string reason;
    // True when a plain file stood under the name before and is still there, unchanged.
    bool oldKept;
};

// Called by the save file: puts `bytes` in place of the named file, all or nothing. They are
// written into a new file of a name no other writer uses, beside it (created afresh, never through
// a link, readable by the owner alone), synced to the disk, renamed over the name, and the rename
// synced too, so a crash or a power loss leaves the old file or the new one, whole. On failure the
// new file is removed, the old one is as it was, and `failure` says what failed.
bool ReplaceFile(const std::string& name, const std::vector<uint8_t>& bytes,
                 ReplaceFailure& failure);

// Called at start by the save file while it holds the save's lock: removes the new files a game
// ended mid-save (killed, or the power lost) left beside the named file; links and other files
// are left alone.
void RemoveLeftoverNewFiles(const std::string& name);

// Called once at start by the program entry: a limit on the size of files (ulimit -f) makes a
// write that would pass it fail with "File too large", as any failed write, instead of ending
// the program.
void ReportFileSizeLimitAsFailure();

// Called by messages to the player: the named file's full path (the working directory's path and
// the name when it is relative).
std::string FullPath(const std::string& name);

}  // namespace platform
