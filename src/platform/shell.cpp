// Opening a document or a web address with the desktop's default program.
#include "platform/shell.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

namespace platform {

bool RecordShellOpens = false;
std::vector<std::string> OpenedTargets;

namespace {

// An address with a scheme stays as it is; a file name becomes a file address of its full path.
std::string AddressOf(const std::string& target) {
    if (target.find("://") != std::string::npos) return target;
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(target, error);
    if (error) full = target;
    return "file://" + full.generic_string();
}

}  // namespace

bool OpenWithDesktop(const std::string& target) {
    std::string address = AddressOf(target);
    OpenedTargets.push_back(address);
    if (RecordShellOpens) return true;
    return SDL_OpenURL(address.c_str()) == 0;
}

}  // namespace platform
