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

void ShowMessageBox(const std::string& caption, const std::string& text) {
    if (!Headless()) {
        SDL_Window* owner = SDL_GetWindowFromID(GameWindowId());
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), owner) ==
            0)
            return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace platform
