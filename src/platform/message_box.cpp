// The modal message box of the game window; without a display its text goes to standard error.
#include "platform/message_box.h"

#include <SDL.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "platform/display_loss.h"
#include "platform/file_lock.h"
#include "platform/window.h"

namespace platform {

namespace {

// The box's own process, as it tells the game's; in memory both processes share.
struct BoxProcess {
    volatile pid_t Id;
};
// The shared record; null until the first box.
BoxProcess* Shown = nullptr;
// The game's process, which a box's process must not outlive.
pid_t GameProcess = 0;
// True while the game waits for a box; a fork meanwhile makes the box's process.
volatile sig_atomic_t BoxOpening = 0;

// Runs in every child forked while a box opens, that is in the box's own process: it ends with
// the game, gives up the game's lock, and tells the game who it is.
void SetUpBoxProcess() {
    if (BoxOpening == 0) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != GameProcess) _exit(1);
    DropFileLock();
    Shown->Id = getpid();
}

// Prepares the shared record and the fork hook, once.
bool PrepareBoxProcess() {
    if (Shown != nullptr) return true;
    void* page = mmap(nullptr, sizeof(BoxProcess), PROT_READ | PROT_WRITE,
                      MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) return false;
    Shown = static_cast<BoxProcess*>(page);
    Shown->Id = 0;
    GameProcess = getpid();
    pthread_atfork(nullptr, nullptr, SetUpBoxProcess);
    return true;
}

// Shows the box on the desktop; false when it could not be shown or was closed unconfirmed.
bool ShowOnDesktop(const std::string& caption, const std::string& text, MessageIcon icon) {
    // SDL draws the box in a forked process; the game keeps nothing running in it.
    if (!PrepareBoxProcess()) return false;
    SDL_Window* owner = SDL_GetWindowFromID(GameWindowId());
    const Uint32 flags =
        icon == MessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    Shown->Id = 0;
    BoxOpening = 1;
    const bool shown = SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), owner) == 0;
    BoxOpening = 0;
    Shown->Id = 0;
    return shown;
}

}  // namespace

void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    if (!HeadlessVideo() && !DisplayLost() && ShowOnDesktop(caption, text, icon)) return;
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void CloseShownBox() {
    if (BoxOpening == 0 || Shown == nullptr) return;
    const pid_t box = Shown->Id;
    if (box > 0) kill(box, SIGKILL);
}

}  // namespace platform
