// Opening a document or a web address with the desktop's default program.
#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/message_box.h"
#include "platform/paths.h"

namespace platform {

bool RecordShellOpens = false;
std::vector<std::string> OpenedTargets;
int OpenerPatienceMs = 2000;

namespace {

// The desktop's openers, most specific first; each is followed by the address.
const std::vector<std::vector<std::string>> Openers = {
    {"xdg-open"}, {"gio", "open"}, {"sensible-browser"}, {"x-www-browser"}};

// Openers still running when they were last waited for; reaped on later requests.
std::vector<pid_t> RunningOpeners;

// A data file's full path, or the address itself when it has a scheme.
std::string Location(const std::string& target) {
    if (target.find("://") != std::string::npos) return target;
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(GamePath(target), error);
    if (error) full = GamePath(target);
    return full.generic_string();
}

// The address handed to an opener: a file's path as a "file://" address, with every byte but
// letters, digits and "-._~/" escaped, so folders with blanks or accents open too.
std::string AddressOf(const std::string& location) {
    if (location.find("://") != std::string::npos) return location;
    std::string address = "file://";
    for (unsigned char c : location) {
        if (std::isalnum(c) || std::strchr("-._~/", c) != nullptr) {
            address += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            address += escaped;
        }
    }
    return address;
}

// Collects the exit of openers that were still running at an earlier request.
void ReapFinishedOpeners() {
    for (auto pid = RunningOpeners.begin(); pid != RunningOpeners.end();) {
        pid = waitpid(*pid, nullptr, WNOHANG) == 0 ? pid + 1 : RunningOpeners.erase(pid);
    }
}

// Starts one opener with the address; true when it succeeded or is still running after
// OpenerPatienceMs, false when it could not start or ended with an error.
bool TryOpener(const std::vector<std::string>& opener, const std::string& address) {
    std::vector<std::string> words = opener;
    words.push_back(address);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(OpenerPatienceMs);
    int status = 0;
    pid_t ended;
    while ((ended = waitpid(pid, &status, WNOHANG)) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            RunningOpeners.push_back(pid);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ended == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool OpenWithDesktop(const std::string& target) {
    const std::string location = Location(target);
    const std::string address = AddressOf(location);
    OpenedTargets.push_back(address);
    if (RecordShellOpens) return true;
    ReapFinishedOpeners();
    for (const std::vector<std::string>& opener : Openers) {
        if (TryOpener(opener, address)) return true;
    }
    ShowMessageBox("Pelmaro",
                   "No program on this desktop could open\n" + location +
                       "\n\nPlease open it in a web browser.",
                   MessageIcon::Information);
    return false;
}

}  // namespace platform
