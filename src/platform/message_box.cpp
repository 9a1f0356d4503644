// The modal message box of the game window; without a display its text goes to standard error.
#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/window.h"

namespace platform {

namespace {

// True when no one could see a box: video not started, or SDL's dummy or offscreen driver.
bool Headless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver == nullptr || std::strcmp(driver, "dummy") == 0 ||
           std::strcmp(driver, "offscreen") == 0;
}

}  // namespace

void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    if (!Headless()) {
        SDL_Window* owner = SDL_GetWindowFromID(GameWindowId());
        const Uint32 flags =
            icon == MessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), owner) == 0) return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace platform
