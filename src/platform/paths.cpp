// Maps the game's backslash-separated relative paths to this platform's separator.
#include "platform/paths.h"

#include <algorithm>

namespace platform {

std::string GamePath(const std::string& gamePath) {
    std::string path = gamePath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace platform
