// The game's standing on the desktop: the shell flags, the desktop as last read, the window's
// rectangles and the notices that end the program at start (the desktop cannot serve, or another
// game holds the save).
#include "app/desktop.h"

#include "gfx/display.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "shared/error_box.h"

int AppActive = 0;
uint8_t AppReady = 0;
uint8_t CursorOutside = 1;
uint8_t ClickPending = 0;

int DesktopDepth = 0;
int DesktopWidth = 0;
bool WindowUnavailable = false;

void RefreshWindowRects() {
    if (FullScreen != 0 || AppActive == 0) return;
    ClientRect = platform::Rect{0, 0, platform::PictureWidth, platform::PictureHeight};
    ScreenRect = platform::ClientAreaOnScreen();
}

void ShowWindowFailure() {
    WindowUnavailable = true;
    ShowError("This game cannot open its window.\nWhat failed: " + platform::WindowFailure());
}

void ShowAlreadyRunningNotice() {
    platform::ShowMessageBox("Pelmaro",
                             "Pelmaro is already running.\nPlease go on in its window; a second "
                             "game would\nreplace the first one's saved game.",
                             platform::MessageIcon::Information);
}

void ShowCannotRunNotice() {
    ShowError(
        "This game cannot run in a desktop\nwindow with the current display settings.\nPlease "
        "change your desktop settings to a\n16- or 32-bit display mode and re-run this\ngame.");
}
