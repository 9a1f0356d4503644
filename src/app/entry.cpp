// The program entry: window, 8-bit refusal, display device, start-up and the message loop.
#include "app/entry.h"

#include <string>

#include "app/desktop.h"
#include "app/frame_driver.h"
#include "app/game_clock.h"
#include "app/startup.h"
#include "app/window_proc.h"
#include "gfx/change_due.h"
#include "gfx/display.h"
#include "platform/display_loss.h"
#include "platform/files.h"
#include "platform/frame_pacing.h"
#include "platform/input.h"
#include "platform/memory.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "screens/save_file.h"
#include "shared/error_box.h"
#include "shared/language.h"

namespace {

// Keeps a game under way (start-up had finished) before an error box shows or the display goes,
// as on every other way out.
void KeepGameUnderWay() {
    if (AppReady != 0 && platform::GameWindowExists()) SaveGame();
}

// Claims the save for this game and checks it can be read; false, once the player has been told
// why, when the game must not play on it.
bool ClaimReadableSave() {
    // A second game on the same save would overwrite the first one's game: it tells the player
    // and ends before it reads or writes anything.
    switch (ClaimSaveFile()) {
        case platform::FileLock::Taken:
            break;
        case platform::FileLock::HeldElsewhere:
            ShowAlreadyRunningNotice();
            return false;
        case platform::FileLock::Unavailable:
            ShowCannotLockNotice();
            return false;
    }
    // A save the game cannot read is the player's all the same: it is never replaced.
    std::string reason;
    if (SaveFileUnreadable(reason)) {
        ShowUnreadableSaveNotice(reason);
        return false;
    }
    return true;
}

// The language comes before any word: even the notices that end the start are in it.
void SpeakThePlayersLanguage() {
    platform::LoadSettings();
    ChooseLanguage();
}

}  // namespace

int ProgramEntry() {
    platform::ReturnLargeBlocksToTheSystem();
    platform::ReportFileSizeLimitAsFailure();
    if (!platform::SettleGameFolders(SaveFileName)) {
        SpeakThePlayersLanguage();
        ShowNoPlayerFolderNotice();
        return StartFailedExitCode;
    }
    if (!StartProgram()) return StartFailed ? StartFailedExitCode : 0;
    return MessageLoop();
}

bool StartProgram() {
    SpeakThePlayersLanguage();
    KeepGameBeforeError = KeepGameUnderWay;
    platform::SetWindowProcedure(WindowProcedure);
    platform::SetWindowDestroyedHandler(WindowDestroyed);
    // The desktop is asked before the window is made: a desktop the game cannot use (8 bits) may
    // refuse the window itself, and the player must still learn why.
    if (!platform::StartVideo()) {
        ShowWindowFailure();
        return false;
    }
    if (!ClaimReadableSave()) return false;
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
    platform::CloseOnTermination();
    platform::KeepGameWhenDisplayIsLost(KeepGameUnderWay);
    if (!platform::StartControllers()) Trace("no game controllers");
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
            // The next frame comes at the display's rate while anything moves, else when the
            // soonest timed change is due or a message arrives.
            platform::WaitForNextFrame(ChangeDue);
        }
    }
    return exitCode;
}
