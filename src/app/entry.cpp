// The program entry: window, 8-bit refusal, display device, start-up and the message loop.
#include "app/entry.h"

#include "app/error_box.h"
#include "app/frame_driver.h"
#include "app/game_clock.h"
#include "app/startup.h"
#include "app/window_proc.h"
#include "gfx/display.h"
#include "platform/frame_pacing.h"
#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "screens/save_file.h"

int DesktopDepth = 0;
int DesktopWidth = 0;
bool WindowUnavailable = false;

int ProgramEntry() {
    if (!platform::SettleGameFolders(SaveFileName)) Trace("no folder of the player's own");
    if (!StartProgram()) return WindowUnavailable ? NoWindowExitCode : 0;
    return MessageLoop();
}

bool StartProgram() {
    platform::SetWindowProcedure(WindowProcedure);
    platform::SetWindowDestroyedHandler(WindowDestroyed);
    // The desktop is asked before the window is made: a desktop the game cannot use (8 bits) may
    // refuse the window itself, and the player must still learn why.
    if (!platform::StartVideo()) {
        ShowWindowFailure();
        return false;
    }
    // A second game on the same save would overwrite the first one's game: it tells the player
    // and ends before it reads or writes anything.
    if (!ClaimSaveFile()) {
        ShowAlreadyRunningNotice();
        return false;
    }
    DesktopDepth = platform::DesktopBitsPerPixel();
    DesktopWidth = platform::DesktopPixelWidth();
    if (DesktopDepth == 8) {
        ShowCannotRunNotice();
        return false;
    }
    if (!platform::CreateGameWindow()) {
        ShowWindowFailure();
        return false;
    }
    platform::CloseOnHangUp();
    if (!CreateDevice()) return false;
    if (!StartUp()) return false;
    AppReady = 1;
    GameClock(Resume);
    return true;
}

bool HandleWaitingMessages(int& exitCode) {
    while (platform::PeekMessage()) {
        const platform::Message message = platform::GetMessage();
        if (message.kind == platform::MessageKind::Quit) {
            exitCode = message.value;
            return false;
        }
        platform::DispatchMessage(message);
    }
    return true;
}

int MessageLoop() {
    int exitCode = 0;
    while (HandleWaitingMessages(exitCode)) {
        if (AppActive == 0 || AppReady == 0) {
            platform::WaitMessage();
        } else {
            RunFrame();
            platform::WaitForDisplayRefresh();
        }
    }
    return exitCode;
}

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
