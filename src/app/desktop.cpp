// The game's standing on the desktop: the shell flags, the desktop as last read, the window's
// rectangles and the notices that end the program at start (the desktop cannot serve, or another
// game holds the save).
#include "app/desktop.h"

#include "gfx/display.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "screens/save_file.h"
#include "shared/error_box.h"
#include "shared/language.h"

int AppActive = 0;
uint8_t AppReady = 0;
uint8_t CursorOutside = 1;
uint8_t ClickPending = 0;

int DesktopDepth = 0;
int DesktopWidth = 0;
bool StartFailed = false;

void RefreshWindowRects() {
    if (FullScreen != 0 || AppActive == 0) return;
    ClientRect = platform::Rect{0, 0, platform::PictureWidth, platform::PictureHeight};
    ScreenRect = platform::ClientAreaOnScreen();
}

void ShowWindowFailure() {
    StartFailed = true;
    ShowError(TranslatedSentence("This game cannot open its window.\nWhat failed: %s",
                                 platform::WindowFailure().c_str()));
}

void ShowNoPlayerFolderNotice() {
    StartFailed = true;
    platform::StartVideo();
    platform::ShowMessageBox(
        "Pelmaro",
        TranslatedSentence("Pelmaro cannot keep your saved game in the folder\n%s.\nPlease make "
                           "it usable, or set XDG_DATA_HOME to another folder,\nand start "
                           "Pelmaro again.",
                           platform::PlayerFolderFailure().c_str()));
}

void ShowCannotLockNotice() {
    StartFailed = true;
    platform::ShowMessageBox(
        "Pelmaro",
        TranslatedSentence("Pelmaro cannot lock the folder of its saved game\n%s\n(%s),"
                           "\nso it cannot keep a second game off your save.\n"
                           "Nothing was changed.",
                           platform::FullPath(".").c_str(), platform::FileLockFailure().c_str()));
}

void ShowUnreadableSaveNotice(const std::string& reason) {
    StartFailed = true;
    platform::ShowMessageBox(
        "Pelmaro",
        TranslatedSentence("Pelmaro cannot read your saved game\n%s\n(%s).\nIt is left as it "
                           "is. Please make it readable for your user\n(or move it away to "
                           "start afresh) and start Pelmaro again.",
                           platform::FullPath(SaveFileName).c_str(), reason.c_str()));
}

void ShowAlreadyRunningNotice() {
    platform::ShowMessageBox("Pelmaro",
                             Translated("Pelmaro is already running.\nPlease go on in its window; "
                                        "a second game would\nreplace the first one's saved game."),
                             platform::MessageIcon::Information);
}

void ShowCannotRunNotice() {
    ShowError(Translated(
        "This game cannot run in a desktop\nwindow with the current display settings.\nPlease "
        "change your desktop settings to a\n16- or 32-bit display mode and re-run this\ngame."));
}
