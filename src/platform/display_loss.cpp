// The display going away under the game (the session ended, the X server crashed or restarted).
#include "platform/display_loss.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdio>

#include "platform/file_lock.h"

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#endif

namespace platform {

namespace {

// What keeps the game; set by the program entry.
void (*KeepGame)() = nullptr;
// True once the connection to the display broke.
bool Lost = false;

#if defined(SDL_VIDEO_DRIVER_X11)
// Xlib calls this when the connection to the X server breaks, and would end the program after it
// without a word: the game is kept first.
int OnConnectionLost(Display*) {
    if (Lost) _exit(DisplayLostExitCode);
    Lost = true;
    std::fprintf(stderr, "Pelmaro: the connection to the display was lost; the game is saved.\n");
    if (KeepGame != nullptr) KeepGame();
    DropFileLock();
    std::fflush(nullptr);
    _exit(DisplayLostExitCode);
}
#endif

}  // namespace

void KeepGameWhenDisplayIsLost(void (*keepGame)()) {
    KeepGame = keepGame;
#if defined(SDL_VIDEO_DRIVER_X11)
    XSetIOErrorHandler(OnConnectionLost);
#endif
}

bool DisplayLost() { return Lost; }

}  // namespace platform
