// The modal message box of the game window; without a display its text goes to standard error.
#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

#include "platform/window.h"

namespace platform {

void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    if (!HeadlessVideo()) {
        SDL_Window* owner = SDL_GetWindowFromID(GameWindowId());
        const Uint32 flags =
            icon == MessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), owner) == 0) return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace platform
